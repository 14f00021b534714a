// The representation surface as an ASCII STL solid for 3-D printing: a closed triangle mesh over
// the grid of the VRML export (vrml_export.h), always in the printable variant, so every vertex
// lies at least 3 units (0.1 of the scale, times 30) from the origin.
#pragma once

#include <filesystem>
#include <ostream>

#include "surface/surface_value.h"
#include "tensor/tensor_state.h"

namespace quillmere {

/// Writes "solid Quillmere STL", the facets and "endsolid Quillmere STL", lines ending in CR LF.
/// Vertices are ten times the SurfacePoint coordinates rounded to 0.01 (halves to even), in the
/// drawing frame; normals come from the rounded vertices and follow the right-hand rule of the
/// written vertex order; triangles with a zero normal are skipped. The evaluation uses `e` with
/// the printable minimum switched on, whatever e.printableExport says. Throws
/// std::runtime_error("Invalid floating point operation") for a non-finite or unprintably large
/// vertex; nothing is written then.
void WriteSTL(std::ostream& out, const TensorState& t, const SurfaceEvaluation& e, int resolution);

/// WriteSTL into `path`, replacing it only when the whole mesh was written.
void ExportSTLFile(const std::filesystem::path& path, const TensorState& t,
                   const SurfaceEvaluation& e, int resolution);

}  // namespace quillmere
