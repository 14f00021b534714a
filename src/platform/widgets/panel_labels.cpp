#include "platform/widgets/panel_labels.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace quillmere {

ClickableLabel::ClickableLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setCursor(Qt::PointingHandCursor);
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  // The press belongs to the label's click: it must not reach the panel or drawing below, where
  // it would hide the panel or start a turn.
  if (event->button() == Qt::LeftButton)
    event->accept();
  else
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
  QLabel::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
    emit clicked();
}

GroupNameLabel::GroupNameLabel(QWidget* parent) : ClickableLabel({}, parent) {
  // Room above the text for the bar.
  setContentsMargins(0, 3, 0, 0);
}

void GroupNameLabel::SetGroup(const QString& prefix, const QString& name, bool barred) {
  prefix_ = prefix;
  name_ = name;
  barred_ = barred && !name.isEmpty();
  setText(prefix + name);
  update();
}

QRect GroupNameLabel::BarRect() const {
  if (!barred_) return {};
  const QFontMetrics fm(font());
  const QRect box = contentsRect();
  const int textWidth = fm.horizontalAdvance(text());
  int left = box.left();
  if (alignment() & Qt::AlignHCenter)
    left += (box.width() - textWidth) / 2;
  else if (alignment() & Qt::AlignRight)
    left += box.width() - textWidth;
  left += fm.horizontalAdvance(prefix_);
  const int charWidth = fm.horizontalAdvance(name_.left(1));
  const int textTop = box.top() + (box.height() - fm.height()) / 2;
  const int capTop = textTop + fm.ascent() - fm.capHeight();
  return QRect(left, capTop - 3, charWidth, 1);
}

void GroupNameLabel::paintEvent(QPaintEvent* event) {
  ClickableLabel::paintEvent(event);
  if (!barred_) return;
  QPainter painter(this);
  const QRect bar = BarRect();
  painter.fillRect(bar, palette().color(foregroundRole()));
}

}  // namespace quillmere
