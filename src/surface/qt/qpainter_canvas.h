// The renderer's Canvas on a QPainter: the screen bitmap (a QImage), an SVG generator, or any
// other paint device. Qt Gui only, no widgets. Drawing is aliased, like the desktop's polygon
// and text output, so that shaded patches meet without seams of blended colour.
//
// Fonts: a label font is looked up by family through the platform's font database (with
// fontconfig, "Times New Roman" maps to a metric-compatible face such as Liberation Serif).
// Point sizes are converted to pixels with the paint device's logical resolution; pictures made
// by this program use 96 dots per inch, as the desktop screen does.
#pragma once

#include <QImage>
#include <QPainter>

#include "surface/vector_canvas.h"

namespace quillmere {

/// Dots per metre of 96 dots per inch, the resolution of the program's pictures.
inline constexpr int kPictureDotsPerMetre = 3780;

class QPainterCanvas : public VectorCanvas {
 public:
  /// Paints with `painter` (already begun on its device) on a picture of width x height logical
  /// pixels. With a pixel ratio r the device is DevicePixels(width, r) x DevicePixels(height, r)
  /// pixels, painted without any scaling of its own (its devicePixelRatio 1 while painting):
  /// coordinates are device pixels, and text point sizes are enlarged by r. While the canvas
  /// lives it alone sets the painter's pen and brush (it remembers what it set last).
  QPainterCanvas(QPainter& painter, int width, int height, double pixelRatio = 1.0);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  double PixelRatio() const override { return ratio_; }
  void FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) override;
  void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) override;
  void Text(int x, int y, const std::string& text, const LabelFont& font, int pointSize) override;

  void SetSmoothing(bool on) override;
  void FillRectF(double x, double y, double w, double h, Colour fill) override;
  void OutlineRectF(double x, double y, double w, double h, const Stroke& stroke) override;
  void Circle(PointF centre, double r, const Stroke& stroke) override;
  void Lines(const std::vector<LineF>& lines, const Stroke& stroke) override;
  void PolygonF(const std::vector<PointF>& points, const Stroke& stroke, Colour fill) override;
  void ClipToCircle(PointF centre, double r) override;
  void EndClip() override;
  void SetFace(double pixels) override;
  void TextAt(double x, double y, const std::string& text, Colour colour) override;
  double TextWidth(const std::string& text, double pixels) const override;
  FontMeasure Measure(double pixels) const override;

 private:
  void Apply(const Pen& pen, const Brush& brush);
  /// The sans-serif face at `pixels`, resolved for the painter's device.
  QFont FaceAt(double pixels) const;
  QPainter& painter_;
  int width_, height_;
  double ratio_;
  // The pen and brush set by the last Apply, while nothing else has set others since: a
  // picture's thousands of patches mostly share their outline, and making a QPen costs more
  // than the rest of a small patch. Remembered on bitmaps only.
  bool remember_;
  bool applied_ = false;
  Pen pen_;
  Brush brush_;
};

/// A QImage of the given size in the screen's pixel format, at 96 dots per inch.
QImage MakePictureImage(int width, int height);

/// Runs `paint` on a QPainterCanvas over `image`, a picture of width x height logical pixels at
/// `pixelRatio` device pixels each: the image is made (or kept, when it already has the size) at
/// the device size, painted pixel for pixel, and left with that devicePixelRatio, so that Qt
/// shows it at the logical size on a scaled screen.
template <typename Paint>
void PaintAtPixelRatio(QImage& image, int width, int height, double pixelRatio, Paint&& paint);

/// The sans-serif face the drawings at fractional coordinates write in (VectorCanvas::SetFace),
/// at `pixels` pixels (rounded to whole pixels, at least 1).
inline constexpr const char* kPictureFaceFamily = "DejaVu Sans";
QFont PictureFace(double pixels);

QColor ToQColor(Colour c);
QFont ToQFont(const LabelFont& font, int pointSize);

template <typename Paint>
void PaintAtPixelRatio(QImage& image, int width, int height, double pixelRatio, Paint&& paint) {
  const QSize device(DevicePixels(width, pixelRatio), DevicePixels(height, pixelRatio));
  if (image.size() != device) image = MakePictureImage(device.width(), device.height());
  // A painter on an image whose ratio is not 1 would scale everything by it; the canvas
  // already works in device pixels.
  image.setDevicePixelRatio(1.0);
  {
    QPainter painter(&image);
    QPainterCanvas canvas(painter, width, height, pixelRatio);
    paint(static_cast<Canvas&>(canvas));
  }
  image.setDevicePixelRatio(pixelRatio);
}

}  // namespace quillmere
