// The surface value as a homogeneous polynomial in the direction. The value along a unit vector
// n of the crystal frame is T(n, ..., n) with the fixed index positions taking their fixed
// directions: the components that multiply the same product n1^a n2^b n3^c are summed once when
// the polynomial is made, so one evaluation takes at most 21 terms instead of contracting 243
// components. The scene build, the projection maps and the extremes all evaluate it, in double
// precision: the coefficients are summed in the tensor's extended numbers and divided by a size
// of their own before they are rounded to double, so tensors far beyond the range of a double
// still give finite values.
//
// Units: Value and Derivatives work in the tensor's units; the scene's evaluator (ScaledTerms)
// divides by the scale the caller gives.
#pragma once

#include <array>
#include <cstddef>
#include <optional>

#include "surface/surface_value.h"
#include "tensor/tensor_state.h"

namespace quillmere {

using Direction = std::array<Real, 3>;

/// Number of terms of a homogeneous polynomial of degree r in three variables.
constexpr int TermCount(int degree) {
  return (degree + 1) * (degree + 2) / 2;
}

/// Coefficients of degree R in double precision, in the order a = 0..R, then b = 0..R - a (the
/// factor of n1^a n2^b n3^(R - a - b)).
template <int R>
struct ScaledTerms {
  std::array<double, TermCount(R)> k{};
};

class SurfacePolynomial {
 public:
  /// The polynomial of `t` under the fixed directions of `e` (rank 2 and above; the printable
  /// exports' rule is not applied). A rank outside 1..5 gives the zero polynomial of degree 0.
  SurfacePolynomial(const TensorState& t, const SurfaceEvaluation& e);

  /// The polynomial, or nothing when the surface needs more than the polynomial: the printable
  /// exports' rule, a derived quantity, or a rank outside 1..5.
  static std::optional<SurfacePolynomial> Make(const TensorState& t, const SurfaceEvaluation& e);

  /// The number of free index positions.
  int Degree() const { return degree_; }
  /// True when every coefficient is a finite number.
  bool Finite() const { return finite_; }
  /// The largest absolute coefficient: the size of the values, for tolerances.
  Real Magnitude() const { return magnitude_; }
  /// The size of the components (the largest absolute one), against which "zero" is judged:
  /// coefficients that cancel to rounding noise of this size make a zero surface.
  Real ComponentSize() const { return componentSize_; }
  /// True when the polynomial vanishes: every coefficient is below 1e-13 of the components'
  /// size, i.e. rounding noise of the sums that made it.
  bool IsZero() const;
  /// The tensor's scale.
  Real scale() const { return scale_; }

  /// The value along (x, y, z), in the tensor's units.
  Real Value(Real x, Real y, Real z) const;
  /// The value, its gradient and its Hessian at n, in the tensor's units.
  Real Derivatives(const Direction& n, Real gradient[3], Real hessian[3][3]) const;
  /// The sum of the components with a indices 1 and b indices 2 among the free positions.
  Real Coefficient(int a, int b) const { return coefficient_[a][b]; }

  /// The coefficients divided by `divisor`, in double precision (degree R == Degree()).
  template <int R>
  ScaledTerms<R> Scaled(Real divisor) const {
    ScaledTerms<R> s;
    int i = 0;
    for (int a = 0; a <= R; ++a)
      for (int b = 0; a + b <= R; ++b) s.k[i++] = static_cast<double>(coefficient_[a][b] / divisor);
    return s;
  }

 private:
  int degree_ = 0;
  bool finite_ = true;
  Real scale_ = 1;
  Real magnitude_ = 0;
  Real componentSize_ = 0;
  Real coefficient_[6][6] = {};
  /// coefficient_ / unit_ in double precision, in the order of ScaledTerms; unit_ is the
  /// magnitude (1 when that is 0 or not finite).
  double unitTerms_[21] = {};
  Real unit_ = 1;
};

/// The values of the polynomial of degree R with coefficients `s` at n directions given as
/// three arrays: out[i] = sum over the terms of k x^a y^b z^c. The loop works on blocks of
/// kEvaluationBlock directions side by side, which the compiler turns into vector arithmetic;
/// n must be a multiple of kEvaluationBlock (callers pad their arrays).
inline constexpr std::size_t kEvaluationBlock = 8;

template <int R>
void EvaluateTerms(const ScaledTerms<R>& s, const double* x, const double* y, const double* z,
                   double* out, std::size_t n) {
  constexpr std::size_t B = kEvaluationBlock;
  if constexpr (R == 0) {
    for (std::size_t i = 0; i < n; ++i) out[i] = s.k[0];
  } else {
    for (std::size_t block = 0; block < n; block += B) {
      double px[R + 1][B], py[R + 1][B], pz[R + 1][B];
      for (std::size_t l = 0; l < B; ++l) {
        px[0][l] = py[0][l] = pz[0][l] = 1;
        px[1][l] = x[block + l];
        py[1][l] = y[block + l];
        pz[1][l] = z[block + l];
      }
#pragma GCC unroll 8
      for (int k = 2; k <= R; ++k)
        for (std::size_t l = 0; l < B; ++l) {
          px[k][l] = px[k - 1][l] * px[1][l];
          py[k][l] = py[k - 1][l] * py[1][l];
          pz[k][l] = pz[k - 1][l] * pz[1][l];
        }
      double sum[B] = {};
      int term = 0;
#pragma GCC unroll 8
      for (int a = 0; a <= R; ++a)
#pragma GCC unroll 8
        for (int b = 0; a + b <= R; ++b) {
          const double k = s.k[term++];
          for (std::size_t l = 0; l < B; ++l) sum[l] += k * px[a][l] * py[b][l] * pz[R - a - b][l];
        }
      for (std::size_t l = 0; l < B; ++l) out[block + l] = sum[l];
    }
  }
}

/// Calls f.template operator()<R>() with R = degree (1..5; 0 for anything else).
template <typename F>
decltype(auto) WithDegree(int degree, F&& f) {
  switch (degree) {
    case 1:
      return f.template operator()<1>();
    case 2:
      return f.template operator()<2>();
    case 3:
      return f.template operator()<3>();
    case 4:
      return f.template operator()<4>();
    case 5:
      return f.template operator()<5>();
    default:
      return f.template operator()<0>();
  }
}

}  // namespace quillmere
