// The surface value of a tensor without fixed directions, T(i1..ir) u(i1)..u(ir) / scale, as a
// homogeneous polynomial of degree r in the direction: the components that multiply the same
// product u1^a u2^b u3^c are summed once when the polynomial is made, so one evaluation takes
// 21 terms at rank 5 instead of contracting 243 components. The scene build evaluates each
// corner this way; it agrees with SurfaceValue to the last few bits of extended precision.
//
// Frames: Value takes a crystal-frame direction, AtDrawDirection a drawing-frame one (first
// axis reversed). Like SurfaceValue, the direction is rounded to single precision first.
#pragma once

#include <optional>

#include "surface/surface_value.h"
#include "tensor/tensor_state.h"

namespace quillmere {

class SurfacePolynomial {
 public:
  /// The polynomial of `t`, or nothing when the evaluation needs more than the plain
  /// longitudinal value: a fixed direction on an index position within the rank, the 3-D
  /// printable rule, a derived quantity, or a rank outside 1..5.
  static std::optional<SurfacePolynomial> Make(const TensorState& t, const SurfaceEvaluation& e);

  /// The value along the crystal-frame direction (x, y, z), divided by the scale.
  Real Value(Real x, Real y, Real z) const;
  /// The value at the drawing-frame direction (X, Y, Z): Value(-X, Y, Z).
  Real AtDrawDirection(Real X, Real Y, Real Z) const { return Value(-X, Y, Z); }

  int rank() const { return rank_; }
  Real scale() const { return scale_; }
  /// coefficients()[a][b]: see coefficient_.
  const Real (&coefficients() const)[6][6] { return coefficient_; }

 private:
  SurfacePolynomial() = default;
  int rank_ = 0;
  Real scale_ = 1;
  /// coefficient_[a][b]: the sum of the components with a indices 1 and b indices 2 (the
  /// others 3), the factor of u1^a u2^b u3^(rank - a - b).
  Real coefficient_[6][6] = {};
};

}  // namespace quillmere
