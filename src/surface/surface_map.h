// Flat maps of the surface value over a hemisphere, seen along crystal z with x to the right and
// y up: the equal-area (Lambert) projection r = sqrt(2) sin(theta/2) or the stereographic one
// r = tan(theta/2), theta the angle from +z, both with the equator on the unit circle. The lower
// hemisphere shows direction (x, y, -z) at the place of (x, y, z).
//
// Units: map points are in the disc's unit coordinates (x right, y up, the equator at radius 1);
// values are in the tensor's units (absolute, not divided by the scale).
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <vector>

#include "surface/colour.h"
#include "surface/extremes.h"

namespace quillmere {

enum class MapProjection { EqualArea, Stereographic };
enum class MapHemisphere { Upper, Lower, Both };

/// Radius on the map of a direction at angle theta (radians) from the pole.
Real MapRadius(MapProjection projection, Real theta);

/// The direction shown at map point (x, y) of the upper disc, or of the lower with `lower`.
/// Points beyond the equator continue the projection onto the other hemisphere (up to the
/// antipode's circle of the equal-area map); false where the projection has no direction.
bool MapDirection(MapProjection projection, bool lower, Real x, Real y, Direction& n);

/// Where the unit vector n shows on the upper (or lower) disc; false when it lies on the other
/// hemisphere (the equator shows on both).
bool MapPoint(MapProjection projection, bool lower, const Direction& n, Real& x, Real& y);

/// Values on a size x size grid of cell centres covering the square [-1, 1]^2 of one disc:
/// cell (row, column) lies at x = -1 + (2 column + 1)/size, y = 1 - (2 row + 1)/size. Cells
/// where the projection has no direction hold not-a-number.
struct MapGrid {
  int size = 0;
  std::vector<Real> values;
  Real At(int row, int column) const {
    return values[static_cast<std::size_t>(row) * size + column];
  }
  Real X(int column) const { return -1 + (2 * column + 1) / Real(size); }
  Real Y(int row) const { return 1 - (2 * row + 1) / Real(size); }
};

MapGrid ComputeMapGrid(const SurfacePolynomial& p, MapProjection projection, bool lower, int size);

/// One piece of a contour line, in the disc's unit coordinates.
struct ContourSegment {
  Real x0, y0, x1, y1;
};

/// The contour line of `level` through the grid, by marching squares (a cell whose corners
/// alternate around the level is split by the mean of its corners).
std::vector<ContourSegment> ContourLines(const MapGrid& grid, Real level);

/// The contour levels of a map from lo to hi: every multiple of `step` between them, the step a
/// round number as the scale ruler chooses it. `limit` is the first multiple of the step at or
/// beyond the larger of |lo| and |hi|: the ends of the colour scale. When lo and hi have the
/// same sign, `floor` is the last multiple of the step at or before the smaller of |lo| and
/// |hi|, and the colour scale runs from there (so its shades are spent on the values there
/// are); otherwise it is 0.
struct MapLevels {
  Real step = 1;
  Real limit = 1;
  Real floor = 0;
  std::vector<Real> levels;
};
MapLevels ContourLevels(Real lo, Real hi);

/// The diverging colour of s in [-1, 1] (clamped): purple through white at 0 to orange, the
/// negative side darker than the positive at every |s|, so both signs stay apart in greyscale
/// and for readers who do not tell red from green.
Colour DivergingColour(Real s);

/// The colour of the band between two contour levels that holds `value`.
Colour BandColour(const MapLevels& levels, Real value);

/// The values along a row of map directions: value[i] along the unit vector (x[i], y[i], z[i])
/// wherever valid[i] is set (the others are not written), in the tensor's units. n is a
/// multiple of kEvaluationBlock.
using MapRowValues = std::function<void(const double* x, const double* y, const double* z,
                                        const char* valid, double* value, std::size_t n)>;

/// The map as text: "x,y,nx,ny,nz,value" and one row per cell centre of an n x n grid inside
/// each disc (upper first), the direction a unit vector, the value in the tensor's units; every
/// number with 17 significant digits.
void WriteMapRowsCsv(std::ostream& out, const MapRowValues& values, MapProjection projection,
                     MapHemisphere hemisphere, int n);
/// WriteMapRowsCsv of the polynomial.
void WriteMapCsv(std::ostream& out, const SurfacePolynomial& p, MapProjection projection,
                 MapHemisphere hemisphere, int n);

}  // namespace quillmere
