// The surface value as a function of direction, whether the tensor's own polynomial or a derived
// quantity (SurfaceEvaluation::derivedValue), for the maps and the extreme marks; and the search
// for the extremes of a function over the sphere that has no polynomial form.
//
// Units: values in the tensor's units (absolute, not divided by the scale); directions are unit
// vectors of the crystal frame.
#pragma once

#include <array>
#include <functional>
#include <ostream>

#include "surface/extremes.h"
#include "surface/surface_map.h"

namespace quillmere {

/// The value along a unit direction of the crystal frame.
using DirectionValue = std::function<Real(const Direction&)>;

/// What the maps show for `t` under `e`: the derived value when there is one, otherwise the
/// tensor's value with its fixed directions (the polynomial of SurfacePolynomial).
DirectionValue ShownValue(const TensorState& t, const SurfaceEvaluation& e);
/// True when the shown value is the same along n and -n: a derived quantity or an even degree.
bool ShownValueIsEven(const TensorState& t, const SurfaceEvaluation& e);
/// The extremes of the shown value: FindSurfaceExtremes for the tensor, FindSphereExtreme for a
/// derived quantity (each reported with its opposite direction as repeat).
SurfaceExtremes FindShownExtremes(const TensorState& t, const SurfaceEvaluation& e);

/// ComputeMapGrid and WriteMapCsv for any value of direction.
MapGrid ComputeMapGrid(const DirectionValue& value, MapProjection projection, bool lower, int size);
void WriteMapCsv(std::ostream& out, const DirectionValue& value, MapProjection projection,
                 MapHemisphere hemisphere, int n);

using Vector3d = std::array<double, 3>;
/// A value along a unit direction that is the same along n and -n.
using EvenFunction = std::function<double(const Vector3d&)>;

struct SphereExtreme {
  double value = 0;
  Vector3d direction{1, 0, 0};
};

/// The smallest (with `largest` the largest) value of f over the unit sphere: a grid over the
/// hemisphere and the crystal's special directions, then a pattern search on the sphere from
/// the best separate grid points, down to steps of 1e-9 rad. Of equal extremes (1e-9 relative)
/// the one with the largest x, then y, then z is named (n and -n counted as one direction).
/// Not-a-number values count as worst; not-a-number when all are.
SphereExtreme FindSphereExtreme(const EvenFunction& f, bool largest);

/// Two unit vectors that with n make a right-handed orthonormal frame.
void PerpendicularBasis(const Vector3d& n, Vector3d& a, Vector3d& b);

}  // namespace quillmere
