// The fast evaluation of the scene's corners: the surface polynomial at a fixed degree over
// whole rows of directions held as three arrays, which the compiler vectorises.
#include <array>
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

CornerValues GeneralCornerValues(const TensorState& t, const SurfaceEvaluation& e) {
  return [&t, &e](const double* x, const double* y, const double* z, double* value, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
      value[i] = static_cast<double>(ValueAtDrawDirection(t, e, x[i], y[i], z[i]));
  };
}

}  // namespace quillmere::scene_parts
