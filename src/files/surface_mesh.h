// The representation surface sampled once on a regular grid of angles, independent of the
// renderer's scene list: the mesh that the VRML scene and the STL solid are written from. The
// writers visit its quadrilateral cells in one order, so both files describe the same faces.
#pragma once

#include <cstddef>
#include <vector>

#include "surface/surface_value.h"
#include "tensor/tensor_state.h"

namespace quillmere {

/// The sampling grid: k = 10 * resolution; rows i = 0..k at theta_i = i*pi/k (pole to pole),
/// columns j = -k..k at phi_j = j*pi/k (a full turn, first and last column coincide). Point
/// (i, j) has the 0-based number i*(2k+1) + (j+k).
struct ExportGrid {
  explicit ExportGrid(int resolution);  ///< throws std::runtime_error for resolution < 1
  int k;
  int Columns() const { return 2 * k + 1; }
  int Points() const { return (k + 1) * Columns(); }
  Real Theta(int i) const;  ///< radians
  Real Phi(int j) const;    ///< radians, j = -k..k
};

/// One sampled point of the surface, in the drawing frame (first crystal axis reversed), in
/// units of the scale times 3.
struct SurfacePointValue {
  Real x = 0, y = 0, z = 0;
  bool positive = false;  ///< a value of exactly 0 counts as negative
};

/// The point at three times the absolute surface value along e = (sin t sin p, sin t cos p,
/// cos t), the value being taken at the crystal direction (-e1, e2, e3); angles in radians.
SurfacePointValue SurfacePoint(const TensorState& t, const SurfaceEvaluation& e, Real theta,
                               Real phi);

/// Every grid point evaluated once, in the order of their numbers. The points are as the surface
/// gives them, non-finite ones included: each writer decides what it can write.
struct SurfaceMesh {
  ExportGrid grid;
  std::vector<SurfacePointValue> points;

  /// Calls visit(a, b, c, d) with the point numbers of each cell's corners, a = (i, j),
  /// b = (i + 1, j), c = (i + 1, j + 1), d = (i, j + 1), row by row from the first pole, each
  /// row in rising j. The cells at the poles are degenerate (two corners coincide) and are
  /// visited all the same.
  template <typename Visit>
  void ForEachCell(Visit&& visit) const {
    const std::size_t m = static_cast<std::size_t>(grid.Columns());
    for (std::size_t i = 0; i < static_cast<std::size_t>(grid.k); ++i) {
      for (std::size_t j = 0; j + 1 < m; ++j) {
        const std::size_t a = i * m + j;
        visit(a, a + m, a + m + 1, a + 1);
      }
    }
  }
};

/// Samples the surface of `t` under `e` on the grid of `resolution`.
SurfaceMesh SampleSurfaceMesh(const TensorState& t, const SurfaceEvaluation& e, int resolution);

}  // namespace quillmere
