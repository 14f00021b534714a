#include "surface/pointer_readout.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <utility>
#include <vector>

#include "surface/derived_surface.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

using Vec = std::array<Real, 3>;

Real Dot(const Vec& a, const Vec& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec Normalised(const Vec& v) {
  const Real length = std::sqrt(Dot(v, v));
  return {v[0] / length, v[1] / length, v[2] / length};
}

/// The drawing frame is the crystal frame with its first axis reversed (both ways).
Vec Flipped(const Vec& v) {
  return {-v[0], v[1], v[2]};
}

/// One image of the picture: its projection, with the screen mapping left unrounded.
class Image {
 public:
  Image(const ViewSettings& v, int a, Real ratio) : p_(v, a, ratio) {}
  /// Device-pixel position of the drawing-frame point q.
  std::array<Real, 2> Screen(const Vec& q) const {
    const ProjectedPoint p = p_.Project(q[0], q[1], q[2]);
    return p_.ScreenPosition(p.x, p.y);
  }

 private:
  Projection p_;
};

/// Even-odd rule, as the painter fills a record's polygon.
bool Inside(const std::array<Real, 2> (&c)[4], Real x, Real y) {
  bool inside = false;
  for (int i = 0, j = 3; i < 4; j = i++) {
    if ((c[i][1] > y) != (c[j][1] > y) &&
        x < (c[j][0] - c[i][0]) * (y - c[i][1]) / (c[j][1] - c[i][1]) + c[i][0])
      inside = !inside;
  }
  return inside;
}

/// Barycentric weights of (x, y) in the screen triangle a, b, c; false when it is degenerate.
bool Barycentric(const std::array<Real, 2>& a, const std::array<Real, 2>& b,
                 const std::array<Real, 2>& c, Real x, Real y, Real w[3]) {
  const Real det = (b[1] - c[1]) * (a[0] - c[0]) + (c[0] - b[0]) * (a[1] - c[1]);
  if (det == 0) return false;
  w[0] = ((b[1] - c[1]) * (x - c[0]) + (c[0] - b[0]) * (y - c[1])) / det;
  w[1] = ((c[1] - a[1]) * (x - c[0]) + (a[0] - c[0]) * (y - c[1])) / det;
  w[2] = 1 - w[0] - w[1];
  return true;
}

/// The drawing-frame point of the record under (x, y), from its corners weighted as the point
/// lies in the screen polygon (first triangle 0 1 2, else 0 2 3).
std::optional<Vec> PointInRecord(const ScenePolygon& r, const std::array<Real, 2> (&s)[4], Real x,
                                 Real y) {
  Real w[3];
  int corner[3] = {0, 1, 2};
  const bool first = Barycentric(s[0], s[1], s[2], x, y, w);
  if (!first || w[0] < 0 || w[1] < 0 || w[2] < 0) {
    corner[1] = 2, corner[2] = 3;
    if (!Barycentric(s[0], s[2], s[3], x, y, w)) return std::nullopt;
  }
  Vec q{0, 0, 0};
  for (int k = 0; k < 3; ++k)
    for (int i = 0; i < 3; ++i) q[i] += w[k] * r.corners[corner[k]][i];
  if (!(Dot(q, q) > 0)) return std::nullopt;
  return q;
}

/// Axis segments and the extremes' arrows are built as lines: two corners at each end.
bool IsLine(const ScenePolygon& r) {
  const auto same = [&](int a, int b) {
    return r.corners[a][0] == r.corners[b][0] && r.corners[a][1] == r.corners[b][1] &&
           r.corners[a][2] == r.corners[b][2];
  };
  return same(0, 1) && same(2, 3);
}

/// The point of the record's outline nearest to (x, y) in the picture: its squared distance in
/// device pixels and the drawing-frame point there, between the two corners of that edge.
std::pair<Real, Vec> NearestOutlinePoint(const ScenePolygon& r, const std::array<Real, 2> (&s)[4],
                                         Real x, Real y) {
  std::pair<Real, Vec> best{std::numeric_limits<Real>::infinity(), Vec{}};
  for (int i = 0, j = 3; i < 4; j = i++) {
    const Real ex = s[i][0] - s[j][0], ey = s[i][1] - s[j][1];
    const Real length = ex * ex + ey * ey;
    Real f = length > 0 ? ((x - s[j][0]) * ex + (y - s[j][1]) * ey) / length : 0;
    f = std::fmax(0.0L, std::fmin(1.0L, f));
    const Real dx = s[j][0] + f * ex - x, dy = s[j][1] + f * ey - y;
    if (dx * dx + dy * dy >= best.first) continue;
    best.first = dx * dx + dy * dy;
    for (int k = 0; k < 3; ++k) best.second[k] = (1 - f) * r.corners[j][k] + f * r.corners[i][k];
  }
  return best;
}

/// Newton steps on the sphere that move the drawing-frame direction d until the surface point
/// along it lies under (x, y). Nothing when they do not settle.
std::optional<Vec> Refined(Vec d, const Image& image, const DirectionValue& value, Real scale,
                           Real x, Real y) {
  const auto offset = [&](const Vec& u) {
    const Real r = std::fabs(value(Flipped(u))) / scale;
    const std::array<Real, 2> s = image.Screen({r * u[0], r * u[1], r * u[2]});
    return std::array<Real, 2>{s[0] - x, s[1] - y};
  };
  constexpr Real kStep = 1e-7L;
  for (int iteration = 0; iteration < 12; ++iteration) {
    const std::array<Real, 2> f = offset(d);
    if (!std::isfinite(f[0]) || !std::isfinite(f[1])) return std::nullopt;
    if (std::hypot(f[0], f[1]) < 1e-9L) return d;
    // Two directions across d: the sphere near d is d + s e1 + t e2, normalised.
    const Vec helper = std::fabs(d[0]) < 0.6L ? Vec{1, 0, 0} : Vec{0, 1, 0};
    const Vec e1 =
        Normalised({helper[1] * d[2] - helper[2] * d[1], helper[2] * d[0] - helper[0] * d[2],
                    helper[0] * d[1] - helper[1] * d[0]});
    const Vec e2 = {d[1] * e1[2] - d[2] * e1[1], d[2] * e1[0] - d[0] * e1[2],
                    d[0] * e1[1] - d[1] * e1[0]};
    const auto moved = [&](Real s, Real t) {
      return Normalised({d[0] + s * e1[0] + t * e2[0], d[1] + s * e1[1] + t * e2[1],
                         d[2] + s * e1[2] + t * e2[2]});
    };
    const std::array<Real, 2> fs = offset(moved(kStep, 0)), ft = offset(moved(0, kStep));
    const Real j00 = (fs[0] - f[0]) / kStep, j10 = (fs[1] - f[1]) / kStep;
    const Real j01 = (ft[0] - f[0]) / kStep, j11 = (ft[1] - f[1]) / kStep;
    const Real det = j00 * j11 - j01 * j10;
    if (!std::isfinite(det) || det == 0) return std::nullopt;
    Real s = -(j11 * f[0] - j01 * f[1]) / det;
    Real t = -(-j10 * f[0] + j00 * f[1]) / det;
    // Steps longer than a few degrees leave the patch the search started from.
    const Real length = std::hypot(s, t);
    if (length > 0.05L) s *= 0.05L / length, t *= 0.05L / length;
    d = moved(s, t);
  }
  return std::nullopt;
}

void AppendFixed(std::string& text, Real v, int decimals, char separator) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(v));
  for (char* p = buffer; *p; ++p)
    if (*p == '.') *p = separator;
  text += buffer;
}

std::string Superscript(int n) {
  static const char* const kDigits[10] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
  std::string text = n < 0 ? "⁻" : "";
  for (const char c : std::to_string(n < 0 ? -static_cast<long long>(n) : n))
    text += kDigits[c - '0'];
  return text;
}

}  // namespace

std::optional<PointedSurface> SurfaceUnderPoint(const SceneList& scene, const ViewSettings& view,
                                                const PicturePlace& picture, int crossSectionMode,
                                                const TensorState& t, const SurfaceEvaluation& e,
                                                Real x, Real y) {
  const std::size_t count = std::min({scene.count, scene.records.size(), scene.order.size()});
  if (count == 0 || !(t.scale > 0) || picture.width <= 0) return std::nullopt;
  const int a = PictureSizeParameter(picture.width, view.stereo);
  // Both images of a stereo pair share the depth of every record (the shift is sideways), so
  // the one paint order serves both.
  std::vector<Image> images;
  if (view.stereo) {
    for (const Real shift : {kStereoFirstShift, -kStereoSecondShift}) {
      ViewSettings shifted = view;
      shifted.shiftX = view.shiftX + shift;
      images.emplace_back(shifted, a, picture.pixelRatio);
    }
  } else {
    images.emplace_back(view, a, picture.pixelRatio);
  }
  const bool section = crossSectionMode != kFullSurface;
  // A section is a curve a pixel or two wide: the pointer may be this far beside it.
  const Real reach = 3 * picture.pixelRatio;
  std::pair<Real, Vec> nearest{reach * reach, Vec{}};
  bool near = false;
  for (const Image& image : images) {
    for (std::size_t i = count; i-- > 0;) {
      const ScenePolygon& record = scene.Painted(i);
      std::array<Real, 2> s[4];
      for (int c = 0; c < 4; ++c)
        s[c] = image.Screen({record.corners[c][0], record.corners[c][1], record.corners[c][2]});
      // Axis segments and the extremes' arrows are lines: no point lies inside them, and a
      // section's curve never runs along them.
      if (!Inside(s, x, y)) {
        if (section && !IsLine(record)) {
          const std::pair<Real, Vec> outline = NearestOutlinePoint(record, s, x, y);
          if (outline.first <= nearest.first && Dot(outline.second, outline.second) > 0)
            nearest = outline, near = true;
        }
        continue;
      }
      const std::optional<Vec> q = PointInRecord(record, s, x, y);
      if (!q) return std::nullopt;
      Vec d = Normalised(*q);
      const DirectionValue value = ShownValue(t, e);
      if (crossSectionMode == kFullSurface) {
        const std::optional<Vec> refined = Refined(d, image, value, t.scale, x, y);
        // The refinement keeps to the neighbourhood of the patch found; one that wandered off
        // (near the outline, where the surface turns away) is not taken.
        if (refined && Dot(*refined, d) > std::cos(2 * PatchStep(view.resolution))) d = *refined;
      }
      const Vec crystal = Flipped(d);
      return PointedSurface{crystal, value(crystal)};
    }
  }
  if (!near) return std::nullopt;
  const Vec crystal = Flipped(Normalised(nearest.second));
  return PointedSurface{crystal, ShownValue(t, e)(crystal)};
}

std::string PointerReadoutText(const PointedSurface& p, int exponent, const std::string& unitText,
                               char decimalSeparator) {
  constexpr Real kDegrees = 180 / std::numbers::pi_v<Real>;
  const Direction& d = p.direction;
  std::string text = "Direction [";
  for (int i = 0; i < 3; ++i) {
    if (i) text += decimalSeparator == ',' ? "; " : ", ";
    AppendFixed(text, std::fabs(d[i]) < 5e-4L ? 0 : d[i], 3, decimalSeparator);
  }
  const Real theta = std::acos(std::fmax(-1.0L, std::fmin(1.0L, d[2]))) * kDegrees;
  Real phi = std::hypot(d[0], d[1]) < 1e-9L ? 0 : std::atan2(d[1], d[0]) * kDegrees;
  if (phi < 0) phi += 360;
  if (phi >= 359.95L) phi = 0;
  text += "] (θ ";
  AppendFixed(text, theta, 1, decimalSeparator);
  text += "°, φ ";
  AppendFixed(text, phi, 1, decimalSeparator);
  text += "°): ";
  text += FormatGeneral(p.value / std::pow(Real(10), exponent), decimalSeparator, 4);
  if (exponent != 0) text += " × 10" + Superscript(exponent);
  if (!unitText.empty()) text += " " + unitText;
  return text;
}

}  // namespace quillmere
