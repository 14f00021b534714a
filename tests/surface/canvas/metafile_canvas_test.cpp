// The metafile canvas's drawing at fractional coordinates, read back from the enhanced
// metafile's records: what a clip circle leaves of shapes and lines, in sixteenths of a pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "surface/qt/emf_canvas.h"

namespace quillmere {
namespace {

struct Record {
  uint32_t type;
  std::vector<int32_t> numbers;  // after type and size: 32-bit words, or 16-bit points widened
};

constexpr uint32_t kRectangle = 43, kPolygon16 = 86, kPolyline16 = 87;

/// The rectangle and 16-bit polygon and polyline records of an enhanced metafile: the box, or
/// the points as x, y pairs.
std::vector<Record> Shapes(const std::string& emf) {
  std::vector<Record> out;
  auto word = [&](std::size_t at) {
    uint32_t v;
    std::memcpy(&v, emf.data() + at, 4);
    return v;
  };
  for (std::size_t at = 0; at + 8 <= emf.size(); at += word(at + 4)) {
    const uint32_t type = word(at);
    if (type == kRectangle) {
      out.push_back({type, {}});
      for (int i = 0; i < 4; ++i)
        out.back().numbers.push_back(static_cast<int32_t>(word(at + 8 + 4 * i)));
    } else if (type == kPolygon16 || type == kPolyline16) {
      out.push_back({type, {}});
      const uint32_t count = word(at + 24);
      for (uint32_t i = 0; i < 2 * count; ++i) {
        int16_t v;
        std::memcpy(&v, emf.data() + at + 28 + 2 * i, 2);
        out.back().numbers.push_back(v);
      }
    }
    if (word(at + 4) == 0) break;
  }
  return out;
}

TEST(MetafileCanvasTest, AClipCircleCutsFilledShapesAndLinesAndEndsWithEndClip) {
  EmfCanvas canvas(200, 200, MetafileOptions{"Test", "", true});
  const Colour red = Colour::Exact(255, 0, 0);
  canvas.ClipToCircle({100, 100}, 50);
  canvas.FillRectF(0, 0, 200, 200, red);  // cut to the disc: a polygon
  canvas.FillRectF(90, 90, 20, 20, red);  // wholly inside: stays a rectangle
  canvas.FillRectF(0, 0, 20, 20, red);    // wholly outside: gone
  canvas.Lines({{{0, 100}, {200, 100}}, {{0, 0}, {10, 190}}}, Stroke{red, 1});
  canvas.EndClip();
  canvas.FillRectF(0, 0, 20, 20, red);
  const std::vector<Record> shapes = Shapes(canvas.Finish());

  ASSERT_EQ(shapes.size(), 4u);
  const int unit = 16, centre = 100 * unit;
  // The disc: corners on a circle just outside the clip's, going all round it.
  ASSERT_EQ(shapes[0].type, kPolygon16);
  const std::vector<int32_t>& disc = shapes[0].numbers;
  EXPECT_GE(disc.size(), 2u * 100);
  int32_t left = centre, right = centre;
  for (std::size_t i = 0; i < disc.size(); i += 2) {
    const double r = std::hypot(disc[i] - centre, disc[i + 1] - centre);
    EXPECT_NEAR(r, 50.0 * unit, 0.02 * 50 * unit) << "corner " << i / 2;
    left = std::min(left, disc[i]), right = std::max(right, disc[i]);
  }
  EXPECT_NEAR(right - left, 100 * unit, 2);
  EXPECT_EQ(shapes[1].type, kRectangle);
  EXPECT_EQ(shapes[1].numbers,
            (std::vector<int32_t>{90 * unit, 90 * unit, 110 * unit, 110 * unit}));
  // The horizontal line through the centre keeps its chord; the other misses the disc.
  ASSERT_EQ(shapes[2].type, kPolyline16);
  EXPECT_EQ(shapes[2].numbers, (std::vector<int32_t>{50 * unit, centre, 150 * unit, centre}));
  // After EndClip nothing is cut.
  EXPECT_EQ(shapes[3].numbers, (std::vector<int32_t>{0, 0, 20 * unit, 20 * unit}));
}

}  // namespace
}  // namespace quillmere
