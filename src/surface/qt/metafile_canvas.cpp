// The metafile canvas: the drawing converted to the recording's units and, inside a clip
// circle, cut to that circle before it is recorded (see emf_canvas.h).
#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "surface/qt/emf_canvas.h"
#include "surface/qt/metafile_recording.h"
#include "surface/qt/qpainter_canvas.h"

namespace quillmere {

namespace {

/// The corners of the polygon that stands for the clip circle.
constexpr int kClipCorners = 128;

/// The font's pixel height on the 96 dots-per-inch reference screen.
int PixelHeight(int pointSize) {
  return static_cast<int>(std::lround(pointSize * kMetafileUnitsPerInch / 72.0));
}

/// The part of `subject` on the inner side of the line from a to b (the side to the right, as
/// the clip polygon runs clockwise on the picture with its Y downward): one step of
/// Sutherland and Hodgman's polygon clipping.
std::vector<PointF> CutByEdge(const std::vector<PointF>& subject, PointF a, PointF b) {
  const auto side = [&](PointF p) { return (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x); };
  std::vector<PointF> out;
  for (std::size_t i = 0; i < subject.size(); ++i) {
    const PointF p = subject[i], q = subject[(i + 1) % subject.size()];
    const double sp = side(p), sq = side(q);
    if (sp >= 0) out.push_back(p);
    if ((sp >= 0) != (sq >= 0)) {
      const double f = sp / (sp - sq);
      out.push_back({p.x + f * (q.x - p.x), p.y + f * (q.y - p.y)});
    }
  }
  return out;
}

/// The line cut to the circle; false when no part of it lies inside.
bool CutLine(LineF& l, PointF c, double r) {
  const double dx = l.to.x - l.from.x, dy = l.to.y - l.from.y;
  const double fx = l.from.x - c.x, fy = l.from.y - c.y;
  // |from + t (to - from) - c| = r for t in [0, 1].
  const double a = dx * dx + dy * dy, b = 2 * (fx * dx + fy * dy), k = fx * fx + fy * fy - r * r;
  if (a == 0) return k <= 0;
  const double d = b * b - 4 * a * k;
  if (d < 0) return false;
  const double t0 = std::max(0.0, (-b - std::sqrt(d)) / (2 * a));
  const double t1 = std::min(1.0, (-b + std::sqrt(d)) / (2 * a));
  if (t0 >= t1) return false;
  const PointF from = l.from;
  l.from = {from.x + t0 * dx, from.y + t0 * dy};
  l.to = {from.x + t1 * dx, from.y + t1 * dy};
  return true;
}

MetafilePen StrokePen(const Stroke& s, int unitWidth) {
  return {Pen{s.colour, false, std::max(1, unitWidth)}, s.dotted};
}

/// The recording units to a pixel of a picture of width x height.
int RecordingUnits(const MetafileOptions& o, int width, int height) {
  return o.subpixel ? MetafileUnitsPerPixel(std::max(width, height)) : 1;
}

QString ToQString(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

int MetafileUnitsPerPixel(int largerSide) {
  return std::clamp(32767 / std::max(1, largerSide), 1, 16);
}

MetafileCanvas::MetafileCanvas(int width, int height, int unitsPerPixel,
                               std::unique_ptr<Recording> recording)
    : width_(width),
      height_(height),
      units_(unitsPerPixel),
      r_(std::move(recording)),
      reference_(MakePictureImage(1, 1)) {}

MetafileCanvas::~MetafileCanvas() = default;

int MetafileCanvas::Units(double pixels) const {
  return static_cast<int>(std::lround(pixels * units_));
}

ScreenPoint MetafileCanvas::UnitPoint(PointF p) const {
  return {Units(p.x), Units(p.y)};
}

void MetafileCanvas::FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen,
                                   const Brush& brush) {
  if (x1 <= x0 || y1 <= y0) return;
  r_->Use({pen}, brush);
  r_->Rectangle(x0 * units_, y0 * units_, x1 * units_, y1 * units_);
}

void MetafileCanvas::Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) {
  r_->Use({pen}, brush);
  std::vector<ScreenPoint> p(points, points + 4);
  for (ScreenPoint& q : p) q = {q.x * units_, q.y * units_};
  r_->Polygon(p);
}

void MetafileCanvas::Text(int x, int y, const std::string& text, const LabelFont& font,
                          int pointSize) {
  if (pointSize < 1 || text.empty()) return;
  r_->Text(x * units_, y * units_, text,
           MetafileFont{font, PixelHeight(pointSize) * units_, ToQFont(font, pointSize)}, false);
}

void MetafileCanvas::FillRectF(double x, double y, double w, double h, Colour fill) {
  if (!(w > 0 && h > 0)) return;
  std::vector<PointF> corners = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
  const bool inside = !clip_ || std::all_of(corners.begin(), corners.end(), [&](PointF p) {
    return std::hypot(p.x - clip_->centre.x, p.y - clip_->centre.y) <= clip_->r;
  });
  if (!inside) return ClippedPolygon(std::move(corners), {Pen{fill, true}}, Brush{fill});
  r_->Use({Pen{fill, true}}, Brush{fill});
  r_->Rectangle(Units(x), Units(y), Units(x + w), Units(y + h));
}

void MetafileCanvas::OutlineRectF(double x, double y, double w, double h, const Stroke& stroke) {
  r_->Use(StrokePen(stroke, Units(stroke.width)), Brush{stroke.colour, true});
  r_->Rectangle(Units(x), Units(y), Units(x + w), Units(y + h));
}

void MetafileCanvas::Circle(PointF centre, double r, const Stroke& stroke) {
  r_->Use(StrokePen(stroke, Units(stroke.width)), Brush{stroke.colour, true});
  r_->Ellipse(Units(centre.x - r), Units(centre.y - r), Units(centre.x + r), Units(centre.y + r));
}

void MetafileCanvas::Lines(const std::vector<LineF>& lines, const Stroke& stroke) {
  r_->Use(StrokePen(stroke, Units(stroke.width)), Brush{stroke.colour, true});
  for (LineF l : lines) {
    if (clip_ && !CutLine(l, clip_->centre, clip_->r)) continue;
    r_->Polyline({UnitPoint(l.from), UnitPoint(l.to)});
  }
}

void MetafileCanvas::PolygonF(const std::vector<PointF>& points, const Stroke& stroke,
                              Colour fill) {
  ClippedPolygon(points, StrokePen(stroke, Units(stroke.width)), Brush{fill});
}

void MetafileCanvas::ClippedPolygon(std::vector<PointF> points, const MetafilePen& pen,
                                    const Brush& brush) {
  if (clip_) {
    // The corners lie on a circle a little wider than the clip's, so that the polygon holds the
    // whole disc and its straight edges leave no gap inside the rim.
    const double wide = clip_->r / std::cos(std::numbers::pi / kClipCorners);
    const auto corner = [&](int k) {
      const double a = 2 * std::numbers::pi * k / kClipCorners;
      return PointF{clip_->centre.x + wide * std::cos(a), clip_->centre.y + wide * std::sin(a)};
    };
    for (int k = 0; k < kClipCorners && points.size() >= 3; ++k)
      points = CutByEdge(points, corner(k), corner(k + 1));
  }
  if (points.size() < 3) return;
  std::vector<ScreenPoint> p;
  for (const PointF& q : points) p.push_back(UnitPoint(q));
  r_->Use(pen, brush);
  r_->Polygon(p);
}

void MetafileCanvas::ClipToCircle(PointF centre, double r) {
  clip_ = ClipCircle{centre, r};
}

void MetafileCanvas::TextAt(double x, double y, const std::string& text, Colour colour) {
  if (text.empty()) return;
  const int pixels = std::max(1, static_cast<int>(std::lround(face_)));
  const LabelFont face{kPictureFaceFamily, 0, colour};
  r_->Text(Units(x), Units(y), text, MetafileFont{face, pixels * units_, PictureFace(pixels)},
           true);
}

double MetafileCanvas::TextWidth(const std::string& text, double pixels) const {
  return QFontMetricsF(PictureFace(pixels), &reference_).horizontalAdvance(ToQString(text));
}

FontMeasure MetafileCanvas::Measure(double pixels) const {
  const QFontMetricsF m(PictureFace(pixels), &reference_);
  return {m.ascent(), m.descent(), m.height()};
}

std::string MetafileCanvas::Finish() {
  return r_->Finish();
}

EmfCanvas::EmfCanvas(int width, int height, const MetafileOptions& o)
    : MetafileCanvas(std::max(1, width), std::max(1, height), RecordingUnits(o, width, height),
                     MakeEmfRecording(std::max(1, width), std::max(1, height),
                                      RecordingUnits(o, width, height), o.title, o.stamp)) {}

// The standard format counts in signed 16-bit units.
WmfCanvas::WmfCanvas(int width, int height, const MetafileOptions& o)
    : MetafileCanvas(std::clamp(width, 1, 32767), std::clamp(height, 1, 32767),
                     RecordingUnits(o, width, height),
                     MakeWmfRecording(std::clamp(width, 1, 32767), std::clamp(height, 1, 32767),
                                      RecordingUnits(o, width, height), o.title, o.stamp)) {}

}  // namespace quillmere
