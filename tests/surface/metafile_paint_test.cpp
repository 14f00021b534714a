#include "surface/metafile_paint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/surface_fixtures.h"
#include "surface/recording_canvas.h"

namespace quillmere {
namespace {

using test::BuildSceneFor;
using test::UnitSphereTensor;

using test::RecordingCanvas;

std::vector<std::string> Texts(const RecordingCanvas& c) {
  std::vector<std::string> out;
  for (const auto& t : c.texts) out.push_back(t.text);
  return out;
}

TEST(MetafilePictureSize, WidthIsTheScreensSmallerSideAndHeightFollowsTheWindow) {
  // 1920 x 1080 screen, a window of 1000 x 500: a0 = 1080, h = Round(500 * 1080 / 1000) = 540.
  MetafileSize s = MetafilePictureSize(1920, 1080, 1000, 500);
  EXPECT_EQ(s.width, 1080);
  EXPECT_EQ(s.height, 540);
  EXPECT_TRUE(s.heightFromWindow);
  // A window taller than wide: 1080 * 900 / 600 = 1620 would pass the screen height, so the
  // picture keeps the width a0 and stays within the screen.
  s = MetafilePictureSize(1920, 1080, 600, 900);
  EXPECT_EQ(s.width, 1080);
  EXPECT_LE(s.height, 1080);
  EXPECT_FALSE(s.heightFromWindow);
  // Exactly the screen height is still taken from the window; halves round to even.
  EXPECT_EQ(MetafilePictureSize(1000, 800, 800, 1024).height, 800);
  EXPECT_EQ(MetafilePictureSize(1000, 800, 1600, 5).height, 2);  // 2.5 -> 2
  // A window not yet laid out (0 x 0) gives a picture, not a division by zero.
  EXPECT_GE(MetafilePictureSize(1000, 800, 0, 0).height, 1);
}

TEST(PaintMetafile, BackgroundExactColoursAndSizesByA0) {
  ViewSettings v;
  v.showScale = true;
  v.paletteMode = true;
  const TensorState t = UnitSphereTensor();
  SceneList scene = BuildSceneFor(t, v);
  const MetafileSize size{800, 500, true};
  RecordingCanvas canvas(size.width, size.height);
  int lastProgress = 0;
  MetafilePaintOptions options;
  options.progress = [&](int done) { lastProgress = done; };
  PaintMetafile(scene, v, t, canvas, size, options);

  ASSERT_EQ(canvas.rectangles.size(), 1u);
  const auto& r = canvas.rectangles[0];
  EXPECT_EQ(std::vector<int>({r.x0, r.y0, r.x1, r.y1}), std::vector<int>({-1, -1, 800, 500}));
  EXPECT_EQ(r.brush.colour, v.background);
  EXPECT_EQ(r.pen.colour, v.background);
  // Exact colours although the palette switch is on, and the switch itself is left alone.
  for (const auto& p : canvas.polygons) ASSERT_EQ(p.brush.colour.flag, Colour::kExact);
  EXPECT_TRUE(v.paletteMode);
  // a = 800 div 4 = 200, so the picture matches a screen picture 800 wide: captions at
  // Round(24 * 0.8 * 800 / 500) = 31 points, the "10" at Round(800 * 0.8 / 40) = 16 and the
  // small texts at Round(800 * 0.8 / 60) = 11, the "10" Round(800 * 0.035 * 0.8) = 22 to the left.
  const std::vector<std::string> texts = Texts(canvas);
  ASSERT_GE(texts.size(), 6u);
  EXPECT_EQ(canvas.texts[0].pointSize, 31);
  const auto ten = std::find(texts.begin(), texts.end(), "10") - texts.begin();
  ASSERT_LT(static_cast<std::size_t>(ten) + 1, texts.size());
  EXPECT_EQ(canvas.texts[ten].pointSize, 16);
  EXPECT_EQ(canvas.texts[ten + 1].pointSize, 11);
  EXPECT_EQ(canvas.texts[ten + 1].x - canvas.texts[ten].x, 22);
  EXPECT_EQ(lastProgress, static_cast<int>(scene.PaintCount() / 20 * 20));
  EXPECT_EQ(MetafileProgressMaximum(scene, v), static_cast<int>(scene.count));
}

TEST(PaintMetafile, StereoGivesTwoImagesNoLegendAndLeavesTheSceneOnTheSecond) {
  ViewSettings v;
  v.stereo = true;
  v.showScale = true;
  const TensorState zero;  // origin and axes only
  SceneList scene = BuildSceneFor(zero, v);
  const MetafileSize size{600, 400, true};
  RecordingCanvas canvas(600, 400);
  PaintMetafile(scene, v, zero, canvas, size);
  EXPECT_EQ(scene.legendCount, 0u);
  for (const auto& t : Texts(canvas)) EXPECT_TRUE(t == "x" || t == "y" || t == "z") << t;
  // a = 600 div 6 = 100: the origin at 2a + K (shift) a = 200 + 200 in the first image and
  // 200 - 56 in the second; the scene stays on the second.
  std::vector<int> xs;
  for (const auto& p : canvas.polygons)
    if (p.points[0] == p.points[2] && p.pen.colour == v.positiveLine) xs.push_back(p.points[0].x);
  ASSERT_FALSE(xs.empty());
  EXPECT_EQ(xs.front(), 400);
  EXPECT_EQ(xs.back(), 144);
  EXPECT_EQ(scene.Painted(scene.count - 1).screen[0].x, 144);
  EXPECT_EQ(v.shiftX, 0);
  EXPECT_EQ(MetafileProgressMaximum(scene, v), 2 * static_cast<int>(scene.count));
}

TEST(PaintPrintedPage, WindowPictureScaledToThePageWithThickAxes) {
  ViewSettings v;
  v.showScale = true;
  v.paletteMode = true;
  const TensorState t = UnitSphereTensor();
  SceneList scene = BuildSceneFor(t, v);
  // A page of 4000 x 6000 at 480 dots per inch (5 to a picture pixel), a window of 1000 x 500:
  // the picture fills the page's width, 4000 x 2000 (800 x 400 picture pixels).
  RecordingCanvas page(4000, 6000);
  PrintPageOptions options;
  options.dotsPerInch = 480;
  options.windowWidth = 1000;
  options.windowHeight = 500;
  int steps = 0;
  options.progress = [&](int s) { steps = s; };
  PaintPrintedPage(scene, v, t, page, options);

  ASSERT_EQ(page.rectangles.size(), 1u);
  EXPECT_EQ(page.rectangles[0].x0, 0);
  EXPECT_EQ(page.rectangles[0].x1, 4000);
  EXPECT_EQ(page.rectangles[0].y1, 2000);
  int left = 4000, right = 0;
  bool thickAxis = false;
  for (const auto& p : page.polygons) {
    ASSERT_EQ(p.brush.colour.flag, Colour::kExact);
    for (const ScreenPoint& q : p.points) left = std::min(left, q.x), right = std::max(right, q.x);
    if (p.pen.colour == v.axesColour) {
      EXPECT_EQ(p.pen.width, 8);  // 1.5 picture pixels
      thickAxis = true;
    } else {
      EXPECT_EQ(p.pen.width, 1);
    }
  }
  EXPECT_TRUE(thickAxis);
  EXPECT_GT(right - left, 2000) << "the surface spans most of the page's width";
  // Fonts by the picture's 800: Round(24 * 0.8 * 800 / 500) = 31; the "10" by 800 / 40 = 16
  // points and placed 5 * Round(800 0.035 K) = 112 page pixels left of the exponent.
  const std::vector<std::string> texts = Texts(page);
  EXPECT_EQ(page.texts[0].pointSize, 31);
  const auto ten = std::find(texts.begin(), texts.end(), "10") - texts.begin();
  ASSERT_LT(static_cast<std::size_t>(ten) + 1, texts.size());
  EXPECT_EQ(page.texts[ten].pointSize, 16);
  EXPECT_EQ(page.texts[ten + 1].x - page.texts[ten].x, 112);
  for (const auto& text : page.texts) EXPECT_LE(text.y, 2000) << text.text << " below the picture";
  EXPECT_EQ(steps, static_cast<int>(scene.PaintCount() / 20));

  // A window taller than the page's proportions fills its height, centred across.
  const PrintedPicture tall = PrintedPicturePlace(4000, 6000, 500, 1000);
  EXPECT_EQ(tall.height, 6000);
  EXPECT_EQ(tall.width, 3000);
  EXPECT_EQ(tall.x, 500);
  EXPECT_EQ(tall.y, 0);

  // Stereo: two images on the page, no legend.
  v.stereo = true;
  RecordingCanvas pair(4000, 6000);
  const std::size_t one = page.polygons.size();
  PaintPrintedPage(scene, v, t, pair, options);
  EXPECT_EQ(scene.legendCount, 0u);
  EXPECT_GT(pair.polygons.size(), one * 3 / 2);
  EXPECT_EQ(Texts(pair).size(), 6u);
}

}  // namespace
}  // namespace quillmere
