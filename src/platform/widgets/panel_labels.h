// Labels of the tensor information panel: a label that reports clicks, and the point-group
// label that draws a bar over the first character of a barred group name (1̄, 3̄, 4̄2, ...).
#pragma once

#include <QLabel>
#include <QString>

namespace quillmere {

/// A label that emits clicked() on a left-button release inside it.
class ClickableLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ClickableLabel(const QString& text = {}, QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

/// Shows `prefix` followed by a point-group name, with a bar above the name's first character
/// when the group is barred. text() holds the plain text ("PS: 42").
class GroupNameLabel : public ClickableLabel {
  Q_OBJECT
 public:
  explicit GroupNameLabel(QWidget* parent = nullptr);

  void SetGroup(const QString& prefix, const QString& name, bool barred);
  bool barred() const { return barred_; }
  /// The rectangle of the bar in widget coordinates (empty when no bar is shown).
  QRect BarRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString prefix_;
  QString name_;
  bool barred_ = false;
};

}  // namespace quillmere
