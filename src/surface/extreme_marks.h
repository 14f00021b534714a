// The extremes shown with the surface: labelled arrows in the scene that point at the surface
// along the directions of the largest and smallest value, and the short texts of the tensor
// panel.
//
// Frames and units: arrow corners are drawing-frame points (crystal x reversed) in units of the
// tensor's scale, like the rest of the scene; panel values are multiples of 10^exponent.
#pragma once

#include <string>

#include "surface/extremes.h"
#include "surface/scene.h"
#include "surface/view_settings.h"

namespace quillmere {

/// Appends to the built records of `scene` one arrow for the largest value (label "max") and one
/// for the smallest ("min"): a shaft from 0.45 beyond the surface to the surface point at the
/// direction, and two barbs at the head, in the axes colour. Nothing for a surface of equal value
/// everywhere or of values that are not numbers. Resets the paint order.
void AppendExtremeMarks(SceneList& scene, const SurfaceExtremes& extremes, const TensorState& t,
                        const ViewSettings& v);

/// "max 2.3 [1.000, 0.000, 0.000]": the value as a multiple of 10^exponent (four significant
/// digits) and the direction with three decimals, in the user's decimal separator.
std::string ExtremePanelText(const char* caption, const SurfaceExtreme& x, int exponent,
                             char decimalSeparator);

}  // namespace quillmere
