// The value of the current tensor along a direction: the radius of the representation surface.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "tensor/tensor_state.h"

namespace quillmere {

/// One index position held at a fixed direction. The position is fixed exactly when `flag` is
/// "yes"; the cosines are stored normalised by whoever sets them and used as they stand.
struct FixedDirection {
  std::string flag = "no";
  float u[3] = {0.0f, 0.0f, 0.0f};
};

/// What the surface evaluation reads besides the tensor: the fixed directions of index positions
/// i, j, k, l, m (entries 0..4) and the flag of the 3-D printable exports.
struct SurfaceEvaluation {
  std::array<FixedDirection, 5> fixedDirections;  ///< FixedDirectionTable
  bool anyDirectionFixed = false;                 ///< AnyDirectionFixed
  bool printableExport = false;                   ///< PrintableExport
  /// When set, the surface shows this quantity in place of the tensor's own value (the fixed
  /// directions then do not apply): its value along the crystal-frame unit vector (x, y, z), in
  /// the units that the tensor's scale and unit text describe.
  std::function<Real(Real x, Real y, Real z)> derivedValue;
};

/// Value of the tensor along the crystal-frame direction (x, y, z), divided by t.scale. The
/// direction is rounded to single precision; with fixed directions, fixed index positions (rank 2
/// and above) take their stored cosines. With printableExport on, a value in [-0.1, 0.1) is moved
/// to +-0.1 (an exact 0 becomes -0.1), so a printed surface never has zero thickness. With a
/// derived value, that value along the normalised direction (not rounded), divided by t.scale.
Real SurfaceValue(const TensorState& t, const SurfaceEvaluation& e, Real x, Real y, Real z);

/// Value at the drawing-frame direction (X, Y, Z): the drawing frame is the crystal frame with
/// its first axis reversed, so this is SurfaceValue at (-X, Y, Z). 0 for rank 0.
Real ValueAtDrawDirection(const TensorState& t, const SurfaceEvaluation& e, Real X, Real Y, Real Z);

}  // namespace quillmere
