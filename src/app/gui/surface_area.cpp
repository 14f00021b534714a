#include "app/gui/surface_area.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace quillmere {

SurfaceArea::SurfaceArea(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(1, 1);
}

void SurfaceArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Around a picture smaller than the area (while a resize is still to be re-projected) the
  // window's own background shows.
  const QPoint at(width() / 2 - sceneBitmap_.width() / 2, height() / 2 - sceneBitmap_.height() / 2);
  if (sceneBitmap_.isNull() || sceneBitmap_.size() != size())
    painter.fillRect(rect(), palette().color(QPalette::Window));
  if (!sceneBitmap_.isNull()) painter.drawImage(at, sceneBitmap_);
}

void SurfaceArea::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  emit resized();
}

void SurfaceArea::mousePressEvent(QMouseEvent* event) {
  emit mousePressed(event);
}

void SurfaceArea::mouseMoveEvent(QMouseEvent* event) {
  emit mouseMoved(event);
}

void SurfaceArea::mouseReleaseEvent(QMouseEvent* event) {
  emit mouseReleased(event);
}

void SurfaceArea::wheelEvent(QWheelEvent* event) {
  emit wheelTurned(event);
  event->accept();
}

}  // namespace quillmere
