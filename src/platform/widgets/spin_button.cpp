#include "platform/widgets/spin_button.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace quillmere {

SpinButton::SpinButton(const QString& hint, QWidget* parent, QSize buttonSize) : QWidget(parent) {
  up_ = new QToolButton(this);
  down_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (QToolButton* b : {up_, down_}) {
    b->setToolTip(hint);
    b->setFixedSize(buttonSize);
    b->setAutoRaise(false);
    layout->addWidget(b);
  }
  setToolTip(hint);
  connect(up_, &QToolButton::clicked, this, &SpinButton::upClicked);
  connect(down_, &QToolButton::clicked, this, &SpinButton::downClicked);
}

}  // namespace quillmere
