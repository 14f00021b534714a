#include "app/gui/program.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QStandardPaths>

#include "app/gui/file_commands_controller.h"
#include "app/gui/splash_picture.h"
#include "app/gui/tform1.h"
#include "files/gui/tform3.h"
#include "files/settings_file.h"
#include "platform/dialogs.h"
#include "update/gui/tformupdate.h"
#include "update/update_check.h"

namespace quillmere {

Program::Program(ProgramOptions options, Dialogs& dialogs, UpdateCheck& updateCheck)
    : options_(std::move(options)), dialogs_(dialogs), updateCheck_(updateCheck) {
  // The start values of the records are those of their types; the shell values follow.
  state_.programDirectory = options_.programDirectory;
  state_.settingsDirectory = options_.settingsDirectory;
  state_.recoveryDirectory = options_.recoveryDirectory;
  state_.services.programDirectory = options_.programDirectory;
  state_.services.messages = &dialogs_;
  state_.services.decimalSeparator = options_.decimalSeparator;
}

Program::~Program() = default;

void Program::Start() {
  state_.startWindow = PrepareSettingsFile(state_.Settings());
  // Every window of the program, the message boxes included, shows the program's icon.
  QApplication::setWindowIcon(ProgramIcon());

  updateWindow_ = std::make_unique<TFormupdate>();
  QObject::connect(updateWindow_.get(), &TFormupdate::closed, [this] {
    ended_ = true;
    QCoreApplication::quit();
  });
  mainWindow_ = std::make_unique<TForm1>(state_, dialogs_, updateCheck_, *updateWindow_);
  mainWindow_->SetCommandLine(options_.arguments);
  exportWindow_ = std::make_unique<TForm3>();
  mainWindow_->files().SetExportWindow(exportWindow_.get());
  if (auto* qtDialogs = dynamic_cast<QtDialogs*>(&dialogs_))
    qtDialogs->SetParent(mainWindow_.get());
  mainWindow_->show();
}

void Program::CloseOnTermination() {
  if (mainWindow_) mainWindow_->CloseOnTermination();
}

std::filesystem::path UserSettingsDirectory() {
  const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  const QString folder = base + QStringLiteral("/quillmere");
  QDir().mkpath(folder);
  return std::filesystem::path(folder.toStdString());
}

char LocaleDecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  if (point.size() == 1 && point[0].unicode() < 128) return static_cast<char>(point[0].unicode());
  return '.';
}

}  // namespace quillmere
