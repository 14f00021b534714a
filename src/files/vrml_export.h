// The representation surface as a VRML 2.0 scene (.wrl), in a screen variant (coloured surface
// on the view's background, with the coordinate axes when they are on) and a 3-D printable
// variant (no axes, every point at least 0.3 from the origin). Both sample the surface on a
// regular grid of angles of their own, independent of the renderer's scene list; the STL export
// (stl_export.h) shares the grid, the point function and the export entry.
//
// Errors: writers throw std::runtime_error with the user-visible text; the file-level functions
// write through WriteFileAtomically, so a failed export leaves an earlier file as it was.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "surface/surface_value.h"
#include "tensor/tensor_state.h"

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

/// Writes the scene, lines ending in CR LF. The variant follows e.printableExport: printable
/// scenes omit the axes whatever o.showAxes says. Throws std::runtime_error("Invalid floating
/// point operation") when the surface has a non-finite point; nothing is written then.
void WriteVRML(std::ostream& out, const TensorState& t, const SurfaceEvaluation& e,
               const ExportOptions& o);

/// WriteVRML into `path`, replacing it only when the whole scene was written.
void ExportVRMLFile(const std::filesystem::path& path, const TensorState& t,
                    const SurfaceEvaluation& e, const ExportOptions& o);

// ---- The export entry of the main window ---------------------------------------------------

/// The three export commands of the File menu.
enum class ExportVariant { ScreenVRML, PrintableVRML, Stl };

/// What the save dialog is asked to show.
struct ExportDialogRequest {
  std::string defaultExtension;  ///< "wrl" or "stl"
  std::string filter;            ///< "VRML-2.0 data file (*.wrl)|*.wrl|All files|*.*" or STL's
  std::string proposedPath;      ///< the last export's path, empty at first
};

/// Shows the save dialog; returns the chosen path or nothing when the user cancels.
using ChooseExportPath =
    std::function<std::optional<std::filesystem::path>(const ExportDialogRequest&)>;

/// State of the exports that lives for the run.
struct ExportSession {
  std::string lastExportPath;  ///< proposed by the next export's dialog, for all three commands
  bool stlExport = false;      ///< true only while an STL export runs
};

/// Sets the variant flags as the menu command does before MakeVRML: PrintableExport (in `e`)
/// and StlExport (in `s`).
void SelectExportVariant(ExportVariant v, SurfaceEvaluation& e, ExportSession& s);

/// The export entry: asks `choose` for the path, remembers it in s.lastExportPath and writes the
/// STL mesh (s.stlExport) or the VRML scene of the variant selected by e.printableExport. Both
/// flags are false afterwards, whether the file was written, the dialog cancelled or the write
/// failed (a failure propagates as std::runtime_error). Returns the written path, or nothing
/// when cancelled.
std::optional<std::filesystem::path> MakeVRML(const TensorState& t, SurfaceEvaluation& e,
                                              ExportSession& s, const ExportOptions& o,
                                              const ChooseExportPath& choose);

}  // namespace quillmere
