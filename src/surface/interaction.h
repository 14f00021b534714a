// What the mouse, the rotation keys and the view switches do to the view settings: the arithmetic
// of turning, shifting, zooming and lighting the surface, and the rules that keep the grid and
// fill switches from both being off. The main window calls these from its event handlers and
// then asks for the redraw that each returns or documents.
//
// Units: pointer positions and window sizes in window pixels (X to the right, Y downward);
// angles in radians; shifts in scale units. Nothing here throws.
#pragma once

#include "surface/view_settings.h"

namespace quillmere {

/// The pointer position at mouse-down (DragOrigin). s0 = x0 + y0 − W/2 − H/2 is the reference of
/// the diagonal turn; y0 is also moved by every zoom step.
struct DragOrigin {
  int x0 = 0;
  int y0 = 0;
  Real s0 = 0;
};

/// DragOffsets: the rotation gathered by earlier drags, added to the one computed during a drag,
/// so that a new drag continues from the current view.
struct DragOffsets {
  Real offX = 0;
  Real offY = 0;
  Real offZ = 0;
};

/// The base angles of the drag formulas (the start-up view).
constexpr Real kDragBaseAngleX = 2.0L;
constexpr Real kDragBaseAngleZ = 4.28L;
/// Angle step of one rotation key, radians (about 2.9°).
constexpr Real kKeyTurnStep = 0.05L;
/// Smallest zoom that a zoom step leaves; the picture can always be zoomed back from here.
constexpr Real kMinimumZoom = 0.01L;
/// Smallest factor of one zoom step (the pointer far above the last recorded position).
constexpr Real kMinimumZoomFactor = 0.1L;
/// Least time between two zoom steps, milliseconds.
constexpr int kZoomStepInterval = 200;

/// Mouse-down without Alt: records the drag origin.
void BeginDrag(DragOrigin& origin, int x, int y, int width, int height);

/// Mouse-up without Alt: folds the current angles into the drag offsets.
void EndDrag(DragOffsets& offsets, const ViewSettings& view);

/// Right-button pan: the shift that puts the scene origin under the pointer. Depends only on the
/// pointer position (both coordinates are divided by the width).
void PanTo(ViewSettings& view, int x, int y, int width);

/// One Alt zoom step: zoom is multiplied by (y − y0)/200 + 1 and y0 becomes y. 200 pixels below
/// y0 double the zoom. The factor is kept at least kMinimumZoomFactor and the zoom at least
/// kMinimumZoom, so pointing far above y0 shrinks the picture without letting the zoom reach 0 or
/// turn negative (which would leave nothing to zoom back from, or mirror the picture).
void ZoomStep(ViewSettings& view, DragOrigin& origin, int y);

/// A turn of the mouse wheel as one Alt zoom step: `eighths` of a degree (120 a notch, positive
/// away from the user) count as a pointer move of eighths / 3 pixels downward, so a notch away
/// enlarges the picture by 1.2 and a notch back shrinks it by 0.8, down to the floor of ZoomStep.
void WheelZoom(ViewSettings& view, int eighths);

/// Left-button turn: the angles from the drag origin, the pointer and the drag offsets. Vertical
/// motion turns about the screen's horizontal axis, most near the vertical centre line; horizontal
/// motion about the crystal z axis, most near the horizontal centre line; diagonal motion about y.
void DragTurn(ViewSettings& view, const DragOrigin& origin, const DragOffsets& offsets, int x,
              int y, int width, int height);

/// Ctrl: the light direction ((x/W − 0.5)·5, (y/H − 0.5)·5, 1), normalised.
void LightFromPointer(ViewSettings& view, int x, int y, int width, int height);

/// The rotation keys s, d (angleZ ∓), e, x (angleX ±), a, f (angleY ±), each one kKeyTurnStep.
/// Returns false, changing nothing, for any other character.
bool TurnByKey(ViewSettings& view, char key);

/// Which redraw a change asks for.
enum class ViewRedraw {
  kNone,
  kReproject,  ///< SetUpSurface: re-project and repaint the existing scene
  kRebuild,    ///< DrawTensor: rebuild the scene, then re-project
};

/// The Grid switch set to `on`. Switching it off while Fill is off switches Fill back on;
/// switching it on needs a rebuild, because a re-projection with the grid off has overwritten
/// the outline colours of the surface patches.
ViewRedraw SetGridSwitch(ViewSettings& view, bool on);

/// The Fill switch set to `on`. Switching it off while the grid is off switches the grid back on
/// (with the rebuild that needs).
ViewRedraw SetFillSwitch(ViewSettings& view, bool on);

/// The Axes switch: a rebuild when the value changed.
ViewRedraw SetAxesSwitch(ViewSettings& view, bool on);

}  // namespace quillmere
