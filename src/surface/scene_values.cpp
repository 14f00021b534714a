// The fast evaluation of the scene's corners: the surface polynomial at a fixed degree over
// whole rows of directions held as three arrays, which the compiler vectorises; the same for a
// derived quantity that has a polynomial form.
#include <array>
#include <cmath>
#include <vector>

#include "surface/scene_parts.h"

namespace quillmere::scene_parts {

CornerValues PolynomialCornerValues(const SurfacePolynomial& polynomial) {
  return WithDegree(polynomial.Degree(), [&]<int R>() -> CornerValues {
    const ScaledTerms<R> terms = polynomial.template Scaled<R>(polynomial.scale());
    // The crystal frame's directions (first axis reversed), in single precision; the arrays
    // are kept from row to row.
    return [terms, u = std::array<std::vector<double>, 3>{}](const double* x, const double* y,
                                                             const double* z, double* value,
                                                             std::size_t n) mutable {
      for (auto& a : u) a.resize(n);
      for (std::size_t i = 0; i < n; ++i) {
        u[0][i] = static_cast<float>(-x[i]);
        u[1][i] = static_cast<float>(y[i]);
        u[2][i] = static_cast<float>(z[i]);
      }
      EvaluateTerms(terms, u[0].data(), u[1].data(), u[2].data(), value, n);
    };
  });
}

CornerValues DerivedCornerValues(const DerivedPolynomial& form, Real scale) {
  return WithDegree(form.degree, [&]<int R>() -> CornerValues {
    ScaledTerms<R> terms;
    for (int i = 0; i < TermCount(R); ++i) terms.k[i] = form.terms[i];
    const double factor = static_cast<double>(form.factor / scale);
    return [terms, factor, reciprocal = form.reciprocal, u = std::array<std::vector<double>, 3>{},
            zero = std::vector<char>{}](const double* x, const double* y, const double* z,
                                        double* value, std::size_t n) mutable {
      for (auto& a : u) a.resize(n);
      zero.assign(n, 0);
      for (std::size_t i = 0; i < n; ++i) {
        const double squared = x[i] * x[i] + y[i] * y[i] + z[i] * z[i];
        zero[i] = squared == 0;
        const double inverse = zero[i] ? 0 : 1 / std::sqrt(squared);
        u[0][i] = -x[i] * inverse;
        u[1][i] = y[i] * inverse;
        u[2][i] = z[i] * inverse;
      }
      EvaluateTerms(terms, u[0].data(), u[1].data(), u[2].data(), value, n);
      for (std::size_t i = 0; i < n; ++i)
        value[i] = zero[i] ? 0 : reciprocal ? factor / value[i] : factor * value[i];
    };
  });
}

CornerValues GeneralCornerValues(const TensorState& t, const SurfaceEvaluation& e) {
  return [&t, &e](const double* x, const double* y, const double* z, double* value, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
      value[i] = static_cast<double>(ValueAtDrawDirection(t, e, x[i], y[i], z[i]));
  };
}

}  // namespace quillmere::scene_parts
