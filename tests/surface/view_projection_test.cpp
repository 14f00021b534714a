#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "surface/projection.h"
#include "surface/view_settings.h"

namespace quillmere {
namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

TEST(ViewSettings, ResetViewRestoresItsListAndKeepsTheRest) {
  ViewSettings v;
  v.angleX = 0.1L, v.angleY = 0.2L, v.angleZ = 0.3L;
  v.shiftX = 1, v.shiftY = 2, v.shiftZ = 3;
  v.zoom = 3, v.eyeDistance = 2, v.resolution = 7;
  v.positiveFill = v.negativeFill = v.positiveLine = v.negativeLine = v.axesColour =
      Colour::Exact(1, 2, 3);
  v.background = Colour::Exact(9, 9, 9);
  v.showAxes = false, v.axesCaptionStyle = 3, v.showGrid = false;
  v.lightDirection[0] = 1, v.lightDirection[1] = 0, v.lightDirection[2] = 0;
  v.fillPatches = false, v.showScale = true, v.stereo = true, v.paletteMode = false;
  v.useAxesFont = true;
  v.axesFont.family = "Arial";

  ResetView(v);
  const ViewSettings d;
  EXPECT_EQ(v.angleX, 2.0L);
  EXPECT_EQ(v.angleY, kPi);
  EXPECT_EQ(v.angleZ, 4.28L);
  EXPECT_EQ(v.shiftX + v.shiftY + v.shiftZ, 0);
  EXPECT_EQ(v.zoom, 0.8L);
  EXPECT_EQ(v.eyeDistance, 50);
  EXPECT_EQ(v.resolution, 2);
  EXPECT_EQ(v.positiveFill, Colour::Exact(0, 255, 0));
  EXPECT_EQ(v.negativeLine, Colour::Exact(255, 0, 0));
  EXPECT_EQ(v.axesColour, Colour::Exact(0, 0, 255));
  EXPECT_EQ(v.background, Colour::Palette(255, 255, 254));
  EXPECT_TRUE(v.showAxes && v.showGrid);
  EXPECT_EQ(v.axesCaptionStyle, 1);
  // Left as they were.
  EXPECT_EQ(v.lightDirection[0], 1);
  EXPECT_FALSE(v.fillPatches);
  EXPECT_TRUE(v.showScale && v.stereo && v.useAxesFont);
  EXPECT_FALSE(v.paletteMode);
  EXPECT_EQ(v.axesFont.family, "Arial");
}

TEST(Colour, EqualOnlyWhenAllFourBytesAre) {
  EXPECT_NE(Colour::Exact(255, 255, 254), Colour::Palette(255, 255, 254));
  EXPECT_TRUE(Colour::Exact(255, 255, 254).SameRgb(Colour::Palette(255, 255, 254)));
  EXPECT_EQ(Colour::Palette(1, 2, 3).Value(), 0x02030201u);
  // Exact white is never the background; any other colour is taken as chosen.
  EXPECT_EQ(ChosenBackground(Colour::Exact(255, 255, 255)), Colour::Palette(255, 255, 254));
  EXPECT_EQ(ChosenBackground(Colour::Exact(0, 0, 0)), Colour::Exact(0, 0, 0));
}

TEST(Sliders, ShowTheStartViewAndMapBothWays) {
  // The start-up angles read as alpha 0, beta -25, gamma -25.
  EXPECT_EQ(AlphaSliderFromAngleY(kStartAngleY), kStartAlphaSlider);
  EXPECT_EQ(BetaSliderFromAngleX(kStartAngleX), kStartBetaSlider);
  EXPECT_EQ(GammaSliderFromAngleZ(kStartAngleZ), kStartGammaSlider);
  // Moving the beta or gamma slider to -25 gives whole degrees, not the start values.
  EXPECT_NEAR(static_cast<double>(AngleXFromBetaSlider(-25)), 115 * std::numbers::pi / 180, 1e-15);
  EXPECT_NEAR(static_cast<double>(AngleZFromGammaSlider(-25)), 245 * std::numbers::pi / 180, 1e-15);
  // The slider ends bound the angles: angleX 0..pi, angleY pi/2..3pi/2, angleZ pi..2pi.
  EXPECT_NEAR(static_cast<double>(AngleXFromBetaSlider(90)), 0, 1e-18);
  EXPECT_NEAR(static_cast<double>(AngleXFromBetaSlider(-90)), std::numbers::pi, 1e-15);
  EXPECT_NEAR(static_cast<double>(AngleYFromAlphaSlider(90)), std::numbers::pi / 2, 1e-15);
  EXPECT_NEAR(static_cast<double>(AngleYFromAlphaSlider(-90)), 1.5 * std::numbers::pi, 1e-15);
  EXPECT_NEAR(static_cast<double>(AngleZFromGammaSlider(-90)), std::numbers::pi, 1e-15);
  EXPECT_NEAR(static_cast<double>(AngleZFromGammaSlider(90)), 2 * std::numbers::pi, 1e-15);
  for (int p = -90; p <= 90; ++p) {
    EXPECT_EQ(AlphaSliderFromAngleY(AngleYFromAlphaSlider(p)), p);
    EXPECT_EQ(BetaSliderFromAngleX(AngleXFromBetaSlider(p)), p);
    EXPECT_EQ(GammaSliderFromAngleZ(AngleZFromGammaSlider(p)), p);
  }
  // Half degrees round to the even neighbour: 2.5 degrees of angleX shows as 90 - 2 = 88.
  EXPECT_EQ(BetaSliderFromAngleX(2.5L * kPi / 180), 88);
  EXPECT_EQ(BetaSliderFromAngleX(3.5L * kPi / 180), 86);
  const Real eyes[] = {2, 5, 10, 17, 26, 37, 50, 65, 82, 101};
  for (int p = 1; p <= 10; ++p) EXPECT_EQ(EyeDistanceFromPerspectiveSlider(p), eyes[p - 1]);
}

TEST(Projection, DefaultViewShowsCrystalZUpXTowardsTheViewerAndLeftYRight) {
  const ViewSettings v;
  const Projection p(v, 100);
  // The drawing frame reverses the crystal's first axis: crystal +x is drawing (-1, 0, 0).
  const ProjectedPoint x = p.Project(-1, 0, 0), y = p.Project(0, 1, 0), z = p.Project(0, 0, 1);
  EXPECT_LT(x.x, -30) << "crystal x to the left";
  EXPECT_GT(x.z, 70) << "crystal x towards the viewer";
  EXPECT_GT(y.x, 80) << "crystal y to the right";
  EXPECT_LT(z.y, -80) << "crystal z up the screen";
  EXPECT_GT(z.z, 30) << "crystal z slightly towards the viewer";
  EXPECT_LT(z.z, 50);
  // The rotation keeps lengths: z'' = a z' gives |z'| directly for a point on the z axis.
  const ViewMatrix& m = p.matrix();
  for (int c = 0; c < 3; ++c) {
    Real norm = 0;
    for (int r = 0; r < 3; ++r) norm += m.m[r][c] * m.m[r][c];
    EXPECT_NEAR(static_cast<double>(norm), 1, 1e-18);
  }
  // The origin lands at (2a, 1.4a).
  EXPECT_EQ(p.ToScreen(p.Project(0, 0, 0)), (ScreenPoint{200, 140}));
}

TEST(Projection, TurnsAboutZFirstAndShiftsLast) {
  ViewSettings v;
  v.angleX = 0, v.angleY = 0, v.angleZ = kPi / 2;
  v.eyeDistance = 1e30L;  // no perspective to speak of
  const Projection turnZ(v, 1);
  // Rz's first row is (c, s, 0): (1, 0, 0) goes to (0, -1, 0).
  ProjectedPoint q = turnZ.Project(1, 0, 0);
  EXPECT_NEAR(static_cast<double>(q.x), 0, 1e-18);
  EXPECT_NEAR(static_cast<double>(q.y), -1, 1e-18);
  // Then Rx(pi/2) takes (0, -1, 0) to (0, 0, 1): the z turn came first.
  v.angleX = kPi / 2;
  q = Projection(v, 1).Project(1, 0, 0);
  EXPECT_NEAR(static_cast<double>(q.z), 1, 1e-18);
  EXPECT_NEAR(static_cast<double>(q.y), 0, 1e-18);
  // The shift is not rotated.
  v.shiftX = 3;
  q = Projection(v, 1).Project(1, 0, 0);
  EXPECT_NEAR(static_cast<double>(q.x), 3, 1e-18);
}

TEST(Projection, PerspectiveNearAndAtTheEye) {
  ViewSettings v;
  v.angleX = v.angleY = v.angleZ = 0;
  v.eyeDistance = EyeDistanceFromPerspectiveSlider(1);  // E = 2
  v.zoom = 1;
  const Projection p(v, 100);
  // z' = 1.5 magnifies four times: 2 / (2 - 1.5).
  EXPECT_NEAR(static_cast<double>(p.Project(1, 0, 1.5L).x), 400, 1e-15);
  // Beyond the eye the point is mirrored.
  EXPECT_LT(p.Project(1, 0, 3).x, 0);
  // At the eye the division gives infinity, held at the screen limit, or not-a-number on the
  // axis itself, which marks the point as unusable instead of a garbage pixel.
  bool invalid = false;
  const ScreenPoint far = p.ToScreen(p.Project(1, 1, 2), &invalid);
  EXPECT_FALSE(invalid);
  EXPECT_EQ(far.x, kScreenLimit);
  EXPECT_EQ(far.y, kScreenLimit);
  p.ToScreen(p.Project(0, 0, 2), &invalid);
  EXPECT_TRUE(invalid);
}

TEST(Projection, ScreenRoundingHalvesToEven) {
  EXPECT_EQ(ScreenRound(2.5L), 2);
  EXPECT_EQ(ScreenRound(3.5L), 4);
  EXPECT_EQ(ScreenRound(-2.5L), -2);
  EXPECT_EQ(ScreenRound(-0.5L), 0);
  EXPECT_EQ(ScreenRound(1.4999999L), 1);
  EXPECT_EQ(ScreenRound(-7.6L), -8);
  EXPECT_EQ(ScreenRound(1e300L), kScreenLimit);
  EXPECT_EQ(ScreenRound(-INFINITY), -kScreenLimit);
  EXPECT_EQ(RoundToEven(4611686018427387903.0L), 4611686018427387903LL);
}

TEST(Projection, StereoImagesAndLightFactor) {
  ViewSettings v;
  v.stereo = true;
  const int a = PictureSizeParameter(600, v.stereo);
  EXPECT_EQ(a, 100);
  EXPECT_EQ(PictureSizeParameter(600, false), 150);
  // The shift acts after the turn: the origin of each image moves by the shift times K a.
  v.shiftX = kStereoFirstShift;
  EXPECT_EQ(Projection(v, a).ToScreen(Projection(v, a).Project(0, 0, 0)).x, 200 + 200);
  v.shiftX = -kStereoSecondShift;
  EXPECT_EQ(Projection(v, a).ToScreen(Projection(v, a).Project(0, 0, 0)).x, 200 - 56);

  const Real light[3] = {0, 0, 1};
  const Real towards[3] = {0, 0, 5}, away[3] = {0, 0, -2}, side[3] = {3, 0, 0}, none[3] = {0, 0, 0};
  EXPECT_NEAR(static_cast<double>(LightFactor(light, towards)), 1, 1e-18);
  EXPECT_NEAR(static_cast<double>(LightFactor(light, away)), 0, 1e-18);
  EXPECT_NEAR(static_cast<double>(LightFactor(light, side)), 0.5, 1e-18);
  EXPECT_NEAR(static_cast<double>(LightFactor(light, none)), 0.5, 1e-18);
}

}  // namespace
}  // namespace quillmere
