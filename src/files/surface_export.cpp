#include "files/surface_export.h"

#include "core/scope_exit.h"
#include "files/stl_export.h"

namespace quillmere {

void SelectExportVariant(ExportVariant v, SurfaceEvaluation& e, ExportSession& s) {
  e.printableExport = v != ExportVariant::ScreenVRML;
  s.stlExport = v == ExportVariant::Stl;
}

std::optional<WrittenExport> MakeVRML(const TensorState& t, SurfaceEvaluation& e, ExportSession& s,
                                      const ExportOptions& o, const ChooseExportPath& choose) {
  // Both variant flags are cleared however the export ends, so that a failed export cannot
  // leave the printable minimum switched on for the screen drawing.
  const ScopeExit reset([&] {
    e.printableExport = false;
    s.stlExport = false;
  });
  ExportDialogRequest request;
  if (s.stlExport) {
    request.defaultExtension = "stl";
    request.filter = "STL data file (*.stl)|*.stl|All files|*.*";
  } else {
    request.defaultExtension = "wrl";
    request.filter = "VRML-2.0 data file (*.wrl)|*.wrl|All files|*.*";
  }
  request.proposedPath = s.lastExportPath;
  std::optional<std::filesystem::path> path = choose(request);
  if (!path) return std::nullopt;
  s.lastExportPath = path->string();
  WrittenExport written{*path, 0};
  written.pieces =
      s.stlExport ? ExportSTLFile(*path, t, e, o.resolution) : ExportVRMLFile(*path, t, e, o);
  return written;
}

}  // namespace quillmere
