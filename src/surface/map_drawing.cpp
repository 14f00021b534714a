#include "surface/map_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "surface/derived_surface.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

constexpr Colour kBlack = Colour::Exact(0, 0, 0);
constexpr Colour kWhite = Colour::Exact(255, 255, 255);

struct RectF {
  double x, y, w, h;
  double Right() const { return x + w; }
  double Bottom() const { return y + h; }
};

struct Disc {
  PointF centre;
  double radius;
  bool lower;
};

struct Layout {
  double unit;  // a hundredth of the width
  std::vector<Disc> discs;
  RectF bar;
  double captionY;    // the baseline of the title
  double extremesY;   // the baseline of the first line about the extremes
  double discLabelY;  // below two discs: "Upper hemisphere", "Lower hemisphere"
};

Layout MakeLayout(int width, MapHemisphere hemisphere) {
  Layout l;
  const double u = width / 100.0;
  l.unit = u;
  l.captionY = 5 * u;
  if (hemisphere == MapHemisphere::Both) {
    l.discs = {{{22 * u, 34 * u}, 18 * u, false}, {{62 * u, 34 * u}, 18 * u, true}};
    l.bar = {86 * u, 16 * u, 3 * u, 36 * u};
    l.discLabelY = 58 * u;
    l.extremesY = 65 * u;
  } else {
    l.discs = {{{40 * u, 42 * u}, 29 * u, hemisphere == MapHemisphere::Lower}};
    l.bar = {82 * u, 14 * u, 3.5 * u, 56 * u};
    l.discLabelY = 0;
    l.extremesY = 80 * u;
  }
  return l;
}

std::string AxisName(int style, int axis) {
  static const char* const kNames[3][3] = {{"x", "y", "z"}, {"a", "b", "c"}, {"e1", "e2", "e3"}};
  return kNames[std::clamp(style, 1, 3) - 1][axis];
}

/// Text centred on x with its middle at y, in black.
void DrawCentred(VectorCanvas& c, double x, double y, const std::string& text, double pixels) {
  const FontMeasure m = c.Measure(pixels);
  c.TextAt(x - c.TextWidth(text, pixels) / 2, y + (m.ascent - m.descent) / 2, text, kBlack);
}

/// A triangle marker: pointing up and filled dark for the largest value, pointing down and open
/// for the smallest.
void DrawMarker(VectorCanvas& c, PointF at, double size, bool largest) {
  const double s = largest ? -1 : 1;
  const std::vector<PointF> triangle = {{at.x, at.y + s * size},
                                        {at.x - 0.87 * size, at.y - s * size / 2},
                                        {at.x + 0.87 * size, at.y - s * size / 2}};
  c.PolygonF(triangle, Stroke{largest ? kWhite : kBlack, std::max<double>(1, size / 5)},
             largest ? Colour::Exact(20, 20, 20) : kWhite);
}

/// Cuts a contour piece to the unit disc (vector pictures may ignore a clip path); false when
/// it lies outside. The pieces are a grid cell long, so one with both ends outside is dropped.
bool ClipToDisc(ContourSegment& s) {
  const bool in0 = s.x0 * s.x0 + s.y0 * s.y0 <= 1, in1 = s.x1 * s.x1 + s.y1 * s.y1 <= 1;
  if (in0 && in1) return true;
  if (!in0 && !in1) return false;
  if (!in0) std::swap(s.x0, s.x1), std::swap(s.y0, s.y1);
  // |p0 + f (p1 - p0)| = 1 for f in (0, 1].
  const Real dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  const Real a = dx * dx + dy * dy, b = 2 * (s.x0 * dx + s.y0 * dy),
             c = s.x0 * s.x0 + s.y0 * s.y0 - 1;
  const Real f = (-b + std::sqrt(std::max<Real>(0, b * b - 4 * a * c))) / (2 * a);
  s.x1 = s.x0 + f * dx;
  s.y1 = s.y0 + f * dy;
  return true;
}

/// The directions to mark for an extreme: all its repeats when they are a few symmetric
/// copies, only the reported one (and its opposite on an even surface) when a whole ring or
/// cone shares the value.
std::vector<Direction> MarkedDirections(const SurfaceExtreme& x, bool even) {
  if (x.repeats.size() <= 12) return x.repeats;
  std::vector<Direction> marks = {x.direction};
  if (even) marks.push_back({-x.direction[0], -x.direction[1], -x.direction[2]});
  return marks;
}

/// The colour field: runs of equal band colour along each row of the grid; in vector pictures
/// each run overlaps its neighbours by half a cell so no seam shows between them.
void PaintBands(VectorCanvas& c, const Disc& d, const MapGrid& grid, const MapLevels& levels,
                bool vector) {
  const double R = d.radius;
  const int cells = grid.size;
  const double cell = 2 * R / cells;
  const double left = d.centre.x - R, top = d.centre.y - R;
  const double rim = (1 + 2.0 / cells) * (1 + 2.0 / cells);
  for (int row = 0; row < cells; ++row) {
    const Real y = grid.Y(row);
    int start = -1;
    Colour runColour;
    // The widest chord of the disc within this row: runs never reach beyond it.
    const double rowTop = 1 - 2.0 * row / cells, rowBottom = 1 - 2.0 * (row + 1) / cells;
    const double nearest =
        rowTop * rowBottom <= 0 ? 0 : std::min(std::fabs(rowTop), std::fabs(rowBottom));
    const double chord = R * std::sqrt(std::max<double>(0, 1 - nearest * nearest));
    auto flush = [&](int end) {
      if (start < 0) return;
      const double overlap = vector ? 0.5 * cell : 0;
      const double x0 = std::max(left + start * cell, d.centre.x - chord);
      const double x1 = std::min(left + end * cell + overlap, d.centre.x + chord);
      if (x1 > x0) c.FillRectF(x0, top + row * cell, x1 - x0, cell + overlap, runColour);
      start = -1;
    };
    for (int column = 0; column < cells; ++column) {
      const Real x = grid.X(column);
      const Real v = grid.At(row, column);
      if (x * x + y * y > rim || std::isnan(v)) {
        flush(column);
        continue;
      }
      const Colour colour = BandColour(levels, v);
      if (start >= 0 && colour.Value() != runColour.Value()) flush(column);
      if (start < 0) start = column, runColour = colour;
    }
    flush(cells);
  }
}

void PaintDisc(VectorCanvas& c, const Disc& d, const Layout& l, const DirectionValue& value,
               bool even, const MapLevels& levels, const SurfaceExtremes& extremes,
               const MapPictureOptions& o, bool vector) {
  const double R = d.radius;
  const int cells = std::max(
      8, vector ? std::min(200, static_cast<int>(2 * R)) : static_cast<int>(std::lround(2 * R)));
  const MapGrid grid = ComputeMapGrid(value, o.projection, d.lower, cells);

  c.ClipToCircle(d.centre, R);
  c.SetSmoothing(false);
  PaintBands(c, d, grid, levels, vector);

  // Circles at 30 and 60 degrees from the pole, faint, for reading off angles.
  c.SetSmoothing(true);
  const Stroke faint{Colour::Exact(150, 150, 150), std::max<double>(0.5, l.unit * 0.12), true};
  for (const double degrees : {30.0, 60.0})
    c.Circle(d.centre,
             R * static_cast<double>(MapRadius(o.projection, degrees * std::numbers::pi / 180)),
             faint);

  // Contour lines at the levels of the colour bar, the zero contour bold.
  auto toPicture = [&](Real x, Real y) {
    return PointF{static_cast<double>(d.centre.x + R * x), static_cast<double>(d.centre.y - R * y)};
  };
  for (const Real level : levels.levels) {
    const bool zero = std::fabs(level) < levels.step * 1e-9L;
    const Stroke stroke{
        zero ? Colour::Exact(0, 0, 0) : Colour::Exact(60, 60, 60),
        zero ? std::max<double>(1.5, 0.45 * l.unit) : std::max<double>(0.6, 0.15 * l.unit)};
    std::vector<LineF> lines;
    for (ContourSegment s : ContourLines(grid, level))
      if (ClipToDisc(s)) lines.push_back({toPicture(s.x0, s.y0), toPicture(s.x1, s.y1)});
    if (!lines.empty()) c.Lines(lines, stroke);
  }
  c.EndClip();

  // The rim (the equator), the axes at the rim and the pole.
  c.SetSmoothing(true);
  const double u = l.unit;
  const Stroke rim{kBlack, std::max<double>(1, 0.25 * u)};
  c.Circle(d.centre, R, rim);
  const PointF m = d.centre;
  c.Lines({{{m.x + R, m.y}, {m.x + R + 1.2 * u, m.y}}}, rim);
  c.Lines({{{m.x, m.y - R}, {m.x, m.y - R - 1.2 * u}}}, rim);
  c.Lines({{{m.x - 0.8 * u, m.y}, {m.x + 0.8 * u, m.y}}}, rim);
  c.Lines({{{m.x, m.y - 0.8 * u}, {m.x, m.y + 0.8 * u}}}, rim);
  c.SetFace(2.8 * u);
  DrawCentred(c, m.x + R + 2.8 * u, m.y, AxisName(o.captionStyle, 0), 2.8 * u);
  DrawCentred(c, m.x, m.y - R - 3 * u, AxisName(o.captionStyle, 1), 2.8 * u);
  const std::string pole = (d.lower ? "-" : "") + AxisName(o.captionStyle, 2);
  c.SetFace(2.2 * u);
  c.TextAt(m.x + 0.9 * u, m.y + 2.9 * u, pole, kBlack);

  // The extremes where they lie on this disc.
  for (const bool largest : {true, false}) {
    const SurfaceExtreme& x = largest ? extremes.largest : extremes.smallest;
    if (!std::isfinite(x.value) || extremes.largest.value == extremes.smallest.value) continue;
    for (const Direction& n : MarkedDirections(x, even)) {
      Real mx, my;
      if (MapPoint(o.projection, d.lower, n, mx, my))
        DrawMarker(c, toPicture(mx, my), 1.3 * u, largest);
    }
  }
}

/// The value as the colour bar labels it: a multiple of 10^exponent, up to four digits.
std::string BarLabel(Real value, int exponent, char separator) {
  const Real shown = value / std::pow(Real(10), exponent);
  return FormatGeneral(std::fabs(shown) < 1e-12L ? 0 : shown, separator, 4);
}

void PaintBar(VectorCanvas& c, const Layout& l, const MapLevels& levels, const TensorState& t,
              Real lo, Real hi, char separator) {
  const double u = l.unit;
  const RectF& bar = l.bar;
  // The bar spans the bands of the values there are.
  Real from = std::floor(lo / levels.step + 1e-9L) * levels.step;
  Real to = std::ceil(hi / levels.step - 1e-9L) * levels.step;
  if (!(to > from)) from -= levels.step, to += levels.step;
  const Real span = to > from ? to - from : 1;
  auto yOf = [&](Real v) { return bar.Bottom() - bar.h * static_cast<double>((v - from) / span); };
  c.SetSmoothing(false);
  const long long first = std::llround(from / levels.step), last = std::llround(to / levels.step);
  for (long long k = first; k < last && k - first < 400; ++k) {
    const Real a = k * levels.step;
    c.FillRectF(bar.x, yOf(a + levels.step), bar.w, yOf(a) - yOf(a + levels.step) + 0.3,
                BandColour(levels, a + levels.step / 2));
  }
  c.SetSmoothing(true);
  c.OutlineRectF(bar.x, bar.y, bar.w, bar.h, Stroke{kBlack, std::max<double>(0.8, 0.15 * u)});

  // Ticks and labels at the contour levels, the ends and zero, none crowding the one before.
  const int exponent = t.exponent;
  const double labelPixels = 2.3 * u;
  c.SetFace(labelPixels);
  const double labelHeight = c.Measure(labelPixels).height;
  std::vector<Real> marks = levels.levels;
  marks.push_back(from);
  marks.push_back(to);
  if (from < 0 && to > 0) marks.push_back(0);
  std::sort(marks.begin(), marks.end());
  double lastY = 1e9;
  for (const Real v : marks) {
    const double y = yOf(v);
    if (std::fabs(y - lastY) < labelHeight * 0.95) continue;
    const bool zero = std::fabs(v) < levels.step * 1e-9L;
    c.Lines(
        {{{bar.x, y}, {bar.Right() + 0.8 * u, y}}},
        Stroke{kBlack, zero ? std::max<double>(1.5, 0.45 * u) : std::max<double>(0.6, 0.15 * u)});
    const std::string label = BarLabel(v, exponent, separator);
    DrawCentred(c, bar.Right() + 1.2 * u + c.TextWidth(label, labelPixels) / 2, y, label,
                labelPixels);
    lastY = y;
  }

  // The power of ten and the unit above the bar, its right end at the picture's edge.
  const double normal = 2.4 * u, small = 1.7 * u;
  const std::string ten = exponent != 0 ? "\u00d710" : "";
  const std::string power = exponent != 0 ? std::to_string(exponent) : "";
  const std::string unit = t.unitText.empty() ? "" : " " + t.unitText;
  const double width = c.TextWidth(ten + unit, normal) + c.TextWidth(power, small);
  double x = std::min(bar.x, 99 * u - width);
  const double y = bar.y - 1.6 * u;
  c.SetFace(normal);
  c.TextAt(x, y, ten, kBlack);
  x += c.TextWidth(ten, normal);
  c.SetFace(small);
  c.TextAt(x, y - 1.1 * u, power, kBlack);
  x += c.TextWidth(power, small);
  c.SetFace(normal);
  c.TextAt(x, y, unit, kBlack);
}

std::string DirectionText(const Direction& n, char separator) {
  std::string text = "[";
  for (int i = 0; i < 3; ++i) {
    char buffer[32];
    const double c = static_cast<double>(n[i]);
    std::snprintf(buffer, sizeof buffer, "%.3f", std::fabs(c) < 5e-4 ? 0.0 : c);
    for (char* q = buffer; *q; ++q)
      if (*q == '.') *q = separator;
    text += (i ? ", " : "") + std::string(buffer);
  }
  return text + "]";
}

}  // namespace

int MapPictureHeight(int width, MapHemisphere hemisphere) {
  return static_cast<int>(std::lround(width * (hemisphere == MapHemisphere::Both ? 0.75 : 0.9)));
}

void PaintMap(VectorCanvas& c, const TensorState& t, const SurfaceEvaluation& e,
              const MapPictureOptions& o, bool vector) {
  const int width = c.Width(), height = c.Height();
  c.FillRectangle(0, 0, width, height, Pen{kWhite, true}, Brush{kWhite});
  const Layout l = MakeLayout(width, o.hemisphere);
  const DirectionValue value = ShownValue(t, e);
  const bool even = ShownValueIsEven(t, e);
  const SurfaceExtremes extremes = FindShownExtremes(t, e);
  const Real lo = extremes.smallest.value, hi = extremes.largest.value;
  const MapLevels levels = ContourLevels(std::isfinite(lo) ? lo : 0, std::isfinite(hi) ? hi : 0);
  const double u = l.unit;

  const char* projection = o.projection == MapProjection::EqualArea ? "equal-area projection"
                                                                    : "stereographic projection";
  std::string title;
  if (o.hemisphere == MapHemisphere::Both)
    title = std::string(o.projection == MapProjection::EqualArea ? "Equal-area" : "Stereographic") +
            " projection";
  else
    title = std::string(o.hemisphere == MapHemisphere::Lower ? "Lower" : "Upper") +
            " hemisphere, " + projection;
  c.SetFace(3 * u);
  c.TextAt(2 * u, l.captionY, title, kBlack);

  for (const Disc& d : l.discs) {
    PaintDisc(c, d, l, value, even, levels, extremes, o, vector);
    if (o.hemisphere != MapHemisphere::Both) continue;
    c.SetFace(2.6 * u);
    DrawCentred(c, d.centre.x, l.discLabelY, d.lower ? "Lower hemisphere" : "Upper hemisphere",
                2.6 * u);
  }
  PaintBar(c, l, levels, t, std::isfinite(lo) ? lo : 0, std::isfinite(hi) ? hi : 0,
           o.decimalSeparator);

  // The two extremes in words, each after its marker; a zero surface has none.
  const double linePixels = 2.5 * u;
  double y = l.extremesY;
  c.SetFace(linePixels);
  if (extremes.zero) c.TextAt(2 * u, y, kMsgZeroSurface, kBlack);
  for (const bool largest : {true, false}) {
    if (extremes.zero) break;
    const SurfaceExtreme& x = largest ? extremes.largest : extremes.smallest;
    DrawMarker(c, PointF{3.5 * u, y - 0.9 * u}, 1.3 * u, largest);
    std::string line = std::string(largest ? "Largest value:  " : "Smallest value: ") +
                       FormatGeneral(x.value, o.decimalSeparator, 6);
    if (!t.unitText.empty()) line += " " + t.unitText;
    if (std::isfinite(x.value)) line += " along " + DirectionText(x.direction, o.decimalSeparator);
    c.TextAt(6 * u, y, line, kBlack);
    y += 4.5 * u;
  }
}

}  // namespace quillmere
