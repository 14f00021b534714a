#include "surface/extremes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "files/tensor_file.h"
#include "fit/eigen3.h"
#include "support/surface_fixtures.h"
#include "support/test_support.h"
#include "surface/surface_map.h"

namespace quillmere {
namespace {

const SurfaceEvaluation kFree{};

double Length(const Direction& n) {
  return std::sqrt(static_cast<double>(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]));
}

bool Contains(const std::vector<Direction>& list, Direction n, double tolerance = 1e-7) {
  for (const Direction& d : list)
    if (std::fabs(static_cast<double>(d[0] - n[0])) < tolerance &&
        std::fabs(static_cast<double>(d[1] - n[1])) < tolerance &&
        std::fabs(static_cast<double>(d[2] - n[2])) < tolerance)
      return true;
  return false;
}

TEST(SurfaceExtremes, SecondRankExtremesAreTheLargestAndSmallestEigenvalues) {
  test::Random random(18);
  for (int trial = 0; trial < 40; ++trial) {
    TensorState t;
    t.rank = 2;
    Matrix3 m;
    for (int i = 0; i < 3; ++i)
      for (int j = i; j < 3; ++j) {
        m[i][j] = m[j][i] = random.Uniform(-3, 3);
        t.At(i + 1, j + 1) = t.At(j + 1, i + 1) = m[i][j];
      }
    const EigenSystem3 eigen = SymmetricEigen3(m);
    ASSERT_TRUE(eigen.computed);
    const SurfaceExtremes x = FindSurfaceExtremes(t, kFree);
    EXPECT_NEAR(static_cast<double>(x.largest.value), static_cast<double>(eigen.values[0]), 1e-9);
    EXPECT_NEAR(static_cast<double>(x.smallest.value), static_cast<double>(eigen.values[1]), 1e-9);
    // The direction is the principal axis (up to its sign) and the value is reached there.
    const Real along = x.largest.direction[0] * eigen.vectors[0][0] +
                       x.largest.direction[1] * eigen.vectors[0][1] +
                       x.largest.direction[2] * eigen.vectors[0][2];
    EXPECT_NEAR(std::fabs(static_cast<double>(along)), 1.0, 1e-6);
    EXPECT_NEAR(Length(x.smallest.direction), 1.0, 1e-15);
  }
}

TEST(SurfaceExtremes, HugeComponentsKeepTheRightDirections) {
  // A second-rank tensor diag(3, 1, 2) rotated by 30 degrees about z, times factors from the top
  // of the extended range: the largest value lies along (cos 30, sin 30, 0).
  for (const Real factor : {1.0L, 1e160L, 1e4000L}) {
    TensorState t;
    t.rank = 2;
    const Real c = std::sqrt(3.0L) / 2, s = 0.5L;
    t.At(1, 1) = (3 * c * c + s * s) * factor;
    t.At(2, 2) = (3 * s * s + c * c) * factor;
    t.At(1, 2) = t.At(2, 1) = 2 * c * s * factor;
    t.At(3, 3) = 2 * factor;
    const SurfaceExtremes x = FindSurfaceExtremes(t, kFree);
    EXPECT_NEAR(static_cast<double>(x.largest.value / factor), 3.0, 1e-9);
    EXPECT_NEAR(static_cast<double>(x.smallest.value / factor), 1.0, 1e-9);
    EXPECT_NEAR(std::fabs(static_cast<double>(x.largest.direction[0])), 0.8660254037844386, 1e-6)
        << static_cast<double>(std::log10(factor));
    EXPECT_NEAR(std::fabs(static_cast<double>(x.smallest.direction[1])), 0.8660254037844386, 1e-6)
        << static_cast<double>(std::log10(factor));
  }
}

// Longitudinal elastic stiffness of a cubic crystal along n, c(n) = c_ijkl n_i n_j n_k n_l:
// Nye, Physical Properties of Crystals (1957), ch. VIII, gives the directional form for cubic
// crystals, c(n) = c11 - 2 (c11 - c12 - 2 c44)(n1^2 n2^2 + n2^2 n3^2 + n3^2 n1^2), hence
// c11 along [100], (c11 + c12 + 2 c44)/2 along [110] and (c11 + 2 c12 + 4 c44)/3 along [111].
using test::CubicElastic;

TEST(SurfaceExtremes, CubicElasticConstantsFollowNyesDirectionalForm) {
  // Copper (GPa): c11 - c12 - 2 c44 < 0, so the stiffest direction is [111], the softest [100].
  const Real c11 = 168.4L, c12 = 121.4L, c44 = 75.4L;
  const SurfacePolynomial p(CubicElastic(c11, c12, c44), kFree);
  const Real s2 = 1 / std::sqrt(Real(2)), s3 = 1 / std::sqrt(Real(3));
  EXPECT_NEAR(static_cast<double>(p.Value(1, 0, 0)), 168.4, 1e-12);
  EXPECT_NEAR(static_cast<double>(p.Value(s2, s2, 0)),
              static_cast<double>((c11 + c12 + 2 * c44) / 2), 1e-12);
  EXPECT_NEAR(static_cast<double>(p.Value(s3, s3, s3)),
              static_cast<double>((c11 + 2 * c12 + 4 * c44) / 3), 1e-12);

  SurfaceExtremes x = FindSurfaceExtremes(CubicElastic(c11, c12, c44), kFree);
  EXPECT_NEAR(static_cast<double>(x.largest.value), 237.6, 1e-10);
  EXPECT_NEAR(static_cast<double>(x.smallest.value), 168.4, 1e-10);
  // Of the equal directions the one with the largest x, then y, then z is reported.
  EXPECT_TRUE(Contains({x.largest.direction}, {s3, s3, s3}));
  EXPECT_TRUE(Contains({x.smallest.direction}, {1, 0, 0}));
  EXPECT_EQ(x.largest.repeats.size(), 8u);   // the eight <111>
  EXPECT_EQ(x.smallest.repeats.size(), 6u);  // the six <100>

  // The opposite anisotropy (c11 - c12 - 2 c44 > 0) swaps the roles of [100] and [111].
  x = FindSurfaceExtremes(CubicElastic(300, 100, 20), kFree);
  EXPECT_NEAR(static_cast<double>(x.largest.value), 300, 1e-10);
  EXPECT_NEAR(static_cast<double>(x.smallest.value), (300 + 200 + 80) / 3.0, 1e-10);
}

TEST(SurfaceExtremes, QuartzPiezoelectricModuliPeakAlongXWithTheTrigonalRepeats) {
  // Point group 32: the longitudinal modulus is d11 x (x^2 - 3 y^2); d14 drops out.
  test::ShippedTable table;
  TensorState t;
  ResetComponents(t);
  ReadTensorFile(t, test::SourceDirectory() / "examples" / "quartz-piezoelectric.ten",
                 table.services);
  const Real d11 = t.At(1, 1, 1);
  ASSERT_GT(d11, 0);
  ASSERT_NE(t.At(1, 2, 3), 0);  // d14 is there
  const SurfaceExtremes x = FindSurfaceExtremes(t, kFree);
  EXPECT_NEAR(static_cast<double>(x.largest.value / d11), 1, 1e-12);
  EXPECT_TRUE(Contains({x.largest.direction}, {1, 0, 0}));
  const Real c = -0.5L, s = std::sqrt(Real(3)) / 2;
  EXPECT_TRUE(Contains(x.largest.repeats, {c, s, 0}));
  EXPECT_TRUE(Contains(x.largest.repeats, {c, -s, 0}));
  EXPECT_EQ(x.largest.repeats.size(), 3u);
  // Odd rank: the smallest is minus the largest, in the opposite directions.
  EXPECT_EQ(x.smallest.value, -x.largest.value);
  EXPECT_TRUE(Contains(x.smallest.repeats, {-1, 0, 0}));
}

TEST(SurfaceExtremes, RandomTensorsAgreeWithADenseSearch) {
  test::Random random(1818);
  for (int rank = 1; rank <= 5; ++rank)
    for (int trial = 0; trial < 6; ++trial) {
      TensorState t;
      t.rank = rank;
      for (Real& c : t.components) c = random.Uniform(-1, 1);
      const SurfacePolynomial p(t, kFree);
      Real gridMax = -1e300L, gridMin = 1e300L;
      constexpr int kRows = 180;
      for (int j = 0; j <= kRows; ++j)
        for (int k = 0; k < 2 * kRows; ++k) {
          const Real theta = j * M_PIl / kRows, phi = k * M_PIl / kRows;
          const Real v = p.Value(std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                                 std::cos(theta));
          gridMax = std::max(gridMax, v);
          gridMin = std::min(gridMin, v);
        }
      const SurfaceExtremes x = FindSurfaceExtremes(t, kFree);
      const double size = static_cast<double>(p.Magnitude());
      // Never below the best point of a 1-degree grid, and not far above it.
      EXPECT_GE(static_cast<double>(x.largest.value - gridMax), -1e-12 * size) << rank;
      EXPECT_LE(static_cast<double>(x.largest.value - gridMax), 2e-3 * size) << rank;
      EXPECT_LE(static_cast<double>(x.smallest.value - gridMin), 1e-12 * size) << rank;
      EXPECT_GE(static_cast<double>(x.smallest.value - gridMin), -2e-3 * size) << rank;
      for (const SurfaceExtreme* e : {&x.largest, &x.smallest}) {
        EXPECT_NEAR(Length(e->direction), 1.0, 1e-15);
        EXPECT_NEAR(static_cast<double>(p.Value(e->direction[0], e->direction[1], e->direction[2]) -
                                        e->value),
                    0, 1e-15 * size);
      }
      // The surface's own evaluation (single-precision directions) agrees at the stated place.
      EXPECT_NEAR(static_cast<double>(SurfaceValue(t, kFree, x.largest.direction[0],
                                                   x.largest.direction[1], x.largest.direction[2])),
                  static_cast<double>(x.largest.value), 1e-6 * size);
    }
}

TEST(SurfaceExtremes, FixedDirectionsAndDegenerateSurfaces) {
  // Rank 2 with its first index fixed along y: the value is T(2, j) n_j, a linear function
  // whose extremes are +-|T(2, .)| along +-T(2, .).
  TensorState t;
  t.rank = 2;
  t.At(2, 1) = 3;
  t.At(2, 3) = 4;
  t.At(1, 1) = 100;  // not seen with the first index along y
  SurfaceEvaluation e;
  e.anyDirectionFixed = true;
  e.fixedDirections[0].flag = "yes";
  e.fixedDirections[0].u[1] = 1;
  SurfaceExtremes x = FindSurfaceExtremes(t, e);
  EXPECT_NEAR(static_cast<double>(x.largest.value), 5, 1e-12);
  EXPECT_NEAR(static_cast<double>(x.smallest.value), -5, 1e-12);
  EXPECT_TRUE(Contains({x.largest.direction}, {0.6L, 0, 0.8L}));
  EXPECT_TRUE(Contains({x.smallest.direction}, {-0.6L, 0, -0.8L}));

  // Both positions fixed: the same value everywhere, reported along x.
  e.fixedDirections[1] = e.fixedDirections[0];
  t.At(2, 2) = -7;
  x = FindSurfaceExtremes(t, e);
  EXPECT_EQ(x.largest.value, -7);
  EXPECT_EQ(x.smallest.value, -7);
  EXPECT_TRUE(Contains({x.largest.direction}, {1, 0, 0}));

  // A zero tensor and an isotropic one are spheres; a not-a-number component gives no value.
  TensorState zero;
  zero.rank = 4;
  x = FindSurfaceExtremes(zero, kFree);
  EXPECT_EQ(x.largest.value, 0);
  EXPECT_EQ(x.smallest.value, 0);
  TensorState iso;
  iso.rank = 2;
  iso.At(1, 1) = iso.At(2, 2) = iso.At(3, 3) = 2;
  x = FindSurfaceExtremes(iso, kFree);
  EXPECT_NEAR(static_cast<double>(x.largest.value), 2, 1e-15);
  EXPECT_NEAR(static_cast<double>(x.smallest.value), 2, 1e-15);
  EXPECT_EQ(x.largest.repeats.size(), 1u);
  iso.At(1, 2) = std::numeric_limits<Real>::quiet_NaN();
  x = FindSurfaceExtremes(iso, kFree);
  EXPECT_TRUE(std::isnan(x.largest.value));
  EXPECT_TRUE(std::isnan(x.smallest.value));
}

TEST(SurfaceExtremes, AZeroSurfaceIsReportedAsZero) {
  // A Hall-like tensor [ij]k: antisymmetric in its first two indices, so T_ijk n_i n_j n_k
  // vanishes; its coefficients cancel only to rounding noise of the components.
  test::Random random(29);
  TensorState t;
  t.rank = 3;
  t.scale = 1.2e-3L;
  for (int i = 1; i <= 3; ++i)
    for (int j = i + 1; j <= 3; ++j)
      for (int k = 1; k <= 3; ++k) {
        t.At(i, j, k) = random.Uniform(-1, 1) * 1.2e-3L / 3;
        t.At(j, i, k) = -t.At(i, j, k) * (1 + 1e-17L);
      }
  const SurfaceExtremes x = FindSurfaceExtremes(t, kFree);
  EXPECT_TRUE(x.zero);
  EXPECT_EQ(x.largest.value, 0);
  EXPECT_EQ(x.smallest.value, 0);
  const MapGrid grid =
      ComputeMapGrid(SurfacePolynomial(t, kFree), MapProjection::EqualArea, false, 16);
  for (const Real v : grid.values) ASSERT_TRUE(std::isnan(v) || v == 0);
  // A tensor that is small but not cancelling is no zero surface.
  TensorState small;
  small.rank = 3;
  small.At(1, 2, 3) = 1e-30L;
  EXPECT_FALSE(FindSurfaceExtremes(small, kFree).zero);
}

TEST(SurfaceExtremes, NearlyIsotropicTensorsKeepTheirOwnExtremeDirection) {
  // T = I + e m m^T: the largest value 1 + e lies along m, and (1, 1, 1) comes within
  // 0.14 e of it; measured against the size of the values that is a tie, against the spread
  // it is not.
  const Real m[3] = {1 / std::sqrt(14.0L), 2 / std::sqrt(14.0L), 3 / std::sqrt(14.0L)};
  for (const Real e : {1e-10L, 1e-8L, 1e-3L}) {
    TensorState t;
    t.rank = 2;
    for (int i = 1; i <= 3; ++i)
      for (int j = 1; j <= 3; ++j) t.At(i, j) = (i == j) + e * m[i - 1] * m[j - 1];
    const SurfaceExtremes x = FindSurfaceExtremes(t, kFree);
    const Direction& n = x.largest.direction;
    const double cosine = std::fabs(static_cast<double>(n[0] * m[0] + n[1] * m[1] + n[2] * m[2]));
    EXPECT_GT(cosine, std::cos(1e-3)) << "e = " << static_cast<double>(e);
  }
}

TEST(SurfaceExtremes, OnAConeOfEqualMaximaTheLargestXThenYThenZIsNamed) {
  // f = -((1 - a) z^2 - a x^2 - a y^2)^2 is largest (0) on the cone z^2 = a: the point of it
  // with the largest x, then z, is (sqrt(1 - a), 0, sqrt(a)); no simple direction lies on it.
  const Real a = 0.3L;
  TensorState t;
  t.rank = 4;
  t.At(3, 3, 3, 3) = -(1 - a) * (1 - a);
  t.At(1, 1, 1, 1) = t.At(2, 2, 2, 2) = -a * a;
  t.At(1, 1, 3, 3) = t.At(2, 2, 3, 3) = 2 * a * (1 - a);
  t.At(1, 1, 2, 2) = -2 * a * a;
  const SurfaceExtremes x = FindSurfaceExtremes(t, kFree);
  const Direction& n = x.largest.direction;
  EXPECT_NEAR(static_cast<double>(x.largest.value), 0, 1e-12);
  EXPECT_NEAR(static_cast<double>(n[0]), std::sqrt(0.7), 1e-6);
  EXPECT_NEAR(static_cast<double>(n[1]), 0, 1e-6);
  EXPECT_NEAR(static_cast<double>(n[2]), std::sqrt(0.3), 1e-6);
  EXPECT_NEAR(static_cast<double>(x.smallest.value), -0.49, 1e-12);
}

}  // namespace
}  // namespace quillmere
