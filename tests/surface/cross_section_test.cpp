// Cross-sections: the kept resolution and the pictures of the three section views.
#include "surface/cross_section.h"

#include "surface/renderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace quillmere {
namespace {

TEST(CrossSection, ResolutionComesBackEvenWhenTheBuildFails) {
  ViewSettings view;
  view.resolution = 6;
  try {
    SectionResolution hold(view);
    EXPECT_EQ(view.resolution, kSectionResolution);
    throw std::runtime_error("Invalid floating point operation");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(view.resolution, 6);
}

/// Where the section curve crosses the picture's horizontal and vertical lines through the
/// origin (2a, 1.4a): its distance from the origin to the right, left, up and down, in units of
/// K·a, taken at the band's screen point nearest to each half-line.
struct BandReach {
  Real right = 0, left = 0, up = 0, down = 0;
  int positive = 0, negative = 0;
};

BandReach SectionReach(const TensorState& t, int mode) {
  ViewSettings view;
  view.showAxes = false;
  int crossSectionMode = kFullSurface;
  SavedViewAngles saved;
  EXPECT_TRUE(EnterCrossSection(view, crossSectionMode, saved, mode));
  SurfaceEvaluation evaluation;
  SceneList scene;
  {
    SectionResolution hold(view);
    SceneInputs in;
    in.tensor = &t;
    in.evaluation = &evaluation;
    in.view = &view;
    in.crossSectionMode = crossSectionMode;
    BuildScene(scene, in);
  }
  EXPECT_EQ(scene.count, 901u);
  const int a = 200;
  ProjectScene(scene, view, a, crossSectionMode, t);
  const Real ka = view.zoom * a;
  const Real ox = 2 * a, oy = 1.4L * a;
  BandReach r;
  Real offRight = 1e9, offLeft = 1e9, offUp = 1e9, offDown = 1e9;
  auto nearer = [](Real off, Real& best, Real reach, Real& out) {
    if (off < best) {
      best = off;
      out = reach;
    }
  };
  for (std::size_t i = 0; i < scene.count; ++i) {
    const ScenePolygon& p = scene.records[i];
    for (const ScreenPoint& s : p.screen) {
      const Real dx = s.x - ox, dy = s.y - oy;
      if (dx > 0) nearer(std::fabs(dy), offRight, dx / ka, r.right);
      if (dx < 0) nearer(std::fabs(dy), offLeft, -dx / ka, r.left);
      if (dy < 0) nearer(std::fabs(dx), offUp, -dy / ka, r.up);
      if (dy > 0) nearer(std::fabs(dx), offDown, dy / ka, r.down);
    }
    if (p.lineColour == view.positiveLine) ++r.positive;
    if (p.lineColour == view.negativeLine) ++r.negative;
  }
  return r;
}

// A diagonal second-rank tensor has the ellipse-like section r(u) = T11 u1² + T22 u2² in the
// plane z = 0 (Nye, Physical Properties of Crystals, ch. I §4: the representation surface of a
// symmetrical second-rank tensor). With x to the right and y up the curve reaches 1 on x and 4 on
// y; one pixel of rounding in K·a = 160 px is the tolerance.
TEST(CrossSectionPicture, ZSectionOfDiagonalTensorReachesItsComponents) {
  TensorState t;
  SetKind(t, 1);
  t.At(1, 1) = 1;
  t.At(2, 2) = 4;
  const BandReach r = SectionReach(t, kSectionZ);
  const Real px = 1.0L / 160;
  EXPECT_NEAR(r.right, 1.0L, px);
  EXPECT_NEAR(r.left, 1.0L, px);
  EXPECT_NEAR(r.up, 4.0L, px);
  EXPECT_NEAR(r.down, 4.0L, px);
  EXPECT_EQ(r.negative, 0);
  EXPECT_EQ(r.positive, 901);
}

// The X section shows crystal y to the right and z up; the Y section z to the right and x up.
TEST(CrossSectionPicture, XAndYSectionsShowTheirPlanesFaceOn) {
  TensorState t;
  SetKind(t, 1);
  t.At(1, 1) = 1;
  t.At(2, 2) = 2;
  t.At(3, 3) = 3;
  const Real px = 1.0L / 160;
  const BandReach x = SectionReach(t, kSectionX);
  EXPECT_NEAR(x.right, 2.0L, px);
  EXPECT_NEAR(x.up, 3.0L, px);
  const BandReach y = SectionReach(t, kSectionY);
  EXPECT_NEAR(y.right, 3.0L, px);
  EXPECT_NEAR(y.up, 1.0L, px);
}

// An odd-rank tensor changes sign with the direction, T(−u) = −T(u), so the two halves of the
// section carry the two colours.
TEST(CrossSectionPicture, OddRankSectionShowsBothColours) {
  TensorState t;
  SetKind(t, 8);  // ijk
  t.At(1, 1, 1) = 1;
  const BandReach r = SectionReach(t, kSectionZ);
  EXPECT_GT(r.positive, 300);
  EXPECT_GT(r.negative, 300);
  EXPECT_EQ(r.positive + r.negative, 901);
  EXPECT_NEAR(r.right, 1.0L, 1.0L / 160);
  EXPECT_NEAR(r.left, 1.0L, 1.0L / 160);
}

}  // namespace
}  // namespace quillmere
