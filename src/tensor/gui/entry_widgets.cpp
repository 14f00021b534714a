#include "tensor/gui/entry_widgets.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillmere {

EntryField::EntryField(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::returnPressed, this, [this] {
    if (isVisible()) emit finished();
  });
  hide();
}

void EntryField::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  emit finished();
}

void EntryField::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Hiding the field also takes its focus away; that is not the user leaving it.
  if (isVisible() && event->reason() != Qt::PopupFocusReason) emit finished();
}

}  // namespace quillmere
