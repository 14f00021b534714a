// The file commands of the main window: Open, Reopen, Save, Save As, the New Tensor panel's
// name, the registration of tensor files with the desktop and the three exports.
#include "app/gui/file_commands_controller.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

#include "app/file_commands.h"
#include "app/gui/drawn_stamp.h"
#include "app/program_state.h"
#include "core/program_location.h"
#include "files/file_association.h"
#include "files/settings_file.h"
#include "platform/dialogs.h"

namespace quillmere {

namespace {

FileDialogRequest TensorFileRequest(const QString& title, const std::string& proposed) {
  FileDialogRequest r;
  r.title = title;
  r.filter = kTensorFileFilter;
  r.defaultExtension = QString::fromLatin1(kTensorFileExtension);
  r.proposedPath = FromUtf8(proposed);
  return r;
}

/// Runs a desktop database tool when it is installed; its failure is not the registration's.
void RunIfPresent(const QString& program, const QStringList& arguments) {
  const QString path = QStandardPaths::findExecutable(program);
  if (path.isEmpty()) return;
  QProcess process;
  process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process.start(path, arguments);
  if (!process.waitForFinished(15000)) process.kill();
}

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

FileCommandsController::FileCommandsController(ProgramState& state, Dialogs& dialogs,
                                               QMenu* reopenMenu,
                                               const std::array<QAction*, 5>& reopenItems,
                                               FileCommandsHooks hooks, QObject* parent)
    : QObject(parent),
      state_(state),
      dialogs_(dialogs),
      hooks_(std::move(hooks)),
      reopenItems_(reopenItems) {
  setObjectName(QStringLiteral("FileCommands"));
  // The list is read from the settings file each time the submenu opens; a failure to read it
  // is silent like all work on the settings file.
  connect(reopenMenu, &QMenu::aboutToShow, this, [this] { OpenRecent1Click(); });
  noRecentFiles_ = reopenMenu->addAction(QStringLiteral("(no recent files)"));
  noRecentFiles_->setObjectName(QStringLiteral("NoRecentFiles"));
  noRecentFiles_->setEnabled(false);
}

void FileCommandsController::Open1Click() {
  if (!hooks_.maySetTensorAside()) return;
  const std::optional<QString> chosen =
      dialogs_.OpenFileName(TensorFileRequest(QStringLiteral("Open"), state_.openDialogFileName));
  if (!chosen) return;
  state_.lastUsedFolder = ToUtf8(QFileInfo(*chosen).absolutePath());
  OpenFile(*chosen);
}

void FileCommandsController::OpenFile(const QString& path) {
  const std::string file = ToUtf8(QFileInfo(path).absoluteFilePath());
  hooks_.recordStep();
  OpenTensorFile(state_, file);
  // Undo goes back to the tensor before; the file read is the saved state.
  hooks_.nameStep(QStringLiteral("Open"));
  hooks_.markSaved();
  state_.openDialogFileName = file;
  hooks_.showCaption(FromUtf8(CaptionForFile(file)));
  hooks_.tensorReplaced();
  hooks_.refresh();
  hooks_.tensorFileOpened();
  hooks_.drawTensor();
  AddToRecent(state_.Settings(), file);
}

void FileCommandsController::OpenRecent1Click() {
  recentFileNames_ = ReadRecentFiles(state_.Settings());
  for (std::size_t k = 0; k < reopenItems_.size(); ++k) {
    QString caption = FromUtf8(recentFileNames_[k]);
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    reopenItems_[k]->setText(caption);
    // Once shown, an item stays; it reads empty when its entry is.
    if (!recentFileNames_[k].empty()) reopenItems_[k]->setVisible(true);
  }
  const bool none = std::all_of(recentFileNames_.begin(), recentFileNames_.end(),
                                [](const std::string& f) { return f.empty(); });
  noRecentFiles_->setVisible(none);
}

void FileCommandsController::ReopenClick(int k) {
  if (k < 1 || k > static_cast<int>(recentFileNames_.size())) return;
  const std::string file = recentFileNames_[static_cast<std::size_t>(k - 1)];
  if (!hooks_.maySetTensorAside()) return;
  OpenTensorFile(state_, file);
  hooks_.nameStep(QStringLiteral("Reopen"));
  hooks_.markSaved();
  hooks_.showCaption(FromUtf8(CaptionForFile(file)));
  hooks_.tensorReplaced();
  hooks_.refresh();
  // The grids now show the file's values: the DRAW command draws it at once instead of taking
  // an open grid over first.
  hooks_.drawShownTensor();
}

void FileCommandsController::Save1Click() {
  if (state_.saveNameValid) {
    SaveTensorFile(state_);
    hooks_.markSaved();
    hooks_.showStatus("Saved " + std::filesystem::path(state_.currentSaveName).filename().string());
    return;
  }
  SaveAs1Click();
}

void FileCommandsController::SaveAs1Click() {
  // The program's folder is read-only once installed: the proposal is a folder of the user's.
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty() || !QFileInfo(documents).isDir()) documents = QDir::homePath();
  FileDialogRequest request =
      TensorFileRequest(QStringLiteral("Save As"), ProposedSavePath(state_, ToUtf8(documents)));
  request.overwritePrompt = true;
  request.createPrompt = true;
  request.folderMustExist = true;
  const std::optional<QString> chosen = dialogs_.SaveFileName(request);
  if (!chosen) return;
  const std::string file = ToUtf8(QFileInfo(*chosen).absoluteFilePath());
  state_.lastUsedFolder = ToUtf8(QFileInfo(*chosen).absolutePath());
  ChooseSaveName(state_, file);
  Save1Click();
  hooks_.showCaption(FromUtf8(CaptionForFile(file)));
  AddToRecent(state_.Settings(), file);
}

void FileCommandsController::NameNewTensor(const std::filesystem::path& saveName) {
  state_.currentSaveName = saveName.string();
  state_.saveNameValid = false;
  hooks_.showCaption(FromUtf8(CaptionForFile(saveName.filename().string())));
}

void FileCommandsController::RestoreTensorName(const std::string& fileName) {
  hooks_.showCaption(FromUtf8(CaptionForFile(fileName)));
  state_.saveNameValid = false;
}

const std::string& FileCommandsController::LastOpenedFile() const {
  return state_.openDialogFileName;
}

bool FileCommandsController::RegisteredByInstallation() const {
  return InstalledWithDesktopFiles(state_.programDirectory);
}

void FileCommandsController::Register1Click() {
  if (RegisteredByInstallation()) {
    dialogs_.ShowMessage(kInstalledNoRegistration);
    return;
  }
  const std::filesystem::path program = ToUtf8(QCoreApplication::applicationFilePath());
  const std::filesystem::path icon =
      std::filesystem::path(state_.programDirectory) / kProgramIconName;
  const std::filesystem::path dataHome =
      ToUtf8(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
  InstallAssociationFiles(dataHome, AssociationFiles(program, icon));
  const QString data = FromUtf8(dataHome.string());
  RunIfPresent(QStringLiteral("update-mime-database"), {data + QStringLiteral("/mime")});
  RunIfPresent(QStringLiteral("update-desktop-database"), {data + QStringLiteral("/applications")});
  RunIfPresent(QStringLiteral("xdg-mime"),
               {QStringLiteral("default"), QString::fromLatin1(kDesktopFileName),
                QString::fromLatin1(kTensorMimeType)});
}

void FileCommandsController::makeVRML(ExportVariant variant) {
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
  hooks_.showStatus(WrittenMessage(stl                                       ? "STL"
                                   : variant == ExportVariant::PrintableVRML ? "Printable VRML"
                                                                             : "VRML",
                                   stl ? CountText(written->pieces, "triangle", "triangles")
                                       : CountText(written->pieces, "patch", "patches"),
                                   written->path));
}

}  // namespace quillmere
