#include "surface/extremes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace quillmere {

DirectionalPolynomial::DirectionalPolynomial(const TensorState& t, const SurfaceEvaluation& e) {
  const int r = t.rank;
  if (r < 1 || r > 5) return;
  // Which index positions follow the direction; rank 1 always does.
  bool fixed[5] = {};
  if (r >= 2 && e.anyDirectionFixed)
    for (int p = 0; p < r; ++p) fixed[p] = e.fixedDirections[p].flag == "yes";
  for (int p = 0; p < r; ++p) degree_ += !fixed[p];

  Real coefficient[6][6] = {};
  TensorIndices x;
  int tuples = 1;
  for (int p = 0; p < r; ++p) tuples *= 3;
  for (int q = 0; q < tuples; ++q) {
    int rest = q, ones = 0, twos = 0;
    for (int p = r - 1; p >= 0; --p) {
      x.i[p] = rest % 3 + 1;
      rest /= 3;
    }
    Real term = t.At(x);
    for (int p = 0; p < r; ++p) {
      if (fixed[p]) {
        term *= static_cast<Real>(e.fixedDirections[p].u[x.i[p] - 1]);
      } else {
        ones += x.i[p] == 1;
        twos += x.i[p] == 2;
      }
    }
    coefficient[ones][twos] += term;
  }
  for (int a = 0; a <= degree_; ++a)
    for (int b = 0; a + b <= degree_; ++b) {
      const Real c = coefficient[a][b];
      if (c == 0) continue;
      terms_.push_back(Term{c, {a, b, degree_ - a - b}});
      magnitude_ = std::isfinite(c) ? std::max(magnitude_, std::fabs(c)) : c;
    }
}

bool DirectionalPolynomial::Finite() const {
  for (const Term& term : terms_)
    if (!std::isfinite(term.coefficient)) return false;
  return true;
}

Real DirectionalPolynomial::Value(Real x, Real y, Real z) const {
  Real power[3][6];
  const Real u[3] = {x, y, z};
  for (int i = 0; i < 3; ++i) {
    power[i][0] = 1;
    for (int k = 1; k <= degree_; ++k) power[i][k] = power[i][k - 1] * u[i];
  }
  Real sum = 0;
  for (const Term& term : terms_)
    sum += term.coefficient * power[0][term.power[0]] * power[1][term.power[1]] *
           power[2][term.power[2]];
  return sum;
}

Real DirectionalPolynomial::Derivatives(const Direction& n, Real gradient[3],
                                        Real hessian[3][3]) const {
  // power[i][k + 2] = n_i^k, with the negative powers (only ever multiplied by 0) set to 0.
  Real power[3][8];
  for (int i = 0; i < 3; ++i) {
    power[i][0] = power[i][1] = 0;
    power[i][2] = 1;
    for (int k = 1; k <= degree_; ++k) power[i][k + 2] = power[i][k + 1] * n[i];
  }
  Real value = 0;
  for (int i = 0; i < 3; ++i) {
    gradient[i] = 0;
    for (int j = 0; j < 3; ++j) hessian[i][j] = 0;
  }
  for (const Term& term : terms_) {
    const int* p = term.power;
    const Real c = term.coefficient;
    value += c * power[0][p[0] + 2] * power[1][p[1] + 2] * power[2][p[2] + 2];
    for (int i = 0; i < 3; ++i) {
      // The term with the power of n_i lowered by d_i for each i.
      auto lowered = [&](int d0, int d1, int d2) {
        return power[0][p[0] + 2 - d0] * power[1][p[1] + 2 - d1] * power[2][p[2] + 2 - d2];
      };
      const int d[3] = {i == 0, i == 1, i == 2};
      gradient[i] += c * p[i] * lowered(d[0], d[1], d[2]);
      for (int j = i; j < 3; ++j) {
        const int dd[3] = {d[0] + (j == 0), d[1] + (j == 1), d[2] + (j == 2)};
        const Real factor = i == j ? Real(p[i]) * (p[i] - 1) : Real(p[i]) * p[j];
        if (factor != 0) hessian[i][j] += c * factor * lowered(dd[0], dd[1], dd[2]);
      }
    }
  }
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < i; ++j) hessian[i][j] = hessian[j][i];
  return value;
}

namespace {

Real Dot(const Direction& a, const Direction& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Direction Normalised(const Direction& v) {
  const Real length = std::sqrt(Dot(v, v));
  return {v[0] / length, v[1] / length, v[2] / length};
}

Direction Cross(const Direction& a, const Direction& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Real Quadratic(const Real h[3][3], const Direction& a, const Direction& b) {
  Real sum = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) sum += a[i] * h[i][j] * b[j];
  return sum;
}

struct Candidate {
  Real value;
  Direction n;
};

/// Climbs from u to a local maximum of sign * p on the sphere: Newton steps in the tangent plane
/// where the sphere's Hessian is negative definite, short gradient steps elsewhere, each step
/// accepted only when it does not lower the value.
Candidate Climb(const DirectionalPolynomial& p, Real sign, Direction u) {
  const Real tolerance = 1e-15L * p.Magnitude();
  Real g[3], h[3][3];
  Real value = sign * p.Derivatives(u, g, h);
  for (int iteration = 0; iteration < 200; ++iteration) {
    for (int i = 0; i < 3; ++i) {
      g[i] *= sign;
      for (int j = 0; j < 3; ++j) h[i][j] *= sign;
    }
    const Direction axis = std::fabs(u[0]) < 0.6L   ? Direction{1, 0, 0}
                           : std::fabs(u[1]) < 0.6L ? Direction{0, 1, 0}
                                                    : Direction{0, 0, 1};
    const Direction e1 = Normalised(Cross(u, axis));
    const Direction e2 = Cross(u, e1);
    const Direction gv{g[0], g[1], g[2]};
    const Real radial = Dot(gv, u);
    const Real g1 = Dot(gv, e1), g2 = Dot(gv, e2);
    const Real slope = std::hypot(g1, g2);
    if (!(slope > tolerance)) break;
    // The Hessian of the value restricted to the sphere, in the basis e1, e2.
    const Real h11 = Quadratic(h, e1, e1) - radial, h22 = Quadratic(h, e2, e2) - radial;
    const Real h12 = Quadratic(h, e1, e2);
    // The 2x2 system is solved scaled to its largest entry: the determinant of components near
    // the top of the range would overflow and turn the Newton step around.
    const Real scale = std::fmax(std::fabs(h11), std::fmax(std::fabs(h22), std::fabs(h12)));
    const Real k = scale > 0 ? 1 / scale : 1;
    const Real a11 = h11 * k, a22 = h22 * k, a12 = h12 * k;
    const Real det = a11 * a22 - a12 * a12;
    Real s1 = g1, s2 = g2;
    if (a11 < 0 && det > 0) {
      s1 = -((a22 * g1 - a12 * g2) * k) / det;
      s2 = -((a11 * g2 - a12 * g1) * k) / det;
    } else {
      s1 *= 0.05L / slope;
      s2 *= 0.05L / slope;
    }
    const Real length = std::hypot(s1, s2);
    if (length > 0.2L) s1 *= 0.2L / length, s2 *= 0.2L / length;
    bool moved = false;
    for (Real step = 1; step > 1e-12L; step /= 2) {
      const Direction next = Normalised({u[0] + step * (s1 * e1[0] + s2 * e2[0]),
                                         u[1] + step * (s1 * e1[1] + s2 * e2[1]),
                                         u[2] + step * (s1 * e1[2] + s2 * e2[2])});
      Real ng[3], nh[3][3];
      const Real nextValue = sign * p.Derivatives(next, ng, nh);
      if (nextValue >= value) {
        moved = next != u;
        u = next;
        value = nextValue;
        std::copy(ng, ng + 3, g);
        for (int i = 0; i < 3; ++i) std::copy(nh[i], nh[i] + 3, h[i]);
        break;
      }
    }
    if (!moved) break;
  }
  return Candidate{sign * value, u};
}

/// Whether a should be reported before b among directions of equal value: larger x, then y,
/// then z.
bool Precedes(const Direction& a, const Direction& b) {
  constexpr Real kTie = 1e-9L;
  for (int i = 0; i < 3; ++i)
    if (std::fabs(a[i] - b[i]) > kTie) return a[i] > b[i];
  return false;
}

Direction Cleaned(Direction n) {
  for (Real& c : n)
    if (std::fabs(c) < 1e-13L) c = 0;
  return n;
}

/// The axes, face and body diagonals, and the hexagonal directions of the xy plane.
const std::vector<Direction>& SimpleDirections() {
  static const std::vector<Direction> list = [] {
    std::vector<Direction> d;
    for (int a = -1; a <= 1; ++a)
      for (int b = -1; b <= 1; ++b)
        for (int c = -1; c <= 1; ++c)
          if (a || b || c) d.push_back(Normalised({Real(a), Real(b), Real(c)}));
    for (int k = 0; k < 12; ++k) {
      const Real angle = k * std::numbers::pi_v<Real> / 6;
      d.push_back(Cleaned({std::cos(angle), std::sin(angle), 0}));
    }
    return d;
  }();
  return list;
}

/// The extreme of sign * p: dense search, then a climb from the best few well separated points.
SurfaceExtreme Search(const DirectionalPolynomial& p, Real sign,
                      const std::vector<Direction>& grid) {
  std::vector<Real> values(grid.size());
  for (std::size_t k = 0; k < grid.size(); ++k)
    values[k] = sign * p.Value(grid[k][0], grid[k][1], grid[k][2]);
  std::vector<std::size_t> order(grid.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return values[a] > values[b] || (values[a] == values[b] && a < b);
  });

  // Starting points at least 12 degrees apart, best first: every local maximum of a polynomial
  // of degree 5 or less is wider than that, so equal maxima repeated by symmetry each get one.
  const Real separation = std::cos(12 * std::numbers::pi_v<Real> / 180);
  constexpr std::size_t kStarts = 16;
  std::vector<Direction> starts;
  for (std::size_t k : order) {
    if (starts.size() == kStarts) break;
    bool apart = true;
    for (const Direction& s : starts) apart = apart && Dot(s, grid[k]) < separation;
    if (apart) starts.push_back(grid[k]);
  }

  std::vector<Candidate> found;
  for (const Direction& s : starts) found.push_back(Climb(p, sign, s));
  Real best = -std::numeric_limits<Real>::infinity();
  for (const Candidate& c : found) best = std::max(best, sign * c.value);

  SurfaceExtreme result;
  result.value = sign * best;
  const Real tolerance = 1e-10L * p.Magnitude();
  const bool even = p.Degree() % 2 == 0;
  auto add = [&](const Direction& n) {
    for (const Direction& r : result.repeats) {
      const Direction d{n[0] - r[0], n[1] - r[1], n[2] - r[2]};
      if (Dot(d, d) < 1e-12L) return;
    }
    if (result.repeats.size() < 48) result.repeats.push_back(Cleaned(n));
  };
  for (const Candidate& c : found) {
    if (sign * c.value < best - tolerance) continue;
    add(c.n);
    if (even) add({-c.n[0], -c.n[1], -c.n[2]});
  }
  // Where a whole ring or cone of directions shares the extreme, the climbs end anywhere on
  // it: a simple crystal direction on it (an axis, a diagonal, a hexagonal direction) is
  // reported instead.
  std::vector<Direction> simple;
  for (const Direction& s : SimpleDirections())
    if (std::fabs(sign * p.Value(s[0], s[1], s[2]) - best) <= tolerance) simple.push_back(s);
  std::stable_sort(simple.begin(), simple.end(), Precedes);
  if (!simple.empty()) add(simple.front());
  std::stable_sort(result.repeats.begin(), result.repeats.end(), Precedes);
  result.direction = simple.empty() ? result.repeats.front() : simple.front();
  return result;
}

/// About 2000 points spread evenly over the sphere (a Fibonacci lattice), 4 degrees apart.
const std::vector<Direction>& SearchGrid() {
  static const std::vector<Direction> grid = [] {
    constexpr int kPoints = 2000;
    const Real golden = std::numbers::pi_v<Real> * (3 - std::sqrt(Real(5)));
    std::vector<Direction> points;
    points.reserve(kPoints);
    for (int k = 0; k < kPoints; ++k) {
      const Real z = 1 - (2 * k + 1) / Real(kPoints);
      const Real r = std::sqrt(1 - z * z);
      points.push_back({r * std::cos(golden * k), r * std::sin(golden * k), z});
    }
    return points;
  }();
  return grid;
}

SurfaceExtreme Opposite(const SurfaceExtreme& e) {
  SurfaceExtreme o;
  o.value = -e.value;
  for (const Direction& n : e.repeats) o.repeats.push_back(Cleaned({-n[0], -n[1], -n[2]}));
  std::stable_sort(o.repeats.begin(), o.repeats.end(), Precedes);
  o.direction = o.repeats.front();
  return o;
}

}  // namespace

SurfaceExtremes FindSurfaceExtremes(const TensorState& t, const SurfaceEvaluation& e) {
  const DirectionalPolynomial p(t, e);
  SurfaceExtremes result;
  if (!p.Finite()) {
    result.largest.value = result.smallest.value = std::numeric_limits<Real>::quiet_NaN();
    result.largest.repeats = result.smallest.repeats = {result.largest.direction};
    return result;
  }
  if (p.Degree() == 0 || p.Magnitude() == 0) {
    // The same value in every direction.
    result.largest.value = result.smallest.value = p.Value(1, 0, 0);
    result.largest.repeats = result.smallest.repeats = {result.largest.direction};
    return result;
  }
  const std::vector<Direction>& grid = SearchGrid();
  result.largest = Search(p, 1, grid);
  result.smallest = p.Degree() % 2 == 1 ? Opposite(result.largest) : Search(p, -1, grid);
  if (result.largest.value - result.smallest.value <= 1e-12L * p.Magnitude()) {
    // A sphere: every direction is as good as any other.
    for (SurfaceExtreme* x : {&result.largest, &result.smallest}) {
      x->direction = {1, 0, 0};
      x->value = p.Value(1, 0, 0);
      x->repeats = {x->direction};
    }
  }
  return result;
}

}  // namespace quillmere
