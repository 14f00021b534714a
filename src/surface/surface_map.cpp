#include "surface/surface_map.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "surface/scale_legend.h"

namespace quillmere {

Real MapRadius(MapProjection projection, Real theta) {
  return projection == MapProjection::EqualArea ? std::sqrt(Real(2)) * std::sin(theta / 2)
                                                : std::tan(theta / 2);
}

bool MapDirection(MapProjection projection, bool lower, Real x, Real y, Direction& n) {
  const Real r2 = x * x + y * y;
  if (projection == MapProjection::EqualArea) {
    // sin(theta) = r sqrt(2 - r^2), cos(theta) = 1 - r^2.
    if (r2 > 2) return false;
    const Real f = std::sqrt(2 - r2);
    n = {x * f, y * f, 1 - r2};
  } else {
    n = {2 * x / (1 + r2), 2 * y / (1 + r2), (1 - r2) / (1 + r2)};
  }
  if (lower) n[2] = -n[2];
  return true;
}

bool MapPoint(MapProjection projection, bool lower, const Direction& n, Real& x, Real& y) {
  const Real z = lower ? -n[2] : n[2];
  if (z < -1e-12L) return false;
  const Real zc = std::max<Real>(z, 0);
  const Real f = projection == MapProjection::EqualArea ? 1 / std::sqrt(1 + zc) : 1 / (1 + zc);
  x = n[0] * f;
  y = n[1] * f;
  return true;
}

namespace {

/// The directions of the cell centres of one row of an n x n grid (MapDirection in double
/// precision), padded to whole evaluation blocks; `valid` is false where the projection has no
/// direction, or outside the disc with `discOnly`.
struct MapRow {
  std::vector<double> x, y, z, value;
  std::vector<char> valid;
  explicit MapRow(int n) {
    const std::size_t size =
        (static_cast<std::size_t>(n) + kEvaluationBlock - 1) / kEvaluationBlock * kEvaluationBlock;
    x.assign(size, 0.0), y.assign(size, 0.0), z.assign(size, 0.0), value.assign(size, 0.0);
    valid.assign(size, 0);
  }
  void Fill(MapProjection projection, bool lower, int row, int n, bool discOnly) {
    const double py = 1 - (2.0 * row + 1) / n;
    for (int column = 0; column < n; ++column) {
      const double px = -1 + (2.0 * column + 1) / n;
      const double r2 = px * px + py * py;
      const std::size_t i = static_cast<std::size_t>(column);
      double nx, ny, nz;
      bool ok = true;
      if (projection == MapProjection::EqualArea) {
        ok = r2 <= 2;
        const double f = ok ? std::sqrt(2 - r2) : 0;
        nx = px * f, ny = py * f, nz = 1 - r2;
      } else {
        nx = 2 * px / (1 + r2), ny = 2 * py / (1 + r2), nz = (1 - r2) / (1 + r2);
      }
      if (discOnly && r2 > 1) ok = false;
      x[i] = nx, y[i] = ny, z[i] = lower ? -nz : nz;
      valid[i] = ok;
    }
  }
  void Evaluate(const SurfacePolynomial& p, Real unit) {
    // A polynomial that cancels to rounding noise is a zero surface: it maps to 0 everywhere.
    if (p.IsZero()) {
      std::fill(value.begin(), value.end(), 0.0);
      return;
    }
    WithDegree(p.Degree(), [&]<int R>() {
      EvaluateTerms(p.Scaled<R>(unit), x.data(), y.data(), z.data(), value.data(), x.size());
    });
  }
};

Real Unit(const SurfacePolynomial& p) {
  return p.Magnitude() > 0 && std::isfinite(p.Magnitude()) ? p.Magnitude() : 1;
}

}  // namespace

MapGrid ComputeMapGrid(const SurfacePolynomial& p, MapProjection projection, bool lower, int size) {
  MapGrid grid;
  grid.size = std::max(size, 1);
  grid.values.resize(static_cast<std::size_t>(grid.size) * grid.size);
  const Real unit = Unit(p);
  MapRow cells(grid.size);
  for (int row = 0; row < grid.size; ++row) {
    cells.Fill(projection, lower, row, grid.size, false);
    cells.Evaluate(p, unit);
    Real* out = &grid.values[static_cast<std::size_t>(row) * grid.size];
    for (int column = 0; column < grid.size; ++column) {
      const std::size_t i = static_cast<std::size_t>(column);
      out[column] = cells.valid[i] ? static_cast<Real>(cells.value[i]) * unit
                                   : std::numeric_limits<Real>::quiet_NaN();
    }
  }
  return grid;
}

std::vector<ContourSegment> ContourLines(const MapGrid& grid, Real level) {
  std::vector<ContourSegment> segments;
  const int n = grid.size;
  // Where the level crosses the edge from corner a (value va) to corner b.
  auto cross = [level](Real xa, Real ya, Real va, Real xb, Real yb, Real vb, Real& x, Real& y) {
    const Real f = (level - va) / (vb - va);
    x = xa + f * (xb - xa);
    y = ya + f * (yb - ya);
  };
  for (int row = 0; row + 1 < n; ++row)
    for (int column = 0; column + 1 < n; ++column) {
      // Corners counter-clockwise from the lower left: (column, row + 1), (column + 1, row + 1),
      // (column + 1, row), (column, row).
      const Real xs[4] = {grid.X(column), grid.X(column + 1), grid.X(column + 1), grid.X(column)};
      const Real ys[4] = {grid.Y(row + 1), grid.Y(row + 1), grid.Y(row), grid.Y(row)};
      const Real vs[4] = {grid.At(row + 1, column), grid.At(row + 1, column + 1),
                          grid.At(row, column + 1), grid.At(row, column)};
      int mask = 0;
      bool valid = true;
      for (int k = 0; k < 4; ++k) {
        valid = valid && !std::isnan(vs[k]);
        if (vs[k] >= level) mask |= 1 << k;
      }
      if (!valid || mask == 0 || mask == 15) continue;
      // The edges k (from corner k to corner k + 1) that the level crosses.
      int edges[4], count = 0;
      for (int k = 0; k < 4; ++k)
        if (((mask >> k) & 1) != ((mask >> ((k + 1) % 4)) & 1)) edges[count++] = k;
      Real px[4], py[4];
      for (int e = 0; e < count; ++e) {
        const int a = edges[e], b = (a + 1) % 4;
        cross(xs[a], ys[a], vs[a], xs[b], ys[b], vs[b], px[e], py[e]);
      }
      if (count == 2) {
        segments.push_back({px[0], py[0], px[1], py[1]});
      } else if (count == 4) {
        // A saddle: the mean decides whether corner 0 joins corner 2 across the cell.
        const bool centreAbove = (vs[0] + vs[1] + vs[2] + vs[3]) / 4 >= level;
        const bool corner0Above = mask & 1;
        if (centreAbove == corner0Above) {
          segments.push_back({px[0], py[0], px[1], py[1]});
          segments.push_back({px[2], py[2], px[3], py[3]});
        } else {
          segments.push_back({px[3], py[3], px[0], py[0]});
          segments.push_back({px[1], py[1], px[2], py[2]});
        }
      }
    }
  return segments;
}

MapLevels ContourLevels(Real lo, Real hi) {
  MapLevels result;
  const Real largest = std::max(std::fabs(lo), std::fabs(hi));
  if (!(hi > lo) || !std::isfinite(hi - lo)) {
    result.step = result.limit = largest > 0 && std::isfinite(largest) ? largest : 1;
    return result;
  }
  result.step = NiceStep(lo, hi).step;
  result.limit = std::ceil(largest / result.step * (1 - 1e-12L)) * result.step;
  if (result.limit <= 0) result.limit = result.step;
  if (lo >= 0 || hi <= 0) {
    const Real smallest = std::min(std::fabs(lo), std::fabs(hi));
    result.floor = std::floor(smallest / result.step * (1 + 1e-12L)) * result.step;
    if (result.floor >= result.limit) result.floor = 0;
  }
  for (long long k = static_cast<long long>(std::ceil(lo / result.step));
       k * result.step <= hi && result.levels.size() < 200; ++k)
    result.levels.push_back(k * result.step);
  return result;
}

Colour DivergingColour(Real s) {
  struct Anchor {
    Real at;
    int r, g, b;
  };
  static constexpr Anchor kAnchors[5] = {{-1, 84, 39, 136},
                                         {-0.5L, 128, 115, 172},
                                         {0, 247, 247, 247},
                                         {0.5L, 241, 163, 64},
                                         {1, 179, 88, 6}};
  if (std::isnan(s)) s = 0;
  s = std::clamp<Real>(s, -1, 1);
  int k = 0;
  while (k < 3 && s > kAnchors[k + 1].at) ++k;
  const Anchor& a = kAnchors[k];
  const Anchor& b = kAnchors[k + 1];
  const Real f = (s - a.at) / (b.at - a.at);
  auto mix = [f](int u, int v) { return static_cast<int>(std::lround(u + f * (v - u))); };
  return Colour::Exact(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

Colour BandColour(const MapLevels& levels, Real value) {
  const Real middle = (std::floor(value / levels.step) + 0.5L) * levels.step;
  if (levels.floor <= 0) return DivergingColour(middle / levels.limit);
  // Values of one sign, far from zero: the shades of that sign from pale to full.
  const Real share = (std::fabs(middle) - levels.floor) / (levels.limit - levels.floor);
  return DivergingColour(std::copysign(0.12L + 0.88L * share, middle));
}

void WriteMapRowsCsv(std::ostream& out, const MapRowValues& values, MapProjection projection,
                     MapHemisphere hemisphere, int n) {
  out << "x,y,nx,ny,nz,value\n";
  // Every number with 17 significant digits, which gives back the double it was made from: the
  // values can be worked out again from the directions in the same line.
  MapRow cells(n);
  std::string text;
  auto put = [&text](double v, char after) {
    char number[32];
    const auto end =
        std::to_chars(number, number + sizeof number, v, std::chars_format::general, 17).ptr;
    text.append(number, end);
    text.push_back(after);
  };
  // Every row repeats the columns' x and every cell of a row its y: those texts are made once.
  std::vector<std::string> columnTexts(static_cast<std::size_t>(std::max(n, 0)));
  for (int column = 0; column < n; ++column) {
    text.clear();
    put(-1 + (2.0 * column + 1) / n, ',');
    columnTexts[static_cast<std::size_t>(column)] = text;
  }
  std::string rowText;
  for (const bool lower : {false, true}) {
    if ((lower && hemisphere == MapHemisphere::Upper) ||
        (!lower && hemisphere == MapHemisphere::Lower))
      continue;
    for (int row = 0; row < n; ++row) {
      cells.Fill(projection, lower, row, n, true);
      values(cells.x.data(), cells.y.data(), cells.z.data(), cells.valid.data(), cells.value.data(),
             cells.x.size());
      text.clear();
      put(1 - (2.0 * row + 1) / n, ',');
      rowText = text;
      text.clear();
      for (int column = 0; column < n; ++column) {
        const std::size_t i = static_cast<std::size_t>(column);
        if (!cells.valid[i]) continue;
        text += columnTexts[i];
        text += rowText;
        put(cells.x[i], ',');
        put(cells.y[i], ',');
        put(cells.z[i], ',');
        put(cells.value[i], '\n');
      }
      out << text;
    }
  }
}

void WriteMapCsv(std::ostream& out, const SurfacePolynomial& p, MapProjection projection,
                 MapHemisphere hemisphere, int n) {
  const Real unit = Unit(p);
  const bool zero = p.IsZero();
  WriteMapRowsCsv(
      out,
      [&](const double* x, const double* y, const double* z, const char*, double* value,
          std::size_t count) {
        // A polynomial that cancels to rounding noise is a zero surface: it maps to 0.
        if (zero) {
          std::fill(value, value + count, 0.0);
          return;
        }
        WithDegree(p.Degree(),
                   [&]<int R>() { EvaluateTerms(p.Scaled<R>(unit), x, y, z, value, count); });
        for (std::size_t i = 0; i < count; ++i)
          value[i] = static_cast<double>(static_cast<Real>(value[i]) * unit);
      },
      projection, hemisphere, n);
}

}  // namespace quillmere
