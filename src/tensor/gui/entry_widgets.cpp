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

UnitSpinButton::UnitSpinButton(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  up_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_ = new QToolButton(this);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setFixedSize(17, 11);
    b->setAutoRaise(false);
    layout->addWidget(b);
  }
  setToolTip("Change the dimension of the unit");
  connect(up_, &QToolButton::clicked, this, &UnitSpinButton::upClicked);
  connect(down_, &QToolButton::clicked, this, &UnitSpinButton::downClicked);
}

}  // namespace quillmere
