#include "elastic/elastic_quantity.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace quillmere {

namespace {

struct QuantityInfo {
  ElasticQuantity quantity;
  const char* name;
  const char* caption;
  const char* unit;
};
constexpr QuantityInfo kQuantities[kElasticQuantityCount] = {
    {ElasticQuantity::Youngs, "young", "Young's modulus", "GPa"},
    {ElasticQuantity::Compressibility, "compressibility", "Linear compressibility", "1/TPa"},
    {ElasticQuantity::ShearMin, "shear-min", "Shear modulus (minimum)", "GPa"},
    {ElasticQuantity::ShearMax, "shear-max", "Shear modulus (maximum)", "GPa"},
    {ElasticQuantity::ShearMean, "shear-mean", "Shear modulus (mean)", "GPa"},
    {ElasticQuantity::PoissonMin, "poisson-min", "Poisson's ratio (minimum)", ""},
    {ElasticQuantity::PoissonMax, "poisson-max", "Poisson's ratio (maximum)", ""},
    {ElasticQuantity::PoissonMean, "poisson-mean", "Poisson's ratio (mean)", ""},
    {ElasticQuantity::VelocityP, "vp", "Velocity p (longitudinal)", "km/s"},
    {ElasticQuantity::VelocityS1, "vs1", "Velocity s1 (fast shear)", "km/s"},
    {ElasticQuantity::VelocityS2, "vs2", "Velocity s2 (slow shear)", "km/s"},
};

const QuantityInfo& Info(ElasticQuantity q) {
  return kQuantities[static_cast<int>(q)];
}

double Dot(const Vector3& a, const Vector3& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vector3 Normalised(Vector3 v) {
  const double length = std::sqrt(Dot(v, v));
  for (double& x : v) x /= length;
  return v;
}

/// The grid of the search: a Fibonacci spiral over the upper hemisphere, the equator in steps of
/// 7.5 degrees, and the axes, face and body diagonals where symmetric extremes sit.
const std::vector<Vector3>& SearchGrid() {
  static const std::vector<Vector3> grid = [] {
    std::vector<Vector3> g;
    const int count = 900;
    const double golden = M_PI * (3 - std::sqrt(5.0));
    for (int i = 0; i < count; ++i) {
      const double z = 1 - (i + 0.5) / count, r = std::sqrt(1 - z * z);
      g.push_back({r * std::cos(golden * i), r * std::sin(golden * i), z});
    }
    for (int k = 0; k < 24; ++k) g.push_back({std::cos(k * M_PI / 24), std::sin(k * M_PI / 24), 0});
    for (int a = -1; a <= 1; ++a)
      for (int b = -1; b <= 1; ++b)
        for (int c = 0; c <= 1; ++c)
          if (a || b || c) g.push_back(Normalised({double(a), double(b), double(c)}));
    return g;
  }();
  return grid;
}

/// n or -n, whichever comes first by the naming rule (largest x, then y, then z).
Vector3 Canonical(const Vector3& n) {
  for (int i = 0; i < 3; ++i) {
    if (n[i] > 1e-12) return n;
    if (n[i] < -1e-12) return {-n[0], -n[1], -n[2]};
  }
  return n;
}

/// True when a is named before b: larger x, then y, then z (beyond 1e-9).
bool NamedBefore(const Vector3& a, const Vector3& b) {
  for (int i = 0; i < 3; ++i)
    if (std::fabs(a[i] - b[i]) > 1e-9) return a[i] > b[i];
  return false;
}

/// Pattern search for the least g from n: eight directions in the tangent plane, turned a
/// little at every halving of the step so that a narrow valley along a crease is still found.
Vector3 Refine(const EvenFunction& g, Vector3 n, double& best) {
  double step = 0.04, turn = 0;
  while (step > 1e-10) {
    Vector3 u, v;
    PerpendicularBasis(n, u, v);
    bool moved = false;
    for (int k = 0; k < 8; ++k) {
      const double angle = turn + k * M_PI / 4, cu = std::cos(angle) * step,
                   cv = std::sin(angle) * step;
      const Vector3 trial = Normalised({n[0] + cu * u[0] + cv * v[0], n[1] + cu * u[1] + cv * v[1],
                                        n[2] + cu * u[2] + cv * v[2]});
      const double value = g(trial);
      if (value < best) {
        best = value, n = trial, moved = true;
        break;
      }
    }
    if (!moved) {
      step /= 2;
      turn += 0.3927;  // 22.5 degrees
    }
  }
  return n;
}

}  // namespace

const char* QuantityName(ElasticQuantity q) {
  return Info(q).name;
}
const char* QuantityCaption(ElasticQuantity q) {
  return Info(q).caption;
}
const char* QuantityUnit(ElasticQuantity q) {
  return Info(q).unit;
}

std::optional<ElasticQuantity> QuantityFromName(const std::string& name) {
  for (const QuantityInfo& i : kQuantities)
    if (name == i.name) return i.quantity;
  return std::nullopt;
}

std::string QuantityNames() {
  std::string text;
  for (const QuantityInfo& i : kQuantities)
    text += (text.empty() ? "" : " | ") + std::string(i.name);
  return text;
}

bool NeedsDensity(ElasticQuantity q) {
  return q == ElasticQuantity::VelocityP || q == ElasticQuantity::VelocityS1 ||
         q == ElasticQuantity::VelocityS2;
}

double QuantityValue(const ElasticTensor& e, ElasticQuantity q, const Vector3& n, double density) {
  switch (q) {
    case ElasticQuantity::Youngs:
      return e.Youngs(n);
    case ElasticQuantity::Compressibility:
      return e.LinearCompressibility(n);
    case ElasticQuantity::ShearMin:
      return e.Shear(n).min;
    case ElasticQuantity::ShearMax:
      return e.Shear(n).max;
    case ElasticQuantity::ShearMean:
      return e.Shear(n).mean;
    case ElasticQuantity::PoissonMin:
      return e.Poisson(n).min;
    case ElasticQuantity::PoissonMax:
      return e.Poisson(n).max;
    case ElasticQuantity::PoissonMean:
      return e.Poisson(n).mean;
    case ElasticQuantity::VelocityP:
      return e.Waves(n, density).speed[0];
    case ElasticQuantity::VelocityS1:
      return e.Waves(n, density).speed[1];
    case ElasticQuantity::VelocityS2:
      return e.Waves(n, density).speed[2];
  }
  return std::numeric_limits<double>::quiet_NaN();
}

SphereExtreme FindSphereExtreme(const EvenFunction& f, bool largest) {
  // Search for the least g; not-a-number counts as worst.
  const EvenFunction g = [&](const Vector3& n) {
    const double v = f(n);
    return std::isnan(v) ? std::numeric_limits<double>::infinity() : largest ? -v : v;
  };
  const std::vector<Vector3>& grid = SearchGrid();
  std::vector<std::pair<double, int>> ranked;
  ranked.reserve(grid.size());
  for (int i = 0; i < static_cast<int>(grid.size()); ++i) ranked.emplace_back(g(grid[i]), i);
  std::sort(ranked.begin(), ranked.end());

  // The best grid points at least 0.2 rad apart (n and -n alike) start the refinement.
  std::vector<Vector3> starts;
  for (const auto& [value, i] : ranked) {
    if (starts.size() == 6) break;
    bool near = false;
    for (const Vector3& s : starts) near = near || std::fabs(Dot(s, grid[i])) > std::cos(0.2);
    if (!near) starts.push_back(grid[i]);
  }
  struct Found {
    double value;
    Vector3 n;
  };
  std::vector<Found> found;
  for (const Vector3& start : starts) {
    double best = g(start);
    const Vector3 n = Refine(g, start, best);
    found.push_back({best, Canonical(n)});
  }
  double best = std::numeric_limits<double>::infinity();
  for (const Found& x : found) best = std::min(best, x.value);
  SphereExtreme result;
  if (!std::isfinite(best)) {
    result.value = std::numeric_limits<double>::quiet_NaN();
    return result;
  }
  const double tolerance = 1e-9 * std::max(1.0, std::fabs(best));
  bool first = true;
  for (const Found& x : found) {
    if (x.value > best + tolerance) continue;
    if (first || NamedBefore(x.n, result.direction)) result.direction = x.n;
    first = false;
  }
  result.value = f(result.direction);
  return result;
}

}  // namespace quillmere
