#include "surface/surface_polynomial.h"

namespace quillmere {

std::optional<SurfacePolynomial> SurfacePolynomial::Make(const TensorState& t,
                                                         const SurfaceEvaluation& e) {
  const int r = t.rank;
  if (r < 1 || r > 5 || e.printableExport || e.derivedValue) return std::nullopt;
  if (r >= 2 && e.anyDirectionFixed)
    for (int p = 0; p < r; ++p)
      if (e.fixedDirections[p].flag == "yes") return std::nullopt;

  SurfacePolynomial poly;
  poly.rank_ = r;
  poly.scale_ = t.scale;
  TensorIndices x;
  int tuples = 1;
  for (int p = 0; p < r; ++p) tuples *= 3;
  for (int q = 0; q < tuples; ++q) {
    int rest = q, ones = 0, twos = 0;
    for (int p = r - 1; p >= 0; --p) {
      x.i[p] = rest % 3 + 1;
      rest /= 3;
      ones += x.i[p] == 1;
      twos += x.i[p] == 2;
    }
    poly.coefficient_[ones][twos] += t.At(x);
  }
  return poly;
}

Real SurfacePolynomial::Value(Real x, Real y, Real z) const {
  const Real u[3] = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
  Real power[3][6];
  for (int i = 0; i < 3; ++i) {
    power[i][0] = 1;
    for (int k = 1; k <= rank_; ++k) power[i][k] = power[i][k - 1] * u[i];
  }
  Real sum = 0;
  for (int a = 0; a <= rank_; ++a)
    for (int b = 0; a + b <= rank_; ++b)
      sum += coefficient_[a][b] * power[0][a] * power[1][b] * power[2][rank_ - a - b];
  return sum / scale_;
}

}  // namespace quillmere
