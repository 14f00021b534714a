// Cross-sections: the curve in which the representation surface meets a coordinate plane, seen
// face-on. Entering a section saves the view angles (once, however many sections follow each
// other) and turns the view so that the plane faces the viewer; the DRAW command returns to the
// saved angles and the full surface.
//
// Frames: the section on the X axis lies in the plane perpendicular to crystal x, and so on.
// Angles in radians.
#pragma once

#include "surface/scene.h"
#include "surface/view_settings.h"

namespace quillmere {

/// SavedViewAngles: the angles to return to when the section ends. Start: the start-up view.
struct SavedViewAngles {
  Real angleX = kStartAngleX;
  Real angleY = kStartAngleY;
  Real angleZ = kStartAngleZ;
};

/// The view angles that show section `mode` (kSectionX, kSectionY, kSectionZ of scene.h) face-on: X
/// shows crystal y to the right and z up; Y shows z to the right and x up; Z shows x to the right
/// and y up.
void SectionViewAngles(int mode, Real& angleX, Real& angleY, Real& angleZ);

/// Steps of a section command before its build: the grid on (the outlines trace the curve), the
/// angles saved when no section is shown yet, the mode set and the view turned. A mode outside
/// 1 … 3 changes nothing and returns false.
bool EnterCrossSection(ViewSettings& view, int& crossSectionMode, SavedViewAngles& saved, int mode);

/// The DRAW command's return to the full surface: with a section shown, the saved angles come
/// back and the mode becomes 0; without one, nothing changes. Returns whether a section ended.
bool LeaveCrossSection(ViewSettings& view, int& crossSectionMode, const SavedViewAngles& saved);

/// Holds the resolution of a section build for the lifetime of the object and puts the kept one
/// back when it ends, also when the build throws, so a failed section never leaves the view at
/// resolution kSectionResolution (a full-surface build at that resolution would need far more
/// patches than the scene holds).
class SectionResolution {
 public:
  explicit SectionResolution(ViewSettings& view);
  ~SectionResolution();
  SectionResolution(const SectionResolution&) = delete;
  SectionResolution& operator=(const SectionResolution&) = delete;

 private:
  ViewSettings& view_;
  int kept_;
};

}  // namespace quillmere
