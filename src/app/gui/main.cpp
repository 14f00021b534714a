// quillmere: the desktop program. Usage: quillmere [FILE.ten]
#include "app/gui/program.h"
#include "app/recovery.h"
#include "core/program_location.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "platform/termination_signal.h"
#include "update/gui/ftp_update_check.h"
#include "update/qt/update_system.h"

#include <csignal>

int main(int argc, char** argv) {
  // A write beyond the file-size limit fails like a full disk instead of killing the program.
  std::signal(SIGXFSZ, SIG_IGN);
  quillmere::Application app(argc, argv);
  quillmere::Application::setApplicationName(QStringLiteral("Quillmere"));
  // The program ends when its update window closes, not when the last window is hidden.
  quillmere::Application::setQuitOnLastWindowClosed(false);

  quillmere::QtDialogs dialogs;
  app.SetErrorDialogs(&dialogs);

  quillmere::ProgramOptions options;
  // The folder of the program's file, through the links of an installation's bin/.
  options.programDirectory = quillmere::RunningProgramDirectory(argv[0]).string() + "/";
  options.settingsDirectory = quillmere::UserSettingsDirectory();
  options.arguments = quillmere::Application::arguments().mid(1);
  options.decimalSeparator = quillmere::LocaleDecimalSeparator();
  options.recoveryDirectory = quillmere::DefaultRecoveryDirectory();

  // The update server comes from update.conf in the settings folder; without it (the default)
  // the check opens no connection.
  quillmere::DesktopUpdateSystem updateSystem;
  quillmere::FtpUpdateCheck updateCheck(options.settingsDirectory, quillmere::RunningProgramFile(),
                                        updateSystem);
  quillmere::Program program(std::move(options), dialogs, updateCheck);
  // The desktop's logout and the update of another copy end this one with SIGTERM: it closes
  // as the user would, keeping unsaved work as a recovery copy.
  quillmere::TerminationSignal termination;
  QObject::connect(&termination, &quillmere::TerminationSignal::received,
                   [&program] { program.CloseOnTermination(); });
  program.Start();
  return quillmere::Application::exec();
}
