#include "surface/cross_section.h"

#include <numbers>

namespace quillmere {

void SectionViewAngles(int mode, Real& angleX, Real& angleY, Real& angleZ) {
  constexpr Real pi = std::numbers::pi_v<Real>;
  switch (mode) {
    case kSectionX:
      angleX = pi / 2;
      angleY = pi;
      angleZ = 3 * pi / 2;
      break;
    case kSectionY:
      angleX = pi / 2;
      angleY = pi / 2;
      angleZ = pi;
      break;
    case kSectionZ:
      angleX = -pi;
      angleY = pi;
      angleZ = 2 * pi;
      break;
    default:
      break;
  }
}

bool EnterCrossSection(ViewSettings& view, int& crossSectionMode, SavedViewAngles& saved,
                       int mode) {
  if (mode < kSectionX || mode > kSectionZ) return false;
  view.showGrid = true;
  if (crossSectionMode == kFullSurface) {
    saved.angleX = view.angleX;
    saved.angleY = view.angleY;
    saved.angleZ = view.angleZ;
  }
  crossSectionMode = mode;
  SectionViewAngles(mode, view.angleX, view.angleY, view.angleZ);
  return true;
}

bool LeaveCrossSection(ViewSettings& view, int& crossSectionMode, const SavedViewAngles& saved) {
  if (crossSectionMode == kFullSurface) return false;
  view.angleX = saved.angleX;
  view.angleY = saved.angleY;
  view.angleZ = saved.angleZ;
  crossSectionMode = kFullSurface;
  return true;
}

SectionResolution::SectionResolution(ViewSettings& view) : view_(view), kept_(view.resolution) {
  view_.resolution = kSectionResolution;
}

SectionResolution::~SectionResolution() {
  view_.resolution = kept_;
}

}  // namespace quillmere
