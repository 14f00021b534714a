#include "fit/transformation.h"

#include <cmath>
#include <numbers>

#include "core/user_messages.h"
#include "tensor/number_text.h"
#include "tensor/symmetry_check.h"
#include "tensor/symmetry_table.h"

namespace quillmere {

TransformMatrix IdentityMatrix() {
  TransformMatrix u{};
  for (int a = 0; a < 3; ++a) u[a][a] = 1;
  return u;
}

TransformMatrix RotationMatrix(int axis, Real degrees) {
  Real c, s;
  const Real turns = std::fmod(degrees, 360.0L);
  const Real quarter = turns / 90;
  if (quarter == std::floor(quarter)) {
    // Whole quarter turns give exact zeros and ones instead of cos(pi/2) = 6e-20.
    static constexpr Real kCos[4] = {1, 0, -1, 0};
    static constexpr Real kSin[4] = {0, 1, 0, -1};
    const int q = (static_cast<int>(quarter) % 4 + 4) % 4;
    c = kCos[q];
    s = kSin[q];
  } else {
    const Real radians = turns * std::numbers::pi_v<Real> / 180;
    c = std::cos(radians);
    s = std::sin(radians);
  }
  TransformMatrix u = IdentityMatrix();
  const int p = (axis + 1) % 3, q = (axis + 2) % 3;  // the plane turned, in right-handed order
  u[p][p] = c;
  u[p][q] = -s;
  u[q][p] = s;
  u[q][q] = c;
  return u;
}

void TransformTensor(TensorState& t, const TransformMatrix& u) {
  const int r = t.rank;
  if (r < 1 || r > 5) return;
  // The law is applied one index position at a time: transforming position p with the others
  // held fixed, for p = 1..r in turn, gives the full r-fold sum with 3^(r+1) products per pass.
  // Only the elements whose indices beyond the rank are 1 take part.
  std::array<Real, kComponentCount> current{};
  std::array<Real, kComponentCount> next{};
  int count = 1;
  for (int p = 0; p < r; ++p) count *= 3;
  const int stride = kComponentCount / count;  // offset step of the compact rank-r index
  for (int q = 0; q < count; ++q) current[q] = t.components[q * stride];

  for (int p = 0; p < r; ++p) {
    int step = 1;  // the compact offset step of index position p (last position fastest)
    for (int later = p + 1; later < r; ++later) step *= 3;
    for (int q = 0; q < count; ++q) {
      const int a = q / step % 3;
      const int base = q - a * step;
      next[q] = u[a][0] * current[base] + u[a][1] * current[base + step] +
                u[a][2] * current[base + 2 * step];
    }
    current.swap(next);
  }

  std::array<Real, kComponentCount> result{};
  for (int q = 0; q < count; ++q) result[q * stride] = current[q];
  t.components = result;
}

namespace {

/// True when a Save keeps every component: either the point group leaves no independent
/// components (the file then holds all 243 of them), or its walk rebuilds the same components
/// from the independent values.
bool SurvivesWriting(const TensorState& t, const CoreServices& services) {
  TensorState copy = t;
  if (ApplySymmetry(copy, SymmetryMode::Describe, services) < 1) return true;
  return WalkReproducesComponents(t, services);
}

}  // namespace

TransformedSymmetry KeepTransformedTensor(TensorState& t, const CoreServices& services) {
  RecordingMessages quiet;  // "does not exist" and "no entrance" belong to the real uses
  CoreServices s = services;
  s.messages = &quiet;
  TransformedSymmetry result;
  if (t.pointGroup != kPointGroupOne && !SurvivesWriting(t, s)) {
    result.groupChanged = true;
    result.oldGroup = t.pointGroup;
    t.pointGroup = kPointGroupOne;
  }
  // Describe writes the value texts from the components; a "?" entry leaves them as they are,
  // and the headerless layout then keeps the components themselves.
  ApplySymmetry(t, SymmetryMode::Describe, s);
  return result;
}

void ReadTransformMatrix(TransformMatrix& u,
                         const std::function<std::string(int column, int row)>& cell,
                         char decimalSeparator) {
  for (int a = 1; a <= 3; ++a)
    for (int b = 1; b <= 3; ++b) u[a - 1][b - 1] = ParseReal(cell(a, b), decimalSeparator);
}

}  // namespace quillmere
