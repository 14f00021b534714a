// The representation surface as a VRML 2.0 scene (.wrl), in a screen variant (coloured surface
// on the view's background, with the coordinate axes when they are on) and a 3-D printable
// variant (no axes, every point at least 0.3 from the origin), written from the sampled mesh of
// the surface (surface_mesh.h): its points, then its cells as faces, then a colour per point.
//
// Errors: writers throw std::runtime_error with the user-visible text; the file-level functions
// write through WriteFileAtomically, so a failed export leaves an earlier file as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>

#include "files/surface_mesh.h"

namespace quillmere {

/// A colour as the exports use it: red, green and blue bytes.
struct ExportColour {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

/// What the exports read from the view settings; the caller copies them in at export time.
struct ExportOptions {
  int resolution = 2;  ///< 1..8 in the program; the grid has k = 10 * resolution
  ExportColour positiveFill{0, 255, 0};
  ExportColour negativeFill{255, 0, 0};
  ExportColour background{255, 255, 254};
  ExportColour axesColour{0, 0, 255};
  bool showAxes = true;  ///< screen variant only; the printable scene never has axes
  /// The conventions stamp (ConventionsStamp), written as a comment after the header line;
  /// empty: no comment.
  std::string stamp;
};

/// Writes the scene of `mesh`, lines ending in CR LF; a `printable` scene omits the axes whatever
/// o.showAxes says (o.resolution is the mesh's). Throws std::runtime_error("Invalid floating
/// point operation") when the mesh has a non-finite point; nothing is written then. Returns the
/// number of patches (faces of the surface) written.
std::size_t WriteVRML(std::ostream& out, const SurfaceMesh& mesh, const ExportOptions& o,
                      bool printable);

/// Samples the mesh at o.resolution under `e` and writes its scene, the variant following
/// e.printableExport. Returns the number of patches written.
std::size_t WriteVRML(std::ostream& out, const TensorState& t, const SurfaceEvaluation& e,
                      const ExportOptions& o);

/// WriteVRML into `path`, replacing it only when the whole scene was written. Returns the number
/// of patches written.
std::size_t ExportVRMLFile(const std::filesystem::path& path, const TensorState& t,
                           const SurfaceEvaluation& e, const ExportOptions& o);

}  // namespace quillmere
