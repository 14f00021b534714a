// Recording canvases for the two Windows metafile formats, written with libUEMF: EmfCanvas
// records an enhanced metafile (EMF), WmfCanvas a standard metafile (WMF, with the placeable
// header that gives office programs its size). Both place the picture at 96 pixels to the inch,
// so a picture of a0 pixels is placed at a0 / 96 inches.
//
// What is recorded: the background rectangle, each polygon with its own solid pen (width,
// colour, or the null pen for "no outline") and solid or null brush, and transparent text with
// the top-left corner of its box at the given point, in the named font at a pixel height of
// pointSize * 96 / 72. Pens, brushes and fonts are created when they change and deleted once
// replaced, so the object table stays small.
//
// The drawing at fractional coordinates (VectorCanvas) is recorded as lines, ellipses,
// polygons and text by its baseline, in the sans-serif face of the pictures. A canvas made with
// `subpixel` records in a sixteenth of a pixel (less for pictures over 2047 pixels, as the
// standard format counts in 16 bits), so that such a drawing keeps its fine lines: the EMF on a
// reference device of that many dots to a screen pixel, with geometric pens drawn to scale; the
// WMF with that many units to the inch in its placeable header. Otherwise every coordinate is
// rounded to a whole pixel. The clip to a circle applies to filled rectangles, polygons and
// lines, which the canvas cuts to the circle itself (a polygon of 128 corners around it), so
// that every reader shows the same; circles, outlined rectangles and text are not clipped.
// Smoothing is the reader's business.
//
// Finish() ends the recording and returns the complete file; the canvas is then spent.
// Needs a QGuiApplication (text is measured with the font).
#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "surface/vector_canvas.h"

namespace quillmere {

/// Logical units per inch of both metafiles.
inline constexpr int kMetafileUnitsPerInch = 96;

struct MetafilePen;

/// What a metafile says about its picture besides the drawing.
struct MetafileOptions {
  /// The picture's name: in the EMF header's description, and after "Quillmere " (its first
  /// letter in lower case) in the WMF comment.
  std::string title = "Representation surface";
  /// The conventions stamp, when given: after the name in the EMF description, and the WMF's
  /// comment record after the header (without a stamp the WMF has no comment).
  std::string stamp;
  /// Records in fractions of a pixel (see above).
  bool subpixel = false;
};

/// The recording canvas both formats share: each format supplies its recording, the canvas
/// hands it the drawing.
class MetafileCanvas : public VectorCanvas {
 public:
  /// What one format records: the drawing as its records, and the finished file.
  struct Recording;

  ~MetafileCanvas() override;
  MetafileCanvas(const MetafileCanvas&) = delete;
  MetafileCanvas& operator=(const MetafileCanvas&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) override;
  void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) override;
  void Text(int x, int y, const std::string& text, const LabelFont& font, int pointSize) override;

  void SetSmoothing(bool) override {}
  void FillRectF(double x, double y, double w, double h, Colour fill) override;
  void OutlineRectF(double x, double y, double w, double h, const Stroke& stroke) override;
  void Circle(PointF centre, double r, const Stroke& stroke) override;
  void Lines(const std::vector<LineF>& lines, const Stroke& stroke) override;
  void PolygonF(const std::vector<PointF>& points, const Stroke& stroke, Colour fill) override;
  void ClipToCircle(PointF centre, double r) override;
  void EndClip() override { clip_.reset(); }
  void SetFace(double pixels) override { face_ = pixels; }
  void TextAt(double x, double y, const std::string& text, Colour colour) override;
  double TextWidth(const std::string& text, double pixels) const override;
  FontMeasure Measure(double pixels) const override;

  /// The finished file's bytes. Throws std::runtime_error when the recording failed.
  std::string Finish();

 protected:
  /// `unitsPerPixel` recording units to a pixel of the picture.
  MetafileCanvas(int width, int height, int unitsPerPixel, std::unique_ptr<Recording> recording);

 private:
  struct ClipCircle {
    PointF centre;
    double r;
  };
  int Units(double pixels) const;
  ScreenPoint UnitPoint(PointF p) const;
  /// The polygon (in pixels), cut to the clip circle when there is one, in the pen and brush;
  /// nothing when no part of it is left.
  void ClippedPolygon(std::vector<PointF> points, const MetafilePen& pen, const Brush& brush);

  int width_, height_, units_;
  std::unique_ptr<Recording> r_;
  std::optional<ClipCircle> clip_;
  double face_ = 1;
  QImage reference_;  // measures text at 96 dots per inch
};

/// The units to a pixel of a subpixel recording of a picture with this larger side.
int MetafileUnitsPerPixel(int largerSide);

class EmfCanvas final : public MetafileCanvas {
 public:
  EmfCanvas(int width, int height, const MetafileOptions& options = {});
};

/// Width and height at most 32767 (the format counts in signed 16-bit units).
class WmfCanvas final : public MetafileCanvas {
 public:
  WmfCanvas(int width, int height, const MetafileOptions& options = {});
};

}  // namespace quillmere
