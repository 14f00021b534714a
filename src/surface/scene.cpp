// The scene's records: their count for a resolution, the paint order and the range check.
#include "surface/scene.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace quillmere {

void ResetOrder(SceneList& scene) {
  scene.order.resize(scene.count);
  for (std::size_t i = 0; i < scene.count; ++i) scene.order[i] = static_cast<std::uint32_t>(i);
}

Real PatchStep(int resolution) {
  return 0.3492L / resolution;
}

std::size_t PatchCount(int resolution, int crossSectionMode) {
  if (resolution < 1) return 0;
  const std::size_t n = 9 * static_cast<std::size_t>(resolution);
  return crossSectionMode == kFullSurface ? n * (2 * n + 1) : 2 * n + 1;
}

void CheckBuildable(int resolution, int crossSectionMode, bool showAxes) {
  if (resolution < 1)
    throw std::runtime_error("The grid resolution must be at least 1, not " +
                             std::to_string(resolution));
  // Resolutions far beyond any picture would overflow the counting; refuse them first.
  if (resolution > 100000)
    throw std::runtime_error("The grid resolution " + std::to_string(resolution) +
                             " is too fine for the scene");
  const std::size_t needed =
      PatchCount(resolution, crossSectionMode) + (showAxes ? 6 : 0) + kLegendRoom;
  if (needed > kSceneCapacity)
    throw std::runtime_error("The grid resolution " + std::to_string(resolution) + " needs " +
                             std::to_string(PatchCount(resolution, crossSectionMode)) +
                             " patches; the scene holds at most " +
                             std::to_string(kSceneCapacity - kLegendRoom - 6));
}

void CheckWithinDrawingRange(const SceneList& scene) {
  // The projection and the painting work in double precision; a value beyond its range comes
  // out of the build as an infinity and would paint as a black area. (A corner that is not a
  // number is a point where the surface is undefined; the renderer leaves that patch out.)
  for (std::size_t r = 0; r < scene.count; ++r)
    for (const auto& corner : scene.records[r].corners)
      for (const double c : corner)
        if (std::isinf(c)) throw std::runtime_error(kMsgBeyondDrawingRange);
}

}  // namespace quillmere
