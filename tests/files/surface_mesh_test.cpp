#include "files/surface_mesh.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

namespace quillmere {
namespace {

using Vec = std::array<double, 3>;

Vec At(const SurfaceMesh& mesh, std::size_t n) {
  const SurfacePointValue& p = mesh.points[n];
  return {static_cast<double>(p.x), static_cast<double>(p.y), static_cast<double>(p.z)};
}

double TriangleArea(const Vec& a, const Vec& b, const Vec& c) {
  const Vec u{b[0] - a[0], b[1] - a[1], b[2] - a[2]}, w{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
  const Vec n{u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
  return std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]) / 2;
}

TEST(SurfaceMesh, CellsCoverTheWholeSurfaceOnce) {
  // An isotropic tensor: a sphere of radius 3 times its value. The cells the writers visit
  // must tile it without gaps or overlaps, so their area approaches the sphere's.
  TensorState t;
  t.rank = 2;
  for (int i = 1; i <= 3; ++i) t.At(i, i) = 1;
  const SurfaceMesh mesh = SampleSurfaceMesh(t, SurfaceEvaluation{}, 4);
  ASSERT_EQ(mesh.points.size(), static_cast<std::size_t>(mesh.grid.Points()));
  int cells = 0;
  double area = 0;
  mesh.ForEachCell([&](std::size_t a, std::size_t b, std::size_t c, std::size_t d) {
    ++cells;
    area += TriangleArea(At(mesh, a), At(mesh, b), At(mesh, c)) +
            TriangleArea(At(mesh, a), At(mesh, c), At(mesh, d));
  });
  EXPECT_EQ(cells, 2 * mesh.grid.k * mesh.grid.k);
  const double sphere = 4 * std::numbers::pi * 9;
  EXPECT_NEAR(area, sphere, 0.01 * sphere);
  EXPECT_LT(area, sphere) << "inscribed facets are never larger than the sphere";
}

}  // namespace
}  // namespace quillmere
