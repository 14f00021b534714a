// Texts with a bar over one character, as point-group symbols write the rotoinversions (4̄2).
// The bar is drawn, not taken from a combining character, so it looks the same in every font.
#pragma once

#include <QLabel>
#include <QRadioButton>

namespace quillmere {

/// A label that draws a bar over the character at barIndex() of its plain text (-1: no bar).
class BarredLabel : public QLabel {
  Q_OBJECT
 public:
  explicit BarredLabel(QWidget* parent = nullptr);
  BarredLabel(const QString& text, QWidget* parent = nullptr);
  int barIndex() const { return barIndex_; }
  void setBarIndex(int index);
  /// The bar's end points in widget coordinates; empty when no bar is drawn.
  QLine barLine() const;

 signals:
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int barIndex_ = -1;
};

/// A radio button whose caption may carry a bar over its first character.
class BarredRadioButton : public QRadioButton {
  Q_OBJECT
 public:
  BarredRadioButton(const QString& text, bool barred, QWidget* parent = nullptr);
  bool barred() const { return barred_; }
  QLine barLine() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool barred_;
};

}  // namespace quillmere
