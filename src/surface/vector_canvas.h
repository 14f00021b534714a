// A canvas that also draws at fractional coordinates: lines, circles, polygons, clipping to a
// circle and text placed by its baseline in a font of a given pixel size, with the measures of
// that text. The projection map is drawn on it; the painters that offer it (the QPainter canvas
// behind the screen, PNG, SVG and PDF) draw the representation surface through the same object.
//
// Units: pixels of the picture, X to the right and Y downward, origin top-left; line widths and
// font sizes in the same pixels.
#pragma once

#include <string>
#include <vector>

#include "surface/canvas.h"

namespace quillmere {

struct PointF {
  double x = 0, y = 0;
};

struct LineF {
  PointF from, to;
};

/// How a line is drawn: its colour, width and whether it is dotted.
struct Stroke {
  Colour colour;
  double width = 1;
  bool dotted = false;
};

/// Ascent and descent above and below the baseline, and the line height, of a font.
struct FontMeasure {
  double ascent = 0, descent = 0, height = 0;
};

class VectorCanvas : public Canvas {
 public:
  /// Whether edges are smoothed (antialiased); off until set. Text is always smoothed.
  virtual void SetSmoothing(bool on) = 0;
  /// The rectangle from (x, y), w wide and h high, filled with `fill` without an outline.
  virtual void FillRectF(double x, double y, double w, double h, Colour fill) = 0;
  /// The outline of that rectangle.
  virtual void OutlineRectF(double x, double y, double w, double h, const Stroke& stroke) = 0;
  /// The outline of the circle of radius r around `centre`.
  virtual void Circle(PointF centre, double r, const Stroke& stroke) = 0;
  /// Separate straight lines, all in one stroke.
  virtual void Lines(const std::vector<LineF>& lines, const Stroke& stroke) = 0;
  /// The closed polygon through `points`, filled with `fill` and outlined with `stroke`.
  virtual void PolygonF(const std::vector<PointF>& points, const Stroke& stroke, Colour fill) = 0;
  /// Until EndClip, only what lies inside the circle is drawn. Clips do not nest.
  virtual void ClipToCircle(PointF centre, double r) = 0;
  virtual void EndClip() = 0;
  /// Sets the face the following TextAt calls write in: the sans-serif face of the pictures at
  /// `pixels` pixels (rounded to whole pixels, at least 1).
  virtual void SetFace(double pixels) = 0;
  /// `text` (UTF-8) with its left end at x and its baseline at y, in the face last set and in
  /// `colour`.
  virtual void TextAt(double x, double y, const std::string& text, Colour colour) = 0;
  /// The advance width of `text` in the face of that size.
  virtual double TextWidth(const std::string& text, double pixels) const = 0;
  virtual FontMeasure Measure(double pixels) const = 0;
};

}  // namespace quillmere
