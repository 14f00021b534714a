#include "files/surface_mesh.h"

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace quillmere {

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

}  // namespace

ExportGrid::ExportGrid(int resolution) : k(10 * resolution) {
  if (resolution < 1) throw std::runtime_error("The export resolution must be at least 1");
}

Real ExportGrid::Theta(int i) const {
  return static_cast<Real>(i) * kPi / static_cast<Real>(k);
}

Real ExportGrid::Phi(int j) const {
  return static_cast<Real>(j) * kPi / static_cast<Real>(k);
}

SurfacePointValue SurfacePoint(const TensorState& t, const SurfaceEvaluation& e, Real theta,
                               Real phi) {
  const Real st = std::sin(theta);
  const Real e1 = st * std::sin(phi);
  const Real e2 = st * std::cos(phi);
  const Real e3 = std::cos(theta);
  // The drawing frame reverses the first crystal axis, as on the screen.
  Real r = 3 * SurfaceValue(t, e, -e1, e2, e3);
  SurfacePointValue p;
  p.positive = r > 0;
  if (!p.positive) r = -r;
  p.x = r * e1;
  p.y = r * e2;
  p.z = r * e3;
  return p;
}

SurfaceMesh SampleSurfaceMesh(const TensorState& t, const SurfaceEvaluation& e, int resolution) {
  SurfaceMesh mesh{ExportGrid(resolution), {}};
  const int k = mesh.grid.k;
  mesh.points.reserve(static_cast<std::size_t>(mesh.grid.Points()));
  for (int i = 0; i <= k; ++i)
    for (int j = -k; j <= k; ++j)
      mesh.points.push_back(SurfacePoint(t, e, mesh.grid.Theta(i), mesh.grid.Phi(j)));
  return mesh;
}

}  // namespace quillmere
