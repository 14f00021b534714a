// Where the surface value is largest and smallest. The value along a unit vector n of the
// crystal frame is T(n, ..., n) with fixed index positions taking their fixed directions, as the
// surface is drawn; it is a homogeneous polynomial in n whose degree is the number of free index
// positions. The extremes are found by a dense search over the sphere followed by Newton steps on
// the sphere from the best few starting points.
//
// Units: values here are in the tensor's own units (absolute, not divided by the scale);
// directions are unit vectors of the crystal frame, evaluated exactly (no single-precision
// rounding, so the refinement sees a smooth function).
#pragma once

#include <array>
#include <vector>

#include "surface/surface_polynomial.h"
#include "surface/surface_value.h"
#include "tensor/tensor_state.h"

namespace quillmere {

/// What the outputs say of a surface that is zero (SurfaceExtremes::zero).
inline constexpr const char* kMsgZeroSurface = "The value is 0 in every direction";

struct SurfaceExtreme {
  Real value = 0;                  ///< in the tensor's units
  Direction direction{1, 0, 0};    ///< one unit vector where it occurs
  std::vector<Direction> repeats;  ///< every distinct direction found with this value, first the
                                   ///< one above (up to 48)
};

struct SurfaceExtremes {
  SurfaceExtreme largest;
  SurfaceExtreme smallest;
  /// The surface is zero: the polynomial cancels to rounding noise of its components (values
  /// and directions then hold 0 and +x).
  bool zero = false;
};

/// The largest and smallest surface value over all unit vectors, to about 1e-12 of the
/// largest magnitude. For an odd degree the smallest is exactly minus the largest, found at the
/// opposite direction. Among equal maxima, also along a ring or cone of them, the reported
/// direction is the one with the largest x, then y, then z; a simple crystal direction (an axis,
/// a diagonal, a hexagonal direction) takes its place only when its value agrees to 1e-12 of
/// (largest - smallest). Values are not-a-number when a component is.
SurfaceExtremes FindSurfaceExtremes(const TensorState& t, const SurfaceEvaluation& e);

}  // namespace quillmere
