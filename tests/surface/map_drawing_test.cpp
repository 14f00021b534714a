#include "surface/map_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/surface_fixtures.h"

namespace quillmere {
namespace {

/// Records where the map draws, with text measured as half its size per character.
class ShapeRecorder : public VectorCanvas {
 public:
  ShapeRecorder(int width, int height) : width_(width), height_(height) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void FillRectangle(int x0, int y0, int x1, int y1, const Pen&, const Brush&) override {
    Cover(x0, y0), Cover(x1, y1);
  }
  void Polygon(const ScreenPoint p[4], const Pen&, const Brush&) override {
    for (int i = 0; i < 4; ++i) Cover(p[i].x, p[i].y);
  }
  void Text(int x, int y, const std::string&, const LabelFont&, int) override { Cover(x, y); }
  void SetSmoothing(bool) override {}
  void FillRectF(double x, double y, double w, double h, Colour) override {
    Cover(x, y), Cover(x + w, y + h);
  }
  void OutlineRectF(double x, double y, double w, double h, const Stroke&) override {
    Cover(x, y), Cover(x + w, y + h);
  }
  void Circle(PointF c, double r, const Stroke&) override {
    Cover(c.x - r, c.y - r), Cover(c.x + r, c.y + r);
  }
  void Lines(const std::vector<LineF>& lines, const Stroke&) override {
    for (const LineF& l : lines) Cover(l.from.x, l.from.y), Cover(l.to.x, l.to.y);
  }
  void PolygonF(const std::vector<PointF>& points, const Stroke&, Colour fill) override {
    for (const PointF& p : points) Cover(p.x, p.y);
    (fill == Colour::Exact(20, 20, 20) ? largestMarks : smallestMarks)++;
  }
  void ClipToCircle(PointF, double) override {
    EXPECT_FALSE(clipped) << "clips do not nest";
    clipped = true;
  }
  void EndClip() override {
    EXPECT_TRUE(clipped);
    clipped = false;
  }
  void SetFace(double pixels) override { face = pixels; }
  void TextAt(double x, double y, const std::string& text, Colour) override {
    EXPECT_GT(face, 0) << "text before a face: " << text;
    Cover(x, y - face), Cover(x + TextWidth(text, face), y);
    texts.push_back(text);
  }
  double TextWidth(const std::string& text, double pixels) const override {
    return 0.5 * pixels * static_cast<double>(text.size());
  }
  FontMeasure Measure(double pixels) const override {
    return {0.8 * pixels, 0.2 * pixels, 1.2 * pixels};
  }

  double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9, face = 0;
  bool clipped = false;
  int largestMarks = 0, smallestMarks = 0;
  std::vector<std::string> texts;

 private:
  void Cover(double x, double y) {
    left = std::min(left, x), right = std::max(right, x);
    top = std::min(top, y), bottom = std::max(bottom, y);
  }
  int width_, height_;
};

TEST(MapDrawing, EveryLayoutStaysOnItsPictureAndMarksTheExtremes) {
  // Copper-like constants: the largest value along the four <111> directions of a hemisphere,
  // each marked on the disc, and once more in the legend below.
  TensorState t = test::CubicElastic(168.4, 121.4, 75.4);
  t.unitText = "GPa";
  for (const MapHemisphere h : {MapHemisphere::Upper, MapHemisphere::Lower, MapHemisphere::Both}) {
    for (const bool vector : {false, true}) {
      SCOPED_TRACE(static_cast<int>(h) * 2 + vector);
      const int width = 400;
      ShapeRecorder c(width, MapPictureHeight(width, h));
      MapPictureOptions o;
      o.hemisphere = h;
      PaintMap(c, t, SurfaceEvaluation{}, o, vector);
      EXPECT_FALSE(c.clipped);
      EXPECT_GE(c.left, 0);
      EXPECT_GE(c.top, 0);
      EXPECT_LE(c.right, c.Width());
      EXPECT_LE(c.bottom, c.Height());
      const int discs = h == MapHemisphere::Both ? 2 : 1;
      EXPECT_EQ(c.largestMarks, 4 * discs + 1);
      EXPECT_EQ(std::count(c.texts.begin(), c.texts.end(), " GPa"), 1) << "the bar's unit";
    }
  }
}

}  // namespace
}  // namespace quillmere
