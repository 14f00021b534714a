#include "surface/pointer_readout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/surface_fixtures.h"
#include "surface/derived_surface.h"
#include "surface/renderer.h"

namespace quillmere {
namespace {

using Vec = std::array<Real, 3>;

/// Where the surface point along the crystal direction c lies in the picture, unrounded, by the
/// screen mapping projection.h states: X = r (K x'' + 2a), Y = r (K y'' + 1.4a).
std::array<Real, 2> PictureOf(const Vec& c, Real radius, const ViewSettings& v, int a, Real ratio) {
  const Projection p(v, a, ratio);
  const ProjectedPoint q = p.Project(-radius * c[0], radius * c[1], radius * c[2]);
  return {ratio * (v.zoom * q.x + 2 * a), ratio * (v.zoom * q.y + 1.4L * a)};
}

Vec Unit(Real x, Real y, Real z) {
  const Real n = std::sqrt(x * x + y * y + z * z);
  return {x / n, y / n, z / n};
}

// Silicon's stiffness (GPa); along <111> a cubic crystal's longitudinal stiffness is
// (c11 + 2 c12 + 4 c44) / 3 (Nye, Physical Properties of Crystals, ch. VIII).
TEST(PointerReadout, DirectionsRoundTripThroughTheProjectionOfEitherStereoImage) {
  constexpr Real c11 = 165.7L, c12 = 63.9L, c44 = 79.6L;
  TensorState t = test::CubicElastic(c11, c12, c44);
  t.scale = 200;
  const PicturePlace picture{800, 600, 1.25L};
  for (const bool stereo : {false, true}) {
    SCOPED_TRACE(stereo ? "stereo pair" : "single picture");
    ViewSettings v;
    v.stereo = stereo;
    SceneList scene = test::BuildSceneFor(t, v);
    const int a = PictureSizeParameter(picture.width, stereo);
    ProjectScene(scene, v, a, kFullSurface, t, '.', picture.pixelRatio);

    // The body diagonal that faces the viewer most, and two directions around the view axis.
    const ViewMatrix m = BuildViewMatrix(v);
    const auto towardsViewer = [&](const Vec& c) {
      return -m.m[2][0] * c[0] + m.m[2][1] * c[1] + m.m[2][2] * c[2];
    };
    Vec diagonal{};
    for (int signs = 0; signs < 8; ++signs) {
      const Vec c = Unit(signs & 1 ? -1 : 1, signs & 2 ? -1 : 1, signs & 4 ? -1 : 1);
      if (towardsViewer(c) > towardsViewer(diagonal)) diagonal = c;
    }
    const Vec axis = Unit(-m.m[2][0], m.m[2][1], m.m[2][2]);
    const std::vector<Vec> directions = {diagonal, Unit(axis[0] + 0.3L, axis[1], axis[2] - 0.2L),
                                         Unit(axis[0], axis[1] - 0.4L, axis[2] + 0.1L)};
    for (std::size_t k = 0; k < directions.size(); ++k) {
      const Vec& c = directions[k];
      const Real radius = std::fabs(ShownValue(t, {})(c)) / t.scale;
      // In a stereo pair the second direction is pointed at in the first image.
      ViewSettings image = v;
      if (stereo) image.shiftX += k == 1 ? kStereoFirstShift : -kStereoSecondShift;
      const std::array<Real, 2> at = PictureOf(c, radius, image, a, picture.pixelRatio);
      const std::optional<PointedSurface> found =
          SurfaceUnderPoint(scene, v, picture, kFullSurface, t, {}, at[0], at[1]);
      ASSERT_TRUE(found) << at[0] << ", " << at[1];
      for (int i = 0; i < 3; ++i) EXPECT_NEAR(found->direction[i], c[i], 1e-7) << "component " << i;
      const Real diagonalValue = (c11 + 2 * c12 + 4 * c44) / 3;
      if (k == 0) {
        EXPECT_NEAR(found->value, diagonalValue, 1e-9 * diagonalValue);
      }
    }
    // Beside the surface, in the picture's corner, there is nothing to read.
    EXPECT_FALSE(SurfaceUnderPoint(scene, v, picture, kFullSurface, t, {}, 2, 2));
  }
}

TEST(PointerReadout, SectionCurveIsFoundFromAFewPixelsBesideIt) {
  const TensorState t = test::UnitSphereTensor();  // the section is the unit circle
  ViewSettings v;
  v.angleX = v.angleY = v.angleZ = 0;  // looking down the z axis
  SceneList scene = test::BuildSceneFor(t, v, kSectionZ);
  const PicturePlace picture{800, 600, 1};
  const int a = PictureSizeParameter(picture.width, false);
  ProjectScene(scene, v, a, kSectionZ, t);
  const Vec c = Unit(0.6L, 0.8L, 0);
  for (const Real pixels : {2, 10}) {
    // Radially outwards from the curve's point along c, by this many pixels.
    const Real beside = 1 + pixels / (v.zoom * a);  // in the plane z = 0 a unit is K a pixels
    const std::array<Real, 2> at = PictureOf(c, beside, v, a, 1);
    const auto found = SurfaceUnderPoint(scene, v, picture, kSectionZ, t, {}, at[0], at[1]);
    if (pixels > 3) {
      EXPECT_FALSE(found) << "10 pixels away";
      continue;
    }
    ASSERT_TRUE(found);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(found->direction[i], c[i], 1e-3) << "component " << i;
    EXPECT_NEAR(found->value, 1, 1e-12);
  }
}

TEST(PointerReadout, TextNamesDirectionAnglesAndValueInThePanelsUnit) {
  const Real s = 1 / std::sqrt(3.0L);
  EXPECT_EQ(PointerReadoutText({{s, s, s}, 2.3456e9L}, 9, "Pa", '.'),
            "Direction [0.577, 0.577, 0.577] (θ 54.7°, φ 45.0°): 2.346 × 10⁹ Pa");
  EXPECT_EQ(PointerReadoutText({{0, -1, 0}, -0.5L}, 0, "", ','),
            "Direction [0,000; -1,000; 0,000] (θ 90,0°, φ 270,0°): -0,5");
  EXPECT_EQ(PointerReadoutText({{0, 0, -1}, 1.5e-12L}, -12, "C/N", '.'),
            "Direction [0.000, 0.000, -1.000] (θ 180.0°, φ 0.0°): 1.5 × 10⁻¹² C/N");
}

}  // namespace
}  // namespace quillmere
