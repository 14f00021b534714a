#include "surface/surface_value.h"

#include <cmath>

namespace quillmere {

namespace {

/// The printable exports' rule: no value in [-0.1, 0.1), an exact 0 becoming -0.1.
Real Printable(Real sum) {
  if (sum > 0 && sum < 0.1L) sum = 0.1L;
  if (sum > -0.1L && sum <= 0) sum = -0.1L;
  return sum;
}

}  // namespace

Real SurfaceValue(const TensorState& t, const SurfaceEvaluation& e, Real x, Real y, Real z) {
  if (e.derivedValue) {
    // A section's directions come with one component zeroed: the quantity wants a unit vector.
    // Double precision is enough for a drawing.
    const double u[3] = {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)};
    const double squared = u[0] * u[0] + u[1] * u[1] + u[2] * u[2];
    if (squared == 0) return 0;
    const double inverse = 1 / std::sqrt(squared);
    const Real sum = e.derivedValue(u[0] * inverse, u[1] * inverse, u[2] * inverse) / t.scale;
    return e.printableExport ? Printable(sum) : sum;
  }
  const int r = t.rank;
  if (r < 1 || r > 5) return 0;
  // The direction is held in single precision, like the fixed directions.
  Real slots[5][3];
  const Real u[3] = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
  for (int p = 0; p < 5; ++p) {
    const FixedDirection& f = e.fixedDirections[p];
    const bool fixed = r >= 2 && e.anyDirectionFixed && f.flag == "yes";
    for (int i = 0; i < 3; ++i) slots[p][i] = fixed ? static_cast<Real>(f.u[i]) : u[i];
  }

  // A rank-r tensor occupies the positions whose trailing indices are 1: element q of the
  // compact r-index array sits at q * 3^(5-r). Contract the last index first, one index at a
  // time: 3^r + 3^(r-1) + ... products instead of r * 3^r.
  static constexpr int kStride[6] = {0, 81, 27, 9, 3, 1};
  Real work[81];
  int n = 1;
  for (int p = 0; p < r - 1; ++p) n *= 3;  // 3^(r-1) partial sums after the first contraction
  const Real* last = slots[r - 1];
  for (int q = 0; q < n; ++q) {
    const int base = q * 3 * kStride[r];
    work[q] = t.components[base] * last[0] + t.components[base + kStride[r]] * last[1] +
              t.components[base + 2 * kStride[r]] * last[2];
  }
  for (int p = r - 2; p >= 0; --p) {
    n /= 3;
    const Real* s = slots[p];
    for (int q = 0; q < n; ++q)
      work[q] = work[3 * q] * s[0] + work[3 * q + 1] * s[1] + work[3 * q + 2] * s[2];
  }
  Real sum = work[0] / t.scale;

  return e.printableExport ? Printable(sum) : sum;
}

Real ValueAtDrawDirection(const TensorState& t, const SurfaceEvaluation& e, Real X, Real Y,
                          Real Z) {
  if (t.rank == 0) return 0;
  return SurfaceValue(t, e, -X, Y, Z);
}

}  // namespace quillmere
