#include "surface/scene.h"

#include "surface/surface_polynomial.h"

#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace quillmere {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

void CopyRgb(const Colour& c, std::uint8_t out[3]) {
  out[0] = c.red;
  out[1] = c.green;
  out[2] = c.blue;
}

/// Runs the window's hooks between patches, no more often than the interval asks.
class EventPump {
 public:
  explicit EventPump(const BuildCallbacks& c)
      : c_(c), next_(std::chrono::steady_clock::now() + c.eventInterval) {}
  void Between() {
    if (!c_.processEvents && !c_.refreshTensorDisplay) return;
    const auto now = std::chrono::steady_clock::now();
    if (now < next_) return;
    if (c_.refreshTensorDisplay) c_.refreshTensorDisplay();
    if (c_.processEvents) c_.processEvents();
    next_ = std::chrono::steady_clock::now() + c_.eventInterval;
  }
  void Progress(int value, int maximum) {
    if (c_.progress) c_.progress(value, maximum);
  }

 private:
  const BuildCallbacks& c_;
  std::chrono::steady_clock::time_point next_;
};

/// A new record behind the built ones (an old legend is dropped), last in the paint order.
ScenePolygon& AppendRecord(SceneList& scene) {
  scene.records.resize(scene.count);
  scene.legendCount = 0;
  if (scene.order.size() != scene.count) ResetOrder(scene);
  scene.order.push_back(static_cast<std::uint32_t>(scene.count));
  ++scene.count;
  return scene.records.emplace_back();
}

const char* const kCaptions[3][3] = {{"x", "y", "z"}, {"a", "b", "c"}, {"e1", "e2", "e3"}};

}  // namespace

void ResetOrder(SceneList& scene) {
  scene.order.resize(scene.count);
  for (std::size_t i = 0; i < scene.count; ++i) scene.order[i] = static_cast<std::uint32_t>(i);
}

Real PatchStep(int resolution) {
  return 0.3492L / resolution;
}

std::size_t PatchCount(int resolution, int crossSectionMode) {
  if (resolution < 1) return 0;
  const std::size_t n = 9 * static_cast<std::size_t>(resolution);
  return crossSectionMode == kFullSurface ? n * (2 * n + 1) : 2 * n + 1;
}

void CheckBuildable(int resolution, int crossSectionMode, bool showAxes) {
  if (resolution < 1)
    throw std::runtime_error("The grid resolution must be at least 1, not " +
                             std::to_string(resolution));
  // Resolutions far beyond any picture would overflow the counting; refuse them first.
  if (resolution > 100000)
    throw std::runtime_error("The grid resolution " + std::to_string(resolution) +
                             " is too fine for the scene");
  const std::size_t needed =
      PatchCount(resolution, crossSectionMode) + (showAxes ? 6 : 0) + kLegendRoom;
  if (needed > kSceneCapacity)
    throw std::runtime_error("The grid resolution " + std::to_string(resolution) + " needs " +
                             std::to_string(PatchCount(resolution, crossSectionMode)) +
                             " patches; the scene holds at most " +
                             std::to_string(kSceneCapacity - kLegendRoom - 6));
}

namespace {

/// Sines and cosines of a patch's two theta and two phi values (unshifted, shifted by s).
struct PatchAngles {
  Real sinTheta[2], cosTheta[2], sinPhi[2], cosPhi[2];
};

void SinCos(Real angle, Real& s, Real& c) {
  s = std::sin(angle);
  c = std::cos(angle);
}

/// The value at a corner: by the tensor's polynomial when it has one, else by SurfaceValue.
struct CornerValue {
  const TensorState& t;
  const SurfaceEvaluation& e;
  const SurfacePolynomial* polynomial;
  Real operator()(Real x, Real y, Real z) const {
    return polynomial ? polynomial->AtDrawDirection(x, y, z) : ValueAtDrawDirection(t, e, x, y, z);
  }
};

void AddPatch(SceneList& scene, const CornerValue& valueAt, const ViewSettings& v,
              int crossSectionMode, const PatchAngles& a) {
  // Corner offsets (theta, phi) in steps of s: (0, 0), (0, s), (s, s), (s, 0).
  static constexpr int kOffsets[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};
  ScenePolygon& p = AppendRecord(scene);
  for (int c = 0; c < 4; ++c) {
    const int i = kOffsets[c][0], j = kOffsets[c][1];
    Real d[3] = {-a.sinTheta[i] * a.sinPhi[j], -a.sinTheta[i] * a.cosPhi[j], -a.cosTheta[i]};
    if (crossSectionMode >= kSectionX && crossSectionMode <= kSectionZ)
      d[crossSectionMode - 1] = 0;  // not renormalised
    Real value = valueAt(d[0], d[1], d[2]);
    // Every corner sets the colours, so the last one, (theta + s, phi), decides them.
    if (value < 0) {
      value = -value;
      CopyRgb(v.negativeFill, p.baseColour);
      p.lineColour = v.negativeLine;
    } else {
      CopyRgb(v.positiveFill, p.baseColour);
      p.lineColour = v.positiveLine;
    }
    p.corners[c][0] = value * d[0];
    p.corners[c][1] = value * d[1];
    p.corners[c][2] = value * d[2];
    p.corners[c][3] = 1;
  }
}

}  // namespace

void AddSurfacePatch(SceneList& scene, const TensorState& t, const SurfaceEvaluation& e,
                     const ViewSettings& v, int resolution, int crossSectionMode, Real theta,
                     Real phi) {
  const Real s = PatchStep(resolution);
  PatchAngles a;
  SinCos(theta, a.sinTheta[0], a.cosTheta[0]);
  SinCos(theta + s, a.sinTheta[1], a.cosTheta[1]);
  SinCos(phi, a.sinPhi[0], a.cosPhi[0]);
  SinCos(phi + s, a.sinPhi[1], a.cosPhi[1]);
  AddPatch(scene, CornerValue{t, e, nullptr}, v, crossSectionMode, a);
}

void BuildAxes(SceneList& scene, const TensorState& t, const SurfaceEvaluation& e,
               const ViewSettings& v) {
  const int style = v.axesCaptionStyle >= 1 && v.axesCaptionStyle <= 3 ? v.axesCaptionStyle : 1;
  for (int segment = 0; segment < 6; ++segment) {
    const int axis = segment / 2;
    const Real sign = segment % 2 == 0 ? 1 : -1;
    ScenePolygon& p = AppendRecord(scene);
    for (int c = 0; c < 4; ++c) {
      Real* corner = p.corners[c];
      corner[axis] = sign * (c < 2 ? 1.0L : 1.5L);
      corner[3] = 1;
      if (c < 2) {
        // The inner end lies on the surface: the unit coordinate takes the radius there.
        corner[axis] *= std::fabs(ValueAtDrawDirection(t, e, corner[0], corner[1], corner[2]));
      }
    }
    CopyRgb(v.axesColour, p.baseColour);
    p.lineColour = v.axesColour;
    // Drawing -x is crystal +x.
    if (segment == 1) p.label = kCaptions[style - 1][0];
    if (segment == 2) p.label = kCaptions[style - 1][1];
    if (segment == 4) p.label = kCaptions[style - 1][2];
  }
}

void CheckWithinDrawingRange(const SceneList& scene) {
  // The projection and the painting work in double precision; a corner beyond its range would
  // come out as an infinity and the picture as a black area. (A corner that is not a number is
  // a point where the surface is undefined; the renderer leaves that patch out.)
  for (std::size_t r = 0; r < scene.count; ++r)
    for (const auto& corner : scene.records[r].corners)
      for (const Real c : corner)
        if (std::fabs(c) > std::numeric_limits<double>::max())
          throw std::runtime_error(kMsgBeyondDrawingRange);
}

void BuildScene(SceneList& scene, const SceneInputs& in, const BuildCallbacks& callbacks) {
  if (!in.tensor || !in.evaluation || !in.view)
    throw std::invalid_argument("BuildScene needs a tensor, an evaluation and a view");
  const int resolution = in.resolution.value_or(in.view->resolution);
  const int mode = in.crossSectionMode;
  const ViewSettings view = *in.view;
  CheckBuildable(resolution, mode, view.showAxes);
  const TensorState tensor = *in.tensor;
  const SurfaceEvaluation evaluation = *in.evaluation;

  SceneList built;
  built.records.reserve(PatchCount(resolution, mode) + 6 + kLegendRoom);
  built.order.reserve(PatchCount(resolution, mode) + 6);
  if (view.showAxes) BuildAxes(built, tensor, evaluation, view);

  const std::optional<SurfacePolynomial> polynomial = SurfacePolynomial::Make(tensor, evaluation);
  const CornerValue valueAt{tensor, evaluation, polynomial ? &*polynomial : nullptr};
  EventPump pump(callbacks);
  const int n = 9 * resolution;
  const Real s = PatchStep(resolution);
  // The sines and cosines of the column angles are the same in every row: work them out once
  // (the values are those AddSurfacePatch would compute).
  std::vector<PatchAngles> columns(2 * static_cast<std::size_t>(n) + 1);
  for (int k = -n; k <= n; ++k) {
    PatchAngles& c = columns[static_cast<std::size_t>(k + n)];
    SinCos(k * kPi / n, c.sinPhi[0], c.cosPhi[0]);
    SinCos(k * kPi / n + s, c.sinPhi[1], c.cosPhi[1]);
  }
  if (mode == kFullSurface) {
    pump.Progress(0, n);
    for (int j = 0; j < n; ++j) {
      const Real theta = j * kPi / n + 0.01L;
      PatchAngles a;
      SinCos(theta, a.sinTheta[0], a.cosTheta[0]);
      SinCos(theta + s, a.sinTheta[1], a.cosTheta[1]);
      for (int k = -n; k <= n; ++k) {
        const PatchAngles& c = columns[static_cast<std::size_t>(k + n)];
        for (int i = 0; i < 2; ++i) a.sinPhi[i] = c.sinPhi[i], a.cosPhi[i] = c.cosPhi[i];
        AddPatch(built, valueAt, view, mode, a);
        pump.Between();
      }
      pump.Progress(j + 1, n);
    }
  } else {
    // X and Y: theta runs along the band at phi = 0 or pi/2; Z: phi runs at theta = pi/2.
    PatchAngles fixed;
    const Real fixedAngle = mode == kSectionX ? 0 : kPi / 2;
    SinCos(fixedAngle, fixed.sinPhi[0], fixed.cosPhi[0]);
    SinCos(fixedAngle + s, fixed.sinPhi[1], fixed.cosPhi[1]);
    pump.Progress(0, 2 * n + 1);
    for (int k = -n; k <= n; ++k) {
      const PatchAngles& c = columns[static_cast<std::size_t>(k + n)];
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
      AddPatch(built, valueAt, view, mode, a);
      pump.Between();
      pump.Progress(k + n + 1, 2 * n + 1);
    }
  }
  CheckWithinDrawingRange(built);
  scene = std::move(built);
}

bool SceneBuilder::Build(const SceneInputs& in, const BuildCallbacks& callbacks,
                         const std::function<void()>& finished) {
  if (busy_) {
    pending_ = Request{in, callbacks, finished};
    return false;
  }
  busy_ = true;
  Request current{in, callbacks, finished};
  try {
    for (;;) {
      BuildScene(scene_, current.inputs, current.callbacks);
      ++completed_;
      if (!pending_) break;
      current = std::move(*pending_);
      pending_.reset();
    }
  } catch (...) {
    busy_ = false;
    pending_.reset();
    throw;
  }
  busy_ = false;
  if (current.finished) current.finished();
  return true;
}

std::string CutLabel(const std::string& text, std::size_t characters) {
  std::size_t i = 0, n = 0;
  while (i < text.size() && n < characters) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t len = c < 0x80         ? 1
                      : (c >> 5) == 6  ? 2
                      : (c >> 4) == 14 ? 3
                      : (c >> 3) == 30 ? 4
                                       : 1;
    if (i + len > text.size()) len = text.size() - i;
    // Continuation bytes of a broken sequence count as characters of their own.
    for (std::size_t k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        len = k;
        break;
      }
    i += len;
    ++n;
  }
  return text.substr(0, i);
}

}  // namespace quillmere
