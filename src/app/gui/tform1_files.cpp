// TForm1: the file commands — Open, the Reopen submenu, Save, Save As, the command line's file
// and the registration of tensor files with the desktop.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

#include "app/file_commands.h"
#include "app/gui/tform1.h"
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

}  // namespace

void TForm1::ConnectFileCommands() {
  OnTriggered(Open1, [this] { Open1Click(); });
  OnTriggered(SpeedOpen, [this] { Open1Click(); });
  OnTriggered(Save1, [this] { Save1Click(); });
  OnTriggered(SpeedSave, [this] { Save1Click(); });
  OnTriggered(SaveAs1, [this] { SaveAs1Click(); });
  OnTriggered(Register1, [this] { Register1Click(); });
  if (InstalledWithDesktopFiles(state_.programDirectory)) {
    // The installation brought its own desktop entry and file type: nothing to register.
    Register1->setText(QStringLiteral("&Register *.ten files (installed: not needed)"));
    Register1->setToolTip(QString::fromUtf8(kInstalledNoRegistration));
    Register1->setStatusTip(QString::fromUtf8(kInstalledNoRegistration));
  }
  for (std::size_t k = 0; k < ReopenItems.size(); ++k)
    OnTriggered(ReopenItems[k], [this, k] { ReopenClick(static_cast<int>(k) + 1); });
  // The list is read from the settings file each time the submenu opens; a failure to read it
  // is silent like all work on the settings file.
  connect(Reopen1, &QMenu::aboutToShow, this, [this] { OpenRecent1Click(); });
  NoRecentFiles = Reopen1->addAction(QStringLiteral("(no recent files)"));
  NoRecentFiles->setObjectName(QStringLiteral("NoRecentFiles"));
  NoRecentFiles->setEnabled(false);
}

void TForm1::Open1Click() {
  if (!MaySetTensorAside()) return;
  const std::optional<QString> chosen =
      dialogs_.OpenFileName(TensorFileRequest(QStringLiteral("Open"), state_.openDialogFileName));
  if (!chosen) return;
  state_.lastUsedFolder = ToUtf8(QFileInfo(*chosen).absolutePath());
  OpenFile(*chosen);
}

void TForm1::OpenFile(const QString& path) {
  const std::string file = ToUtf8(QFileInfo(path).absoluteFilePath());
  RecordStep();
  OpenTensorFile(state_, file);
  // Undo goes back to the tensor before; the file read is the saved state.
  stepName_ = QStringLiteral("Open");
  MarkSaved();
  state_.openDialogFileName = file;
  ShowCaption(FromUtf8(CaptionForFile(file)));
  emit tensorReplaced();
  Label11Click();
  emit tensorFileOpened();
  DrawTensor();
  AddToRecent(state_.Settings(), file);
}

void TForm1::OpenRecent1Click() {
  recentFileNames_ = ReadRecentFiles(state_.Settings());
  for (std::size_t k = 0; k < ReopenItems.size(); ++k) {
    QString caption = FromUtf8(recentFileNames_[k]);
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    ReopenItems[k]->setText(caption);
    // Once shown, an item stays; it reads empty when its entry is.
    if (!recentFileNames_[k].empty()) ReopenItems[k]->setVisible(true);
  }
  const bool none = std::all_of(recentFileNames_.begin(), recentFileNames_.end(),
                                [](const std::string& f) { return f.empty(); });
  NoRecentFiles->setVisible(none);
}

void TForm1::ReopenClick(int k) {
  if (k < 1 || k > static_cast<int>(recentFileNames_.size())) return;
  const std::string file = recentFileNames_[static_cast<std::size_t>(k - 1)];
  if (!MaySetTensorAside()) return;
  OpenTensorFile(state_, file);
  stepName_ = QStringLiteral("Reopen");
  MarkSaved();
  ShowCaption(FromUtf8(CaptionForFile(file)));
  emit tensorReplaced();
  Label11Click();
  // The grids now show the file's values: the DRAW command draws it at once instead of taking
  // an open grid over first.
  DrawShownTensor();
}

void TForm1::Save1Click() {
  if (state_.saveNameValid) {
    SaveTensorFile(state_);
    MarkSaved();
    ShowStatus("Saved " + std::filesystem::path(state_.currentSaveName).filename().string());
    return;
  }
  SaveAs1Click();
}

void TForm1::SaveAs1Click() {
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
  ShowCaption(FromUtf8(CaptionForFile(file)));
  AddToRecent(state_.Settings(), file);
}

void TForm1::Register1Click() {
  if (InstalledWithDesktopFiles(state_.programDirectory)) {
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

}  // namespace quillmere
