#include "fit/eigen3.h"

#include <cmath>

namespace quillmere {

namespace {

using Vector3 = std::array<Real, 3>;

constexpr Real kPi = 3.14159265358979323846264338327950288L;
constexpr Real kTwoThirdsPi = 2.0943951023931954923L;
constexpr Real kFourThirdsPi = 4.1887902047863909845L;
/// Display-unit tolerance within which an eigenvalue is taken to belong to a coordinate axis.
constexpr Real kAxisTolerance = 3e-6L;

Vector3 Cross(const Vector3& a, const Vector3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Real Dot(const Vector3& a, const Vector3& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vector3 Scaled(const Vector3& a, Real s) {
  return {a[0] * s, a[1] * s, a[2] * s};
}

/// The direction that m - L I sends to zero. The cross product of its second and third rows is
/// used unless those two rows are (nearly) parallel, as they are whenever the eigenvector has no
/// first component; then the best-conditioned pair of rows is taken, turned to the same side.
Vector3 EigenvectorOf(const Matrix3& m, Real l) {
  Vector3 row[3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) row[i][j] = m[i][j] - (i == j ? l : 0);
  const Vector3 c23 = Cross(row[1], row[2]);
  const Vector3 c31 = Cross(row[2], row[0]);
  const Vector3 c12 = Cross(row[0], row[1]);
  const Real n23 = Dot(c23, c23), n31 = Dot(c31, c31), n12 = Dot(c12, c12);
  Vector3 v = c23;
  Real n = n23;
  const Real largest = std::fmax(n23, std::fmax(n31, n12));
  if (n23 < 0.01L * largest) {
    v = n31 >= n12 ? c31 : c12;
    n = n31 >= n12 ? n31 : n12;
    if (Dot(v, c23) < 0) v = Scaled(v, -1);
  }
  if (!(n > 0)) n = 0.001L;
  return Scaled(v, 1 / std::sqrt(n));
}

/// Two unit vectors that complete the unit vector u to a right-handed orthonormal set.
void Complete(const Vector3& u, Vector3& a, Vector3& b) {
  int axis = 0;
  for (int i = 1; i < 3; ++i)
    if (std::fabs(u[i]) < std::fabs(u[axis])) axis = i;
  Vector3 e{0, 0, 0};
  e[axis] = 1;
  a = Cross(u, e);
  a = Scaled(a, 1 / std::sqrt(Dot(a, a)));
  b = Cross(u, a);
}

}  // namespace

Real ArcCosClamped(Real t) {
  if (std::fabs(t) < 0.9999L) return kPi / 2 - std::atan(t / std::sqrt(1 - t * t));
  return t > 0 ? 0.0L : kPi;
}

Real CubeRoot(Real t) {
  if (t == 0) return 0;
  const double d = static_cast<double>(t);
  const double root = std::exp(std::log(std::fabs(d)) / 3.0);
  return static_cast<Real>(d < 0 ? -root : root);
}

/// A power of two that brings the largest entry of m near 1 when it is far from it, else 1.
/// Dividing by it is exact, and it keeps the cubic's coefficients (up to the sixth power of the
/// entries) and the cube root (taken in double precision) within range.
Real RangeScale(const Matrix3& m) {
  Real largest = 0;
  for (const auto& row : m)
    for (Real x : row) largest = std::fmax(largest, std::fabs(x));
  if (!(largest > 0) || !std::isfinite(largest)) return 1;
  const int exponent = std::ilogb(largest);
  return exponent > 60 || exponent < -60 ? std::ldexp(1.0L, exponent) : 1;
}

EigenSystem3 SymmetricEigen3(const Matrix3& original) {
  // The cubic and the eigenvectors are solved for m scaled into range; the eigenvalues are
  // scaled back, the directions do not change.
  const Real f = RangeScale(original);
  Matrix3 m = original;
  for (auto& row : m)
    for (Real& x : row) x /= f;
  EigenSystem3 e;
  const Real c2 = -(m[0][0] + m[1][1] + m[2][2]);
  const Real c1 = m[0][0] * m[1][1] + m[1][1] * m[2][2] + m[0][0] * m[2][2] - m[0][1] * m[1][0] -
                  m[1][2] * m[2][1] - m[0][2] * m[2][0];
  const Real det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                   m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                   m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  const Real c0 = -det;
  e.meanValue = -c2 / 3 * f;
  const Real p = (3 * c1 - c2 * c2) / 3;
  const Real q = 2 * c2 * c2 * c2 / 27 - c2 * c1 / 3 + c0;
  if (p >= 0 || std::isnan(p)) return e;

  const Real r = std::sqrt(-p * p * p / 27);
  const Real phi = ArcCosClamped(-q / (2 * r));
  const Real s = CubeRoot(r);
  const Real shift[3] = {0, kTwoThirdsPi, kFourThirdsPi};
  for (int k = 0; k < 3; ++k) e.values[k] = 2 * s * std::cos(phi / 3 + shift[k]) - c2 / 3;
  e.computed = true;

  // A double eigenvalue (a uniaxial tensor) leaves m - L I of rank one, whose rows give no
  // direction: its two directions are any orthonormal pair perpendicular to the single one.
  int single = -1;
  for (int k = 0; k < 3 && single < 0; ++k) {
    const int a = (k + 1) % 3, b = (k + 2) % 3;
    if (std::fabs(e.values[a] - e.values[b]) <= 1e-10L * s) single = k;
  }
  if (single < 0) {
    for (int k = 0; k < 3; ++k) e.vectors[k] = EigenvectorOf(m, e.values[k]);
  } else {
    const int a = (single + 1) % 3, b = (single + 2) % 3;
    e.vectors[single] = EigenvectorOf(m, e.values[single]);
    Complete(e.vectors[single], e.vectors[a < b ? a : b], e.vectors[a < b ? b : a]);
  }

  for (Real& value : e.values) value *= f;
  m = original;

  // Principal directions along the coordinate axes are shown exactly. An axis qualifies only
  // when it is an eigenvector (the rest of its column vanishes), and it is given to one
  // eigenvalue only, so that a diagonal tensor with a double eigenvalue gets two axes.
  bool taken[3] = {false, false, false};
  bool onAxis[3] = {false, false, false};
  for (int k = 0; k < 3; ++k) {
    int chosen = -1;
    for (int i = 0; i < 3; ++i) {
      if (taken[i] || !(std::fabs(e.values[k] - m[i][i]) < kAxisTolerance)) continue;
      bool axisIsEigenvector = true;
      for (int j = 0; j < 3; ++j)
        if (j != i && !(std::fabs(m[j][i]) < kAxisTolerance)) axisIsEigenvector = false;
      if (axisIsEigenvector) chosen = i;
    }
    if (chosen < 0) continue;
    taken[chosen] = true;
    onAxis[k] = true;
    e.vectors[k] = {0, 0, 0};
    e.vectors[k][chosen] = 1;
  }
  // When only one direction of a double eigenvalue went to an axis, the other must stay
  // perpendicular to it.
  if (single >= 0) {
    const int a = (single + 1) % 3, b = (single + 2) % 3;
    if (onAxis[a] != onAxis[b]) {
      const int fixed = onAxis[a] ? a : b, free = onAxis[a] ? b : a;
      e.vectors[free] = Cross(e.vectors[single], e.vectors[fixed]);
      const Real n = Dot(e.vectors[free], e.vectors[free]);
      if (n > 0) e.vectors[free] = Scaled(e.vectors[free], 1 / std::sqrt(n));
    }
  }
  return e;
}

}  // namespace quillmere
