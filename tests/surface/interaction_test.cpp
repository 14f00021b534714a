// Turning, shifting, zooming and lighting the view with the mouse and keys, and the switch rules.
#include "surface/interaction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace quillmere {
namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;
constexpr int kW = 800;
constexpr int kH = 600;

TEST(DragTurn, VerticalMotionTiltsMostAtTheCentreLineAndNotAtTheEdges) {
  DragOffsets offsets;
  DragOrigin origin;
  ViewSettings atEdge;
  BeginDrag(origin, 0, 300, kW, kH);
  DragTurn(atEdge, origin, offsets, 0, 240, kW, kH);
  EXPECT_NEAR(atEdge.angleX, 2.0L, 1e-15L) << "no tilt at the left edge";

  ViewSettings atCentre;
  BeginDrag(origin, kW / 2, 300, kW, kH);
  DragTurn(atCentre, origin, offsets, kW / 2, 240, kW, kH);
  // Ax = 4 at the centre line: 60 px up of 600 tilts by 4 * 60 / 600 = 0.4 rad.
  EXPECT_NEAR(atCentre.angleX, 2.0L - 0.4L, 1e-15L);
  // A purely vertical move is also a diagonal one: angleY = pi - 0.3 * (-60) / 800.
  EXPECT_NEAR(atCentre.angleY, kPi + 0.3L * 60 / kW, 1e-15L);
}

TEST(ZoomStep, TwoHundredPixelsDownDoublesAndUpNeverReachesZero) {
  ViewSettings view;
  view.zoom = 0.8L;
  DragOrigin origin;
  origin.y0 = 300;
  ZoomStep(view, origin, 500);
  EXPECT_NEAR(view.zoom, 1.6L, 1e-15L);
  EXPECT_EQ(origin.y0, 500);

  ZoomStep(view, origin, 300);  // 200 px up: the unguarded factor would be 0
  EXPECT_GT(view.zoom, 0.0L);
  const Real small = view.zoom;
  ZoomStep(view, origin, 500);
  EXPECT_NEAR(view.zoom, 2 * small, 1e-15L) << "zooms back from the shrunk picture";

  for (int i = 0; i < 100; ++i) ZoomStep(view, origin, origin.y0 - 1000);
  EXPECT_GE(view.zoom, kMinimumZoom);
  ZoomStep(view, origin, origin.y0 + 200);
  EXPECT_NEAR(view.zoom, 2 * kMinimumZoom, 1e-15L);
}

TEST(LightFromPointer, PointerAtTheCentreLightsFromTheFront) {
  ViewSettings view;
  LightFromPointer(view, kW / 2, kH / 2, kW, kH);
  EXPECT_NEAR(view.lightDirection[0], 0.0L, 1e-15L);
  EXPECT_NEAR(view.lightDirection[1], 0.0L, 1e-15L);
  EXPECT_NEAR(view.lightDirection[2], 1.0L, 1e-15L);
  LightFromPointer(view, kW, 0, kW, kH);  // (2.5, -2.5, 1) / sqrt(13.5)
  const Real n = std::sqrt(13.5L);
  EXPECT_NEAR(view.lightDirection[0], 2.5L / n, 1e-15L);
  EXPECT_NEAR(view.lightDirection[1], -2.5L / n, 1e-15L);
  EXPECT_NEAR(view.lightDirection[2], 1.0L / n, 1e-15L);
}

TEST(Switches, GridAndFillAreNeverBothOff) {
  ViewSettings view;
  view.showGrid = true;
  view.fillPatches = true;
  EXPECT_EQ(SetFillSwitch(view, false), ViewRedraw::kReproject);
  EXPECT_TRUE(view.showGrid);
  // Grid off while Fill is off turns Fill back on.
  EXPECT_EQ(SetGridSwitch(view, false), ViewRedraw::kReproject);
  EXPECT_FALSE(view.showGrid);
  EXPECT_TRUE(view.fillPatches);
  // Fill off while the grid is off turns the grid back on, which needs the outlines rebuilt.
  EXPECT_EQ(SetFillSwitch(view, false), ViewRedraw::kRebuild);
  EXPECT_TRUE(view.showGrid);
  EXPECT_FALSE(view.fillPatches);
  EXPECT_EQ(SetGridSwitch(view, true), ViewRedraw::kRebuild);
  EXPECT_EQ(SetFillSwitch(view, true), ViewRedraw::kReproject);

  EXPECT_EQ(SetAxesSwitch(view, view.showAxes), ViewRedraw::kNone);
  EXPECT_EQ(SetAxesSwitch(view, !view.showAxes), ViewRedraw::kRebuild);
}

}  // namespace
}  // namespace quillmere
