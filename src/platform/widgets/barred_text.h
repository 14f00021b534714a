// Texts with a bar over one character, as point-group symbols write the rotoinversions (4̄2m,
// m3̄m). The bar is drawn, not taken from a combining character, so it looks the same in every
// font.
#pragma once

#include <QRadioButton>

#include "platform/widgets/panel_labels.h"

namespace quillmere {

/// A clickable label that draws a bar over the character at barIndex() of its plain text (-1:
/// no bar): the point group of the tensor panel and the labels of the New Tensor panel.
class BarredLabel : public ClickableLabel {
  Q_OBJECT
 public:
  explicit BarredLabel(const QString& text = {}, QWidget* parent = nullptr);
  int barIndex() const { return barIndex_; }
  bool barred() const { return barIndex_ >= 0; }
  void setBarIndex(int index);
  /// Shows `prefix` followed by a symbol whose character `symbolBar` is barred (-1: none).
  void SetGroup(const QString& prefix, const QString& symbol, int symbolBar);
  /// The bar's end points in widget coordinates; empty when no bar is drawn.
  QLine barLine() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int barIndex_ = -1;
};

/// A radio button whose caption may carry a bar over one character.
class BarredRadioButton : public QRadioButton {
  Q_OBJECT
 public:
  BarredRadioButton(const QString& text, int barIndex, QWidget* parent = nullptr);
  bool barred() const { return barIndex_ >= 0; }
  int barIndex() const { return barIndex_; }
  QLine barLine() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int barIndex_;
};

}  // namespace quillmere
