#include "surface/renderer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "surface/scale_legend.h"

namespace quillmere {

namespace {

int SizeRound(Real v) {
  if (!(std::fabs(v) < 1e6L)) return 0;
  return static_cast<int>(RoundToEven(v));
}

/// The program's quicksort over the paint order. The larger part is handled by the loop, so
/// the depth of the recursion stays logarithmic; the two parts are disjoint, so the order of
/// doing them changes nothing.
void QuickSort(const std::vector<std::int32_t>& keys, std::vector<std::uint32_t>& order,
               std::ptrdiff_t lo, std::ptrdiff_t hi) {
  auto key = [&](std::ptrdiff_t i) { return keys[order[static_cast<std::size_t>(i)]]; };
  while (lo < hi) {
    std::ptrdiff_t i = lo, j = hi;
    const std::int32_t pivot = key((lo + hi) / 2);
    do {
      while (key(i) < pivot) ++i;
      while (key(j) > pivot) --j;
      if (i <= j) {
        std::swap(order[static_cast<std::size_t>(i)], order[static_cast<std::size_t>(j)]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - lo < hi - i) {
      if (lo < j) QuickSort(keys, order, lo, j);
      lo = i;
    } else {
      if (i < hi) QuickSort(keys, order, i, hi);
      hi = j;
    }
  }
}

Colour Drawn(Colour c, const DisplayPalette* palette) {
  if (palette && c.flag == Colour::kPalette) {
    Colour p = (*palette)[NearestPaletteIndex(*palette, c)];
    p.flag = c.flag;
    return p;
  }
  return c;
}

}  // namespace

int ShadeChannel(int c, Real f) {
  const Real v = 250 * f * (c + 10) / ((1 - f) * 255 + c + 10) + 5;
  if (!(v >= 0)) return 0;  // also not-a-number
  if (v >= 255) return 255;
  return static_cast<int>(RoundToEven(v));
}

void SortByDepth(SceneList& scene, std::ptrdiff_t lo, std::ptrdiff_t hi) {
  if (scene.order.size() != scene.count) ResetOrder(scene);
  hi = std::min<std::ptrdiff_t>(hi, static_cast<std::ptrdiff_t>(scene.count) - 1);
  if (lo < 0 || lo >= hi) return;
  // The keys side by side: the sort then works in the cache instead of across the records.
  std::vector<std::int32_t> keys(scene.count);
  for (std::size_t i = 0; i < scene.count; ++i) keys[i] = scene.records[i].depthKey;
  QuickSort(keys, scene.order, lo, hi);
}

namespace {

/// The projection's arithmetic (Projection, LightFactor, ScreenRound), in double precision
/// for the record loop: the picture is made of whole pixels, far coarser than the difference.
class DoubleProjector {
 public:
  DoubleProjector(const Projection& p, const Real light[3])
      : e_(static_cast<double>(p.eyeDistance())),
        a_(p.a()),
        k_(static_cast<double>(p.zoom())),
        ratio_(static_cast<double>(p.pixelRatio())),
        twoA_(2.0 * p.a()),
        a14_(static_cast<double>(1.4L * p.a())) {
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 4; ++j) m_[i][j] = static_cast<double>(p.matrix().m[i][j]);
    for (int i = 0; i < 3; ++i) {
      light_[i] = static_cast<double>(light[i]);
      facingLight_[i] = static_cast<double>(0.2L * light[i]);
    }
  }
  struct Point {
    double x, y, z;
  };
  Point Project(const double* c) const {
    const double xp = m_[0][0] * c[0] + m_[0][1] * c[1] + m_[0][2] * c[2] + m_[0][3];
    const double yp = m_[1][0] * c[0] + m_[1][1] * c[1] + m_[1][2] * c[2] + m_[1][3];
    const double zp = m_[2][0] * c[0] + m_[2][1] * c[1] + m_[2][2] * c[2] + m_[2][3];
    const double p = e_ / (e_ - zp);
    return {a_ * xp * p, a_ * yp * p, a_ * zp};
  }
  ScreenPoint ToScreen(const Point& p, bool* invalid) const {
    return {Round(ratio_ * (k_ * p.x + twoA_), invalid),
            Round(ratio_ * (k_ * p.y + a14_), invalid)};
  }
  std::int32_t Depth(double v) const {
    constexpr double kLimit = std::numeric_limits<std::int32_t>::max();
    if (std::isnan(v)) return 0;
    if (v >= kLimit) return std::numeric_limits<std::int32_t>::max();
    if (v <= -kLimit) return -std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(RoundToEven(v));
  }
  double FacingLightN(int i) const { return facingLight_[i]; }
  double Light(const double n[3]) const {
    double q = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
    if (q == 0) q = 1;
    return ((light_[0] * n[0] + light_[1] * n[1] + light_[2] * n[2]) / std::sqrt(q) + 1) * 0.5;
  }

 private:
  /// As ScreenRound.
  static std::int32_t Round(double v, bool* invalid) {
    if (v != v) {
      *invalid = true;
      return 0;
    }
    if (v >= kScreenLimit) return kScreenLimit;
    if (v <= -kScreenLimit) return -kScreenLimit;
    return static_cast<std::int32_t>(RoundToEven(v));
  }
  double m_[3][4], light_[3], facingLight_[3], e_, a_, k_, ratio_, twoA_, a14_;
};

/// ShadeChannel in double precision.
int Shade(int c, double f) {
  const double v = 250 * f * (c + 10) / ((1 - f) * 255 + c + 10) + 5;
  if (!(v >= 0)) return 0;  // also not-a-number
  if (v >= 255) return 255;
  return static_cast<int>(RoundToEven(v));
}

/// Projects, lights and colours records [0, count).
void ProjectRecords(SceneList& scene, std::size_t count, const DoubleProjector& projector,
                    const ViewSettings& v, int crossSectionMode, ProjectionSummary& summary) {
  for (std::size_t r = 0; r < count; ++r) {
    ScenePolygon& rec = scene.records[r];
    DoubleProjector::Point p[4];
    for (int c = 0; c < 4; ++c) p[c] = projector.Project(rec.corners[c]);
    rec.depthKey = projector.Depth((p[0].z + p[1].z + p[2].z + p[3].z) / 4);

    double n[3];
    if ((p[1].x - p[0].x) + (p[1].y - p[0].y) + (p[1].z - p[0].z) == 0) {
      // Degenerate (an axis segment, a patch at the pole): lit as if facing the light.
      for (int i = 0; i < 3; ++i) n[i] = projector.FacingLightN(i);
    } else {
      n[0] = (p[0].y - p[1].y) * (p[2].z - p[1].z) - (p[0].z - p[1].z) * (p[2].y - p[1].y);
      n[1] = (p[0].z - p[1].z) * (p[2].x - p[1].x) - (p[0].x - p[1].x) * (p[2].z - p[1].z);
      n[2] = (p[0].x - p[1].x) * (p[2].y - p[1].y) - (p[0].y - p[1].y) * (p[2].x - p[1].x);
    }
    const double f = projector.Light(n);

    bool invalid = false;
    for (int c = 0; c < 4; ++c) rec.screen[c] = projector.ToScreen(p[c], &invalid);
    rec.drawable = !invalid;
    if (invalid) ++summary.undrawable;

    const bool facing = crossSectionMode != kFullSurface || n[2] >= 0;
    if (!facing) {
      rec.fillColour = v.background;
    } else {
      const int red = Shade(rec.baseColour[0], f);
      const int green = Shade(rec.baseColour[1], f);
      const int blue = Shade(rec.baseColour[2], f);
      rec.fillColour =
          v.paletteMode ? Colour::Palette(red, green, blue) : Colour::Exact(red, green, blue);
      if (!v.showGrid && rec.lineColour != v.axesColour) rec.lineColour = v.background;
    }
  }
}

}  // namespace

ProjectionSummary ProjectScene(SceneList& scene, const ViewSettings& v, int a, int crossSectionMode,
                               const TensorState& t, char decimalSeparator, Real pixelRatio) {
  ProjectionSummary summary;
  const Projection projection(v, a, pixelRatio);
  const std::size_t count = std::min(scene.count, scene.records.size());
  ProjectRecords(scene, count, DoubleProjector(projection, v.lightDirection), v, crossSectionMode,
                 summary);
  scene.records.resize(count);
  scene.count = count;
  scene.legendCount = 0;
  SortByDepth(scene, 0, static_cast<std::ptrdiff_t>(count) - 1);
  BuildLegend(scene, projection, v, t.scale, t.unitText, decimalSeparator);
  return summary;
}

void PaintRecords(const SceneList& scene, const ViewSettings& v, Canvas& canvas,
                  const PaintMetrics& metrics, const PaintOptions& options, int* stepsDone) {
  const LabelFont font = v.useAxesFont ? v.axesFont : BuiltInLabelFont();
  const Real k = v.zoom;
  const std::size_t total = std::min(scene.PaintCount(), scene.records.size());
  int steps = stepsDone ? *stepsDone : 0;
  // The records are painted in depth order, scattered over the list: ask for the ones a few
  // places ahead early, so that the painter does not wait for memory.
  constexpr std::size_t kAhead = 8;
  for (std::size_t i = 0; i < total; ++i) {
    if (i + kAhead < total) {
      const ScenePolygon& ahead = scene.Painted(i + kAhead);
      __builtin_prefetch(&ahead.screen);
      __builtin_prefetch(&ahead.drawable);
    }
    const ScenePolygon& rec = scene.Painted(i);
    if (rec.drawable) {
      Pen pen;
      pen.colour = Drawn(rec.lineColour, options.palette);
      pen.clear = rec.lineColour == v.background;
      pen.width = rec.lineColour == v.axesColour ? metrics.axesPenWidth : 1;
      Brush brush;
      brush.colour = Drawn(rec.fillColour, options.palette);
      if (rec.fillColour != v.background) {
        if (!v.fillPatches) brush.colour = Drawn(v.background, options.palette);
        canvas.Polygon(rec.screen, pen, brush);
      }
      if (!rec.label.empty()) {
        const int x3 = rec.screen[2].x, y3 = rec.screen[2].y;
        std::string text = rec.label;
        int size = SizeRound(font.size * k * metrics.fontWidth / 500);
        // The legend marks its small tick values with a leading double quote and its exponent
        // with a leading "^" (drawn after a large "10"). Only a leading mark counts, so a unit
        // text such as "m^2/N" is shown as it stands.
        if (text[0] == '"') {
          text.erase(0, 1);
          size = SizeRound(metrics.fontWidth * k / 60);
        }
        if (!text.empty() && text[0] == '^') {
          text.erase(0, 1);
          canvas.Text(SizeRound(x3 - metrics.pixelRatio * (metrics.offsetWidth * 0.035L * k)), y3,
                      "10", font, SizeRound(metrics.fontWidth * k / 40));
          size = SizeRound(metrics.fontWidth * k / 60);
        }
        if (!text.empty()) canvas.Text(x3, y3, text, font, size);
      }
    }
    if ((i + 1) % 20 == 0) {
      ++steps;
      if (options.progress) options.progress(steps);
    }
  }
  if (stepsDone) *stepsDone = steps;
}

void KeepLegendInside(SceneList& scene, const ViewSettings& v, const PaintMetrics& metrics,
                      int height) {
  if (scene.legendCount == 0 || scene.records.size() < scene.count + scene.legendCount) return;
  const LabelFont font = v.useAxesFont ? v.axesFont : BuiltInLabelFont();
  const Real k = v.zoom;
  // A text's box reaches about 1.25 of its point size below its top, at 96 pixels per inch.
  const auto textHeight = [&](int points) {
    return static_cast<long long>(std::ceil(points * 96.0L / 72 * 1.25L * metrics.pixelRatio));
  };
  long long top = kScreenLimit, bottom = -kScreenLimit;
  for (std::size_t r = scene.count; r < scene.count + scene.legendCount; ++r) {
    const ScenePolygon& rec = scene.records[r];
    for (const ScreenPoint& p : rec.screen) {
      top = std::min<long long>(top, p.y);
      bottom = std::max<long long>(bottom, p.y);
    }
    if (rec.label.empty()) continue;
    int size = SizeRound(font.size * k * metrics.fontWidth / 500);
    if (rec.label[0] == '"') size = SizeRound(metrics.fontWidth * k / 60);
    if (rec.label[0] == '^') size = SizeRound(metrics.fontWidth * k / 40);  // the large "10"
    bottom = std::max(bottom, rec.screen[2].y + textHeight(size));
  }
  const long long limit = static_cast<long long>(DevicePixels(height, metrics.pixelRatio)) -
                          static_cast<long long>(std::ceil(2 * metrics.pixelRatio));
  if (bottom <= limit) return;
  const long long up = std::min(bottom - limit, std::max(0LL, top));
  for (std::size_t r = scene.count; r < scene.count + scene.legendCount; ++r)
    for (ScreenPoint& p : scene.records[r].screen) p.y = static_cast<std::int32_t>(p.y - up);
}

ProjectionSummary RenderPicture(SceneList& scene, const ViewSettings& view, const TensorState& t,
                                Canvas& canvas, const RenderOptions& options) {
  const int w = canvas.Width(), h = canvas.Height();
  const Real ratio = canvas.PixelRatio();
  const int a = PictureSizeParameter(w, view.stereo);
  ViewSettings shifted = view;
  if (view.stereo) shifted.shiftX = view.shiftX + kStereoFirstShift;
  ProjectionSummary summary =
      ProjectScene(scene, shifted, a, options.crossSectionMode, t, options.decimalSeparator, ratio);

  Pen pen;
  pen.colour = Drawn(view.background, options.paint.palette);
  Brush brush;
  brush.colour = pen.colour;
  canvas.FillRectangle(0, 0, DevicePixels(w, ratio), DevicePixels(h, ratio), pen, brush);

  PaintMetrics metrics;
  metrics.fontWidth = w;
  metrics.offsetWidth = w;
  metrics.pixelRatio = ratio;
  KeepLegendInside(scene, view, metrics, h);
  int steps = 0;
  PaintRecords(scene, view, canvas, metrics, options.paint, &steps);
  if (view.stereo) {
    shifted.shiftX = view.shiftX - kStereoSecondShift;
    const ProjectionSummary second = ProjectScene(scene, shifted, a, options.crossSectionMode, t,
                                                  options.decimalSeparator, ratio);
    summary.undrawable += second.undrawable;
    PaintRecords(scene, view, canvas, metrics, options.paint, &steps);
  }
  return summary;
}

int RenderProgressSteps(const SceneList& scene, const ViewSettings& view) {
  const int steps = static_cast<int>(scene.count / 20);
  return view.stereo ? 2 * steps : steps;
}

}  // namespace quillmere
