#include "surface/renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "support/surface_fixtures.h"
#include "support/test_support.h"
#include "surface/display_palette.h"
#include "surface/recording_canvas.h"
#include "surface/scale_legend.h"

namespace quillmere {
namespace {

using test::BuildSceneFor;
using test::UnitSphereTensor;

using test::RecordingCanvas;

TEST(ShadeChannel, RunsFromFiveToWhiteAndKeepsDarkBytesDark) {
  for (int c : {0, 1, 128, 254, 255}) {
    EXPECT_EQ(ShadeChannel(c, 0), 5) << c;
    EXPECT_EQ(ShadeChannel(c, 1), 255) << c;
  }
  EXPECT_LT(ShadeChannel(0, 0.5L), ShadeChannel(255, 0.5L));
  EXPECT_EQ(ShadeChannel(0, 0.5L), 14);  // 1250 / 137.5 + 5 = 14.09
  // Light factors outside 0..1 (a light vector longer than 1) and not-a-number stay in range.
  EXPECT_EQ(ShadeChannel(200, 1.2L), 255);
  EXPECT_EQ(ShadeChannel(200, std::numeric_limits<Real>::quiet_NaN()), 0);
}

/// The depth sort as the program states it, moving (key, id) records themselves.
void ReferenceSort(std::vector<std::pair<int, int>>& r, int lo, int hi) {
  int i = lo, j = hi;
  const int pivot = r[(lo + hi) / 2].first;
  do {
    while (r[i].first < pivot) ++i;
    while (r[j].first > pivot) --j;
    if (i <= j) std::swap(r[i++], r[j--]);
  } while (i <= j);
  if (lo < j) ReferenceSort(r, lo, j);
  if (i < hi) ReferenceSort(r, i, hi);
}

TEST(SortByDepth, LeavesEqualKeysWhereTheProgramsQuicksortDoes) {
  test::Random random(99);
  SceneList scene;
  const int n = 3000;
  scene.records.resize(n);
  scene.count = n;
  ResetOrder(scene);
  std::vector<std::pair<int, int>> reference(n);
  for (int i = 0; i < n; ++i) reference[i].second = i;
  // Several re-projections in a row, each starting from the order the last one left, with
  // few distinct keys so that ties abound.
  for (int round = 0; round < 5; ++round) {
    for (int i = 0; i < n; ++i) {
      const int key = static_cast<int>(random.Uniform(0, 40)) - 20;
      scene.records[i].depthKey = key;
      reference[static_cast<std::size_t>(
                    std::find_if(reference.begin(), reference.end(),
                                 [&](const auto& p) { return p.second == i; }) -
                    reference.begin())]
          .first = key;
    }
    SortByDepth(scene, 0, n - 1);
    ReferenceSort(reference, 0, n - 1);
    for (int i = 0; i < n; ++i)
      ASSERT_EQ(static_cast<int>(scene.order[i]), reference[i].second)
          << "round " << round << ", position " << i;
  }
}

TEST(ProjectScene, FacingLightAndGridRules) {
  ViewSettings v;
  TensorState t = UnitSphereTensor();
  SceneList scene = BuildSceneFor(t, v);
  ProjectScene(scene, v, 100, kFullSurface, t);
  int facing = 0, hidden = 0;
  for (std::size_t i = 0; i < scene.count; ++i) {
    const ScenePolygon& r = scene.Painted(i);
    if (i > 0) {
      ASSERT_LE(scene.Painted(i - 1).depthKey, r.depthKey) << "far to near";
    }
    if (r.lineColour == v.axesColour) {
      // Axis segments are degenerate: lit as if facing the light, so shaded to white.
      EXPECT_EQ(r.fillColour, Colour::Palette(255, 255, 255));
      continue;
    }
    (r.fillColour == v.background ? hidden : facing)++;
  }
  // Half the sphere faces the viewer.
  EXPECT_NEAR(facing, hidden, 0.05 * (facing + hidden));

  // Grid off: surface outlines take the background, axes keep theirs; exact colours without
  // the palette mode.
  v.showGrid = false;
  v.paletteMode = false;
  ProjectScene(scene, v, 100, kFullSurface, t);
  for (std::size_t i = 0; i < scene.count; ++i) {
    const ScenePolygon& r = scene.Painted(i);
    if (r.fillColour != v.background) {
      EXPECT_EQ(r.fillColour.flag, Colour::kExact);
      EXPECT_TRUE(r.lineColour == v.background || r.lineColour == v.axesColour);
    }
  }
  EXPECT_EQ(scene.records[0].lineColour, v.axesColour);

  // In a section every record faces the viewer.
  ProjectScene(scene, v, 100, kSectionZ, t);
  for (std::size_t i = 0; i < scene.count; ++i)
    ASSERT_NE(scene.Painted(i).fillColour, v.background);
}

/// What ProjectScene gives each built record, worked out through Projection, LightFactor and
/// ShadeChannel one record at a time as the program states it.
struct ReferenceRecord {
  ScreenPoint screen[4];
  std::int32_t depthKey;
  bool drawable;
  Colour fill, line;
};

ReferenceRecord ReferenceProjection(const ScenePolygon& rec, const ViewSettings& v, int a, int mode,
                                    Real ratio) {
  const Projection projection(v, a, ratio);
  ReferenceRecord out;
  ProjectedPoint p[4];
  for (int c = 0; c < 4; ++c)
    p[c] = projection.Project(rec.corners[c][0], rec.corners[c][1], rec.corners[c][2]);
  const Real depth = (p[0].z + p[1].z + p[2].z + p[3].z) / 4;
  out.depthKey = std::isnan(depth) ? 0
                 : depth >= std::numeric_limits<std::int32_t>::max()
                     ? std::numeric_limits<std::int32_t>::max()
                 : depth <= -static_cast<Real>(std::numeric_limits<std::int32_t>::max())
                     ? -std::numeric_limits<std::int32_t>::max()
                     : static_cast<std::int32_t>(std::nearbyint(depth));
  Real n[3];
  if ((p[1].x - p[0].x) + (p[1].y - p[0].y) + (p[1].z - p[0].z) == 0) {
    for (int i = 0; i < 3; ++i) n[i] = 0.2L * v.lightDirection[i];
  } else {
    n[0] = (p[0].y - p[1].y) * (p[2].z - p[1].z) - (p[0].z - p[1].z) * (p[2].y - p[1].y);
    n[1] = (p[0].z - p[1].z) * (p[2].x - p[1].x) - (p[0].x - p[1].x) * (p[2].z - p[1].z);
    n[2] = (p[0].x - p[1].x) * (p[2].y - p[1].y) - (p[0].y - p[1].y) * (p[2].x - p[1].x);
  }
  const Real f = LightFactor(v.lightDirection, n);
  bool invalid = false;
  for (int c = 0; c < 4; ++c) out.screen[c] = projection.ToScreen(p[c], &invalid);
  out.drawable = !invalid;
  out.line = rec.lineColour;
  if (mode == kFullSurface && !(n[2] >= 0)) {  // not-a-number faces away
    out.fill = v.background;
  } else {
    const int r = ShadeChannel(rec.baseColour[0], f), g = ShadeChannel(rec.baseColour[1], f),
              b = ShadeChannel(rec.baseColour[2], f);
    out.fill = v.paletteMode ? Colour::Palette(r, g, b) : Colour::Exact(r, g, b);
    if (!v.showGrid && rec.lineColour != v.axesColour) out.line = v.background;
  }
  return out;
}

TEST(ProjectScene, EqualsTheProjectionOneRecordAtATime) {
  // The scene's projection works its arithmetic faster than Projection does, but must give the
  // same screen points, depth keys and colours, so that pictures stay the same to the pixel.
  test::Random random(23);
  TensorState t;
  SetKind(t, 9);
  for (Real& c : t.components) c = random.Uniform(-1, 1);
  t.scale = 3;
  const Real inf = std::numeric_limits<Real>::infinity();
  for (int mode : {kFullSurface, kSectionZ}) {
    ViewSettings built;
    built.resolution = 3;
    SceneList scene = BuildSceneFor(t, built, mode);
    // Records the surface cannot give otherwise: a corner not a number, one far out, one at the
    // eye, and a degenerate patch.
    scene.records[7].corners[2][0] = std::numeric_limits<Real>::quiet_NaN();
    scene.records[8].corners[1][1] = 1e30L;
    scene.records[9].corners[0][2] = 50;
    for (int c = 1; c < 4; ++c)
      for (int i = 0; i < 3; ++i) scene.records[10].corners[c][i] = scene.records[10].corners[0][i];
    for (int view = 0; view < 8; ++view) {
      ViewSettings v = built;
      v.angleX = random.Uniform(-3, 3);
      v.angleY = random.Uniform(-3, 3);
      v.angleZ = random.Uniform(-3, 3);
      v.shiftX = view == 3 ? 1e-320L : random.Uniform(-0.5, 0.5);  // 1e-320: no quick split
      v.shiftY = random.Uniform(-0.5, 0.5);
      v.zoom = view == 4 ? 37.1L : random.Uniform(0.3, 2);
      v.eyeDistance = view == 5 ? 1.5L : 1 + random.Uniform(1, 100);
      v.showGrid = view % 2 == 0;
      v.paletteMode = view == 6;
      if (view == 7) v.lightDirection[1] = -inf;
      const Real ratio = view % 3 == 1 ? 2 : 1;
      const int a = 100 + 37 * view;
      std::vector<ScenePolygon> before(scene.records.begin(),
                                       scene.records.begin() + static_cast<long>(scene.count));
      ProjectScene(scene, v, a, mode, t, '.', ratio);
      int reported = 0;
      for (std::size_t r = 0; r < before.size() && reported < 3; ++r) {
        const ReferenceRecord want = ReferenceProjection(before[r], v, a, mode, ratio);
        const ScenePolygon& got = scene.records[r];
        bool same = got.depthKey == want.depthKey && got.drawable == want.drawable &&
                    got.fillColour == want.fill && got.lineColour == want.line;
        for (int c = 0; c < 4; ++c) same = same && got.screen[c] == want.screen[c];
        if (!same) {
          ADD_FAILURE() << "mode " << mode << ", view " << view << ": record " << r
                        << " differs: depth " << got.depthKey << " against " << want.depthKey
                        << ", first point (" << got.screen[0].x << ", " << got.screen[0].y
                        << ") against (" << want.screen[0].x << ", " << want.screen[0].y
                        << "), fill " << got.fillColour.Value() << " against " << want.fill.Value()
                        << ", line " << got.lineColour.Value() << " against " << want.line.Value()
                        << ", drawable " << got.drawable;
          ++reported;
        }
      }
    }
  }
}

TEST(PaintRecords, ClearPenHiddenPatchesWireFrameAndLabels) {
  ViewSettings v;
  TensorState t = UnitSphereTensor();
  SceneList scene = BuildSceneFor(t, v);
  RecordingCanvas canvas(1000, 800);
  RenderPicture(scene, v, t, canvas);
  ASSERT_EQ(canvas.rectangles.size(), 1u);
  EXPECT_EQ(canvas.rectangles[0].x1, 1000);
  EXPECT_EQ(canvas.rectangles[0].y1, 800);
  EXPECT_EQ(canvas.rectangles[0].brush.colour, v.background);
  std::size_t painted = 0;
  for (std::size_t i = 0; i < scene.PaintCount(); ++i)
    painted += scene.Painted(i).fillColour != v.background;
  EXPECT_EQ(canvas.polygons.size(), painted) << "patches in the background colour are skipped";
  for (const auto& p : canvas.polygons) EXPECT_FALSE(p.pen.clear);

  // Axis captions: built-in font, size Round(24 K W / 500) = Round(38.4), at the third point.
  ASSERT_EQ(canvas.texts.size(), 3u);
  for (const auto& text : canvas.texts) {
    EXPECT_EQ(text.font.family, "Times New Roman");
    EXPECT_EQ(text.font.colour, Colour::Exact(120, 70, 0));
    EXPECT_EQ(text.pointSize, 38);
  }
  for (std::size_t i = 0; i < scene.PaintCount(); ++i)
    if (scene.Painted(i).label == "z")
      for (const auto& text : canvas.texts)
        if (text.text == "z") {
          EXPECT_EQ(text.x, scene.Painted(i).screen[2].x);
          EXPECT_EQ(text.y, scene.Painted(i).screen[2].y);
        }

  // Fill off: every polygon is brushed with the background (a hidden-line wire frame); a chosen
  // font replaces the built-in one at its own size.
  v.fillPatches = false;
  v.useAxesFont = true;
  v.axesFont = LabelFont{"DejaVu Sans", 10, Colour::Exact(1, 2, 3)};
  RecordingCanvas wire(1000, 800);
  RenderPicture(scene, v, t, wire);
  for (const auto& p : wire.polygons) EXPECT_EQ(p.brush.colour, v.background);
  ASSERT_FALSE(wire.texts.empty());
  EXPECT_EQ(wire.texts[0].font.family, "DejaVu Sans");
  EXPECT_EQ(wire.texts[0].pointSize, 16);  // Round(10 * 0.8 * 1000 / 500)
}

TEST(PaintRecords, LegendMarksAndUnitText) {
  ViewSettings v;
  v.showScale = true;
  TensorState t = UnitSphereTensor();
  t.unitText = "m^2/N";
  SceneList scene = BuildSceneFor(t, v);
  RecordingCanvas canvas(1000, 800);
  RenderPicture(scene, v, t, canvas);
  // Scale 1: ticks 0.00, 0.50, 1.00 in the small size Round(W K / 60) = 13, then a "10" in
  // Round(W K / 40) = 20 placed Round(W 0.035 K) = 28 left of the base line's end, the
  // exponent "0" small, and the unit text as it stands in the normal size.
  std::vector<std::string> texts;
  for (const auto& c : canvas.texts) texts.push_back(c.text);
  // The axis captions come in depth order; the legend is painted last, in its own order.
  ASSERT_EQ(texts.size(), 9u);
  EXPECT_EQ(std::vector<std::string>(texts.begin() + 3, texts.end()),
            (std::vector<std::string>{"0.00", "0.50", "1.00", "10", "0", "m^2/N"}));
  const auto& ten = canvas.texts[canvas.texts.size() - 3];
  const auto& exponent = canvas.texts[canvas.texts.size() - 2];
  EXPECT_EQ(ten.pointSize, 20);
  EXPECT_EQ(exponent.pointSize, 13);
  EXPECT_EQ(canvas.texts[canvas.texts.size() - 4].pointSize, 13);
  EXPECT_EQ(canvas.texts.back().pointSize, 38);
  EXPECT_EQ(exponent.x - ten.x, 28);
  // The base line ends 0.5a beyond the last tick (a = 250: from 75 to 325 + 125, before zoom),
  // and the exponent sits at its third point: X = Round(0.8 * 450 + 500) = 860.
  EXPECT_EQ(exponent.x, 860);
  EXPECT_EQ(canvas.texts.back().y, static_cast<int>(std::nearbyint(0.8 * 1.42 * 250 + 350)));

  // No legend in stereo, and two images: every record painted twice.
  v.stereo = true;
  RecordingCanvas pair(1200, 800);
  const std::size_t polygonsOfOne = canvas.polygons.size() - 6;  // less the legend strokes
  RenderPicture(scene, v, t, pair);
  EXPECT_EQ(scene.legendCount, 0u);
  EXPECT_EQ(pair.texts.size(), 6u);
  EXPECT_NEAR(static_cast<double>(pair.polygons.size()), 2.0 * polygonsOfOne, 0.1 * polygonsOfOne);
}

TEST(RenderPicture, StereoImagesSitAtTheirShiftsAndTheSceneStaysOnTheSecond) {
  ViewSettings v;
  v.stereo = true;
  TensorState zero;  // every record collapses: origin and axes only
  SceneList scene = BuildSceneFor(zero, v);
  RecordingCanvas canvas(600, 400);
  RenderPicture(scene, v, zero, canvas);
  // a = 600 div 6 = 100, K = 0.8: the surface (a point at the origin) at 200 + 200 in the
  // first image, at 200 - 56 in the second.
  std::vector<int> xs;
  for (const auto& p : canvas.polygons)
    if (p.points[0] == p.points[2] && p.pen.colour == v.positiveLine) xs.push_back(p.points[0].x);
  ASSERT_FALSE(xs.empty());
  EXPECT_EQ(xs.front(), 400);
  EXPECT_EQ(xs.back(), 144);
  EXPECT_EQ(scene.Painted(scene.count - 1).screen[0].x, 144);
  EXPECT_EQ(v.shiftX, 0) << "the stored shift is untouched";
}

TEST(RenderPicture, RecordsThatDoNotProjectAreLeftOut) {
  ViewSettings v;
  TensorState t = UnitSphereTensor();
  t.At(1, 1) = std::numeric_limits<Real>::quiet_NaN();
  SceneList scene = BuildSceneFor(t, v);
  RecordingCanvas canvas(400, 300);
  const ProjectionSummary summary = RenderPicture(scene, v, t, canvas);
  EXPECT_GT(summary.undrawable, 600u);
  for (const auto& p : canvas.polygons)
    for (const auto& q : p.points) ASSERT_LE(std::abs(q.x), kScreenLimit);
}

TEST(DisplayPalette, StandardFixedAndShadeEntries) {
  const DisplayPalette p = BuildDisplayPalette(Colour::Exact(0, 255, 0), Colour::Exact(255, 0, 0));
  EXPECT_EQ(p[0], Colour::Exact(0, 0, 0));
  EXPECT_EQ(p[8], Colour::Exact(192, 192, 192));
  EXPECT_EQ(p[16], Colour::Exact(255, 128, 128));
  EXPECT_EQ(p[45], Colour::Exact(64, 128, 128));
  // Each ramp runs from 5 (k = 0) to white (k = 95).
  EXPECT_EQ(p[46], Colour::Exact(5, 5, 5));
  EXPECT_EQ(p[141], Colour::Exact(255, 255, 255));
  EXPECT_EQ(p[142], Colour::Exact(5, 5, 5));
  EXPECT_EQ(p[237], Colour::Exact(255, 255, 255));
  // The green channel of the positive ramp rises faster than its red and blue.
  EXPECT_GT(p[46 + 48].green, p[46 + 48].red);
  EXPECT_EQ(p[46 + 48].red, p[46 + 48].blue);
  EXPECT_EQ(NearestPaletteIndex(p, Colour::Palette(250, 2, 3)), 9u);  // red
}

TEST(ScaleLegend, NiceStepsOfThePublishedExamples) {
  // scale 1: e' = 0, c = 3 -> step 0.5, exponent 0.
  NiceStepResult r = NiceStep(0, 3);
  EXPECT_NEAR(static_cast<double>(r.step), 0.5, 1e-18);
  EXPECT_EQ(r.exponent, 0);
  // scale 250: e' = 3, c = 0.75 -> step 100, exponent 2.
  r = NiceStep(0, 750);
  EXPECT_NEAR(static_cast<double>(r.step), 100, 1e-15);
  EXPECT_EQ(r.exponent, 2);
  // scale 0.01: e' = -2, c = 3 -> step 0.005, exponent -1.
  r = NiceStep(0, 0.03L);
  EXPECT_NEAR(static_cast<double>(r.step), 0.005, 1e-18);
  EXPECT_EQ(r.exponent, -1);
  // An exponent truncated to 0 from below is 0, not "-0".
  EXPECT_EQ(NiceStep(0, 0.3L).exponent, 0);
}

std::vector<std::string> Texts(const std::vector<ScaleTick>& ticks) {
  std::vector<std::string> t;
  for (const auto& x : ticks) t.push_back(x.text);
  return t;
}

TEST(ScaleLegend, TicksOfThePublishedExamples) {
  std::vector<ScaleTick> t = MakeScaleTicks(30, 130, 1, "pC/N");
  EXPECT_EQ(Texts(t), (std::vector<std::string>{"\"0.00", "\"0.50", "\"1.00", "^0", "pC/N"}));
  ASSERT_EQ(t.size(), 5u);
  EXPECT_EQ(t[0].position, 30);
  EXPECT_EQ(t[1].position, 80);
  EXPECT_EQ(t[2].position, 130);
  EXPECT_EQ(t[3].position, 130);
  EXPECT_EQ(t[4].position, 130);
  EXPECT_EQ(Texts(MakeScaleTicks(30, 130, 250, "")),
            (std::vector<std::string>{"\"0.00", "\"1.00", "\"2.00", "^2", ""}));
  EXPECT_EQ(Texts(MakeScaleTicks(30, 130, 0.01L, "K", ',')),
            (std::vector<std::string>{"\"0,00", "\"0,05", "\"0,10", "^-1", "K"}));
  // A scale that is a whole number of steps keeps its last tick: 0.6 in steps of 0.2.
  EXPECT_EQ(MakeScaleTicks(0, 100, 0.6L, "").size(), 4u + 2);
  // Never more than six entries for a positive scale; none without one.
  test::Random random(5);
  for (int i = 0; i < 500; ++i) {
    const Real scale = std::pow(10.0L, random.Uniform(-30, 30));
    ASSERT_LE(MakeScaleTicks(30, 130, scale, "").size(), 6u) << static_cast<double>(scale);
  }
  EXPECT_TRUE(MakeScaleTicks(30, 130, 0, "").empty());
  EXPECT_TRUE(MakeScaleTicks(30, 130, -1, "").empty());
  EXPECT_TRUE(MakeScaleTicks(30, 130, std::numeric_limits<Real>::infinity(), "").empty());
  EXPECT_TRUE(MakeScaleTicks(30, 130, std::numeric_limits<Real>::quiet_NaN(), "").empty());
}

TEST(ScaleLegend, KeptInsideALowPicture) {
  ViewSettings v;
  v.showScale = true;
  SceneList scene;
  PaintMetrics metrics;
  metrics.fontWidth = metrics.offsetWidth = 1600;
  const Projection projection(v, 400);  // a picture 1600 wide
  const auto bottomAndBase = [&] {
    int bottom = 0;
    for (std::size_t r = 0; r < scene.legendCount; ++r)
      for (const ScreenPoint& p : scene.records[r].screen) bottom = std::max(bottom, p.y);
    return std::pair{bottom, scene.records[scene.legendCount - 2].screen[0].y};
  };
  // High enough: the legend keeps its place (base line 0.8 * 520 + 560 = 976, unit at 1014).
  BuildLegend(scene, projection, v, 1, "C/N");
  KeepLegendInside(scene, v, metrics, 1200);
  EXPECT_EQ(bottomAndBase(), (std::pair{1014, 976}));
  // 942 high: the whole legend moves up until the unit's text (24 points times 0.8 times
  // 1600 / 500 = 61 points, 102 pixels) ends 2 pixels above the bottom; the ruler keeps its
  // length.
  KeepLegendInside(scene, v, metrics, 942);
  const auto [bottom, base] = bottomAndBase();
  EXPECT_EQ(bottom + 102, 940);
  EXPECT_EQ(1014 - bottom, 976 - base);
  EXPECT_EQ(scene.records[0].screen[0].x, 896);  // 0.8 * 120 + 800, unchanged
  // In stereo there is no legend to move.
  v.stereo = true;
  BuildLegend(scene, projection, v, 1, "C/N");
  KeepLegendInside(scene, v, metrics, 100);
  EXPECT_EQ(scene.legendCount, 0u);
}

TEST(ScaleLegend, RecordsBehindTheScene) {
  ViewSettings v;
  v.showScale = true;
  SceneList scene;
  scene.records.resize(2);
  scene.count = 2;
  const Projection projection(v, 100);
  BuildLegend(scene, projection, v, 1, "0123456789ABCDEF");
  ASSERT_EQ(scene.legendCount, 5u);
  ASSERT_EQ(scene.records.size(), 7u);
  const ScenePolygon& tick = scene.records[3];         // the 0.50 tick at 80 before zoom
  EXPECT_EQ(tick.screen[0], (ScreenPoint{264, 244}));  // (0.8 * 80 + 200, 0.8 * 130 + 140)
  EXPECT_EQ(tick.screen[1], (ScreenPoint{264, 248}));  // 0.8 * 135 + 140 = 248
  EXPECT_EQ(tick.depthKey, kLegendKey);
  EXPECT_EQ(tick.lineColour, v.axesColour);
  const ScenePolygon& line = scene.records[5];
  EXPECT_EQ(line.screen[0].x, 224);                      // 0.3a
  EXPECT_EQ(line.screen[2].x, 344);                      // 1.3a + 0.5a
  EXPECT_EQ(scene.records[6].lineColour, v.background);  // the unit's stroke is invisible
  EXPECT_EQ(scene.records[6].label, "0123456789");
  // Building again replaces the legend; with the scale off or in stereo there is none.
  BuildLegend(scene, projection, v, 1, "");
  EXPECT_EQ(scene.records.size(), 7u);
  v.stereo = true;
  BuildLegend(scene, projection, v, 1, "");
  EXPECT_EQ(scene.legendCount, 0u);
  EXPECT_EQ(scene.records.size(), 2u);
}

}  // namespace
}  // namespace quillmere
