// The value of the current tensor along a direction: the radius of the representation surface.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "tensor/tensor_state.h"

namespace quillmere {

/// One index position held at a fixed direction. The position is fixed exactly when `flag` is
/// "yes"; the cosines are stored normalised by whoever sets them and used as they stand.
struct FixedDirection {
  std::string flag = "no";
  float u[3] = {0.0f, 0.0f, 0.0f};
};

/// A value along the unit vector n that follows from one homogeneous polynomial p of degree
/// 1..5 in n: factor * p(n), or factor / p(n) with `reciprocal`. The coefficients stand in the
/// order a = 0..degree, then b = 0..degree - a, each the factor of n1^a n2^b n3^(degree - a - b).
struct DerivedPolynomial {
  int degree = 0;
  std::array<double, 21> terms{};
  double factor = 1;
  bool reciprocal = false;
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
  /// The derived value's form as one polynomial in the direction, when it has one: the scene
  /// then evaluates whole rows of directions at once instead of calling derivedValue for each.
  /// Set together with derivedValue (and cleared with it); the two agree to rounding.
  std::optional<DerivedPolynomial> derivedPolynomial;
  /// The derived value's name ("Young's modulus"), which the exports' stamps carry.
  std::string derivedName;
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
