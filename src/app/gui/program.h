// The desktop program as one object: it owns the program-wide records and the windows, and
// carries out the start-up in its fixed order — the records' start values, the settings file,
// then the update window, the main window and the VRML export window. The program ends when
// the update window closes (the main window closes it after a confirmed "Close application ?").
#pragma once

#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>

#include "app/program_state.h"

namespace quillmere {

class Dialogs;
class UpdateCheck;
class TFormupdate;
class TForm1;
class TForm3;

struct ProgramOptions {
  /// ProgramDirectory with a trailing separator: tensor.tab, the help file and the icon.
  std::string programDirectory;
  /// SettingsDirectory: the folder of halvik.ini (created by the caller when missing).
  std::filesystem::path settingsDirectory;
  /// The command-line arguments without the program's name.
  QStringList arguments;
  /// The decimal separator of the numbers the user sees and types.
  char decimalSeparator = '.';
  /// Recovery copies of unsaved tensors go here ($XDG_DATA_HOME/quillmere/recovery).
  std::filesystem::path recoveryDirectory;
};

class Program {
 public:
  Program(ProgramOptions options, Dialogs& dialogs, UpdateCheck& updateCheck);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  /// Prepares the settings file, creates the windows in their order and shows the main
  /// window's splash.
  void Start();

  ProgramState& state() { return state_; }
  TFormupdate* updateWindow() { return updateWindow_.get(); }
  TForm1* mainWindow() { return mainWindow_.get(); }
  TForm3* exportWindow() { return exportWindow_.get(); }
  /// SIGTERM: the program closes as the user would close it, without the question, after
  /// writing a recovery copy of a tensor with unsaved changes.
  void CloseOnTermination();
  /// Set when the update window has closed, i.e. the program is ending.
  bool ended() const { return ended_; }

 private:
  ProgramOptions options_;
  Dialogs& dialogs_;
  UpdateCheck& updateCheck_;
  ProgramState state_;
  bool ended_ = false;
  // Destroyed in reverse order: the main window refers to the update window.
  std::unique_ptr<TFormupdate> updateWindow_;
  std::unique_ptr<TForm1> mainWindow_;
  std::unique_ptr<TForm3> exportWindow_;
};

/// SettingsDirectory on this platform: the user's configuration folder for the program
/// ($XDG_CONFIG_HOME/quillmere/, normally ~/.config/quillmere/), created when missing.
std::filesystem::path UserSettingsDirectory();

/// The locale's decimal separator when it is a single plain character, else '.'.
char LocaleDecimalSeparator();

}  // namespace quillmere
