#include "surface/scene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <stdexcept>
#include <string>

#include "core/utf8_text.h"
#include "support/test_support.h"
#include "surface/renderer.h"
#include "surface/surface_polynomial.h"

namespace quillmere {
namespace {

TensorState Isotropic(Real value) {
  TensorState t;
  SetKind(t, 1);
  t.At(1, 1) = t.At(2, 2) = t.At(3, 3) = value;
  return t;
}

SceneList Build(const TensorState& t, const ViewSettings& v, int mode = kFullSurface,
                std::optional<int> resolution = std::nullopt, const SurfaceEvaluation& e = {}) {
  SceneList scene;
  BuildScene(scene, SceneInputs{&t, &e, &v, mode, resolution});
  return scene;
}

template <typename Number>
Number Radius(const Number* c) {
  return std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
}

TEST(SceneBuild, CountsAxesThenPatchesForEveryMode) {
  const TensorState t = Isotropic(1);
  ViewSettings v;
  for (int resolution : {1, 2, 8}) {
    v.resolution = resolution;
    const SceneList s = Build(t, v);
    const std::size_t n = 9 * resolution;
    EXPECT_EQ(s.count, 6 + n * (2 * n + 1)) << "resolution " << resolution;
    EXPECT_EQ(s.order.size(), s.count);
    EXPECT_EQ(s.records[1].label, "x");  // drawing -x is crystal +x
    EXPECT_EQ(s.records[2].label, "y");
    EXPECT_EQ(s.records[4].label, "z");
    EXPECT_TRUE(s.records[0].label.empty() && s.records[3].label.empty());
  }
  EXPECT_EQ(Build(t, v, kFullSurface, 8).count, 10446u);
  v.showAxes = false;
  for (int mode : {kSectionX, kSectionY, kSectionZ})
    EXPECT_EQ(Build(t, v, mode, kSectionResolution).count, 901u);
  v.axesCaptionStyle = 3;
  v.showAxes = true;
  EXPECT_EQ(Build(t, v).records[4].label, "e3");
}

TEST(SceneBuild, SphereAndZeroTensor) {
  ViewSettings v;
  // An isotropic tensor of value 2 at scale 2: every corner at radius 1, every patch positive.
  TensorState t = Isotropic(2);
  t.scale = 2;
  SceneList s = Build(t, v);
  for (std::size_t i = 6; i < s.count; ++i) {
    for (int c = 0; c < 4; ++c)
      ASSERT_NEAR(static_cast<double>(Radius(s.records[i].corners[c])), 1, 1e-6);
    ASSERT_EQ(s.records[i].lineColour, v.positiveLine);
  }
  // Axes run from the surface (radius 1) to 1.5, in the axes colour.
  for (int a = 0; a < 6; ++a) {
    EXPECT_NEAR(static_cast<double>(Radius(s.records[a].corners[0])), 1, 1e-6);
    EXPECT_NEAR(static_cast<double>(Radius(s.records[a].corners[3])), 1.5, 1e-18);
    EXPECT_EQ(s.records[a].lineColour, v.axesColour);
  }
  // A zero tensor: everything at the origin, counted positive; axes from the origin.
  s = Build(TensorState{}, v);
  for (std::size_t i = 6; i < s.count; ++i) {
    ASSERT_EQ(Radius(s.records[i].corners[2]), 0);
    ASSERT_EQ(s.records[i].lineColour, v.positiveLine);
  }
  EXPECT_EQ(Radius(s.records[0].corners[0]), 0);
  EXPECT_NEAR(static_cast<double>(Radius(s.records[0].corners[2])), 1.5, 1e-18);
}

TEST(SceneBuild, OddRankGivesBothColoursAndTheFourthCornerDecides) {
  ViewSettings v;
  v.showAxes = false;
  TensorState t;  // a vector along crystal x: value u1
  t.At(1) = 1;
  const SceneList s = Build(t, v);
  int positive = 0, negative = 0;
  for (std::size_t i = 0; i < s.count; ++i) {
    const ScenePolygon& p = s.records[i];
    // Drawing x is minus crystal x, so the value at the fourth corner is -x4 / |corner| and
    // its sign decides the colour, whatever the other three corners show.
    const Real x4 = p.corners[3][0];
    if (x4 > 0) {
      EXPECT_EQ(p.lineColour, v.negativeLine);
    } else if (x4 < 0) {
      EXPECT_EQ(p.lineColour, v.positiveLine);
    }
    (p.lineColour == v.negativeLine ? negative : positive)++;
  }
  EXPECT_GT(positive, 100);
  EXPECT_GT(negative, 100);
  // Even rank: one colour everywhere, as for T11 = 1 with a value of 0 on the y-z plane.
  TensorState even;
  SetKind(even, 1);
  even.At(1, 1) = 1;
  const SceneList e = Build(even, v);
  for (std::size_t i = 0; i < e.count; ++i) ASSERT_EQ(e.records[i].lineColour, v.positiveLine);
}

TEST(SceneBuild, SectionZLiesInTheCoordinatePlaneWithTheTensorsRadii) {
  // T11 = 1, T22 = 4: the Z section reaches 1 on crystal x and 4 on crystal y.
  TensorState t;
  SetKind(t, 1);
  t.At(1, 1) = 1;
  t.At(2, 2) = 4;
  ViewSettings v;
  v.showAxes = false;
  const SceneList s = Build(t, v, kSectionZ, kSectionResolution);
  bool onX = false, onY = false;
  for (std::size_t i = 0; i < s.count; ++i) {
    const ScenePolygon& p = s.records[i];
    EXPECT_EQ(p.lineColour, v.positiveLine);
    for (int c = 0; c < 4; ++c) {
      ASSERT_EQ(p.corners[c][2], 0) << "record " << i;
      // The corners of the patches at phi = pi/2 and phi = 0 lie on crystal x and y; those at
      // the shifted theta, shortened by cos s, fall short by a factor cos^3 s = 0.99993.
      if (std::fabs(p.corners[c][1]) < 1e-15L && p.corners[c][0] != 0) {
        EXPECT_NEAR(static_cast<double>(std::fabs(p.corners[c][0])), 1, 1e-4);
        onX = true;
      }
      if (std::fabs(p.corners[c][0]) < 1e-15L && p.corners[c][1] != 0) {
        EXPECT_NEAR(static_cast<double>(std::fabs(p.corners[c][1])), 4, 4e-4);
        onY = true;
      }
    }
  }
  EXPECT_TRUE(onX && onY);
}

TEST(SceneBuild, RefusesWhatTheSceneCannotHoldAndKeepsTheOldScene) {
  const TensorState t = Isotropic(1);
  ViewSettings v;
  SceneList s = Build(t, v);
  const std::size_t before = s.count;
  SurfaceEvaluation e;
  for (int resolution : {0, -3, 44, 1000000}) {
    v.resolution = resolution;
    EXPECT_THROW(BuildScene(s, SceneInputs{&t, &e, &v, kFullSurface, std::nullopt}),
                 std::runtime_error)
        << resolution;
    EXPECT_EQ(s.count, before);
  }
  try {
    CheckBuildable(60, kFullSurface, true);
    ADD_FAILURE() << "resolution 60 accepted";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("resolution 60"), std::string::npos) << error.what();
  }
  EXPECT_NO_THROW(CheckBuildable(43, kFullSurface, true));
  EXPECT_NO_THROW(CheckBuildable(1000, kSectionX, true));
}

TEST(SceneBuild, RefusesValuesBeyondDoubleRangeAndKeepsTheShownScene) {
  // A built scene is refused only after it is complete; the shown one must survive that
  // through every entry point, also when the refused build reuses the shown scene's records.
  const TensorState small = Isotropic(1);
  TensorState huge = Isotropic(1);
  huge.At(3, 3) = 1e400L;  // a double cannot hold it; the file's extended precision can
  ViewSettings v;
  v.resolution = 2;
  const SurfaceEvaluation e;
  const SceneList want = Build(small, v);
  auto sameAsWant = [&](const SceneList& s) {
    return s.count == want.count &&
           std::memcmp(s.records[want.count - 1].corners, want.records[want.count - 1].corners,
                       sizeof want.records[0].corners) == 0;
  };
  auto expectRefused = [&](auto&& build) {
    try {
      build();
      ADD_FAILURE() << "a surface beyond double range was built";
    } catch (const std::runtime_error& error) {
      EXPECT_STREQ(error.what(), kMsgBeyondDrawingRange);
    }
  };
  const SceneInputs refused{&huge, &e, &v, kFullSurface, std::nullopt};
  SceneList shown = Build(small, v), spare;
  expectRefused([&] { BuildScene(shown, refused); });
  EXPECT_TRUE(sameAsWant(shown));
  BuildScene(shown, spare, SceneInputs{&small, &e, &v, kFullSurface, std::nullopt});
  expectRefused([&] { BuildScene(shown, spare, refused); });
  EXPECT_TRUE(sameAsWant(shown));
  SceneList windowScene;
  SceneBuilder builder(windowScene);
  builder.Build(SceneInputs{&small, &e, &v, kFullSurface, std::nullopt}, {});
  builder.Build(SceneInputs{&small, &e, &v, kFullSurface, std::nullopt}, {});
  expectRefused([&] { builder.Build(refused, {}); });
  EXPECT_TRUE(sameAsWant(windowScene));
  // The next build after a refusal works as usual.
  builder.Build(SceneInputs{&small, &e, &v, kFullSurface, std::nullopt}, {});
  EXPECT_TRUE(sameAsWant(windowScene));
  // The edge of the range, on either side and for either sign: the build's doubles hold what
  // lies beyond as infinities.
  const double largest = std::numeric_limits<double>::max();
  const double inf = std::numeric_limits<double>::infinity();
  for (const double c : {largest, -largest, inf, -inf, std::numeric_limits<double>::quiet_NaN(),
                         0.0, std::numeric_limits<double>::denorm_min()}) {
    SceneList edge = Build(small, v);
    edge.records[edge.count - 1].corners[2][1] = c;
    if (std::isinf(c))
      EXPECT_THROW(CheckWithinDrawingRange(edge), std::runtime_error) << c;
    else
      EXPECT_NO_THROW(CheckWithinDrawingRange(edge)) << c;
  }
  // Values that are not a number are points where the surface is undefined: drawn around.
  TensorState undefined = Isotropic(1);
  undefined.At(3, 3) = std::numeric_limits<Real>::quiet_NaN();
  EXPECT_NO_THROW(Build(undefined, v));
}

TEST(SceneBuild, CallsTheWindowHooksSparinglyAndReportsProgress) {
  const TensorState t = Isotropic(1);
  ViewSettings v;
  v.resolution = 2;
  SurfaceEvaluation e;
  SceneList s;
  BuildCallbacks c;
  int events = 0, refreshes = 0;
  std::vector<int> progress;
  c.processEvents = [&] { ++events; };
  c.refreshTensorDisplay = [&] { ++refreshes; };
  c.progress = [&](int value, int maximum) {
    EXPECT_EQ(maximum, 18);
    progress.push_back(value);
  };
  c.eventInterval = std::chrono::hours(1);
  BuildScene(s, SceneInputs{&t, &e, &v, kFullSurface, std::nullopt}, c);
  EXPECT_EQ(events, 0);
  ASSERT_EQ(progress.size(), 19u);
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress.back(), 18);
  c.eventInterval = std::chrono::milliseconds(0);
  c.progress = nullptr;
  BuildScene(s, SceneInputs{&t, &e, &v, kFullSurface, std::nullopt}, c);
  EXPECT_EQ(events, 18 * 37);  // once after every patch
  EXPECT_EQ(refreshes, events);
}

TEST(SceneBuilder, ARequestDuringABuildRunsOnceAfterIt) {
  TensorState t = Isotropic(1);
  ViewSettings v;
  SurfaceEvaluation e;
  SceneList scene;
  SceneBuilder builder(scene);
  int finished = 0, nestedCalls = 0, shownDuringBuild = -1;
  BuildCallbacks c;
  c.eventInterval = std::chrono::milliseconds(0);
  c.processEvents = [&] {
    // Three requests from events inside the first build: none runs inside it.
    if (nestedCalls < 3) {
      ++nestedCalls;
      t.At(1, 1) = 5;  // the tensor changes under the build
      v.resolution = 1;
      EXPECT_FALSE(builder.Build(SceneInputs{&t, &e, &v, kFullSurface, std::nullopt}, {},
                                 [&] { ++finished; }));
      EXPECT_TRUE(builder.pending());
      shownDuringBuild = static_cast<int>(scene.count);
    }
  };
  EXPECT_TRUE(builder.Build(SceneInputs{&t, &e, &v, kFullSurface, std::nullopt}, c,
                            [&] { ADD_FAILURE() << "the first request's finish ran"; }));
  EXPECT_EQ(nestedCalls, 3);
  EXPECT_EQ(shownDuringBuild, 0) << "the scene in view is replaced only when complete";
  EXPECT_EQ(builder.completedBuilds(), 2);
  EXPECT_EQ(finished, 1);
  EXPECT_FALSE(builder.busy() || builder.pending());
  // The second build read the changed records: resolution 1 and the new T11.
  EXPECT_EQ(scene.count, 6u + 9 * 19);
  EXPECT_NEAR(static_cast<double>(Radius(scene.records[0].corners[0])), 5, 1e-6);

  // A failing build clears the request and leaves the scene.
  v.resolution = 0;
  EXPECT_THROW(builder.Build(SceneInputs{&t, &e, &v, kFullSurface, std::nullopt}, {}),
               std::runtime_error);
  EXPECT_FALSE(builder.busy() || builder.pending());
  EXPECT_EQ(scene.count, 6u + 9 * 19);
}

TEST(SceneBuilder, ASectionRequestKeepsItsResolution) {
  TensorState t = Isotropic(1);
  ViewSettings v;
  v.showAxes = false;
  SurfaceEvaluation e;
  SceneList scene;
  SceneBuilder builder(scene);
  BuildCallbacks c;
  c.eventInterval = std::chrono::milliseconds(0);
  bool asked = false;
  c.processEvents = [&] {
    if (asked) return;
    asked = true;
    // A section asks for resolution 50 and puts the slider's resolution back at once.
    builder.Build(SceneInputs{&t, &e, &v, kSectionX, kSectionResolution}, {});
  };
  builder.Build(SceneInputs{&t, &e, &v, kFullSurface, std::nullopt}, c);
  EXPECT_EQ(scene.count, 901u);
}

TEST(SurfacePolynomial, AgreesWithTheSurfaceValue) {
  test::Random random(2024);
  SurfaceEvaluation e;
  for (int rank = 1; rank <= 5; ++rank) {
    TensorState t;
    t.rank = rank;
    t.scale = 0.75L;
    for (Real& c : t.components) c = random.Uniform(-1, 1);
    const auto p = SurfacePolynomial::Make(t, e);
    ASSERT_TRUE(p.has_value());
    for (int trial = 0; trial < 200; ++trial) {
      double x, y, z;
      random.UnitVector(x, y, z);
      // Directions in single precision, as the surface value rounds them.
      const float u[3] = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
      const Real want = SurfaceValue(t, e, u[0], u[1], u[2]) * t.scale;
      EXPECT_NEAR(static_cast<double>(p->Value(u[0], u[1], u[2])), static_cast<double>(want),
                  1e-15 * 243)
          << "rank " << rank;
    }
  }
}

TEST(SurfacePolynomial, FoldsFixedDirectionsAndStandsAsideForPrintableExports) {
  TensorState t = Isotropic(1);
  SurfaceEvaluation e;
  e.anyDirectionFixed = true;
  e.fixedDirections[1].flag = "yes";
  ASSERT_TRUE(SurfacePolynomial::Make(t, e).has_value());
  EXPECT_EQ(SurfacePolynomial::Make(t, e)->Degree(), 1);
  // A fixed position beyond the rank changes nothing.
  e.fixedDirections[1].flag = "no";
  e.fixedDirections[3].flag = "yes";
  EXPECT_TRUE(SurfacePolynomial::Make(t, e).has_value());
  // A rank-1 tensor ignores fixed directions.
  TensorState vector;
  e.fixedDirections[0].flag = "yes";
  EXPECT_TRUE(SurfacePolynomial::Make(vector, e).has_value());
  e = {};
  e.printableExport = true;
  EXPECT_FALSE(SurfacePolynomial::Make(t, e).has_value());

  // The build follows the fixed direction: fixing position 1 of
  // T = diag(1, 2, 3) to crystal z gives T_3j x_j = 3 z, a sphere through the origin.
  TensorState d;
  SetKind(d, 1);
  d.At(1, 1) = 1, d.At(2, 2) = 2, d.At(3, 3) = 3;
  e = {};
  e.anyDirectionFixed = true;
  e.fixedDirections[0].flag = "yes";
  e.fixedDirections[0].u[2] = 1;
  ViewSettings v;
  v.showAxes = false;
  const SceneList s = Build(d, v, kFullSurface, std::nullopt, e);
  Real largest = 0;
  for (std::size_t i = 0; i < s.count; ++i)
    for (int c = 0; c < 4; ++c) largest = std::fmax(largest, Radius(s.records[i].corners[c]));
  EXPECT_NEAR(static_cast<double>(largest), 3, 1e-3);
}

// The scene build as it was first written, one patch and one corner at a time in extended
// precision through the surface value, kept as the reference that the build must agree with.
namespace reference {

constexpr Real kPi = std::numbers::pi_v<Real>;

void Corner(ScenePolygon& p, int c, const Real d[3], Real value, const ViewSettings& v,
            Real& radius) {
  if (value < 0) {
    value = -value;
    p.baseColour[0] = v.negativeFill.red;
    p.baseColour[1] = v.negativeFill.green;
    p.baseColour[2] = v.negativeFill.blue;
    p.lineColour = v.negativeLine;
  } else {
    p.baseColour[0] = v.positiveFill.red;
    p.baseColour[1] = v.positiveFill.green;
    p.baseColour[2] = v.positiveFill.blue;
    p.lineColour = v.positiveLine;
  }
  radius = value;
  p.corners[c][0] = static_cast<double>(value * d[0]);
  p.corners[c][1] = static_cast<double>(value * d[1]);
  p.corners[c][2] = static_cast<double>(value * d[2]);
  p.corners[c][3] = 1;
}

/// The records, and the radius at every patch corner (four per patch, in order).
struct Scene : SceneList {
  std::vector<Real> radii;
  TensorState tensor;
  SurfaceEvaluation evaluation;
  ViewSettings view;
};

Scene Build(const TensorState& t, const SurfaceEvaluation& e, const ViewSettings& v, int resolution,
            int mode) {
  Scene scene;
  scene.tensor = t;
  scene.evaluation = e;
  scene.view = v;
  // The axes come first; ExpectSameScene checks them by what they must show.
  if (v.showAxes) scene.records.resize(6);
  const int n = 9 * resolution;
  const Real s = PatchStep(resolution);
  auto patch = [&](Real theta, Real phi) {
    ScenePolygon& p = scene.records.emplace_back();
    const Real offsets[4][2] = {{0, 0}, {0, s}, {s, s}, {s, 0}};
    for (int c = 0; c < 4; ++c) {
      const Real th = theta + offsets[c][0], ph = phi + offsets[c][1];
      Real d[3] = {-std::sin(th) * std::sin(ph), -std::sin(th) * std::cos(ph), -std::cos(th)};
      if (mode != kFullSurface) d[mode - 1] = 0;
      const Real value = ValueAtDrawDirection(t, e, d[0], d[1], d[2]);
      Corner(p, c, d, value, v, scene.radii.emplace_back());
    }
  };
  if (mode == kFullSurface) {
    for (int j = 0; j < n; ++j)
      for (int k = -n; k <= n; ++k) patch(j * kPi / n + 0.01L, k * kPi / n);
  } else {
    for (int k = -n; k <= n; ++k) {
      if (mode == kSectionX) patch(k * kPi / n, 0);
      if (mode == kSectionY) patch(k * kPi / n, kPi / 2);
      if (mode == kSectionZ) patch(kPi / 2, k * kPi / n);
    }
  }
  scene.count = scene.records.size();
  ResetOrder(scene);
  return scene;
}

}  // namespace reference

/// The six axis segments at the start of `got`: along the drawing frame's axes from the surface
/// out to 1.5 on either side, in the axes colour, with the style's captions on the crystal's
/// positive ends (the drawing frame's -x is crystal +x).
void ExpectAxes(const SceneList& got, const reference::Scene& want, const std::string& what) {
  static const char* const kCaptions[3][3] = {{"x", "y", "z"}, {"a", "b", "c"}, {"e1", "e2", "e3"}};
  const ViewSettings& v = want.view;
  for (int segment = 0; segment < 6; ++segment) {
    const ScenePolygon& p = got.records[segment];
    const int axis = segment / 2;
    const double sign = segment % 2 == 0 ? 1 : -1;
    Real crystal[3] = {0, 0, 0};
    crystal[axis] = axis == 0 ? -sign : sign;
    const double inner = static_cast<double>(
        std::fabs(SurfaceValue(want.tensor, want.evaluation, crystal[0], crystal[1], crystal[2])));
    const std::string where = what + ", axis segment " + std::to_string(segment);
    for (int c = 0; c < 4; ++c) {
      for (int i = 0; i < 3; ++i) {
        if (i == axis) continue;
        EXPECT_EQ(p.corners[c][i], 0) << where;
      }
      EXPECT_EQ(p.corners[c][3], 1) << where;
      const double end = sign * (c < 2 ? inner : 1.5);
      if (std::isnan(end)) {
        EXPECT_TRUE(std::isnan(p.corners[c][axis])) << where;
      } else {
        EXPECT_NEAR(p.corners[c][axis], end, 1e-12 * std::max(1.0, std::fabs(end))) << where;
      }
    }
    EXPECT_EQ(p.lineColour, v.axesColour) << where;
    EXPECT_EQ(p.baseColour[0], v.axesColour.red) << where;
    EXPECT_EQ(p.baseColour[1], v.axesColour.green) << where;
    EXPECT_EQ(p.baseColour[2], v.axesColour.blue) << where;
    EXPECT_EQ(p.label, crystal[axis] > 0 ? kCaptions[v.axesCaptionStyle - 1][axis] : "") << where;
  }
}

/// Every field of every patch record equal, the corners within 1e-12 of the largest radius of
/// the reference (not-a-number where it has not-a-number); the colours may differ only where the
/// value at the fourth corner is that close to 0. The axes as ExpectAxes says.
void ExpectSameScene(const SceneList& got, const reference::Scene& want, const std::string& what) {
  ASSERT_EQ(got.count, want.count) << what;
  ASSERT_EQ(got.records.size(), want.records.size()) << what;
  EXPECT_EQ(got.legendCount, 0u) << what;
  EXPECT_EQ(got.order, want.order) << what;
  Real largest = 0;
  for (const Real r : want.radii)
    if (std::isfinite(r)) largest = std::max(largest, std::fabs(r));
  const double tolerance = static_cast<double>(1e-12L * largest);
  const std::size_t axes = want.count - want.radii.size() / 4;
  if (axes > 0) ExpectAxes(got, want, what);
  int reported = 0;
  for (std::size_t r = axes; r < want.count && reported < 3; ++r) {
    const ScenePolygon &g = got.records[r], &w = want.records[r];
    bool same = true;
    for (int c = 0; c < 4; ++c)
      for (int i = 0; i < 4; ++i) {
        const double a = g.corners[c][i], b = w.corners[c][i];
        same = same && (std::isnan(b) ? std::isnan(a) : std::fabs(a - b) <= tolerance);
      }
    const bool nearZero = std::fabs(want.radii[4 * (r - axes) + 3]) <= 1e-12L * largest;
    for (int c = 0; c < 4; ++c) same = same && g.screen[c] == w.screen[c];
    same = same && g.depthKey == w.depthKey && g.label == w.label &&
           (nearZero || (g.lineColour == w.lineColour &&
                         std::memcmp(g.baseColour, w.baseColour, sizeof g.baseColour) == 0)) &&
           g.fillColour == w.fillColour && g.drawable == w.drawable;
    if (!same) {
      ADD_FAILURE() << what << ": record " << r << " differs, first corner (" << g.corners[0][0]
                    << ", " << g.corners[0][1] << ") against (" << w.corners[0][0] << ", "
                    << w.corners[0][1] << ")";
      ++reported;
    }
  }
}

TEST(SceneBuild, EqualsTheOneCornerAtATimeBuildRecordForRecord) {
  test::Random random(7);
  // One list built into again and again, from large to small and back, and a builder's list:
  // records reused from an earlier scene (projected, with a legend) must keep nothing of it.
  const SurfaceEvaluation free;
  SceneList reused;
  SceneList shown;
  SceneBuilder builder(shown);
  for (int rank = 1; rank <= 5; ++rank) {
    TensorState t;
    t.rank = rank;
    for (Real& c : t.components) c = random.Uniform(-1, 1);
    t.scale = 0.7L;
    SurfaceEvaluation fixedDirections;
    fixedDirections.anyDirectionFixed = true;
    fixedDirections.fixedDirections[rank - 1] = FixedDirection{"yes", {0.6f, 0.0f, 0.8f}};
    for (const SurfaceEvaluation* e :
         {&free, static_cast<const SurfaceEvaluation*>(&fixedDirections)}) {
      for (int mode = kFullSurface; mode <= kSectionZ; ++mode) {
        for (int resolution : {8, 1, 3}) {
          if (mode != kFullSurface && resolution == 3) resolution = kSectionResolution;
          ViewSettings v;
          v.showAxes = (rank + resolution) % 2 == 0;
          v.axesCaptionStyle = 1 + rank % 3;
          v.negativeLine = Colour::Exact(1, 2, 3);
          const std::string what =
              "rank " + std::to_string(rank) + ", mode " + std::to_string(mode) + ", resolution " +
              std::to_string(resolution) + (e == &free ? "" : ", a fixed direction");
          const reference::Scene want = reference::Build(t, *e, v, resolution, mode);
          const SceneInputs in{&t, e, &v, mode, resolution};
          BuildScene(reused, in);
          ExpectSameScene(reused, want, what);
          builder.Build(in, {});
          ExpectSameScene(shown, want, what + " (builder)");
          // Leave the lists as a paint leaves them.
          v.showScale = true;
          ProjectScene(reused, v, 200, mode, t);
          ProjectScene(shown, v, 200, mode, t);
        }
      }
    }
  }
}

TEST(SceneBuild, EqualsTheReferenceForZerosHugeValuesAndNotANumber) {
  ViewSettings v;
  TensorState t;
  t.rank = 3;
  t.At(1, 1, 1) = 1;
  t.At(2, 3, 3) = -2;
  SceneList s;
  const SurfaceEvaluation e;
  t.At(3, 3, 3) = -std::numeric_limits<Real>::infinity();
  EXPECT_THROW(BuildScene(s, SceneInputs{&t, &e, &v, kFullSurface, 2}), std::runtime_error);
  for (Real odd : {Real{0}, Real{-1e300L}, std::numeric_limits<Real>::quiet_NaN()}) {
    t.At(3, 3, 3) = odd;
    BuildScene(s, SceneInputs{&t, &e, &v, kFullSurface, 2});
    ExpectSameScene(s, reference::Build(t, e, v, 2, kFullSurface),
                    "T333 = " + std::to_string(static_cast<double>(odd)));
    BuildScene(s, SceneInputs{&t, &e, &v, kSectionZ, 2});
    ExpectSameScene(s, reference::Build(t, e, v, 2, kSectionZ), "section");
  }
}

TEST(SceneBuild, EqualsTheReferenceForNumbersBeyondTheRangeOfDoubles) {
  // Components and scales that a double cannot hold, or holds only with fewer bits, valid in
  // the file's extended precision; the values themselves stay drawable.
  test::Random random(19);
  ViewSettings v;
  const SurfaceEvaluation e;
  SceneList s;
  for (int rank : {2, 5}) {
    for (Real magnitude : {1e300L, 1e-300L, 1e400L, 1e-315L, 1e-4000L}) {
      TensorState t;
      t.rank = rank;
      for (Real& c : t.components) c = random.Uniform(-1, 1) * magnitude;
      t.scale = magnitude;
      const std::string what =
          "rank " + std::to_string(rank) + ", magnitude " + std::to_string(std::log10(magnitude));
      BuildScene(s, SceneInputs{&t, &e, &v, kFullSurface, 2});
      ExpectSameScene(s, reference::Build(t, e, v, 2, kFullSurface), what);
      if (magnitude > 1) continue;
      // One small component beside ordinary ones.
      for (Real& c : t.components) c = random.Uniform(-1, 1);
      t.components[1] = magnitude;
      t.scale = 1;
      BuildScene(s, SceneInputs{&t, &e, &v, kFullSurface, 2});
      ExpectSameScene(s, reference::Build(t, e, v, 2, kFullSurface), what + ", one component");
    }
  }
}

TEST(CutLabel, KeepsWholeCharacters) {
  EXPECT_EQ(CutLabel("0123456789ABC", kLabelLength), "0123456789");
  EXPECT_EQ(CutLabel("short", kLabelLength), "short");
  // "µ" is two bytes: ten characters are twelve bytes here.
  EXPECT_EQ(CutLabel("µµ34567890X", kLabelLength), "µµ34567890");
  EXPECT_EQ(CutLabel("abc\xC3", kLabelLength), "abc\xC3");
}

}  // namespace
}  // namespace quillmere
