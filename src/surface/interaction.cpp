#include "surface/interaction.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quillmere {

void BeginDrag(DragOrigin& origin, int x, int y, int width, int height) {
  origin.x0 = x;
  origin.y0 = y;
  origin.s0 = static_cast<Real>(x) + (static_cast<Real>(y) - static_cast<Real>(height) / 2) -
              static_cast<Real>(width) / 2;
}

void EndDrag(DragOffsets& offsets, const ViewSettings& view) {
  offsets.offZ = view.angleZ - kDragBaseAngleZ;
  offsets.offX = view.angleX - kDragBaseAngleX;
  offsets.offY = view.angleY - std::numbers::pi_v<Real>;
}

void PanTo(ViewSettings& view, int x, int y, int width) {
  if (width <= 0) return;
  const Real w = width;
  const Real k = view.zoom;
  view.shiftX = (x / w - 0.5L) * 5 * 0.8L / k;
  view.shiftY = (y / w - 0.35L) * 5 * 0.8L / k;
}

void ZoomStep(ViewSettings& view, DragOrigin& origin, int y) {
  const Real factor = std::max(kMinimumZoomFactor, static_cast<Real>(y - origin.y0) / 200 + 1);
  view.zoom = std::max(kMinimumZoom, view.zoom * factor);
  origin.y0 = y;
}

void WheelZoom(ViewSettings& view, int eighths) {
  DragOrigin origin;
  ZoomStep(view, origin, eighths / 3);
}

void DragTurn(ViewSettings& view, const DragOrigin& origin, const DragOffsets& offsets, int x,
              int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  const Real w = width;
  const Real h = height;
  const Real ax = (w / 2 - std::fabs(x - w / 2)) * 8 / w;
  const Real az = (h / 2 - std::fabs(y - h / 2)) * 8 / h;
  view.angleX = kDragBaseAngleX - ax * (origin.y0 - y) / h + offsets.offX;
  view.angleZ = kDragBaseAngleZ + az * (x - origin.x0) / w + offsets.offZ;
  view.angleY =
      std::numbers::pi_v<Real> - 0.3L * ((x + y - w / 2 - h / 2) - origin.s0) / w + offsets.offY;
}

void LightFromPointer(ViewSettings& view, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  const Real lx = (static_cast<Real>(x) / width - 0.5L) * 5;
  const Real ly = (static_cast<Real>(y) / height - 0.5L) * 5;
  const Real length = std::sqrt(lx * lx + ly * ly + 1);
  view.lightDirection[0] = lx / length;
  view.lightDirection[1] = ly / length;
  view.lightDirection[2] = 1 / length;
}

bool TurnByKey(ViewSettings& view, char key) {
  switch (key) {
    case 's':
      view.angleZ -= kKeyTurnStep;
      return true;
    case 'd':
      view.angleZ += kKeyTurnStep;
      return true;
    case 'e':
      view.angleX += kKeyTurnStep;
      return true;
    case 'x':
      view.angleX -= kKeyTurnStep;
      return true;
    case 'a':
      view.angleY += kKeyTurnStep;
      return true;
    case 'f':
      view.angleY -= kKeyTurnStep;
      return true;
    default:
      return false;
  }
}

ViewRedraw SetGridSwitch(ViewSettings& view, bool on) {
  view.showGrid = on;
  if (on) return ViewRedraw::kRebuild;
  if (!view.fillPatches) view.fillPatches = true;
  return ViewRedraw::kReproject;
}

ViewRedraw SetFillSwitch(ViewSettings& view, bool on) {
  view.fillPatches = on;
  if (!on && !view.showGrid) {
    view.showGrid = true;
    return ViewRedraw::kRebuild;
  }
  return ViewRedraw::kReproject;
}

ViewRedraw SetAxesSwitch(ViewSettings& view, bool on) {
  if (view.showAxes == on) return ViewRedraw::kNone;
  view.showAxes = on;
  return ViewRedraw::kRebuild;
}

}  // namespace quillmere
