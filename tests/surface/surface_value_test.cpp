#include "surface/surface_value.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace quillmere {
namespace {

/// The longitudinal value written out as the plain r-fold sum, for comparison.
Real NaiveValue(const TensorState& t, const Real s[5][3]) {
  Real sum = 0;
  const int r = t.rank;
  int idx[5] = {1, 1, 1, 1, 1};
  const int count = static_cast<int>(std::pow(3, r));
  for (int q = 0; q < count; ++q) {
    int rest = q;
    for (int p = r - 1; p >= 0; --p) {
      idx[p] = rest % 3 + 1;
      rest /= 3;
    }
    Real term = t.At(idx[0], idx[1], idx[2], idx[3], idx[4]);
    for (int p = 0; p < r; ++p) term *= s[p][idx[p] - 1];
    sum += term / t.scale;
  }
  return sum;
}

TEST(SurfaceValue, MatchesTheFullContractionForEveryRank) {
  test::Random random(7);
  SurfaceEvaluation e;
  for (int rank = 1; rank <= 5; ++rank) {
    TensorState t;
    t.rank = rank;
    t.scale = 2.5L;
    for (Real& c : t.components) c = random.Uniform(-1, 1);
    for (int trial = 0; trial < 20; ++trial) {
      double x, y, z;
      random.UnitVector(x, y, z);
      Real s[5][3];
      for (auto& slot : s) {
        slot[0] = static_cast<float>(x);
        slot[1] = static_cast<float>(y);
        slot[2] = static_cast<float>(z);
      }
      const Real want = NaiveValue(t, s);
      EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, x, y, z)), static_cast<double>(want),
                  1e-15)
          << "rank " << rank;
    }
  }
}

TEST(SurfaceValue, HandComputedValues) {
  SurfaceEvaluation e;
  TensorState t;
  t.rank = 2;
  t.At(1, 1) = 1;
  t.At(2, 2) = 4;
  EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, 0, 1, 0)), 4.0, 1e-15);
  // Along (1,1,0)/sqrt2: (1 + 4) / 2.
  const double h = std::sqrt(0.5);
  EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, h, h, 0)), 2.5, 1e-7);
  // The drawing frame mirrors the first axis: an odd rank changes sign, an even one does not.
  TensorState v;
  v.rank = 1;
  v.At(1) = 3;
  EXPECT_NEAR(static_cast<double>(ValueAtDrawDirection(v, e, 1, 0, 0)), -3.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(ValueAtDrawDirection(t, e, 0, 1, 0)), 4.0, 1e-15);
  TensorState none;
  none.rank = 0;
  EXPECT_EQ(ValueAtDrawDirection(none, e, 1, 0, 0), 0);
}

TEST(SurfaceValue, FixedDirections) {
  SurfaceEvaluation e;
  e.anyDirectionFixed = true;
  e.fixedDirections[0].flag = "yes";
  e.fixedDirections[0].u[2] = 1.0f;  // i held along z
  TensorState t;
  t.rank = 2;
  t.At(3, 1) = 2;
  t.At(1, 1) = 5;
  // T3j u_j: along x gives T31.
  EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, 1, 0, 0)), 2.0, 1e-15);
  // All used positions fixed: the same value in every direction.
  e.fixedDirections[1].flag = "yes";
  e.fixedDirections[1].u[0] = 1.0f;
  EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, 0, 0.6, 0.8)), 2.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, 1, 0, 0)), 2.0, 1e-15);
  // Rank 1 ignores fixed directions; a flag other than "yes" leaves a position free.
  TensorState v;
  v.rank = 1;
  v.At(2) = 1;
  EXPECT_NEAR(static_cast<double>(SurfaceValue(v, e, 0, 1, 0)), 1.0, 1e-15);
  e.fixedDirections[0].flag = "Yes";
  e.fixedDirections[1].flag = "no";
  EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, 1, 0, 0)), 5.0, 1e-15);
}

TEST(SurfaceValue, PrintableExportKeepsValuesAwayFromZero) {
  SurfaceEvaluation e;
  e.printableExport = true;
  TensorState t;
  t.rank = 1;
  t.At(1) = 0.05L;
  EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, 1, 0, 0)), 0.1, 1e-18);
  EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, 0, 1, 0)), -0.1, 1e-18) << "0 -> -0.1";
  EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, -1, 0, 0)), -0.1, 1e-18);
  t.At(1) = 0.1L;
  EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, 1, 0, 0)), 0.1, 1e-18);
  t.At(1) = 0.5L;
  EXPECT_NEAR(static_cast<double>(SurfaceValue(t, e, -1, 0, 0)), -0.5, 1e-18);
}

}  // namespace
}  // namespace quillmere
