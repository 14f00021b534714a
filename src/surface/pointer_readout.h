// What the pointer is over in the screen picture: the direction of the surface point that is
// frontmost under a pixel, and the surface value there, as the status line reads them.
//
// Frames and units: picture points are the renderer's device pixels (see projection.h), given
// as real numbers so that a point between pixel centres can be named; directions are unit
// vectors of the crystal frame; values are in the tensor's units (absolute, not divided by the
// scale); angles in the text are degrees. Nothing here throws.
#pragma once

#include <optional>
#include <string>

#include "surface/scene.h"
#include "surface/surface_polynomial.h"
#include "surface/surface_value.h"
#include "surface/view_settings.h"
#include "tensor/tensor_state.h"

namespace quillmere {

/// The surface under the pointer.
struct PointedSurface {
  Direction direction{0, 0, 1};  ///< unit vector, crystal frame
  Real value = 0;                ///< the shown value there, in the tensor's units
};

/// The picture the scene was painted into: the logical width and height of the screen picture
/// (the size parameter follows from them) and its device pixels per logical pixel.
struct PicturePlace {
  int width = 0;
  int height = 0;
  Real pixelRatio = 1;
};

/// The surface point frontmost under the picture point (x, y), in device pixels: the record
/// painted last over that point (the painter's order of the built records; the legend does not
/// count) gives the direction, which on the full surface is then refined until the surface
/// point along it projects onto (x, y). A section's curve, a pixel or two wide, is also found
/// from up to 3 logical pixels beside it. Both images of a stereo pair are looked at. The scene
/// must have been projected with `view` (its paint order is used; its screen points are not, so
/// a picture painted at another size in between does not matter). Nothing when no surface patch
/// lies under the point, or the scene is empty.
std::optional<PointedSurface> SurfaceUnderPoint(const SceneList& scene, const ViewSettings& view,
                                                const PicturePlace& picture, int crossSectionMode,
                                                const TensorState& t, const SurfaceEvaluation& e,
                                                Real x, Real y);

/// "Direction [0.577, 0.577, 0.577] (θ 54.7°, φ 45.0°): 2.345 × 10⁹ Pa": the crystal direction
/// with three decimals, its polar angle from +z and its azimuth from +x towards +y (0 to 360,
/// 0 at the poles) with one, and the value as a multiple of 10^exponent with four significant
/// digits, followed by the power of ten (left out for 0) and the unit text, as the tensor panel
/// shows them. The numbers use `decimalSeparator`; with a comma the direction's components are
/// separated by semicolons.
std::string PointerReadoutText(const PointedSurface& p, int exponent, const std::string& unitText,
                               char decimalSeparator);

}  // namespace quillmere
