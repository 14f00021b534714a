#include "surface/surface_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "support/test_support.h"

namespace quillmere {
namespace {

const SurfaceEvaluation kFree{};

TEST(SurfaceMap, ProjectionFormulasAndTheirInverse) {
  for (const MapProjection projection : {MapProjection::EqualArea, MapProjection::Stereographic}) {
    EXPECT_NEAR(static_cast<double>(MapRadius(projection, M_PIl / 2)), 1, 1e-15);
    EXPECT_EQ(MapRadius(projection, 0), 0);
    for (int k = 0; k <= 18; ++k) {
      const Real theta = k * M_PIl / 36, phi = 0.3L + k;
      const Real r = MapRadius(projection, theta);
      for (const bool lower : {false, true}) {
        Direction n;
        ASSERT_TRUE(MapDirection(projection, lower, r * std::cos(phi), r * std::sin(phi), n));
        // The direction is a unit vector at theta from +z (or from -z on the lower disc).
        EXPECT_NEAR(static_cast<double>(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1, 1e-15);
        EXPECT_NEAR(static_cast<double>(std::acos(lower ? -n[2] : n[2])),
                    static_cast<double>(theta), 1e-9);
        if (k > 0) {
          EXPECT_NEAR(static_cast<double>(std::atan2(n[1], n[0])),
                      static_cast<double>(std::remainder(phi, 2 * M_PIl)), 1e-12);
        }
        Real x, y;
        ASSERT_TRUE(MapPoint(projection, lower, n, x, y));
        EXPECT_NEAR(static_cast<double>(x), static_cast<double>(r * std::cos(phi)), 1e-15);
        EXPECT_NEAR(static_cast<double>(y), static_cast<double>(r * std::sin(phi)), 1e-15);
        // A direction of the other hemisphere does not show (the equator shows on both).
        EXPECT_EQ(MapPoint(projection, !lower, n, x, y), k == 18);
      }
    }
  }
  EXPECT_NEAR(static_cast<double>(MapRadius(MapProjection::EqualArea, M_PIl / 3)),
              std::sqrt(2.0) * 0.5, 1e-15);
  EXPECT_NEAR(static_cast<double>(MapRadius(MapProjection::Stereographic, M_PIl / 3)),
              std::tan(M_PI / 6), 1e-15);
}

/// Share of points with a positive value: on the upper disc (uniform in area) and on the upper
/// hemisphere (uniform in solid angle), both by seeded Monte Carlo.
void PositiveShares(const SurfacePolynomial& p, MapProjection projection, double& disc,
                    double& sphere) {
  test::Random random(2718);
  constexpr int kSamples = 200000;
  int inDisc = 0, positiveDisc = 0, positiveSphere = 0;
  while (inDisc < kSamples) {
    const double x = random.Uniform(-1, 1), y = random.Uniform(-1, 1);
    if (x * x + y * y > 1) continue;
    ++inDisc;
    Direction n;
    MapDirection(projection, false, x, y, n);
    positiveDisc += p.Value(n[0], n[1], n[2]) > 0;
  }
  for (int k = 0; k < kSamples; ++k) {
    double x, y, z;
    random.UnitVector(x, y, z);
    positiveSphere += p.Value(x, y, std::fabs(z)) > 0;
  }
  disc = positiveDisc / double(kSamples);
  sphere = positiveSphere / double(kSamples);
}

TEST(SurfaceMap, TheEqualAreaMapKeepsTheShareOfArea) {
  // 3 z^2 - 1 is positive within 54.7 degrees of +z: 1 - 1/sqrt(3) of the hemisphere.
  TensorState t;
  t.rank = 2;
  t.At(1, 1) = t.At(2, 2) = -1;
  t.At(3, 3) = 2;
  const SurfacePolynomial cone(t, kFree);
  double disc, sphere;
  PositiveShares(cone, MapProjection::EqualArea, disc, sphere);
  EXPECT_NEAR(sphere, 1 - 1 / std::sqrt(3.0), 0.005);
  EXPECT_NEAR(disc, sphere, 0.006);
  // The stereographic map shrinks the region near the pole: the shares differ.
  PositiveShares(cone, MapProjection::Stereographic, disc, sphere);
  EXPECT_GT(sphere - disc, 0.1);

  // The same holds for a lopsided random surface.
  test::Random random(99);
  TensorState r;
  r.rank = 3;
  for (Real& c : r.components) c = random.Uniform(-1, 1);
  r.At(3, 3, 3) += 0.8L;
  PositiveShares(SurfacePolynomial(r, kFree), MapProjection::EqualArea, disc, sphere);
  EXPECT_NEAR(disc, sphere, 0.006);
}

TEST(SurfaceMap, AUniaxialTensorGivesARadiallySymmetricMap) {
  // Hexagonal elastic constants (zinc, GPa) are transversely isotropic about z.
  TensorState t;
  t.rank = 4;
  const Real c11 = 165, c12 = 31.1L, c13 = 50, c33 = 61.8L, c44 = 39.6L, c66 = (c11 - c12) / 2;
  t.At(1, 1, 1, 1) = t.At(2, 2, 2, 2) = c11;
  t.At(3, 3, 3, 3) = c33;
  t.At(1, 1, 2, 2) = t.At(2, 2, 1, 1) = c12;
  for (int i = 1; i <= 2; ++i) {
    t.At(i, i, 3, 3) = t.At(3, 3, i, i) = c13;
    t.At(i, 3, i, 3) = t.At(i, 3, 3, i) = t.At(3, i, i, 3) = t.At(3, i, 3, i) = c44;
  }
  t.At(1, 2, 1, 2) = t.At(1, 2, 2, 1) = t.At(2, 1, 1, 2) = t.At(2, 1, 2, 1) = c66;
  const SurfacePolynomial p(t, kFree);
  for (const MapProjection projection : {MapProjection::EqualArea, MapProjection::Stereographic}) {
    const MapGrid grid = ComputeMapGrid(p, projection, false, 64);
    for (int row = 0; row < 64; ++row)
      for (int column = 0; column < 64; ++column) {
        // The cell turned by 90 degrees and the mirrored cell lie at the same radius.
        const double v = static_cast<double>(grid.At(row, column));
        EXPECT_NEAR(static_cast<double>(grid.At(column, 63 - row)), v, 1e-11);
        EXPECT_NEAR(static_cast<double>(grid.At(row, 63 - column)), v, 1e-11);
      }
    // Along a ray the value runs from c33 at the centre to c11 at the equator.
    Direction n;
    MapDirection(projection, false, 0, 0, n);
    EXPECT_NEAR(static_cast<double>(p.Value(n[0], n[1], n[2])), 61.8, 1e-12);
    MapDirection(projection, false, std::sqrt(0.5L), std::sqrt(0.5L), n);
    EXPECT_NEAR(static_cast<double>(p.Value(n[0], n[1], n[2])), 165, 1e-12);
  }
}

TEST(SurfaceMap, CsvRowsHoldTheSurfaceValueAtTheirDirection) {
  test::Random random(5);
  TensorState t;
  t.rank = 3;
  t.scale = 4;
  for (Real& c : t.components) c = random.Uniform(-2, 2);
  const SurfacePolynomial p(t, kFree);
  std::ostringstream out;
  WriteMapCsv(out, p, MapProjection::Stereographic, MapHemisphere::Both, 20);
  std::istringstream in(out.str());
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "x,y,nx,ny,nz,value");
  int rows = 0, lowerRows = 0;
  while (std::getline(in, line)) {
    double v[6];
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf,%lf,%lf", &v[0], &v[1], &v[2], &v[3],
                          &v[4], &v[5]),
              6)
        << line;
    ++rows;
    const bool lower = rows > 316;  // the upper disc's cells come first
    lowerRows += lower;
    EXPECT_LE(v[0] * v[0] + v[1] * v[1], 1);
    EXPECT_NEAR(v[2] * v[2] + v[3] * v[3] + v[4] * v[4], 1, 1e-11);
    EXPECT_TRUE(lower ? v[4] <= 0 : v[4] >= 0) << line;
    Real x, y;
    ASSERT_TRUE(MapPoint(MapProjection::Stereographic, lower, {v[2], v[3], v[4]}, x, y));
    EXPECT_NEAR(static_cast<double>(x), v[0], 1e-9);
    EXPECT_NEAR(static_cast<double>(y), v[1], 1e-9);
    // In the tensor's units: the drawn radius times the scale.
    EXPECT_NEAR(static_cast<double>(SurfaceValue(t, kFree, v[2], v[3], v[4]) * t.scale), v[5],
                1e-5);
  }
  EXPECT_EQ(rows, 2 * 316);  // cells of a 20 x 20 grid whose centres lie in the unit disc
  EXPECT_EQ(lowerRows, 316);
}

TEST(SurfaceMap, CsvValuesFollowFromTheirOwnColumnsToTheLastDigits) {
  // The value of each row, worked out again in extended precision from the row's direction as
  // printed, agrees far below the 1e-12 that 12 significant digits would allow.
  test::Random random(6);
  TensorState t;
  t.rank = 4;
  for (Real& c : t.components) c = random.Uniform(-2, 2);
  std::ostringstream out;
  WriteMapCsv(out, SurfacePolynomial(t, kFree), MapProjection::EqualArea, MapHemisphere::Upper, 16);
  std::istringstream in(out.str());
  std::string line;
  std::getline(in, line);
  Real largest = 0, worst = 0;
  while (std::getline(in, line)) {
    double v[6];
    ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf,%lf,%lf", &v[0], &v[1], &v[2], &v[3],
                          &v[4], &v[5]),
              6);
    const Real n[3] = {v[2], v[3], v[4]};
    Real want = 0;
    for (int i = 1; i <= 3; ++i)
      for (int j = 1; j <= 3; ++j)
        for (int k = 1; k <= 3; ++k)
          for (int l = 1; l <= 3; ++l)
            want += t.At(i, j, k, l) * n[i - 1] * n[j - 1] * n[k - 1] * n[l - 1];
    largest = std::max(largest, std::fabs(want));
    worst = std::max(worst, std::fabs(want - v[5]));
  }
  EXPECT_LT(static_cast<double>(worst), 1e-14 * static_cast<double>(largest));
}

TEST(SurfaceMap, ContoursAndLevels) {
  // A rank-1 tensor along x: the zero contour is the line x = 0, the 0.5 contour x = 0.5
  // sin(theta).
  TensorState t;
  t.rank = 1;
  t.At(1) = 1;
  const MapGrid grid =
      ComputeMapGrid(SurfacePolynomial(t, kFree), MapProjection::EqualArea, false, 50);
  const std::vector<ContourSegment> zero = ContourLines(grid, 0);
  EXPECT_EQ(zero.size(), 49u);  // one segment per row of cells
  for (const ContourSegment& s : zero) {
    EXPECT_NEAR(static_cast<double>(s.x0), 0, 1e-15);
    EXPECT_NEAR(static_cast<double>(s.x1), 0, 1e-15);
  }
  EXPECT_TRUE(ContourLines(grid, 2).empty());

  MapLevels levels = ContourLevels(-0.31L, 2.3L);
  EXPECT_NEAR(static_cast<double>(levels.step), 0.5, 1e-15);
  EXPECT_NEAR(static_cast<double>(levels.limit), 2.5, 1e-15);
  ASSERT_EQ(levels.levels.size(), 5u);
  EXPECT_NEAR(static_cast<double>(levels.levels.front()), 0, 1e-15);
  levels = ContourLevels(-237.6L, -168.4L);
  EXPECT_NEAR(static_cast<double>(levels.limit), 240, 1e-12);
  // Values of one sign spend the whole negative side of the colour scale on themselves.
  EXPECT_NEAR(static_cast<double>(levels.floor), 160, 1e-12);
  EXPECT_EQ(BandColour(levels, -237).Value(), DivergingColour(-0.12L - 0.88L * 0.9375L).Value());
  EXPECT_EQ(BandColour(levels, -161).Value(), DivergingColour(-0.12L - 0.88L / 16).Value());
  // Negative bands are darker than positive ones of the same size; zero is nearly white.
  for (const Real s : {0.2L, 0.5L, 0.9L}) {
    const Colour a = DivergingColour(s), b = DivergingColour(-s);
    EXPECT_GT(0.3 * a.red + 0.59 * a.green + 0.11 * a.blue,
              0.3 * b.red + 0.59 * b.green + 0.11 * b.blue + 15);
  }
  EXPECT_GT(DivergingColour(0).green, 240);
}

}  // namespace
}  // namespace quillmere
