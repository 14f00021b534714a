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

#include "surface/surface_value.h"
#include "tensor/tensor_state.h"

namespace quillmere {

using Direction = std::array<Real, 3>;

/// The surface value as a polynomial in the direction: a sum of c * x^a y^b z^c terms, at most
/// 21 of them.
class DirectionalPolynomial {
 public:
  /// The polynomial of `t` under the fixed directions of `e` (the printable-export rule is not
  /// applied). A rank outside 1..5 gives the zero polynomial.
  DirectionalPolynomial(const TensorState& t, const SurfaceEvaluation& e);

  int Degree() const { return degree_; }
  /// True when every coefficient is a finite number.
  bool Finite() const;
  /// The value at (x, y, z), in the tensor's units.
  Real Value(Real x, Real y, Real z) const;
  /// The value, its gradient and its Hessian at n.
  Real Derivatives(const Direction& n, Real gradient[3], Real hessian[3][3]) const;
  /// The largest absolute coefficient: the size of the values, for tolerances.
  Real Magnitude() const { return magnitude_; }

 private:
  struct Term {
    Real coefficient;
    int power[3];
  };
  int degree_ = 0;
  Real magnitude_ = 0;
  std::vector<Term> terms_;
};

struct SurfaceExtreme {
  Real value = 0;                  ///< in the tensor's units
  Direction direction{1, 0, 0};    ///< one unit vector where it occurs
  std::vector<Direction> repeats;  ///< every distinct direction found with this value, first the
                                   ///< one above (up to 48)
};

struct SurfaceExtremes {
  SurfaceExtreme largest;
  SurfaceExtreme smallest;
};

/// The largest and smallest surface value over all unit vectors, to about 1e-12 of the
/// largest magnitude. For an odd degree the smallest is exactly minus the largest, found at the
/// opposite direction. Among equal maxima the reported direction is the one with the largest x,
/// then y, then z. Values are not-a-number when a component is.
SurfaceExtremes FindSurfaceExtremes(const TensorState& t, const SurfaceEvaluation& e);

}  // namespace quillmere
