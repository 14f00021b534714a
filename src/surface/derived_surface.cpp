#include "surface/derived_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace quillmere {

namespace {

double Dot(const Vector3d& a, const Vector3d& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vector3d Normalised(Vector3d v) {
  const double length = std::sqrt(Dot(v, v));
  for (double& x : v) x /= length;
  return v;
}

/// The grid of the search: a Fibonacci spiral over the upper hemisphere, the equator in steps of
/// 7.5 degrees, and the axes, face and body diagonals where symmetric extremes sit.
const std::vector<Vector3d>& SearchGrid() {
  static const std::vector<Vector3d> grid = [] {
    std::vector<Vector3d> g;
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
Vector3d Canonical(const Vector3d& n) {
  for (int i = 0; i < 3; ++i) {
    if (n[i] > 1e-12) return n;
    if (n[i] < -1e-12) return {-n[0], -n[1], -n[2]};
  }
  return n;
}

/// True when a is named before b: larger x, then y, then z (components within 1e-6, the
/// search's own precision in direction, count as equal).
bool NamedBefore(const Vector3d& a, const Vector3d& b) {
  for (int i = 0; i < 3; ++i)
    if (std::fabs(a[i] - b[i]) > 1e-6) return a[i] > b[i];
  return false;
}

/// Pattern search for the least g from n: eight directions in the tangent plane, turned a
/// little at every halving of the step so that a narrow valley along a crease is still found.
Vector3d Refine(const EvenFunction& g, Vector3d n, double& best) {
  double step = 0.04, turn = 0;
  for (int moves = 0; step > 1e-9 && moves < 3000; ++moves) {
    Vector3d u, v;
    PerpendicularBasis(n, u, v);
    bool moved = false;
    for (int k = 0; k < 8; ++k) {
      const double angle = turn + k * M_PI / 4, cu = std::cos(angle) * step,
                   cv = std::sin(angle) * step;
      const Vector3d trial = Normalised({n[0] + cu * u[0] + cv * v[0], n[1] + cu * u[1] + cv * v[1],
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

/// The naming rule as one number: larger x first, then y, then z. On a ring the key's maximum
/// lies within about 1e-6 rad of the ring's largest x.
double NamingKey(const Vector3d& n) {
  return n[0] + 1e-6 * n[1] + 1e-12 * n[2];
}

/// Moves n along a ring or plateau of values as good as `best` (within 2e-14 relative) towards
/// the direction the naming rule puts first.
Vector3d Slide(const EvenFunction& g, Vector3d n, double best) {
  const double limit = best + 2e-14 * std::max(1.0, std::fabs(best));
  double step = 0.05;
  for (int moves = 0; step > 1e-9 && moves < 2000; ++moves) {
    Vector3d u, v;
    PerpendicularBasis(n, u, v);
    bool moved = false;
    for (int k = 0; k < 8 && !moved; ++k) {
      const double cu = std::cos(k * M_PI / 4) * step, cv = std::sin(k * M_PI / 4) * step;
      const Vector3d trial =
          Canonical(Normalised({n[0] + cu * u[0] + cv * v[0], n[1] + cu * u[1] + cv * v[1],
                                n[2] + cu * u[2] + cv * v[2]}));
      if (NamingKey(trial) > NamingKey(n) + 1e-15 && g(trial) <= limit) n = trial, moved = true;
    }
    if (!moved) step /= 2;
  }
  return n;
}

}  // namespace

void PerpendicularBasis(const Vector3d& n, Vector3d& a, Vector3d& b) {
  // Cross n with the coordinate axis it is least aligned with.
  int axis = 0;
  for (int i = 1; i < 3; ++i)
    if (std::fabs(n[i]) < std::fabs(n[axis])) axis = i;
  Vector3d e{0, 0, 0};
  e[axis] = 1;
  a = {n[1] * e[2] - n[2] * e[1], n[2] * e[0] - n[0] * e[2], n[0] * e[1] - n[1] * e[0]};
  const double length = std::sqrt(Dot(a, a));
  for (double& x : a) x /= length;
  b = {n[1] * a[2] - n[2] * a[1], n[2] * a[0] - n[0] * a[2], n[0] * a[1] - n[1] * a[0]};
}

SphereExtreme FindSphereExtreme(const EvenFunction& f, bool largest) {
  // Search for the least g; not-a-number counts as worst.
  const EvenFunction g = [&](const Vector3d& n) {
    const double v = f(n);
    return std::isnan(v) ? std::numeric_limits<double>::infinity() : largest ? -v : v;
  };
  const std::vector<Vector3d>& grid = SearchGrid();
  std::vector<std::pair<double, int>> ranked;
  ranked.reserve(grid.size());
  for (int i = 0; i < static_cast<int>(grid.size()); ++i) ranked.emplace_back(g(grid[i]), i);
  std::sort(ranked.begin(), ranked.end());

  // The best grid points at least 0.2 rad apart (n and -n alike) start the refinement.
  std::vector<Vector3d> starts;
  for (const auto& [value, i] : ranked) {
    if (starts.size() == 6) break;
    bool near = false;
    for (const Vector3d& s : starts) near = near || std::fabs(Dot(s, grid[i])) > std::cos(0.2);
    if (!near) starts.push_back(grid[i]);
  }
  struct Found {
    double value;
    Vector3d n;
  };
  std::vector<Found> found;
  for (const Vector3d& start : starts) {
    double best = g(start);
    const Vector3d n = Refine(g, start, best);
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
  result.direction = Slide(g, result.direction, best);
  result.value = f(result.direction);
  return result;
}

DirectionValue ShownValue(const TensorState& t, const SurfaceEvaluation& e) {
  if (e.derivedValue) {
    const auto f = e.derivedValue;
    return [f](const Direction& n) { return f(n[0], n[1], n[2]); };
  }
  const auto p = std::make_shared<const SurfacePolynomial>(t, e);
  // A polynomial that cancels to rounding noise is a zero surface: it shows 0 everywhere.
  if (p->IsZero()) return [](const Direction&) { return Real{0}; };
  return [p](const Direction& n) { return p->Value(n[0], n[1], n[2]); };
}

bool ShownValueIsEven(const TensorState& t, const SurfaceEvaluation& e) {
  return e.derivedValue || SurfacePolynomial(t, e).Degree() % 2 == 0;
}

SurfaceExtremes FindShownExtremes(const TensorState& t, const SurfaceEvaluation& e) {
  if (!e.derivedValue) return FindSurfaceExtremes(t, e);
  const auto f = e.derivedValue;
  const EvenFunction value = [&f](const Vector3d& n) {
    return static_cast<double>(f(n[0], n[1], n[2]));
  };
  SurfaceExtremes result;
  for (const bool largest : {true, false}) {
    const SphereExtreme x = FindSphereExtreme(value, largest);
    SurfaceExtreme& out = largest ? result.largest : result.smallest;
    out.value = x.value;
    out.direction = {x.direction[0], x.direction[1], x.direction[2]};
    out.repeats = {out.direction, {-out.direction[0], -out.direction[1], -out.direction[2]}};
  }
  return result;
}

MapGrid ComputeMapGrid(const DirectionValue& value, MapProjection projection, bool lower,
                       int size) {
  MapGrid grid;
  grid.size = std::max(size, 1);
  grid.values.resize(static_cast<std::size_t>(grid.size) * grid.size);
  Direction n;
  for (int row = 0; row < grid.size; ++row)
    for (int column = 0; column < grid.size; ++column)
      grid.values[static_cast<std::size_t>(row) * grid.size + column] =
          MapDirection(projection, lower, grid.X(column), grid.Y(row), n)
              ? value(n)
              : std::numeric_limits<Real>::quiet_NaN();
  return grid;
}

void WriteMapCsv(std::ostream& out, const DirectionValue& value, MapProjection projection,
                 MapHemisphere hemisphere, int n) {
  WriteMapRowsCsv(
      out,
      [&value](const double* x, const double* y, const double* z, const char* valid, double* values,
               std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
          if (valid[i]) values[i] = static_cast<double>(value(Direction{x[i], y[i], z[i]}));
      },
      projection, hemisphere, n);
}

}  // namespace quillmere
