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

struct Facet {
  std::array<double, 3> normal;
  std::array<std::array<double, 3>, 3> vertex;
  std::array<std::string, 3> vertexText;  ///< the coordinates as written, to compare exactly
};

struct Mesh {
  std::string first, last;
  std::vector<Facet> facets;
};

/// Reads an STL text, checking every line's exact form on the way.
Mesh Parse(const std::string& text) {
  Mesh mesh;
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "last line without CR LF";
      return mesh;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  if (lines.size() < 2) {
    ADD_FAILURE() << "too short";
    return mesh;
  }
  mesh.first = lines.front();
  mesh.last = lines.back();
  EXPECT_EQ((lines.size() - 2) % 7, 0u);
  static const std::regex normal(
      R"(^ facet normal ( *-?\d\.\d{3}) ( *-?\d\.\d{3}) ( *-?\d\.\d{3})$)");
  static const std::regex vertex(R"(^   vertex ( *-?\d+\.\d\d) ( *-?\d+\.\d\d) ( *-?\d+\.\d\d)$)");
  for (std::size_t n = 1; n + 7 <= lines.size() - 1; n += 7) {
    Facet f;
    std::smatch m;
    if (!std::regex_match(lines[n], m, normal)) {
      ADD_FAILURE() << "normal line: '" << lines[n] << "'";
      return mesh;
    }
    for (int a = 0; a < 3; ++a) {
      EXPECT_EQ(m[a + 1].length(), 7) << lines[n];
      f.normal[a] = std::stod(m[a + 1].str());
    }
    EXPECT_EQ(lines[n + 1], "  outer loop");
    for (int v = 0; v < 3; ++v) {
      const std::string& line = lines[n + 2 + v];
      if (!std::regex_match(line, m, vertex)) {
        ADD_FAILURE() << "vertex line: '" << line << "'";
        return mesh;
      }
      for (int a = 0; a < 3; ++a) {
        EXPECT_GE(m[a + 1].length(), 6) << line;
        f.vertex[v][a] = std::stod(m[a + 1].str());
      }
      f.vertexText[v] = line;
    }
    EXPECT_EQ(lines[n + 5], "  endloop");
    EXPECT_EQ(lines[n + 6], " endfacet");
    mesh.facets.push_back(f);
  }
  return mesh;
}

Mesh Export(const TensorState& t, int resolution, const SurfaceEvaluation& e = {}) {
  std::ostringstream out;
  WriteSTL(out, t, e, resolution);
  return Parse(out.str());
}

std::array<double, 3> Minus(const std::array<double, 3>& a, const std::array<double, 3>& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

/// What every printable mesh must be: facets with distinct vertices and unit normals that
/// follow the right-hand rule of the vertex order and point away from the origin, and a closed
/// surface in which every edge is shared by exactly two facets that run it in opposite
/// directions.
void ExpectClosedOutwardMesh(const Mesh& mesh) {
  EXPECT_EQ(mesh.first, "solid Quillmere STL");
  EXPECT_EQ(mesh.last, "endsolid Quillmere STL");
  std::map<std::pair<std::string, std::string>, int> directedEdges;
  for (const Facet& f : mesh.facets) {
    const auto& v = f.vertex;
    EXPECT_TRUE(f.vertexText[0] != f.vertexText[1] && f.vertexText[1] != f.vertexText[2] &&
                f.vertexText[0] != f.vertexText[2])
        << "two equal vertices: " << f.vertexText[0];
    const auto u = Minus(v[1], v[0]), w = Minus(v[2], v[0]);
    std::array<double, 3> n = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                               u[0] * w[1] - u[1] * w[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    ASSERT_GT(length, 0) << f.vertexText[0];
    const double written = std::sqrt(f.normal[0] * f.normal[0] + f.normal[1] * f.normal[1] +
                                     f.normal[2] * f.normal[2]);
    EXPECT_NEAR(written, 1, 2e-3);
    double outward = 0;
    for (int a = 0; a < 3; ++a) {
      EXPECT_NEAR(f.normal[a], n[a] / length, 1e-3) << "right-hand rule, " << f.vertexText[0];
      outward += n[a] * (v[0][a] + v[1][a] + v[2][a]);
    }
    EXPECT_GT(outward, 0) << "normal points inward at " << f.vertexText[0];
    for (int e = 0; e < 3; ++e) ++directedEdges[{f.vertexText[e], f.vertexText[(e + 1) % 3]}];
  }
  for (const auto& [edge, count] : directedEdges) {
    EXPECT_EQ(count, 1) << "edge run twice in one direction: " << edge.first;
    const auto reverse = directedEdges.find({edge.second, edge.first});
    EXPECT_TRUE(reverse != directedEdges.end()) << "open edge at " << edge.first;
  }
}

TEST(StlExport, ZeroTensorGivesAClosedSphereOfRadiusThree) {
  TensorState zero;
  zero.rank = 2;
  const Mesh mesh = Export(zero, 1);
  // 2k^2 cells of two triangles, less the one triangle of each cell that touches a pole with
  // an edge of length zero: 400 - 2 * 20.
  EXPECT_EQ(mesh.facets.size(), 360u);
  ExpectClosedOutwardMesh(mesh);
  for (const Facet& f : mesh.facets)
    for (const auto& v : f.vertex)
      EXPECT_NEAR(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]), 3, 0.009);
  EXPECT_EQ(mesh.facets.front().vertexText[1], "   vertex   0.00   0.00   3.00");
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
  // With fixed directions the surface may have large flat zero regions, which the printable
  // minimum turns into a sphere of radius 3.
  TensorState t;
  t.rank = 2;
  t.At(3, 1) = 1;
  SurfaceEvaluation e;
  e.anyDirectionFixed = true;
  e.fixedDirections[0].flag = "yes";
  e.fixedDirections[0].u[2] = 1;
  ExpectClosedOutwardMesh(Export(t, 3, e));
}

TEST(StlExport, VerticesAreTenTimesTheSurfacePointRoundedHalfToEven) {
  // Along z the value is 3/16, so the pole lies at 3 * 3/16 = 0.5625 and its STL coordinate at
  // 5.625, a half that rounds to the even 5.62.
  TensorState t;
  t.rank = 1;
  t.At(3) = 0.1875L;
  const Mesh mesh = Export(t, 1);
  EXPECT_EQ(mesh.facets.front().vertexText[1], "   vertex   0.00   0.00   5.62");
  EXPECT_EQ(mesh.facets.back().vertexText[2], "   vertex   0.00   0.00  -5.62");
}

TEST(StlExport, ExportIsAlwaysPrintable) {
  TensorState zero;
  zero.rank = 3;
  SurfaceEvaluation screen;  // printableExport off: the writer still keeps the minimum
  const Mesh mesh = Export(zero, 1, screen);
  EXPECT_EQ(mesh.facets.size(), 360u);
}

TEST(StlExport, AFailedExportLeavesTheEarlierFileIntact) {
  test::TempDir dir;
  const std::filesystem::path path = dir.Write("mesh.stl", "earlier mesh\r\n");
  TensorState t;
  t.rank = 2;
  t.At(1, 1) = 1e30L;  // far beyond any printable size
  SurfaceEvaluation e;
  EXPECT_THROW(ExportSTLFile(path, t, e, 1), std::runtime_error);
  EXPECT_EQ(test::ReadFile(path), "earlier mesh\r\n");
  t.At(1, 1) = 1;
  ExportSTLFile(path, t, e, 1);
  EXPECT_EQ(test::ReadFile(path).rfind("solid Quillmere STL\r\n", 0), 0u);
}

}  // namespace
}  // namespace quillmere
