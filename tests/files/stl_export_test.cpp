#include "files/stl_export.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace quillmere {
namespace {

using Vec = std::array<double, 3>;
struct Facet {
  Vec normal;
  std::array<Vec, 3> vertex;
  std::array<std::string, 3> text;  ///< vertex lines as written, to compare exactly
};

/// Writes the mesh and reads it back, checking every line's exact form on the way.
std::vector<Facet> Export(const TensorState& t, int resolution) {
  std::ostringstream out;
  WriteSTL(out, t, SurfaceEvaluation{}, resolution);  // printable even when the flag is off
  std::istringstream in(out.str());
  std::vector<std::string> l;
  for (std::string line; std::getline(in, line);) {
    EXPECT_EQ(line.back(), '\r') << "line without CR LF";
    l.push_back(line.substr(0, line.size() - 1));
  }
  EXPECT_EQ(l.front(), "solid Quillmere STL");
  EXPECT_EQ(l.back(), "endsolid Quillmere STL");
  EXPECT_EQ((l.size() - 2) % 7, 0u);
  // Normals: 3 decimals in exactly 7 characters; vertices: 2 decimals in at least 6.
  static const std::regex normal(
      R"( facet normal ( *-?\d\.\d{3}) ( *-?\d\.\d{3}) ( *-?\d\.\d{3}))");
  static const std::regex vertex(R"(   vertex ( *-?\d+\.\d\d) ( *-?\d+\.\d\d) ( *-?\d+\.\d\d))");
  std::vector<Facet> facets;
  for (std::size_t n = 1; n + 7 < l.size(); n += 7) {
    Facet f;
    std::smatch m;
    if (!std::regex_match(l[n], m, normal)) {
      ADD_FAILURE() << "'" << l[n] << "'";
      break;
    }
    for (int a = 0; a < 3; ++a) {
      EXPECT_EQ(m[a + 1].length(), 7) << l[n];
      f.normal[a] = std::stod(m[a + 1].str());
    }
    EXPECT_EQ(l[n + 1] + "|" + l[n + 5] + "|" + l[n + 6], "  outer loop|  endloop| endfacet");
    for (int v = 0; v < 3; ++v) {
      f.text[v] = l[n + 2 + v];
      if (!std::regex_match(f.text[v], m, vertex)) {
        ADD_FAILURE() << "'" << f.text[v] << "'";
        return facets;
      }
      for (int a = 0; a < 3; ++a) {
        EXPECT_GE(m[a + 1].length(), 6) << f.text[v];
        f.vertex[v][a] = std::stod(m[a + 1].str());
      }
    }
    facets.push_back(f);
  }
  return facets;
}

/// Every facet has distinct vertices and a unit normal that follows the right-hand rule of the
/// vertex order and points away from the origin; every edge is shared by exactly two facets
/// that run it in opposite directions, so the mesh is closed and consistently oriented.
void ExpectClosedOutwardMesh(const std::vector<Facet>& facets) {
  std::map<std::pair<std::string, std::string>, int> edges;
  for (const Facet& f : facets) {
    const auto& v = f.vertex;
    EXPECT_TRUE(f.text[0] != f.text[1] && f.text[1] != f.text[2] && f.text[0] != f.text[2])
        << "two equal vertices at " << f.text[0];
    Vec u, w, n;
    for (int a = 0; a < 3; ++a) u[a] = v[1][a] - v[0][a], w[a] = v[2][a] - v[0][a];
    n = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
    const double length = std::hypot(n[0], n[1], n[2]);
    EXPECT_NEAR(std::hypot(f.normal[0], f.normal[1], f.normal[2]), 1, 2e-3);
    double outward = 0;
    for (int a = 0; a < 3; ++a) {
      EXPECT_NEAR(f.normal[a], n[a] / length, 1e-3) << "right-hand rule at " << f.text[0];
      outward += n[a] * (v[0][a] + v[1][a] + v[2][a]);
    }
    EXPECT_GT(outward, 0) << "inward normal at " << f.text[0];
    for (int e = 0; e < 3; ++e) ++edges[{f.text[e], f.text[(e + 1) % 3]}];
  }
  for (const auto& [edge, count] : edges) {
    EXPECT_EQ(count, 1) << "edge run twice the same way at " << edge.first;
    EXPECT_TRUE(edges.count({edge.second, edge.first})) << "open edge at " << edge.first;
  }
}

TEST(StlExport, ZeroTensorGivesAClosedSphereOfRadiusThree) {
  TensorState zero;
  zero.rank = 2;
  const std::vector<Facet> facets = Export(zero, 1);
  // 2k^2 cells of two triangles, less the triangle of each cell at a pole whose edge has
  // length zero: 400 - 2 * 20.
  EXPECT_EQ(facets.size(), 360u);
  ExpectClosedOutwardMesh(facets);
  for (const Facet& f : facets)
    for (const Vec& v : f.vertex) EXPECT_NEAR(std::hypot(v[0], v[1], v[2]), 3, 0.009);
  EXPECT_EQ(facets.front().text[1], "   vertex   0.00   0.00   3.00");
}

TEST(StlExport, SignChangingTensorsGiveClosedOutwardMeshes) {
  test::Random random(11);
  for (int rank = 1; rank <= 5; rank += 2) {
    TensorState t;
    t.rank = rank;
    for (Real& c : t.components) c = random.Uniform(-1, 1);
    SCOPED_TRACE("rank " + std::to_string(rank));
    ExpectClosedOutwardMesh(Export(t, 2));
  }
}

TEST(StlExport, VerticesAreRoundedHalfToEven) {
  // Along z the value is 3/16: the pole lies at 3 * 3/16 = 0.5625, in the mesh at 5.625, a
  // half that rounds to the even 5.62 (and -5.62 at the other pole).
  TensorState t;
  t.rank = 1;
  t.At(3) = 0.1875L;
  const std::vector<Facet> facets = Export(t, 1);
  EXPECT_EQ(facets.front().text[1], "   vertex   0.00   0.00   5.62");
  EXPECT_EQ(facets.back().text[2], "   vertex   0.00   0.00  -5.62");
}

TEST(StlExport, AFailedExportLeavesTheEarlierFileIntact) {
  test::TempDir dir;
  const std::filesystem::path path = dir.Write("mesh.stl", "earlier mesh\r\n");
  TensorState t;
  t.rank = 2;
  t.At(1, 1) = 1e30L;  // far beyond any printable size
  EXPECT_THROW(ExportSTLFile(path, t, SurfaceEvaluation{}, 1), std::runtime_error);
  EXPECT_EQ(test::ReadFile(path), "earlier mesh\r\n");
}

}  // namespace
}  // namespace quillmere
