// Pictures painted through the QPainter canvas, checked by measured properties: pixel colours
// at chosen points, extents, and which colours occur. A failing test writes its picture to
// canvas-test-output/ in the working folder.
#include "surface/qt/qpainter_canvas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "support/surface_fixtures.h"
#include "support/test_support.h"
#include "surface/qt/picture_file.h"
#include "surface/renderer.h"
#include "surface/scene.h"

namespace quillmere {
namespace {

using test::UnitSphereTensor;

class GuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "test_canvas";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QGuiApplication> app_;
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

/// Writes the picture for a look when the running test has failed.
void KeepOnFailure(const QImage& image, const char* name) {
  if (!::testing::Test::HasFailure()) return;
  QDir().mkpath("canvas-test-output");
  const QString path = QStringLiteral("canvas-test-output/%1.png").arg(name);
  image.save(path);
  std::cerr << "picture written to " << QDir::current().filePath(path).toStdString() << "\n";
}

struct Picture {
  QImage image;
  SceneList scene;
};

Picture Render(const TensorState& t, const ViewSettings& v, int width = 800, int height = 600) {
  Picture p;
  const SurfaceEvaluation e;
  BuildScene(p.scene, SceneInputs{&t, &e, &v, kFullSurface, std::nullopt});
  p.image = MakePictureImage(width, height);
  QPainter painter(&p.image);
  QPainterCanvas canvas(painter, width, height);
  RenderPicture(p.scene, v, t, canvas);
  return p;
}

bool Is(QRgb pixel, Colour c) {
  return qRed(pixel) == c.red && qGreen(pixel) == c.green && qBlue(pixel) == c.blue;
}

int Count(const QImage& image, Colour c) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += Is(image.pixel(x, y), c);
  return n;
}

TEST(CanvasPicture, SphereIsAShadedDiscAtTheOrigin) {
  // An isotropic second-rank tensor has the same value in every direction: a unit sphere. Seen
  // from the eye at E = 50 its outline has radius a E / sqrt(E^2 - 1), 1.0002 a, times K.
  ViewSettings v;
  v.showAxes = false;
  v.showGrid = false;
  const Picture p = Render(UnitSphereTensor(), v);
  const int a = 800 / 4;
  const double radius = 0.8 * a * 50 / std::sqrt(50.0 * 50 - 1);
  int left = 800, right = -1, top = 600, bottom = -1;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x)
      if (!Is(p.image.pixel(x, y), v.background)) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  // Patches of 10 degrees cut the outline by at most 1 - cos 5 degrees (0.4 %, under 1 px).
  EXPECT_NEAR((left + right) / 2.0, 2 * a, 1.5);
  EXPECT_NEAR((top + bottom) / 2.0, 1.4 * a, 1.5);
  EXPECT_NEAR((right - left + 1) / 2.0, radius, 2.0);
  EXPECT_NEAR((bottom - top + 1) / 2.0, radius, 2.0);
  // Lit from the upper right and the front: brighter there than at the lower left.
  const QRgb lit = p.image.pixel(400 + 60, 280 - 60), dark = p.image.pixel(400 - 100, 280 + 100);
  EXPECT_GT(qGreen(lit), qGreen(dark) + 100);
  EXPECT_GT(qGreen(lit), qRed(lit)) << "a shade of the positive green";
  KeepOnFailure(p.image, "sphere");
}

TEST(CanvasPicture, OddRankShowsBothColours) {
  // A vector along crystal x: value u1, two spheres touching at the origin, positive towards
  // +x (the viewer's lower left), negative towards -x.
  TensorState t;
  t.At(1) = 1;
  ViewSettings v;
  v.showGrid = false;
  const Picture p = Render(t, v);
  int green = 0, red = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const QRgb c = p.image.pixel(x, y);
      green += qGreen(c) > qRed(c) + 40;
      red += qRed(c) > qGreen(c) + 40;
    }
  EXPECT_GT(green, 5000);
  EXPECT_GT(red, 5000);
  const QRgb front = p.image.pixel(400 - 40, 280 + 40);
  EXPECT_GT(qGreen(front), qRed(front)) << "the positive lobe faces the viewer";
  KeepOnFailure(p.image, "odd-rank");
}

TEST(CanvasPicture, GridOffHidesOutlinesButKeepsAxes) {
  ViewSettings v;
  Picture on = Render(UnitSphereTensor(), v);
  v.showGrid = false;
  Picture off = Render(UnitSphereTensor(), v);
  // A shaded fill never has a red byte below 5, so exact (0, 255, 0) is always an outline.
  EXPECT_GT(Count(on.image, v.positiveLine), 1000);
  EXPECT_EQ(Count(off.image, v.positiveLine), 0);
  EXPECT_GT(Count(on.image, v.axesColour), 50);
  EXPECT_GT(Count(off.image, v.axesColour), 50);
  KeepOnFailure(on.image, "grid-on");
  KeepOnFailure(off.image, "grid-off");
}

TEST(CanvasPicture, FillOffGivesAWireFrame) {
  ViewSettings v;
  v.fillPatches = false;
  v.showAxes = false;
  const Picture p = Render(UnitSphereTensor(), v);
  int lines = 0, others = 0;
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const QRgb c = p.image.pixel(x, y);
      if (Is(c, v.positiveLine)) {
        ++lines;
      } else if (!Is(c, v.background)) {
        ++others;
      }
    }
  EXPECT_GT(lines, 5000);
  EXPECT_EQ(others, 0) << "only outlines on the background";
  KeepOnFailure(p.image, "wire-frame");
}

TEST(CanvasPicture, LegendAndLabelsAreDrawnInTheLabelFont) {
  ViewSettings v;
  v.showScale = true;
  TensorState t = UnitSphereTensor();
  t.unitText = "pm/V";
  const Picture p = Render(t, v);
  // The base line of the ruler: 1.3a before zoom, Y = Round(0.8 * 260 + 280) = 488, from
  // X = Round(0.8 * 60 + 400) = 448 to beyond the last tick.
  EXPECT_TRUE(Is(p.image.pixel(460, 488), v.axesColour));
  EXPECT_TRUE(Is(p.image.pixel(600, 488), v.axesColour));
  // Tick values, the "10" and the unit are text in red 120, green 70, blue 0 below the line.
  int ink = 0;
  for (int y = 489; y < 600; ++y)
    for (int x = 400; x < 800; ++x) {
      const QRgb c = p.image.pixel(x, y);
      ink += qRed(c) < 200 && qBlue(c) < 100;
    }
  EXPECT_GT(ink, 200);
  KeepOnFailure(p.image, "legend");
}

TEST(QPainterCanvas, TextBoxStartsAtTheGivenCorner) {
  const QFontInfo info(ToQFont(BuiltInLabelFont(), 24));
  EXPECT_FALSE(info.family().isEmpty());
  if (QFile::exists("/usr/share/fonts/truetype/liberation/LiberationSerif-Regular.ttf")) {
    EXPECT_EQ(info.family().toStdString(), "Liberation Serif") << "Times New Roman's stand-in";
  }
  QImage image = MakePictureImage(200, 100);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    QPainterCanvas canvas(painter, 200, 100);
    canvas.Text(20, 30, "Ag", BuiltInLabelFont(), 24);
    canvas.Text(20, 30, "never", BuiltInLabelFont(), 0);  // below 1 point: nothing
  }
  int top = 100, left = 200, bottom = -1;
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) {
        top = std::min(top, y), left = std::min(left, x), bottom = std::max(bottom, y);
      }
  // 24 points at 96 dpi are 32 pixels: the ink lies in the box's top-left region.
  EXPECT_GE(top, 30);
  EXPECT_LE(top, 42);
  EXPECT_GE(left, 20);
  EXPECT_LE(left, 24);
  EXPECT_GT(bottom, 52);
  KeepOnFailure(image, "text");
}

TEST(PictureFile, WritesPngBmpAndSvgAndRefusesOthers) {
  test::TempDir dir;
  ViewSettings v;
  const TensorState t = UnitSphereTensor();
  SceneList scene;
  const SurfaceEvaluation e;
  BuildScene(scene, SceneInputs{&t, &e, &v, kFullSurface, std::nullopt});
  auto paint = [&](Canvas& c) { RenderPicture(scene, v, t, c); };
  for (const char* name : {"a.png", "b.BMP"}) {
    const auto path = dir.path() / name;
    WritePicture(path, PictureFormatOf(path), 320, 240, paint);
    const QImage back(QString::fromStdString(path.string()));
    ASSERT_FALSE(back.isNull()) << name;
    EXPECT_EQ(back.size(), QSize(320, 240));
    EXPECT_TRUE(Is(back.pixel(2, 2), v.background));
  }
  const auto svg = dir.path() / "c.svg";
  WritePicture(svg, PictureFormatOf(svg), 320, 240, paint);
  const std::string text = test::ReadFile(svg);
  EXPECT_NE(text.find("<svg"), std::string::npos);
  EXPECT_NE(text.find("viewBox=\"0 0 320 240\""), std::string::npos);
  EXPECT_NE(text.find(">z<"), std::string::npos) << "labels stay text";

  EXPECT_THROW(PictureFormatOf("picture.jpg"), std::runtime_error);
  EXPECT_THROW(WritePicture(dir.path() / "missing" / "x.png", PictureFormat::Png, 10, 10, paint),
               std::runtime_error);
  // A failed write keeps the previous picture.
  const auto kept = dir.path() / "a.png";
  const std::string before = test::ReadFile(kept);
  EXPECT_THROW(WritePicture(kept, PictureFormat::Png, 10, 10,
                            [](Canvas&) { throw std::runtime_error("painting failed"); }),
               std::runtime_error);
  EXPECT_EQ(test::ReadFile(kept), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            3);
}

/// The picture of `t` at 800 x 600 logical pixels painted as the window paints it, at `ratio`
/// device pixels per logical pixel.
QImage RenderAtRatio(const TensorState& t, const ViewSettings& v, double ratio) {
  SceneList scene;
  const SurfaceEvaluation e;
  BuildScene(scene, SceneInputs{&t, &e, &v, kFullSurface, std::nullopt});
  QImage image;
  PaintAtPixelRatio(image, 800, 600, ratio, [&](Canvas& c) { RenderPicture(scene, v, t, c); });
  return image;
}

struct Extent {
  int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;
};

Extent ExtentOf(const QImage& image, Colour background) {
  Extent e;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (!Is(image.pixel(x, y), background)) {
        e.left = std::min(e.left, x), e.right = std::max(e.right, x);
        e.top = std::min(e.top, y), e.bottom = std::max(e.bottom, y);
      }
  return e;
}

TEST(PixelRatio, RatioOneIsThePlainPicture) {
  ViewSettings v;
  v.showScale = true;
  TensorState t = UnitSphereTensor();
  t.At(1, 2) = t.At(2, 1) = 0.6L;
  const QImage window = RenderAtRatio(t, v, 1.0);
  const Picture plain = Render(t, v);
  EXPECT_EQ(window.devicePixelRatio(), 1.0);
  EXPECT_TRUE(window == plain.image) << "the window's picture at ratio 1 must not change";
  KeepOnFailure(window, "ratio-one");
}

TEST(PixelRatio, RatioTwoIsTheSamePictureAtTwiceThePixels) {
  ViewSettings v;
  v.fillPatches = false;  // a wire frame: outlines on the background
  v.showScale = true;
  const TensorState t = UnitSphereTensor();
  const QImage one = RenderAtRatio(t, v, 1.0);
  const QImage two = RenderAtRatio(t, v, 2.0);
  ASSERT_EQ(two.size(), QSize(1600, 1200));
  EXPECT_EQ(two.devicePixelRatio(), 2.0);
  EXPECT_EQ(two.deviceIndependentSize(), QSizeF(800, 600));

  // The same picture: every extent doubles (to within the rounding of a point at each ratio).
  const Extent e1 = ExtentOf(one, v.background), e2 = ExtentOf(two, v.background);
  EXPECT_NEAR(e2.left, 2 * e1.left, 2);
  EXPECT_NEAR(e2.right, 2 * e1.right + 1, 2);
  EXPECT_NEAR(e2.top, 2 * e1.top, 2);
  EXPECT_NEAR(e2.bottom, 2 * e1.bottom + 1, 2);
  // The ruler's base line lies at Y = 488 at ratio 1 and at 976 in device pixels.
  EXPECT_TRUE(Is(two.pixel(1200, 976), v.axesColour));
  EXPECT_FALSE(Is(two.pixel(1200, 975), v.axesColour)) << "one device pixel thick";
  EXPECT_FALSE(Is(two.pixel(1200, 977), v.axesColour)) << "one device pixel thick";

  // Outlines stay one device pixel wide: twice as long, so about twice the pixels (an enlarged
  // picture would have four times as many).
  const double lines = static_cast<double>(Count(two, v.positiveLine)) / Count(one, v.positiveLine);
  EXPECT_GT(lines, 1.6);
  EXPECT_LT(lines, 2.6);
  // In an enlarged picture nearly every outline pixel would lie in a 2 x 2 block of outline; a
  // fine one has such blocks only where two lines run side by side (the overlapping edges of
  // neighbouring patches) or cross.
  int wide = 0;
  for (int y = 1; y + 1 < two.height(); ++y)
    for (int x = 1; x + 1 < two.width(); ++x)
      if (Is(two.pixel(x, y), v.positiveLine) && Is(two.pixel(x + 1, y), v.positiveLine) &&
          Is(two.pixel(x, y + 1), v.positiveLine) && Is(two.pixel(x + 1, y + 1), v.positiveLine))
        ++wide;
  EXPECT_LT(wide, Count(two, v.positiveLine) / 10) << "2 x 2 blocks of outline: an enlarged line";

  // Texts are drawn at twice the size: about four times the ink.
  auto ink = [](const QImage& image, int x0, int y0) {
    int n = 0;
    for (int y = y0; y < image.height(); ++y)
      for (int x = x0; x < image.width(); ++x) {
        const QRgb c = image.pixel(x, y);
        n += qRed(c) < 200 && qBlue(c) < 100;
      }
    return n;
  };
  const double text = static_cast<double>(ink(two, 800, 978)) / ink(one, 400, 489);
  EXPECT_GT(text, 3.0);
  EXPECT_LT(text, 5.5);
  KeepOnFailure(one, "ratio-one-wire");
  KeepOnFailure(two, "ratio-two-wire");
}

}  // namespace
}  // namespace quillmere
