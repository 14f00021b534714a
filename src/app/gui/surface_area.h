// The drawing area of the main window: shows SceneBitmap, the off-screen picture of the
// surface, centred, without re-projecting it. Mouse events are handed on as signals; panels of
// the main window lie over it as child widgets.
#pragma once

#include <QImage>
#include <QWidget>

namespace quillmere {

class SurfaceArea : public QWidget {
  Q_OBJECT
 public:
  explicit SurfaceArea(QWidget* parent = nullptr);

  /// SceneBitmap: painted by the renderer at the area's size in the screen's device pixels (its
  /// devicePixelRatio is the screen's), shown by paintEvent.
  QImage& sceneBitmap() { return sceneBitmap_; }
  const QImage& sceneBitmap() const { return sceneBitmap_; }

 signals:
  /// The area's size or its screen's pixel ratio changed: the picture must be re-projected
  /// (SetUpSurface).
  void resized();
  void mousePressed(QMouseEvent* event);
  void mouseMoved(QMouseEvent* event);
  void mouseReleased(QMouseEvent* event);
  void wheelTurned(QWheelEvent* event);
  /// The pointer left the area.
  void pointerLeft();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  /// Asks once for a re-projection when the picture's ratio is not the screen's.
  void FollowPixelRatio();
  QImage sceneBitmap_;
  bool ratioChangeAsked_ = false;
};

}  // namespace quillmere
