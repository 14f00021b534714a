// The drawing surface the renderer paints on: a bitmap on the screen, a vector picture, or any
// other painter the platform offers. Only the operations the picture needs: a filled rectangle,
// a four-cornered polygon with outline, and transparent text in a font.
//
// Units: pixel coordinates of the picture, X to the right and Y downward, origin top-left.
// A canvas on a scaled screen has PixelRatio() device pixels per logical pixel: Width() and
// Height() are the picture's logical size (by which its layout is measured), the coordinates of
// the drawing operations are device pixels, and text point sizes are logical (the canvas
// enlarges them by the ratio). With the ratio 1 the two kinds of pixel are the same.
// Colours are drawn with their red, green and blue; the palette flag is the renderer's business.
#pragma once

#include <cmath>
#include <string>

#include "surface/colour.h"
#include "surface/projection.h"
#include "surface/view_settings.h"

namespace quillmere {

struct Pen {
  Colour colour;
  bool clear = false;  ///< no outline at all
  int width = 1;       ///< pixels
};

struct Brush {
  Colour colour;
  bool clear = false;  ///< no filling
};

/// The device pixels that cover `logical` pixels at this ratio (rounded up).
inline int DevicePixels(int logical, double ratio) {
  return ratio == 1 ? logical : static_cast<int>(std::ceil(logical * ratio));
}

class Canvas {
 public:
  virtual ~Canvas() = default;
  /// Picture size in logical pixels.
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  /// Device pixels per logical pixel.
  virtual double PixelRatio() const { return 1.0; }
  /// Fills the rectangle from (x0, y0) to (x1, y1), the right and bottom edges excluded, with the
  /// brush and outlines it with the pen.
  virtual void FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen,
                             const Brush& brush) = 0;
  /// The polygon through the four points, filled with the brush and outlined with the pen.
  virtual void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) = 0;
  /// `text` (UTF-8) with the top-left corner of its box at (x, y), without a background box,
  /// in `font` at `pointSize` points (the font's own size is not used), in the font's colour.
  /// A point size below 1 draws nothing.
  virtual void Text(int x, int y, const std::string& text, const LabelFont& font,
                    int pointSize) = 0;
};

}  // namespace quillmere
