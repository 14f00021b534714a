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

#include "surface/canvas.h"

namespace quillmere {

/// Dots per metre of 96 dots per inch, the resolution of the program's pictures.
inline constexpr int kPictureDotsPerMetre = 3780;

class QPainterCanvas : public Canvas {
 public:
  /// Paints with `painter` (already begun on its device) on a picture of width x height.
  QPainterCanvas(QPainter& painter, int width, int height);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) override;
  void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) override;
  void Text(int x, int y, const std::string& text, const LabelFont& font, int pointSize) override;

 private:
  void Apply(const Pen& pen, const Brush& brush);
  QPainter& painter_;
  int width_, height_;
};

/// A QImage of the given size in the screen's pixel format, at 96 dots per inch.
QImage MakePictureImage(int width, int height);

QColor ToQColor(Colour c);
QFont ToQFont(const LabelFont& font, int pointSize);

}  // namespace quillmere
