#include "fit/fixed_directions.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/user_messages.h"

namespace quillmere {
namespace {

/// The fixed-direction grid as the apply reads it: flag and cosine texts by (column, row).
struct Grid {
  std::map<std::pair<int, int>, std::string> cells;
  void Row(int p, const std::string& flag, const std::string& u1, const std::string& u2,
           const std::string& u3) {
    cells[{1, p}] = flag;
    cells[{2, p}] = u1;
    cells[{3, p}] = u2;
    cells[{4, p}] = u3;
  }
  std::string Cell(int c, int r) const {
    const auto it = cells.find({c, r});
    return it == cells.end() ? std::string("no") : it->second;
  }
};

struct Apply {
  RecordingMessages messages;
  CoreServices services;
  SurfaceEvaluation e;
  Apply() { services.messages = &messages; }
  void Run(Grid& g) {
    ApplyFixedDirectionGrid(
        e, [&](int c, int r) { return g.Cell(c, r); },
        [&](int r, const std::string& flag) {
          g.cells[{1, r}] = flag;
        },
        services);
  }
};

TEST(FixedDirections, RowsAreNormalisedInSinglePrecision) {
  Grid g;
  g.Row(1, "yes", "1", "1", "0");
  g.Row(3, "yes", "0", "0", "-4");
  Apply a;
  a.Run(g);
  EXPECT_TRUE(a.e.anyDirectionFixed);
  const FixedDirection& i = a.e.fixedDirections[0];
  EXPECT_EQ(i.flag, "yes");
  // 1/sqrt(2) rounded to single precision, as stored and shown: 0.70710677.
  EXPECT_EQ(i.u[0], 0.70710677f);
  EXPECT_EQ(i.u[1], 0.70710677f);
  EXPECT_EQ(i.u[2], 0.0f);
  EXPECT_EQ(a.e.fixedDirections[2].u[2], -1.0f);
  EXPECT_EQ(a.e.fixedDirections[1].flag, "no");
  EXPECT_TRUE(a.messages.shown.empty());
}

TEST(FixedDirections, FlagMustReadExactlyYes) {
  Grid g;
  g.Row(1, "Yes", "0", "0", "1");
  g.Row(2, "yes ", "0", "0", "1");
  g.Row(3, "maybe", "0", "0", "1");
  Apply a;
  a.e.fixedDirections[1].u[0] = 0.5f;  // untouched cosines of rows that are not fixed
  a.Run(g);
  EXPECT_FALSE(a.e.anyDirectionFixed);
  EXPECT_EQ(a.e.fixedDirections[0].flag, "Yes");
  EXPECT_EQ(a.e.fixedDirections[1].flag, "no");
  EXPECT_EQ(a.e.fixedDirections[1].u[0], 0.5f);
  EXPECT_EQ(a.e.fixedDirections[2].flag, "may");  // cut to three characters
  EXPECT_EQ(a.e.fixedDirections[0].u[2], 0.0f);
}

TEST(FixedDirections, ZeroRowIsToldAndFreedAndTheApplyGoesOn) {
  Grid g;
  g.Row(2, "yes", "0", "0", "0");
  g.Row(4, "yes", "0", "2", "0");
  Apply a;
  a.Run(g);
  ASSERT_EQ(a.messages.shown.size(), 1u);
  EXPECT_EQ(a.messages.shown[0], "the direction for index2 is undefined");
  EXPECT_EQ(a.e.fixedDirections[1].flag, "no");
  EXPECT_EQ(g.Cell(1, 2), "no");
  EXPECT_EQ(a.e.fixedDirections[3].flag, "yes");
  EXPECT_EQ(a.e.fixedDirections[3].u[1], 1.0f);
  EXPECT_TRUE(a.e.anyDirectionFixed);

  // A direction whose length is no finite number would make every value undefined.
  SurfaceEvaluation e;
  EXPECT_FALSE(FixDirection(e, 1, 1e39L, 0, 0));
  EXPECT_FALSE(FixDirection(e, 1, 1e-50L, 0, 0));
  EXPECT_TRUE(FixDirection(e, 1, 1e-30L, 0, 0));
  EXPECT_EQ(e.fixedDirections[0].u[0], 1.0f);
}

TEST(FixedDirections, BadCosineStopsTheApplyAtThatRow) {
  Grid g;
  g.Row(1, "yes", "1", "0", "0");
  g.Row(2, "yes", "0", "x", "0");
  g.Row(3, "yes", "0", "0", "1");
  Apply a;
  a.e.anyDirectionFixed = true;
  try {
    a.Run(g);
    FAIL() << "no conversion error";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "'x' is not a valid floating point value");
  }
  EXPECT_TRUE(a.e.anyDirectionFixed);            // from row 1, read before the failing cell
  EXPECT_EQ(a.e.fixedDirections[2].flag, "no");  // row 3 was not read
  EXPECT_EQ(a.e.fixedDirections[2].u[2], 0.0f);

  // Without a good row before the failing one, nothing is fixed.
  Grid bad;
  bad.Row(1, "yes", "0", "0", "z");
  Apply b;
  b.e.anyDirectionFixed = true;
  EXPECT_THROW(b.Run(bad), std::runtime_error);
  EXPECT_FALSE(b.e.anyDirectionFixed);
}

TEST(FixedDirections, PositionsByNameOrNumber) {
  EXPECT_EQ(IndexPositionOf("i"), 1);
  EXPECT_EQ(IndexPositionOf("m"), 5);
  EXPECT_EQ(IndexPositionOf("3"), 3);
  EXPECT_EQ(IndexPositionOf("6"), 0);
  EXPECT_EQ(IndexPositionOf("I"), 0);
  EXPECT_EQ(IndexPositionOf(""), 0);
}

}  // namespace
}  // namespace quillmere
