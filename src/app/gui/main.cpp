// quillmere: the desktop program. Usage: quillmere [FILE.ten]
#include <QDir>

#include "app/gui/program.h"
#include "platform/application.h"
#include "platform/dialogs.h"
#include "update/update_check.h"

int main(int argc, char** argv) {
  quillmere::Application app(argc, argv);
  quillmere::Application::setApplicationName(QStringLiteral("Quillmere"));
  // The program ends when its update window closes, not when the last window is hidden.
  quillmere::Application::setQuitOnLastWindowClosed(false);

  quillmere::QtDialogs dialogs;
  app.SetErrorDialogs(&dialogs);

  quillmere::ProgramOptions options;
  options.programDirectory =
      QDir::toNativeSeparators(quillmere::Application::applicationDirPath()).toStdString() + "/";
  options.settingsDirectory = quillmere::UserSettingsDirectory();
  options.arguments = quillmere::Application::arguments().mid(1);
  options.decimalSeparator = quillmere::LocaleDecimalSeparator();

  // No update server is configured: the start-up check cannot connect and says nothing.
  quillmere::UnconfiguredUpdateCheck updateCheck;
  quillmere::Program program(std::move(options), dialogs, updateCheck);
  program.Start();
  return quillmere::Application::exec();
}
