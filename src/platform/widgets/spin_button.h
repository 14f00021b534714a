// A pair of small arrow buttons, one above the other: the classic spin button without a value.
#pragma once

#include <QSize>
#include <QWidget>

class QToolButton;

namespace quillmere {

class SpinButton : public QWidget {
  Q_OBJECT
 public:
  /// `hint` is the tooltip of the control and of both arrows; `buttonSize` the size of one arrow.
  explicit SpinButton(const QString& hint, QWidget* parent = nullptr,
                      QSize buttonSize = QSize(22, 13));
  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }
 signals:
  void upClicked();
  void downClicked();

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace quillmere
