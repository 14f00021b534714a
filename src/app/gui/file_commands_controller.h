// The file commands of the main window: Open, the Reopen submenu, Save, Save As, the name a new
// tensor gets, the registration of tensor files with the desktop and the three exports (screen
// VRML, printable VRML, STL). The work on the files is the core's (app/file_commands.h,
// files/surface_export.h); the controller supplies the dialogs, fills the Reopen submenu it is
// given and tells the window through hooks what to show and redraw.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <filesystem>
#include <functional>
#include <string>

#include "files/surface_export.h"

class QAction;
class QMenu;

namespace quillmere {

struct ProgramState;
class Dialogs;

/// What the file commands ask of the window around them. Every hook is set by the window.
struct FileCommandsHooks {
  /// "Save changes to name.ten?" for a modified tensor; false when the tensor must stay.
  std::function<bool()> maySetTensorAside;
  /// Changes made before the command become an undo step of their own.
  std::function<void()> recordStep;
  /// The name of the undo step the running command makes.
  std::function<void(const QString&)> nameStep;
  /// The tensor as it is now is the saved one (no modified mark).
  std::function<void()> markSaved;
  std::function<void(const QString&)> showCaption;
  std::function<void(const std::string&)> showStatus;
  /// The tensor was replaced as a whole (typed grid text is dropped), and then refreshed
  /// (Label11Click).
  std::function<void()> tensorReplaced;
  std::function<void()> refresh;
  /// A tensor file was opened (the kind chooser closes).
  std::function<void()> tensorFileOpened;
  std::function<void()> drawTensor;
  /// The DRAW command without taking an open grid over.
  std::function<void()> drawShownTensor;
};

class FileCommandsController : public QObject {
  Q_OBJECT
 public:
  /// Keeps the five items of `reopenMenu` (N11 ... N51, hidden until the recent list names a
  /// file) filled from the recent list each time the menu opens, and adds the one disabled item
  /// shown while the list is empty.
  FileCommandsController(ProgramState& state, Dialogs& dialogs, QMenu* reopenMenu,
                         const std::array<QAction*, 5>& reopenItems, FileCommandsHooks hooks,
                         QObject* parent = nullptr);

  void Open1Click();
  /// Open's steps after the dialog: read, caption, refresh, hide the kind chooser, draw, and
  /// put the file into the recent list.
  void OpenFile(const QString& path);
  /// Fills the five Reopen items from the settings file's recent list.
  void OpenRecent1Click();
  /// Reopen item k = 1..5 (N11, N21, N31, N41, N51): opens recent entry k, the list unchanged.
  void ReopenClick(int k);
  void Save1Click();
  void SaveAs1Click();
  /// "&Register *.ten files": the file type, the desktop entry and the icons for the user.
  void Register1Click();
  /// True when the installation brought its own desktop entry and file type.
  bool RegisteredByInstallation() const;
  /// The export commands: the save dialog, then the scene, printable scene or mesh written.
  void makeVRML(ExportVariant variant);

  /// OK in the New Tensor panel: the tensor is saved under `saveName` after Save As asks.
  void NameNewTensor(const std::filesystem::path& saveName);
  /// Cancel or Restore in the New Tensor panel: the file name of the tensor before, which
  /// Save As asks about again.
  void RestoreTensorName(const std::string& fileName);
  /// The file last chosen in the open dialog (the New Tensor panel offers its name back).
  const std::string& LastOpenedFile() const;

  /// The entries of the Reopen items as last filled (RecentFileNames).
  const std::array<std::string, 5>& RecentFileNames() const { return recentFileNames_; }
  /// The never-shown export window whose caption names the last exported file.
  void SetExportWindow(QWidget* window) { exportWindow_ = window; }

 private:
  ProgramState& state_;
  Dialogs& dialogs_;
  FileCommandsHooks hooks_;
  std::array<QAction*, 5> reopenItems_{};
  QAction* noRecentFiles_ = nullptr;
  std::array<std::string, 5> recentFileNames_;
  QWidget* exportWindow_ = nullptr;
};

}  // namespace quillmere
