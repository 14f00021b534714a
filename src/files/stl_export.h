// The representation surface as an ASCII STL solid for 3-D printing: two triangles for each cell
// of the sampled mesh (surface_mesh.h), always in the printable variant, so every vertex lies at
// least 3 units (0.1 of the scale, times 30) from the origin.
#pragma once

#include <cstddef>
#include <filesystem>
#include <ostream>

#include "files/surface_mesh.h"

namespace quillmere {

/// Writes the solid of `mesh` (sampled with the printable minimum) as WriteSTL below does.
/// Returns the number of triangles (facets) written.
std::size_t WriteSTL(std::ostream& out, const SurfaceMesh& mesh);

/// Writes "solid Quillmere STL", the facets and "endsolid Quillmere STL", lines ending in CR LF.
/// Vertices are ten times the SurfacePoint coordinates rounded to 0.01 (halves to even), in the
/// drawing frame; normals come from the rounded vertices and follow the right-hand rule of the
/// written vertex order; triangles with a zero normal are skipped. The evaluation uses `e` with
/// the printable minimum switched on, whatever e.printableExport says. Throws
/// std::runtime_error("Invalid floating point operation") for a non-finite or unprintably large
/// vertex; nothing is written then. Returns the number of triangles written.
std::size_t WriteSTL(std::ostream& out, const TensorState& t, const SurfaceEvaluation& e,
                     int resolution);

/// WriteSTL into `path`, replacing it only when the whole mesh was written. Returns the number
/// of triangles written.
std::size_t ExportSTLFile(const std::filesystem::path& path, const TensorState& t,
                          const SurfaceEvaluation& e, int resolution);

}  // namespace quillmere
