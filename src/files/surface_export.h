// The export entry of the main window: the three export commands of the File menu ask for a path
// and write the screen or printable VRML scene (vrml_export.h) or the STL solid (stl_export.h).
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "files/vrml_export.h"

namespace quillmere {

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

/// What an export wrote: the file and the number of its surface pieces (the patches of a VRML
/// scene, the triangles of an STL solid).
struct WrittenExport {
  std::filesystem::path path;
  std::size_t pieces = 0;
};

/// Sets the variant flags as the menu command does before MakeVRML: PrintableExport (in `e`)
/// and StlExport (in `s`).
void SelectExportVariant(ExportVariant v, SurfaceEvaluation& e, ExportSession& s);

/// The export entry: asks `choose` for the path, remembers it in s.lastExportPath and writes the
/// STL mesh (s.stlExport) or the VRML scene of the variant selected by e.printableExport. Both
/// flags are false afterwards, whether the file was written, the dialog cancelled or the write
/// failed (a failure propagates as std::runtime_error). Returns the written path with its count
/// of pieces, or nothing when cancelled.
std::optional<WrittenExport> MakeVRML(const TensorState& t, SurfaceEvaluation& e, ExportSession& s,
                                      const ExportOptions& o, const ChooseExportPath& choose);

}  // namespace quillmere
