#include "surface/surface_polynomial.h"

#include <algorithm>
#include <cmath>

namespace quillmere {

SurfacePolynomial::SurfacePolynomial(const TensorState& t, const SurfaceEvaluation& e)
    : scale_(t.scale) {
  const int r = t.rank;
  if (r < 1 || r > 5) return;
  // Which index positions follow the direction; rank 1 always does.
  bool fixed[5] = {};
  if (r >= 2 && e.anyDirectionFixed)
    for (int p = 0; p < r; ++p) fixed[p] = e.fixedDirections[p].flag == "yes";
  for (int p = 0; p < r; ++p) degree_ += !fixed[p];

  TensorIndices x;
  int tuples = 1;
  for (int p = 0; p < r; ++p) tuples *= 3;
  for (int q = 0; q < tuples; ++q) {
    int rest = q, ones = 0, twos = 0;
    for (int p = r - 1; p >= 0; --p) {
      x.i[p] = rest % 3 + 1;
      rest /= 3;
    }
    const Real component = t.At(x);
    if (std::isfinite(component)) componentSize_ = std::max(componentSize_, std::fabs(component));
    Real term = component;
    for (int p = 0; p < r; ++p) {
      if (fixed[p]) {
        term *= static_cast<Real>(e.fixedDirections[p].u[x.i[p] - 1]);
      } else {
        ones += x.i[p] == 1;
        twos += x.i[p] == 2;
      }
    }
    coefficient_[ones][twos] += term;
  }
  for (int a = 0; a <= degree_; ++a)
    for (int b = 0; a + b <= degree_; ++b) {
      const Real c = coefficient_[a][b];
      if (!std::isfinite(c))
        finite_ = false;
      else
        magnitude_ = std::max(magnitude_, std::fabs(c));
    }
  unit_ = magnitude_ > 0 && std::isfinite(magnitude_) ? magnitude_ : 1;
  int i = 0;
  for (int a = 0; a <= degree_; ++a)
    for (int b = 0; a + b <= degree_; ++b)
      unitTerms_[i++] = static_cast<double>(coefficient_[a][b] / unit_);
}

std::optional<SurfacePolynomial> SurfacePolynomial::Make(const TensorState& t,
                                                         const SurfaceEvaluation& e) {
  if (t.rank < 1 || t.rank > 5 || e.printableExport || e.derivedValue) return std::nullopt;
  return SurfacePolynomial(t, e);
}

bool SurfacePolynomial::IsZero() const {
  // The coefficients are sums of components: what is left of a sum that cancels is rounding
  // noise, far below the components themselves.
  return finite_ && magnitude_ <= 1e-13L * componentSize_;
}

Real SurfacePolynomial::Value(Real x, Real y, Real z) const {
  double power[3][6];
  const double u[3] = {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)};
  for (int i = 0; i < 3; ++i) {
    power[i][0] = 1;
    for (int k = 1; k <= degree_; ++k) power[i][k] = power[i][k - 1] * u[i];
  }
  double sum = 0;
  int i = 0;
  for (int a = 0; a <= degree_; ++a)
    for (int b = 0; a + b <= degree_; ++b)
      sum += unitTerms_[i++] * power[0][a] * power[1][b] * power[2][degree_ - a - b];
  return static_cast<Real>(sum) * unit_;
}

Real SurfacePolynomial::Derivatives(const Direction& n, Real gradient[3],
                                    Real hessian[3][3]) const {
  // power[i][k + 2] = n_i^k, with the negative powers (only ever multiplied by 0) set to 0.
  double power[3][8];
  for (int i = 0; i < 3; ++i) {
    power[i][0] = power[i][1] = 0;
    power[i][2] = 1;
    for (int k = 1; k <= degree_; ++k)
      power[i][k + 2] = power[i][k + 1] * static_cast<double>(n[i]);
  }
  double value = 0, g[3] = {}, h[3][3] = {};
  int term = 0;
  for (int a = 0; a <= degree_; ++a)
    for (int b = 0; a + b <= degree_; ++b) {
      const double c = unitTerms_[term++];
      if (c == 0) continue;
      const int p[3] = {a, b, degree_ - a - b};
      auto lowered = [&](int d0, int d1, int d2) {
        return power[0][p[0] + 2 - d0] * power[1][p[1] + 2 - d1] * power[2][p[2] + 2 - d2];
      };
      value += c * lowered(0, 0, 0);
      for (int i = 0; i < 3; ++i) {
        const int d[3] = {i == 0, i == 1, i == 2};
        g[i] += c * p[i] * lowered(d[0], d[1], d[2]);
        for (int j = i; j < 3; ++j) {
          const int dd[3] = {d[0] + (j == 0), d[1] + (j == 1), d[2] + (j == 2)};
          const double factor = i == j ? double(p[i]) * (p[i] - 1) : double(p[i]) * p[j];
          if (factor != 0) h[i][j] += c * factor * lowered(dd[0], dd[1], dd[2]);
        }
      }
    }
  for (int i = 0; i < 3; ++i) {
    gradient[i] = static_cast<Real>(g[i]) * unit_;
    for (int j = 0; j < 3; ++j)
      hessian[i][j] = static_cast<Real>(j >= i ? h[i][j] : h[j][i]) * unit_;
  }
  return static_cast<Real>(value) * unit_;
}

}  // namespace quillmere
