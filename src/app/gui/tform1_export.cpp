// The three export commands of the File menu: the screen VRML scene, the 3-D printable VRML scene
// and the STL mesh. The work is the core's MakeVRML; the window supplies the view's colours, the
// save dialog and the export window's caption.
#include <QFileInfo>
#include <algorithm>

#include "app/file_commands.h"
#include "app/gui/drawn_stamp.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "files/surface_export.h"
#include "platform/dialogs.h"

namespace quillmere {

namespace {

ExportColour ToExport(const Colour& c) {
  return ExportColour{c.red, c.green, c.blue};
}

/// The export reads the view as it is now; a cross-section builds at a resolution of its own,
/// so the export keeps to the range of the resolution slider.
ExportOptions OptionsFromView(const ViewSettings& view) {
  ExportOptions o;
  o.resolution = std::clamp(view.resolution, 1, 8);
  o.positiveFill = ToExport(view.positiveFill);
  o.negativeFill = ToExport(view.negativeFill);
  o.background = ToExport(view.background);
  o.axesColour = ToExport(view.axesColour);
  o.showAxes = view.showAxes;
  return o;
}

}  // namespace

void TForm1::ConnectExportCommands() {
  OnTriggered(CreateScreenWrl1, [this] { makeVRML(ExportVariant::ScreenVRML); });
  OnTriggered(Export3DPrintableWrl1, [this] { makeVRML(ExportVariant::PrintableVRML); });
  OnTriggered(ExportStl1, [this] { makeVRML(ExportVariant::Stl); });
}

void TForm1::makeVRML(ExportVariant variant) {
  SelectExportVariant(variant, state_.evaluation, state_.exportSession);
  auto choose = [this](const ExportDialogRequest& r) -> std::optional<std::filesystem::path> {
    FileDialogRequest request;
    request.title = QStringLiteral("Save As");
    request.filter = r.filter;
    request.defaultExtension = FromUtf8(r.defaultExtension);
    request.proposedPath = FromUtf8(r.proposedPath);
    request.overwritePrompt = true;
    request.createPrompt = true;
    request.folderMustExist = true;
    const std::optional<QString> chosen = dialogs_.SaveFileName(request);
    if (!chosen) return std::nullopt;
    return std::filesystem::path(ToUtf8(QFileInfo(*chosen).absoluteFilePath()));
  };
  ExportOptions options = OptionsFromView(state_.view);
  options.stamp = DrawnStamp(state_);
  const std::optional<WrittenExport> written =
      MakeVRML(state_.DrawnTensor(), state_.evaluation, state_.exportSession, options, choose);
  if (!written) return;
  if (exportWindow_)
    exportWindow_->setWindowTitle(FromUtf8(CaptionForFile(written->path.string())));
  const bool stl = variant == ExportVariant::Stl;
  ShowStatus(WrittenMessage(stl                                       ? "STL"
                            : variant == ExportVariant::PrintableVRML ? "Printable VRML"
                                                                      : "VRML",
                            stl ? CountText(written->pieces, "triangle", "triangles")
                                : CountText(written->pieces, "patch", "patches"),
                            written->path));
}

}  // namespace quillmere
