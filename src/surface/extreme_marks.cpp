#include "surface/extreme_marks.h"

#include <cmath>
#include <cstdio>

#include "tensor/number_text.h"

namespace quillmere {

namespace {

void CopyRgb(const Colour& c, std::uint8_t rgb[3]) {
  rgb[0] = c.red;
  rgb[1] = c.green;
  rgb[2] = c.blue;
}

/// A line record from a to b (drawing frame): two corners at each end, as the axes are built.
ScenePolygon& AppendLine(SceneList& scene, const Real a[3], const Real b[3],
                         const ViewSettings& v) {
  // Any legend behind the built records is dropped; the renderer adds it again.
  scene.records.resize(scene.count);
  scene.legendCount = 0;
  ++scene.count;
  ScenePolygon& p = scene.records.emplace_back();
  for (int c = 0; c < 4; ++c) {
    const Real* end = c < 2 ? a : b;
    for (int i = 0; i < 3; ++i) p.corners[c][i] = end[i];
    p.corners[c][3] = 1;
  }
  CopyRgb(v.axesColour, p.baseColour);
  p.lineColour = v.axesColour;
  return p;
}

}  // namespace

void AppendExtremeMarks(SceneList& scene, const SurfaceExtremes& extremes, const TensorState& t,
                        const ViewSettings& v) {
  if (!std::isfinite(extremes.largest.value) || !std::isfinite(extremes.smallest.value) ||
      extremes.largest.value == extremes.smallest.value || !(t.scale > 0))
    return;
  for (const bool largest : {true, false}) {
    const SurfaceExtreme& x = largest ? extremes.largest : extremes.smallest;
    // Drawing frame: the crystal direction with its first component reversed.
    const Real d[3] = {-x.direction[0], x.direction[1], x.direction[2]};
    const Real r = std::fabs(x.value) / t.scale;
    const Real head[3] = {r * d[0], r * d[1], r * d[2]};
    const Real tail[3] = {(r + 0.45L) * d[0], (r + 0.45L) * d[1], (r + 0.45L) * d[2]};
    AppendLine(scene, tail, head, v).label = largest ? "max" : "min";
    // Barbs in the plane of the direction and a perpendicular to it.
    Real q[3] = {d[1], -d[0], 0};                                            // d x z
    if (std::hypot(q[0], q[1]) < 0.3L) q[0] = 0, q[1] = d[2], q[2] = -d[1];  // d x x
    const Real length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2]);
    for (const Real side : {1.0L, -1.0L}) {
      Real barb[3];
      for (int i = 0; i < 3; ++i) barb[i] = head[i] + 0.1L * d[i] + side * 0.05L * q[i] / length;
      AppendLine(scene, head, barb, v);
    }
  }
  ResetOrder(scene);
}

std::string ExtremePanelText(const char* caption, const SurfaceExtreme& x, int exponent,
                             char decimalSeparator) {
  std::string text = std::string(caption) + " " +
                     FormatGeneral(x.value / std::pow(Real(10), exponent), decimalSeparator, 4);
  if (!std::isfinite(x.value)) return text;
  text += " [";
  for (int i = 0; i < 3; ++i) {
    char buffer[32];
    const double c = static_cast<double>(x.direction[i]);
    std::snprintf(buffer, sizeof buffer, "%.3f", std::fabs(c) < 5e-4 ? 0.0 : c);
    for (char* p = buffer; *p; ++p)
      if (*p == '.') *p = decimalSeparator;
    text += (i ? ", " : "") + std::string(buffer);
  }
  return text + "]";
}

}  // namespace quillmere
