#include "surface/scene.h"

#include "surface/surface_polynomial.h"
#include "surface/x87.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace quillmere {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

/// Runs the window's hooks between patches, no more often than the interval asks.
class EventPump {
 public:
  explicit EventPump(const BuildCallbacks& c)
      : c_(c), next_(std::chrono::steady_clock::now() + c.eventInterval) {}
  void Between() {
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
  void Progress(int value, int maximum) {
    if (c_.progress) c_.progress(value, maximum);
  }

 private:
  static constexpr int kPatchesPerClockCheck = 8;
  const BuildCallbacks& c_;
  std::chrono::steady_clock::time_point next_;
  int sinceCheck_ = 0;
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

/// Corner offsets (theta, phi) in steps of s: (0, 0), (0, s), (s, s), (s, 0).
constexpr int kCornerOffsets[4][2] = {{0, 0}, {0, 1}, {1, 1}, {1, 0}};

/// The drawing-frame directions of a patch's four corners, u = (-sin theta sin phi,
/// -sin theta cos phi, -cos theta), with the section's component set to 0 (not renormalised).
void CornerDirections(const PatchAngles& a, int crossSectionMode, Real d[4][3]) {
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
void StorePatch(ScenePolygon& p, const ViewSettings& v, const Real d[4][3], const Real value[4]) {
  for (int c = 0; c < 4; ++c) {
    const Real radius = value[c] < 0 ? -value[c] : value[c];
    Real* corner = p.corners[c];
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

/// The values at four corners by SurfaceValue, for tensors the polynomial does not cover
/// (fixed directions, the printable exports' rule).
struct GeneralValues {
  const TensorState& t;
  const SurfaceEvaluation& e;
  void operator()(const Real d[4][3], Real out[4]) const {
    for (int c = 0; c < 4; ++c) out[c] = ValueAtDrawDirection(t, e, d[c][0], d[c][1], d[c][2]);
  }
};

/// The values at four corners by the surface polynomial of rank R, worked side by side with
/// exactly the operations of SurfacePolynomial::Value for each corner, so that every value is
/// the same to the last bit: the direction (X, Y, Z) is evaluated at (-X, Y, Z) rounded to single
/// precision; the powers are running products from 1; each term is the coefficient times the
/// three powers, multiplied from the left; the terms are summed from 0 in the order a, then b;
/// the sum is divided by the scale. A multiplication by the power 1 is left out (it changes
/// nothing). Side by side, the four sums do not wait for one another, and the fixed rank lets
/// the compiler lay out every term.
template <int R>
struct PolynomialValues {
  const Real (&coefficient)[6][6];
  Real scale;
  void operator()(const Real d[4][3], Real out[4]) const {
    Real power[3][R + 1][4];
    for (int c = 0; c < 4; ++c) {
      const Real u[3] = {static_cast<float>(-d[c][0]), static_cast<float>(d[c][1]),
                         static_cast<float>(d[c][2])};
      for (int i = 0; i < 3; ++i) {
        power[i][0][c] = 1;
#pragma GCC unroll 8
        for (int k = 1; k <= R; ++k) power[i][k][c] = power[i][k - 1][c] * u[i];
      }
    }
    Real sum[4] = {0, 0, 0, 0};
#pragma GCC unroll 8
    for (int a = 0; a <= R; ++a) {
#pragma GCC unroll 8
      for (int b = 0; a + b <= R; ++b) {
        const Real k = coefficient[a][b];
        for (int c = 0; c < 4; ++c) {
          Real term = k;
          if (a > 0) term *= power[0][a][c];
          if (b > 0) term *= power[1][b][c];
          if (R - a - b > 0) term *= power[2][R - a - b][c];
          sum[c] += term;
        }
      }
    }
    for (int c = 0; c < 4; ++c) out[c] = sum[c] / scale;
  }
};

#ifdef QUILLMERE_X87

// The full surface at a fixed rank, a corner at a time, on the x87 unit in extended precision
// with exactly the operations of the one-corner-at-a-time build. What makes it fast is keeping
// 80-bit numbers out of memory: loading or storing one takes many times as long as an
// arithmetic step. So every extended number the loop reads is held as two doubles whose sum it
// is exactly (two quick loads and an exact addition give it back), the direction's powers 1 and
// 2 are single and double precision numbers (the square of a single precision number is exact
// in a double) used straight from memory, and the higher powers are worked out again from them
// where they are needed, by the same running products (see surface/x87.h).

using namespace x87;

/// One coordinate of a direction: u in single precision and u^2, exact, in double precision.
struct Powers {
  float u = 0;
  double u2 = 0;
  void Set(Real value) {
    u = static_cast<float>(value);
    u2 = static_cast<double>(u) * u;
  }
};

/// p * u^k for k >= 1: u^k is the running product u^2 u ... u, as in SurfacePolynomial::Value.
template <int K>
inline Real TimesPower(Real p, const Powers& u) {
  if constexpr (K == 1) {
    return Times(p, u.u);
  } else if constexpr (K == 2) {
    return Times(p, u.u2);
  } else {
    Real power = LoadApart(u.u2);
    for (int i = 2; i < K; ++i) power = Times(power, u.u);
    return p * power;
  }
}

/// The terms of rank R from (a, b) on, added to sum in the order of SurfacePolynomial::Value;
/// xa is u1^a (unused for a = 0, 1).
template <int R, int A, int B>
inline Real AddTerms(Real sum, Real xa, const SplitReal* k, const Powers& x, const Powers& y,
                     const Powers& z) {
  if constexpr (A > R) {
    return sum;
  } else if constexpr (A + B > R) {
    // Next a: u1^(a+1) = u1^a u1, a running product from u1^2.
    Real next = xa;
    if constexpr (A + 1 == 2) next = LoadApart(x.u2);
    if constexpr (A + 1 > 2) next = Times(xa, x.u);
    return AddTerms<R, A + 1, 0>(sum, next, k, x, y, z);
  } else {
    Real term = Load(*k);
    if constexpr (A == 1) term = Times(term, x.u);
    if constexpr (A >= 2) term *= xa;
    if constexpr (B > 0) term = TimesPower<B>(term, y);
    if constexpr (R - A - B > 0) term = TimesPower<R - A - B>(term, z);
    return AddTerms<R, A, B + 1>(Add(sum, term), xa, k + 1, x, y, z);
  }
}

/// What the fast build needs beyond the view: the coefficients and the scale, split.
template <int R>
struct SplitPolynomial {
  SplitReal k[(R + 1) * (R + 2) / 2];
  SplitReal scale;
  /// False when a number cannot be split (the build then takes the general way).
  bool Make(const SurfacePolynomial& p) {
    int t = 0;
    for (int a = 0; a <= R; ++a)
      for (int b = 0; a + b <= R; ++b)
        if (!Split(p.coefficients()[a][b], k[t++])) return false;
    return Split(p.scale(), scale);
  }
};

/// Lays the full surface's patches, as LayPatches does for it with PolynomialValues<R>.
/// sin phi, cos phi, sin phi', cos phi' of a column of patches (phi' = phi + step).
struct SplitColumn {
  SplitReal v[4];
};

template <int R>
void LayFullSurface(ScenePolygon* records, const SplitPolynomial<R>& poly,
                    const SplitColumn* columns, const ViewSettings& view, int resolution,
                    EventPump& pump) {
  const int n = 9 * resolution;
  const Real s = PatchStep(resolution);
  static const Real kOne = 1;
  std::size_t next = 0;
  pump.Progress(0, n);
  for (int j = 0; j < n; ++j) {
    const Real theta = j * kPi / n + 0.01L;
    SplitReal sinTheta[2], cosTheta[2];
    Powers z[2];
    for (int i = 0; i < 2; ++i) {
      const Real angle = i == 0 ? theta : theta + s;
      Split(std::sin(angle), sinTheta[i]);
      Split(std::cos(angle), cosTheta[i]);
      z[i].Set(-std::cos(angle));
    }
    for (int column = 0; column <= 2 * n; ++column) {
      const SplitReal* c = columns[column].v;
      ScenePolygon& p = records[next++];
      bool negative = false;
      for (int corner = 0; corner < 4; ++corner) {
        const int i = kCornerOffsets[corner][0], jj = kCornerOffsets[corner][1];
        const Real minusSinTheta = -Load(sinTheta[i]);
        Powers x, y;
        x.Set(-(minusSinTheta * Load(c[2 * jj])));
        y.Set(minusSinTheta * Load(c[2 * jj + 1]));
        const Real sum = AddTerms<R, 0, 0>(Real{0}, Real{0}, poly.k, x, y, z[i]);
        const Real value = sum / Load(poly.scale);
        const Real radius = value < 0 ? -value : value;
        Real* out = p.corners[corner];
        // The direction again, by the same products (cheaper than keeping it in memory).
        const Real minusSin = -Load(sinTheta[i]);
        out[0] = radius * (minusSin * Load(c[2 * jj]));
        out[1] = radius * (minusSin * Load(c[2 * jj + 1]));
        out[2] = radius * -Load(cosTheta[i]);
        std::memcpy(&out[3], &kOne, sizeof kOne);
        if (corner == 3) negative = value < 0;
      }
      StorePatchColours(p, view, negative);
      pump.Between();
    }
    pump.Progress(j + 1, n);
  }
}

/// The fast build of the full surface at rank R; false (nothing laid) when a number of the
/// polynomial or of the angles cannot be split.
template <int R>
bool TryLayFullSurface(ScenePolygon* records, const SurfacePolynomial& polynomial,
                       const ViewSettings& view, int resolution, EventPump& pump) {
  SplitPolynomial<R> poly;
  if (!poly.Make(polynomial)) return false;
  const int n = 9 * resolution;
  const Real s = PatchStep(resolution);
  std::vector<SplitColumn> columns(2 * static_cast<std::size_t>(n) + 1);
  for (int k = -n; k <= n; ++k) {
    SplitReal* c = columns[static_cast<std::size_t>(k + n)].v;
    const Real phi = k * kPi / n;
    if (!Split(std::sin(phi), c[0]) || !Split(std::cos(phi), c[1]) ||
        !Split(std::sin(phi + s), c[2]) || !Split(std::cos(phi + s), c[3]))
      return false;
  }
  for (int j = 0; j < n; ++j) {
    const Real theta = j * kPi / n + 0.01L;
    SplitReal unused;
    if (!Split(std::sin(theta), unused) || !Split(std::sin(theta + s), unused) ||
        !Split(std::cos(theta), unused) || !Split(std::cos(theta + s), unused))
      return false;
  }
  LayFullSurface<R>(records, poly, columns.data(), view, resolution, pump);
  return true;
}
#endif

/// The six axis segments into six records, cleared first.
void FillAxes(ScenePolygon* records, const TensorState& t, const SurfaceEvaluation& e,
              const ViewSettings& v) {
  const int style = v.axesCaptionStyle >= 1 && v.axesCaptionStyle <= 3 ? v.axesCaptionStyle : 1;
  for (int segment = 0; segment < 6; ++segment) {
    const int axis = segment / 2;
    const Real sign = segment % 2 == 0 ? 1 : -1;
    ScenePolygon& p = records[segment];
    ClearRecord(p);
    for (int c = 0; c < 4; ++c) {
      Real* corner = p.corners[c];
      corner[axis] = sign * (c < 2 ? 1.0L : 1.5L);
      corner[3] = 1;
      if (c < 2) {
        // The inner end lies on the surface: the unit coordinate takes the radius there.
        corner[axis] *= std::fabs(ValueAtDrawDirection(t, e, corner[0], corner[1], corner[2]));
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

/// Lays the patches of the full surface or a section into records[0 ...], in build order.
template <typename Values>
void LayPatches(ScenePolygon* records, const Values& values, const ViewSettings& view,
                int resolution, int mode, EventPump& pump) {
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
  std::size_t next = 0;
  auto lay = [&](const PatchAngles& a) {
    Real d[4][3], value[4];
    CornerDirections(a, mode, d);
    values(d, value);
    StorePatch(records[next++], view, d, value);
    pump.Between();
  };
  if (mode == kFullSurface) {
    pump.Progress(0, n);
    for (int j = 0; j < n; ++j) {
      const Real theta = j * kPi / n + 0.01L;
      PatchAngles a;
      SinCos(theta, a.sinTheta[0], a.cosTheta[0]);
      SinCos(theta + s, a.sinTheta[1], a.cosTheta[1]);
      for (const PatchAngles& c : columns) {
        for (int i = 0; i < 2; ++i) a.sinPhi[i] = c.sinPhi[i], a.cosPhi[i] = c.cosPhi[i];
        lay(a);
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
      lay(a);
      pump.Progress(k + n + 1, 2 * n + 1);
    }
  }
}

/// The build proper, into `list` (whose records are reused: no allocation when it held a scene
/// of the same size before).
void BuildInto(SceneList& list, const TensorState& tensor, const SurfaceEvaluation& evaluation,
               const ViewSettings& view, int resolution, int mode,
               const BuildCallbacks& callbacks) {
  const std::size_t axes = view.showAxes ? 6 : 0;
  const std::size_t count = axes + PatchCount(resolution, mode);
  if (list.records.capacity() < count + kLegendRoom) list.records.reserve(count + kLegendRoom);
  list.records.resize(count);
  list.count = count;
  list.legendCount = 0;
  ResetOrder(list);
  if (axes) FillAxes(list.records.data(), tensor, evaluation, view);

  ScenePolygon* patches = list.records.data() + axes;
  EventPump pump(callbacks);
  const std::optional<SurfacePolynomial> polynomial = SurfacePolynomial::Make(tensor, evaluation);
  if (!polynomial) {
    LayPatches(patches, GeneralValues{tensor, evaluation}, view, resolution, mode, pump);
    return;
  }
#ifdef QUILLMERE_X87
  if (mode == kFullSurface) {
    bool laid = false;
    switch (polynomial->rank()) {
      case 1:
        laid = TryLayFullSurface<1>(patches, *polynomial, view, resolution, pump);
        break;
      case 2:
        laid = TryLayFullSurface<2>(patches, *polynomial, view, resolution, pump);
        break;
      case 3:
        laid = TryLayFullSurface<3>(patches, *polynomial, view, resolution, pump);
        break;
      case 4:
        laid = TryLayFullSurface<4>(patches, *polynomial, view, resolution, pump);
        break;
      default:
        laid = TryLayFullSurface<5>(patches, *polynomial, view, resolution, pump);
        break;
    }
    if (laid) return;
  }
#endif
  const auto& k = polynomial->coefficients();
  const Real scale = polynomial->scale();
  switch (polynomial->rank()) {
    case 1:
      LayPatches(patches, PolynomialValues<1>{k, scale}, view, resolution, mode, pump);
      break;
    case 2:
      LayPatches(patches, PolynomialValues<2>{k, scale}, view, resolution, mode, pump);
      break;
    case 3:
      LayPatches(patches, PolynomialValues<3>{k, scale}, view, resolution, mode, pump);
      break;
    case 4:
      LayPatches(patches, PolynomialValues<4>{k, scale}, view, resolution, mode, pump);
      break;
    default:
      LayPatches(patches, PolynomialValues<5>{k, scale}, view, resolution, mode, pump);
      break;
  }
}

/// Checks and copies the inputs, then builds into `target`.
void CheckedBuild(SceneList& target, const SceneInputs& in, const BuildCallbacks& callbacks) {
  const int resolution = in.resolution.value_or(in.view->resolution);
  const int mode = in.crossSectionMode;
  const ViewSettings view = *in.view;
  const TensorState tensor = *in.tensor;
  const SurfaceEvaluation evaluation = *in.evaluation;
  BuildInto(target, tensor, evaluation, view, resolution, mode, callbacks);
}

void CheckInputs(const SceneInputs& in) {
  if (!in.tensor || !in.evaluation || !in.view)
    throw std::invalid_argument("BuildScene needs a tensor, an evaluation and a view");
  CheckBuildable(in.resolution.value_or(in.view->resolution), in.crossSectionMode,
                 in.view->showAxes);
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
  Real d[4][3], value[4];
  CornerDirections(a, crossSectionMode, d);
  GeneralValues{t, e}(d, value);
  StorePatch(AppendRecord(scene), v, d, value);
}

void BuildAxes(SceneList& scene, const TensorState& t, const SurfaceEvaluation& e,
               const ViewSettings& v) {
  for (int segment = 0; segment < 6; ++segment) AppendRecord(scene);
  FillAxes(&scene.records[scene.count - 6], t, e, v);
}

namespace {

/// |v| > the largest double (infinities included, not-a-number excluded).
bool BeyondDoubleRange(const Real& v) {
#if LDBL_MANT_DIG == 64 && (defined(__x86_64__) || defined(__i386__))
  // Read from the bits of the 80-bit number: loading it into the x87 unit to compare it takes
  // longer than the build spends on a corner.
  std::uint64_t mantissa;
  std::uint16_t signAndExponent;
  std::memcpy(&mantissa, &v, 8);
  std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&v) + 8, 2);
  const int exponent = signAndExponent & 0x7FFF;
  constexpr int kDoubleMaxExponent = 16383 + 1023;                  // of DBL_MAX
  constexpr std::uint64_t kDoubleMaxMantissa = 0xFFFFFFFFFFFFF800;  // likewise
  if (exponent == 0x7FFF) return mantissa == 0x8000000000000000;    // infinity, not NaN
  return exponent > kDoubleMaxExponent ||
         (exponent == kDoubleMaxExponent && mantissa > kDoubleMaxMantissa);
#else
  return std::fabs(v) > std::numeric_limits<double>::max();
#endif
}

}  // namespace

void CheckWithinDrawingRange(const SceneList& scene) {
  // The projection and the painting work in double precision; a corner beyond its range would
  // come out as an infinity and the picture as a black area. (A corner that is not a number is
  // a point where the surface is undefined; the renderer leaves that patch out.)
  for (std::size_t r = 0; r < scene.count; ++r) {
    const auto& corners = scene.records[r].corners;
#if LDBL_MANT_DIG == 64 && (defined(__x86_64__) || defined(__i386__))
    // A quick look at the exponents first: only a record with a corner near the limit (or not
    // a number) needs the exact test.
    bool near = false;
    for (const auto& corner : corners)
      for (const Real& c : corner) {
        std::uint16_t signAndExponent;
        std::memcpy(&signAndExponent, reinterpret_cast<const char*>(&c) + 8, 2);
        near |= (signAndExponent & 0x7FFF) >= 16383 + 1023;
      }
    if (!near) continue;
#endif
    for (const auto& corner : corners)
      for (const Real& c : corner)
        if (BeyondDoubleRange(c)) throw std::runtime_error(kMsgBeyondDrawingRange);
  }
}

void BuildScene(SceneList& scene, const SceneInputs& in, const BuildCallbacks& callbacks) {
  SceneList built;
  BuildScene(scene, built, in, callbacks);
}

void BuildScene(SceneList& scene, SceneList& spare, const SceneInputs& in,
                const BuildCallbacks& callbacks) {
  CheckInputs(in);
  CheckedBuild(spare, in, callbacks);
  // Checked before the exchange: a refused scene leaves the shown one as it was.
  CheckWithinDrawingRange(spare);
  std::swap(scene, spare);
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
      BuildScene(scene_, spare_, current.inputs, current.callbacks);
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
  // The previous scene's records are kept for the next build of the screen's sizes; a large
  // scene (for print) is given back.
  if (spare_.records.capacity() > kKeptSpareRecords) spare_ = SceneList{};
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
