// What the desktop program's tests share: a program started on temporary folders with scripted
// dialogs and a recorded update check, and small helpers to end the splash and read files.
#pragma once

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/gui/drawing_area_controller.h"
#include "app/gui/file_commands_controller.h"
#include "app/gui/picture_commands_controller.h"
#include "app/gui/program.h"
#include "app/gui/tform1.h"
#include "fit/gui/fit_panels_controller.h"
#include "platform/dialogs.h"
#include "platform/widgets/barred_text.h"
#include "platform/widgets/panel_labels.h"
#include "platform/widgets/spin_button.h"
#include "support/test_support.h"
#include "surface/gui/view_controls_controller.h"
#include "tensor/gui/component_entry_controller.h"
#include "update/update_check.h"

namespace quillmere {
class EntryGrid;

/// The child of `parent` of type T named `name`, searched through all descendants; the test
/// fails (the exception ends it) when there is none.
template <class T = QWidget>
T* Child(const QObject& parent, const QString& name) {
  T* child = parent.findChild<T*>(name);
  if (!child) throw std::runtime_error("no child named " + name.toStdString());
  return child;
}

/// A menu item or speed button of the window, named after its handler ("Open1", "SpeedDraw").
inline QAction* Item(const QObject& window, const QString& name) {
  return Child<QAction>(window, name);
}

}  // namespace quillmere

namespace quillmere::test {

/// A tetragonal (4/mmm) second-rank tensor file: T11 = T22 = 3.5, T33 = -0.25, in units of 1e-6.
constexpr const char* kTetragonalFile =
    "Quillmere-Datafile\r\n1 14 0  1.00000000000000E-0006 2 1/K\r\n"
    " 3.50000000000000E+0000\r\n-2.50000000000000E-0001\r\n";

/// A path as the dialogs and Qt's file functions take it.
inline QString Q(const std::filesystem::path& p) {
  return QString::fromStdString(p.string());
}

/// Types `text` into cell (column, row) of a grid as a user does: the first key opens the cell's
/// editor, the rest go to the editor, and Return ends the edit.
void TypeIntoGrid(EntryGrid* grid, int column, int row, const QString& text);

/// Records the start-up's use of the update check.
class RecordedUpdateCheck : public UpdateCheck {
 public:
  bool IsAdmin() override {
    ++adminAsked;
    return admin;
  }
  bool CheckForUpdates(bool verbose, UpdateDisplay&, UserMessages&) override {
    ++checks;
    lastVerbose = verbose;
    return false;
  }
  bool admin = false;
  int adminAsked = 0;
  int checks = 0;
  bool lastVerbose = true;
};

/// A program on temporary folders: a program folder holding a copy of tensor.tab, a settings
/// folder, and the user's configuration and data folders pointed into the same temporary
/// folder.
class StartedProgram {
 public:
  StartedProgram();
  ~StartedProgram();

  std::filesystem::path root() const;
  /// ProgramDirectory, with a trailing separator.
  std::string programDirectory() const;
  std::filesystem::path settingsDirectory() const;
  std::filesystem::path settingsFile() const;

  /// Creates the program and runs its start-up (the main window shows its splash).
  void Start(const QStringList& arguments = {});
  /// Clicks the splash and waits until the working window is shown.
  bool EndSplash();

  Program& program() { return *program_; }
  TForm1& form() { return *program_->mainWindow(); }
  ProgramState& state() { return program_->state(); }

  /// A copy of an example file of the repository in the temporary folder.
  std::filesystem::path Example(const std::string& name, const std::string& as = {});
  /// Writes a file in the temporary folder.
  std::filesystem::path Write(const std::string& name, const std::string& text);

  ScriptedDialogs dialogs;
  RecordedUpdateCheck updateCheck;
  /// When set before Start, the program uses this check instead of `updateCheck`.
  UpdateCheck* checkInUse = nullptr;

 private:
  QTemporaryDir dir_;
  std::unique_ptr<Program> program_;
};

/// Pixels of a picture whose colour is mainly green (positive patches) or red (negative).
int GreenPixels(const QImage& image);
int RedPixels(const QImage& image);

}  // namespace quillmere::test
