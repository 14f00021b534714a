// The patch layout of the scene: the corner directions of every patch of the full surface or a
// section, the axis segments, and the records they are written into.
#include <cmath>
#include <numbers>
#include <vector>

#include "surface/scene_parts.h"

namespace quillmere {

namespace {

constexpr double kPi = std::numbers::pi;

const char* const kCaptions[3][3] = {{"x", "y", "z"}, {"a", "b", "c"}, {"e1", "e2", "e3"}};

/// Sines and cosines of a patch's two theta and two phi values (unshifted, shifted by s).
struct PatchAngles {
  double sinTheta[2], cosTheta[2], sinPhi[2], cosPhi[2];
};

/// Corner offsets (theta, phi) in steps of s: (0, 0), (0, s), (s, s), (s, 0).
constexpr int kCornerOffsets[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

/// The drawing-frame directions of a patch's four corners, u = (-sin theta sin phi,
/// -sin theta cos phi, -cos theta), with the section's component set to 0 (not renormalised).
void CornerDirections(const PatchAngles& a, int crossSectionMode, double d[4][3]) {
  for (int c = 0; c < 4; ++c) {
    const int i = kCornerOffsets[c][0], j = kCornerOffsets[c][1];
    d[c][0] = -a.sinTheta[i] * a.sinPhi[j];
    d[c][1] = -a.sinTheta[i] * a.cosPhi[j];
    d[c][2] = -a.cosTheta[i];
    if (crossSectionMode >= kSectionX && crossSectionMode <= kSectionZ)
      d[c][crossSectionMode - 1] = 0;
  }
}

/// The fields of a patch record besides its corners: the colours by the sign at the last corner
/// and the renderer's fields as a new record has them.
void StorePatchColours(ScenePolygon& p, const ViewSettings& v, bool negative) {
  const Colour& fill = negative ? v.negativeFill : v.positiveFill;
  p.baseColour[0] = fill.red;
  p.baseColour[1] = fill.green;
  p.baseColour[2] = fill.blue;
  p.lineColour = negative ? v.negativeLine : v.positiveLine;
  for (ScreenPoint& point : p.screen) point = ScreenPoint{};
  p.depthKey = 0;
  if (!p.label.empty()) p.label.clear();
  p.fillColour = Colour{};
  p.drawable = true;
}

/// Writes every field of a patch record: each corner at |value| along its direction, the
/// colours by the sign at the last corner (exactly 0, or not a number, counts as positive), and
/// the renderer's fields as a new record has them. A reused record keeps no trace of its past.
void StorePatch(ScenePolygon& p, const ViewSettings& v, const double d[4][3],
                const double value[4]) {
  for (int c = 0; c < 4; ++c) {
    const double radius = value[c] < 0 ? -value[c] : value[c];
    double* corner = p.corners[c];
    corner[0] = radius * d[c][0];
    corner[1] = radius * d[c][1];
    corner[2] = radius * d[c][2];
    corner[3] = 1;
  }
  StorePatchColours(p, v, value[3] < 0);
}

/// Puts a record back to what a new one holds, keeping its label's storage.
void ClearRecord(ScenePolygon& p) {
  for (auto& corner : p.corners) corner[0] = corner[1] = corner[2] = corner[3] = 0;
  for (ScreenPoint& point : p.screen) point = ScreenPoint{};
  p.depthKey = 0;
  p.label.clear();
  p.lineColour = Colour{};
  p.baseColour[0] = p.baseColour[1] = p.baseColour[2] = 0;
  p.fillColour = Colour{};
  p.drawable = true;
}

/// A row of patches: their corner directions as three arrays (corner c of patch i at 4 i + c),
/// padded to whole evaluation blocks, and the values there.
class PatchRow {
 public:
  explicit PatchRow(std::size_t patches)
      : size_((4 * patches + kEvaluationBlock - 1) / kEvaluationBlock * kEvaluationBlock),
        x_(size_, 0.0),
        y_(size_, 0.0),
        z_(size_, 0.0),
        value_(size_, 0.0) {}
  void Set(std::size_t patch, const double d[4][3]) {
    for (int c = 0; c < 4; ++c) {
      x_[4 * patch + c] = d[c][0];
      y_[4 * patch + c] = d[c][1];
      z_[4 * patch + c] = d[c][2];
    }
  }
  void Evaluate(const scene_parts::CornerValues& values) {
    values(x_.data(), y_.data(), z_.data(), value_.data(), size_);
  }
  void Store(std::size_t patch, ScenePolygon& p, const ViewSettings& v) const {
    double d[4][3], value[4];
    for (int c = 0; c < 4; ++c) {
      d[c][0] = x_[4 * patch + c];
      d[c][1] = y_[4 * patch + c];
      d[c][2] = z_[4 * patch + c];
      value[c] = value_[4 * patch + c];
    }
    StorePatch(p, v, d, value);
  }

 private:
  std::size_t size_;
  std::vector<double> x_, y_, z_, value_;
};

void SinCos(double angle, double& s, double& c) {
  s = std::sin(angle);
  c = std::cos(angle);
}

}  // namespace

namespace scene_parts {

void EventPump::Between() {
  if (!c_.processEvents && !c_.refreshTensorDisplay) return;
  // The clock is read every few patches only (it costs more than a patch at low ranks); an
  // interval of 0 lets events run after every patch.
  if (c_.eventInterval.count() > 0 && ++sinceCheck_ < kPatchesPerClockCheck) return;
  sinceCheck_ = 0;
  const auto now = std::chrono::steady_clock::now();
  if (now < next_) return;
  if (c_.refreshTensorDisplay) c_.refreshTensorDisplay();
  if (c_.processEvents) c_.processEvents();
  next_ = std::chrono::steady_clock::now() + c_.eventInterval;
}

ScenePolygon& AppendRecord(SceneList& scene) {
  scene.records.resize(scene.count);
  scene.legendCount = 0;
  if (scene.order.size() != scene.count) ResetOrder(scene);
  scene.order.push_back(static_cast<std::uint32_t>(scene.count));
  ++scene.count;
  return scene.records.emplace_back();
}

void FillAxes(ScenePolygon* records, const TensorState& t, const SurfaceEvaluation& e,
              const ViewSettings& v) {
  const int style = v.axesCaptionStyle >= 1 && v.axesCaptionStyle <= 3 ? v.axesCaptionStyle : 1;
  for (int segment = 0; segment < 6; ++segment) {
    const int axis = segment / 2;
    const double sign = segment % 2 == 0 ? 1 : -1;
    ScenePolygon& p = records[segment];
    ClearRecord(p);
    for (int c = 0; c < 4; ++c) {
      double* corner = p.corners[c];
      corner[axis] = sign * (c < 2 ? 1.0 : 1.5);
      corner[3] = 1;
      if (c < 2) {
        // The inner end lies on the surface: the unit coordinate takes the radius there.
        corner[axis] *= static_cast<double>(
            std::fabs(ValueAtDrawDirection(t, e, corner[0], corner[1], corner[2])));
      }
    }
    p.baseColour[0] = v.axesColour.red;
    p.baseColour[1] = v.axesColour.green;
    p.baseColour[2] = v.axesColour.blue;
    p.lineColour = v.axesColour;
    // Drawing -x is crystal +x.
    if (segment == 1) p.label = kCaptions[style - 1][0];
    if (segment == 2) p.label = kCaptions[style - 1][1];
    if (segment == 4) p.label = kCaptions[style - 1][2];
  }
}

void LayPatches(ScenePolygon* records, const CornerValues& values, const ViewSettings& view,
                int resolution, int mode, EventPump& pump) {
  const int n = 9 * resolution;
  const double s = static_cast<double>(PatchStep(resolution));
  const std::size_t columnCount = 2 * static_cast<std::size_t>(n) + 1;
  // The sines and cosines of the column angles are the same in every row: work them out once.
  std::vector<PatchAngles> columns(columnCount);
  for (int k = -n; k <= n; ++k) {
    PatchAngles& c = columns[static_cast<std::size_t>(k + n)];
    SinCos(k * kPi / n, c.sinPhi[0], c.cosPhi[0]);
    SinCos(k * kPi / n + s, c.sinPhi[1], c.cosPhi[1]);
  }
  PatchRow row(columnCount);
  std::size_t next = 0;
  if (mode == kFullSurface) {
    pump.Progress(0, n);
    for (int j = 0; j < n; ++j) {
      const double theta = j * kPi / n + 0.01;
      PatchAngles a;
      SinCos(theta, a.sinTheta[0], a.cosTheta[0]);
      SinCos(theta + s, a.sinTheta[1], a.cosTheta[1]);
      for (std::size_t k = 0; k < columnCount; ++k) {
        for (int i = 0; i < 2; ++i)
          a.sinPhi[i] = columns[k].sinPhi[i], a.cosPhi[i] = columns[k].cosPhi[i];
        double d[4][3];
        CornerDirections(a, mode, d);
        row.Set(k, d);
      }
      row.Evaluate(values);
      for (std::size_t k = 0; k < columnCount; ++k) {
        row.Store(k, records[next++], view);
        pump.Between();
      }
      pump.Progress(j + 1, n);
    }
    return;
  }
  // X and Y: theta runs along the band at phi = 0 or pi/2; Z: phi runs at theta = pi/2.
  PatchAngles fixed;
  const double fixedAngle = mode == kSectionX ? 0 : kPi / 2;
  SinCos(fixedAngle, fixed.sinPhi[0], fixed.cosPhi[0]);
  SinCos(fixedAngle + s, fixed.sinPhi[1], fixed.cosPhi[1]);
  for (std::size_t k = 0; k < columnCount; ++k) {
    const PatchAngles& c = columns[k];
    PatchAngles a;
    for (int i = 0; i < 2; ++i) {
      if (mode == kSectionZ) {
        a.sinTheta[i] = fixed.sinPhi[i], a.cosTheta[i] = fixed.cosPhi[i];
        a.sinPhi[i] = c.sinPhi[i], a.cosPhi[i] = c.cosPhi[i];
      } else {
        a.sinTheta[i] = c.sinPhi[i], a.cosTheta[i] = c.cosPhi[i];
        a.sinPhi[i] = fixed.sinPhi[i], a.cosPhi[i] = fixed.cosPhi[i];
      }
    }
    double d[4][3];
    CornerDirections(a, mode, d);
    row.Set(k, d);
  }
  row.Evaluate(values);
  pump.Progress(0, static_cast<int>(columnCount));
  for (std::size_t k = 0; k < columnCount; ++k) {
    row.Store(k, records[next++], view);
    pump.Between();
    pump.Progress(static_cast<int>(k + 1), static_cast<int>(columnCount));
  }
}

}  // namespace scene_parts

void AddSurfacePatch(SceneList& scene, const TensorState& t, const SurfaceEvaluation& e,
                     const ViewSettings& v, int resolution, int crossSectionMode, Real theta,
                     Real phi) {
  const double s = static_cast<double>(PatchStep(resolution));
  PatchAngles a;
  SinCos(static_cast<double>(theta), a.sinTheta[0], a.cosTheta[0]);
  SinCos(static_cast<double>(theta) + s, a.sinTheta[1], a.cosTheta[1]);
  SinCos(static_cast<double>(phi), a.sinPhi[0], a.cosPhi[0]);
  SinCos(static_cast<double>(phi) + s, a.sinPhi[1], a.cosPhi[1]);
  double d[4][3];
  CornerDirections(a, crossSectionMode, d);
  PatchRow row(1);
  row.Set(0, d);
  row.Evaluate(scene_parts::GeneralCornerValues(t, e));
  row.Store(0, scene_parts::AppendRecord(scene), v);
}

void BuildAxes(SceneList& scene, const TensorState& t, const SurfaceEvaluation& e,
               const ViewSettings& v) {
  for (int segment = 0; segment < 6; ++segment) scene_parts::AppendRecord(scene);
  scene_parts::FillAxes(&scene.records[scene.count - 6], t, e, v);
}

}  // namespace quillmere
