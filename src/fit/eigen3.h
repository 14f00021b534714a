// Eigenvalues and principal directions of a second-rank tensor, in closed form (the roots of
// the characteristic cubic by the trigonometric method).
#pragma once

#include <array>

#include "tensor/tensor_state.h"

namespace quillmere {

/// m[i][j] with i and j 0-based: row i, column j.
using Matrix3 = std::array<std::array<Real, 3>, 3>;

struct EigenSystem3 {
  /// False when the characteristic cubic has p >= 0: all three eigenvalues equal, or not all of
  /// them real. Nothing else is set then except `meanValue`.
  bool computed = false;
  /// Largest, smallest and middle eigenvalue, in this order.
  std::array<Real, 3> values{};
  /// vectors[k]: unit vector (direction cosines in the tensor's frame) of values[k].
  std::array<std::array<Real, 3>, 3> vectors{};
  /// A third of the trace: the triple eigenvalue when all three coincide.
  Real meanValue = 0;
};

/// Solves L^3 + c2 L^2 + c1 L + c0 = 0 with the coefficients of m and finds each eigenvector as
/// the cross product of two rows of m - L I. An eigenvalue that matches a diagonal element
/// within 3e-6, in a column whose other entries are below 3e-6, gets that coordinate axis, each
/// axis going to one eigenvalue only; a double eigenvalue gets two orthonormal directions
/// perpendicular to the single one.
EigenSystem3 SymmetricEigen3(const Matrix3& m);

/// arccos(t) in radians for |t| < 0.9999; 0 for t >= 0.9999 and pi for t <= -0.9999.
Real ArcCosClamped(Real t);

/// The real cube root, evaluated in double precision (0 for 0).
Real CubeRoot(Real t);

}  // namespace quillmere
