#include "files/stl_export.h"

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/atomic_file.h"
#include "files/export_text.h"

namespace quillmere {

namespace {

constexpr const char* kLineEnd = "\r\n";

/// A vertex in hundredths of the STL unit. Integer coordinates make the zero-normal test of
/// degenerate triangles exact.
struct Vertex {
  long long c[3];
};

/// Beyond this many hundredths the cross products would no longer be exact in 128 bits.
constexpr Real kLargestHundredths = 1e15L;

long long Hundredths(Real coordinate) {
  const Real scaled = 1000 * coordinate;
  if (!std::isfinite(scaled) || std::fabs(scaled) > kLargestHundredths)
    throw std::runtime_error("Invalid floating point operation");
  return RoundHalfEven(scaled);
}

void AppendVertex(std::string& out, const Vertex& v) {
  out += "   vertex ";
  for (int a = 0; a < 3; ++a) {
    if (a) out += ' ';
    export_text::AppendHundredths(out, v.c[a], 6);
  }
  out += kLineEnd;
}

/// Writes the triangle p, q, r with normal n = u x w, or nothing when n is zero; returns 1 when
/// it was written, else 0.
int AppendFacet(std::string& out, const Vertex& p, const Vertex& q, const Vertex& r,
                const __int128 u[3], const __int128 w[3]) {
  const __int128 n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2],
                         u[0] * w[1] - u[1] * w[0]};
  if (n[0] == 0 && n[1] == 0 && n[2] == 0) return 0;
  const Real nx = static_cast<Real>(n[0]), ny = static_cast<Real>(n[1]),
             nz = static_cast<Real>(n[2]);
  const Real length = std::sqrt(nx * nx + ny * ny + nz * nz);
  out += " facet normal ";
  export_text::AppendFixed(out, static_cast<double>(nx / length), 3, 7);
  out += ' ';
  export_text::AppendFixed(out, static_cast<double>(ny / length), 3, 7);
  out += ' ';
  export_text::AppendFixed(out, static_cast<double>(nz / length), 3, 7);
  out += kLineEnd;
  out += "  outer loop";
  out += kLineEnd;
  AppendVertex(out, p);
  AppendVertex(out, q);
  AppendVertex(out, r);
  out += "  endloop";
  out += kLineEnd;
  out += " endfacet";
  out += kLineEnd;
  return 1;
}

void Difference(const Vertex& a, const Vertex& b, __int128 d[3]) {
  for (int i = 0; i < 3; ++i) d[i] = static_cast<__int128>(a.c[i]) - b.c[i];
}

}  // namespace

std::size_t WriteSTL(std::ostream& out, const SurfaceMesh& mesh) {
  // Every point is rounded once; each cell then reads its four corners.
  std::vector<Vertex> vertices;
  vertices.reserve(mesh.points.size());
  for (const SurfacePointValue& p : mesh.points)
    vertices.push_back({{Hundredths(p.x), Hundredths(p.y), Hundredths(p.z)}});

  std::string text;
  text.reserve(vertices.size() * 2 * 200 + 64);
  text += "solid Quillmere STL";
  text += kLineEnd;
  std::size_t facets = 0;
  mesh.ForEachCell([&](std::size_t ia, std::size_t ib, std::size_t ic, std::size_t id) {
    const Vertex& a = vertices[ia];
    const Vertex& b = vertices[ib];
    const Vertex& c = vertices[ic];
    const Vertex& d = vertices[id];
    __int128 u[3], w[3];
    // B, A, C with n = (A - B) x (C - A).
    Difference(a, b, u);
    Difference(c, a, w);
    facets += AppendFacet(text, b, a, c, u, w);
    // A, D, C with n = (A - C) x (D - A).
    Difference(a, c, u);
    Difference(d, a, w);
    facets += AppendFacet(text, a, d, c, u, w);
  });
  text += "endsolid Quillmere STL";
  text += kLineEnd;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return facets;
}

std::size_t WriteSTL(std::ostream& out, const TensorState& t, const SurfaceEvaluation& e,
                     int resolution) {
  SurfaceEvaluation printable = e;
  printable.printableExport = true;
  return WriteSTL(out, SampleSurfaceMesh(t, printable, resolution));
}

std::size_t ExportSTLFile(const std::filesystem::path& path, const TensorState& t,
                          const SurfaceEvaluation& e, int resolution) {
  std::size_t facets = 0;
  WriteFileAtomically(path, [&](std::ostream& out) { facets = WriteSTL(out, t, e, resolution); });
  return facets;
}

}  // namespace quillmere
