#include "app/gui/surface_area.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

namespace quillmere {

SurfaceArea::SurfaceArea(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(1, 1);
}

bool SurfaceArea::event(QEvent* event) {
  // Moved to a screen with another scale: the picture is painted anew at its device pixels.
  if (event->type() == QEvent::ScreenChangeInternal
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
      || event->type() == QEvent::DevicePixelRatioChange
#endif
  )
    FollowPixelRatio();
  return QWidget::event(event);
}

void SurfaceArea::FollowPixelRatio() {
  if (ratioChangeAsked_) return;
  ratioChangeAsked_ = true;
  QTimer::singleShot(0, this, [this] {
    ratioChangeAsked_ = false;
    if (!sceneBitmap_.isNull() && sceneBitmap_.devicePixelRatio() != devicePixelRatioF())
      emit resized();
  });
}

void SurfaceArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The picture's size in logical pixels (whole ones: a fractional ratio may leave a fraction
  // of a device pixel over).
  const QSizeF logical = sceneBitmap_.deviceIndependentSize();
  const QSize shown(static_cast<int>(logical.width()), static_cast<int>(logical.height()));
  // Around a picture smaller than the area (while a resize is still to be re-projected) the
  // window's own background shows.
  const QPoint at(width() / 2 - shown.width() / 2, height() / 2 - shown.height() / 2);
  if (sceneBitmap_.isNull() || shown != size())
    painter.fillRect(rect(), palette().color(QPalette::Window));
  if (!sceneBitmap_.isNull()) painter.drawImage(at, sceneBitmap_);
  if (!sceneBitmap_.isNull() && sceneBitmap_.devicePixelRatio() != devicePixelRatioF())
    FollowPixelRatio();
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

void SurfaceArea::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  emit pointerLeft();
}

void SurfaceArea::wheelEvent(QWheelEvent* event) {
  emit wheelTurned(event);
  event->accept();
}

}  // namespace quillmere
