// Small controls of the tensor panel and the New Tensor dialog: an edit field that reports a
// double click and being left, and a spin button (two arrows, no value of its own).
#pragma once

#include <QLineEdit>
#include <QWidget>

class QToolButton;

namespace quillmere {

/// An edit field that is closed by a double click, by Return or by leaving it.
class EntryField : public QLineEdit {
  Q_OBJECT
 public:
  explicit EntryField(QWidget* parent = nullptr);

 signals:
  /// A double click, Return, or the focus moving elsewhere while the field is shown.
  void finished();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace quillmere
