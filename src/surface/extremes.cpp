#include "surface/extremes.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

namespace quillmere {

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
Candidate Climb(const SurfacePolynomial& p, Real sign, Direction u) {
  const Real tolerance = 1e-13L * p.Magnitude();
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
      if (nextValue > value || (nextValue == value && step == 1)) {
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

/// The grid's values of p, worked out once for both extremes.
std::vector<Real> GridValues(const SurfacePolynomial& p, const std::vector<Direction>& grid);

/// The climbs towards the extreme of sign * p from the best few well separated grid points.
std::vector<Candidate> Climbs(const SurfacePolynomial& p, Real sign,
                              const std::vector<Direction>& grid, const std::vector<Real>& values) {
  std::vector<std::size_t> order(grid.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return sign * values[a] > sign * values[b] || (values[a] == values[b] && a < b);
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
  return found;
}

Real Best(const std::vector<Candidate>& found, Real sign) {
  Real best = -std::numeric_limits<Real>::infinity();
  for (const Candidate& c : found) best = std::max(best, sign * c.value);
  return best;
}

/// Where sign * p has its extreme along a whole curve (a ring or cone) through u: the unit
/// tangent along which the value does not change, the unit direction across the curve and the
/// curvature there. The restricted Hessian then has one eigenvalue near 0 and one clearly below.
struct RingFrame {
  Direction along, across;
  Real acrossCurvature, acrossSlope;
};

std::optional<RingFrame> RingAt(const SurfacePolynomial& p, Real sign, const Direction& u) {
  Real g[3], h[3][3];
  p.Derivatives(u, g, h);
  const Direction axis = std::fabs(u[0]) < 0.6L   ? Direction{1, 0, 0}
                         : std::fabs(u[1]) < 0.6L ? Direction{0, 1, 0}
                                                  : Direction{0, 0, 1};
  const Direction e1 = Normalised(Cross(u, axis));
  const Direction e2 = Cross(u, e1);
  for (Real& v : g) v *= sign;
  for (auto& row : h)
    for (Real& v : row) v *= sign;
  const Direction gv{g[0], g[1], g[2]};
  const Real radial = Dot(gv, u);
  const Real h11 = Quadratic(h, e1, e1) - radial, h22 = Quadratic(h, e2, e2) - radial;
  const Real h12 = Quadratic(h, e1, e2);
  // Eigenvalues of [[h11, h12], [h12, h22]].
  const Real mean = (h11 + h22) / 2, half = std::hypot((h11 - h22) / 2, h12);
  const Real flat = mean + half, curved = mean - half;
  if (!(curved < -1e-6L * p.Magnitude()) || std::fabs(flat) > 1e-6L * std::fabs(curved))
    return std::nullopt;
  // The eigenvector of `flat`; the one of `curved` is perpendicular to it.
  Real a = h12, b = flat - h11;
  if (std::fabs(a) + std::fabs(b) == 0) a = flat - h22, b = h12;
  if (std::fabs(a) + std::fabs(b) == 0) a = 1, b = 0;
  RingFrame f;
  f.along = Normalised({a * e1[0] + b * e2[0], a * e1[1] + b * e2[1], a * e1[2] + b * e2[2]});
  f.across = Cross(u, f.along);
  f.acrossCurvature = curved;
  f.acrossSlope = Dot(gv, f.across);
  return f;
}

/// Strictly before in the order largest x, then y, then z, without a tie width.
bool Before(const Direction& a, const Direction& b) {
  for (int i = 0; i < 3; ++i)
    if (a[i] != b[i]) return a[i] > b[i];
  return false;
}

/// Walks along a ring of equal extremes from u to the point that comes first in the order
/// largest x, then y, then z: steps along the ring (each brought back onto it by Newton steps
/// across it) are taken while they lead forward in that order, halving the step otherwise.
Direction WalkRing(const SurfacePolynomial& p, Real sign, Direction u, Real best, Real tolerance) {
  auto ontoRing = [&](Direction v) -> std::optional<Direction> {
    for (int i = 0; i < 3; ++i) {
      const std::optional<RingFrame> f = RingAt(p, sign, v);
      if (!f) return std::nullopt;
      const Real d = -f->acrossSlope / f->acrossCurvature;
      v = Normalised({v[0] + d * f->across[0], v[1] + d * f->across[1], v[2] + d * f->across[2]});
    }
    return v;
  };
  Real step = 0.25L;
  for (int moves = 0; moves < 200 && step > 1e-9L; ++moves) {
    const std::optional<RingFrame> f = RingAt(p, sign, u);
    if (!f) break;
    bool moved = false;
    for (const Real s : {step, -step}) {
      const std::optional<Direction> next = ontoRing(
          Normalised({u[0] + s * f->along[0], u[1] + s * f->along[1], u[2] + s * f->along[2]}));
      if (next && sign * p.Value((*next)[0], (*next)[1], (*next)[2]) >= best - tolerance &&
          Before(*next, u)) {
        u = *next;
        moved = true;
        break;
      }
    }
    if (!moved) step /= 2;
  }
  // The walk ends within about 1e-8 of the point (x changes only to second order there); the
  // point itself is where the ring runs across x, so the x component of the tangent, linear in
  // the way along, is brought to 0 by secant steps.
  for (int i = 0; i < 4; ++i) {
    const std::optional<RingFrame> f = RingAt(p, sign, u);
    if (!f) break;
    constexpr Real h = 1e-6L;
    const std::optional<Direction> v = ontoRing(
        Normalised({u[0] + h * f->along[0], u[1] + h * f->along[1], u[2] + h * f->along[2]}));
    const std::optional<RingFrame> g = v ? RingAt(p, sign, *v) : std::nullopt;
    if (!g) break;
    const Real t0 = f->along[0], t1 = Dot(g->along, f->along) < 0 ? -g->along[0] : g->along[0];
    if (!(std::fabs(t1 - t0) > 1e-12L) || std::fabs(t0) > 1e-4L) break;
    const Real s = -t0 * h / (t1 - t0);
    const std::optional<Direction> w = ontoRing(
        Normalised({u[0] + s * f->along[0], u[1] + s * f->along[1], u[2] + s * f->along[2]}));
    if (!w || sign * p.Value((*w)[0], (*w)[1], (*w)[2]) < best - tolerance) break;
    u = *w;
  }
  return u;
}

/// The extreme of sign * p from its climbs; `spread` is largest - smallest, the measure of
/// agreement for simple directions.
SurfaceExtreme Extreme(const SurfacePolynomial& p, Real sign, const std::vector<Candidate>& found,
                       Real spread) {
  const Real best = Best(found, sign);
  SurfaceExtreme result;
  result.value = sign * best;
  // Values of one extreme found by different climbs differ by the rounding of double
  // precision, some 1e-15 of the magnitude; the simple directions must agree far closer than
  // the values differ from one another.
  const Real repeatTolerance = std::max(1e-12L * spread, 1e-14L * p.Magnitude());
  const Real simpleTolerance = 1e-12L * spread;
  const bool even = p.Degree() % 2 == 0;
  auto add = [&](const Direction& n) {
    for (const Direction& r : result.repeats) {
      const Direction d{n[0] - r[0], n[1] - r[1], n[2] - r[2]};
      if (Dot(d, d) < 1e-12L) return;
    }
    if (result.repeats.size() < 48) result.repeats.push_back(Cleaned(n));
  };
  for (const Candidate& c : found) {
    if (sign * c.value < best - repeatTolerance) continue;
    add(c.n);
    if (even) add({-c.n[0], -c.n[1], -c.n[2]});
  }
  std::stable_sort(result.repeats.begin(), result.repeats.end(), Precedes);
  // A simple crystal direction with the same value is reported instead of a point the climbs
  // ended at.
  std::vector<Direction> simple;
  for (const Direction& s : SimpleDirections())
    if (std::fabs(sign * p.Value(s[0], s[1], s[2]) - best) <= simpleTolerance) simple.push_back(s);
  std::stable_sort(simple.begin(), simple.end(), Precedes);
  if (!simple.empty()) {
    add(simple.front());
    std::stable_sort(result.repeats.begin(), result.repeats.end(), Precedes);
    result.direction = simple.front();
    return result;
  }
  // Along a ring or cone of equal extremes the climbs end anywhere on it: the point of the
  // ring that comes first in the order is reported.
  // A ring may come in pieces (the two halves of a cone): each piece a climb ended on is
  // walked, and the first of the points reached is named.
  Direction first = result.repeats.front();
  if (RingAt(p, sign, first)) {
    const std::vector<Direction> ends = result.repeats;
    for (const Direction& start : ends) {
      const Direction reached = Cleaned(WalkRing(p, sign, start, best, repeatTolerance));
      add(reached);
      if (Precedes(reached, first)) first = reached;
    }
    std::stable_sort(result.repeats.begin(), result.repeats.end(), Precedes);
  }
  result.direction = first;
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

std::vector<Real> GridValues(const SurfacePolynomial& p, const std::vector<Direction>& grid) {
  // Side by side in double precision, padded to whole blocks.
  const std::size_t n = (grid.size() + kEvaluationBlock - 1) / kEvaluationBlock * kEvaluationBlock;
  std::vector<double> x(n, 0.0), y(n, 0.0), z(n, 0.0), out(n);
  for (std::size_t k = 0; k < grid.size(); ++k) {
    x[k] = static_cast<double>(grid[k][0]);
    y[k] = static_cast<double>(grid[k][1]);
    z[k] = static_cast<double>(grid[k][2]);
  }
  const Real unit = p.Magnitude() > 0 ? p.Magnitude() : 1;
  WithDegree(p.Degree(), [&]<int R>() {
    EvaluateTerms(p.Scaled<R>(unit), x.data(), y.data(), z.data(), out.data(), n);
  });
  std::vector<Real> values(grid.size());
  for (std::size_t k = 0; k < grid.size(); ++k) values[k] = static_cast<Real>(out[k]) * unit;
  return values;
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
  const SurfacePolynomial p(t, e);
  SurfaceExtremes result;
  if (!p.Finite()) {
    result.largest.value = result.smallest.value = std::numeric_limits<Real>::quiet_NaN();
    result.largest.repeats = result.smallest.repeats = {result.largest.direction};
    return result;
  }
  if (p.Degree() > 0 && p.IsZero()) {
    // The components cancel: what the polynomial holds is rounding noise, not a shape.
    result.zero = true;
    result.largest.value = result.smallest.value = 0;
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
  const std::vector<Real> values = GridValues(p, grid);
  const bool odd = p.Degree() % 2 == 1;
  const std::vector<Candidate> high = Climbs(p, 1, grid, values);
  const std::vector<Candidate> low = odd ? std::vector<Candidate>{} : Climbs(p, -1, grid, values);
  const Real largest = Best(high, 1);
  const Real smallest = odd ? -largest : -Best(low, -1);
  const Real spread = largest - smallest;
  if (spread <= 1e-12L * p.Magnitude()) {
    // A sphere: every direction is as good as any other.
    for (SurfaceExtreme* x : {&result.largest, &result.smallest}) {
      x->direction = {1, 0, 0};
      x->value = p.Value(1, 0, 0);
      x->repeats = {x->direction};
    }
    return result;
  }
  result.largest = Extreme(p, 1, high, spread);
  result.smallest = odd ? Opposite(result.largest) : Extreme(p, -1, low, spread);
  return result;
}

}  // namespace quillmere
