// quillmere-pictures: draws the program's icon, or takes a picture of the working main window
// after start-up with a tensor file, for the repository's documentation.
//   quillmere-pictures --icon OUT.png
//   quillmere-pictures --splash OUT.png
//   quillmere-pictures --screenshot OUT.png FILE.ten [WIDTH HEIGHT]
#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "app/gui/program.h"
#include "app/gui/splash_picture.h"
#include "app/gui/tform1.h"
#include "platform/dialogs.h"
#include "update/update_check.h"

namespace {

int Usage() {
  std::fprintf(stderr,
               "usage: quillmere-pictures --icon OUT.png\n"
               "       quillmere-pictures --splash OUT.png\n"
               "       quillmere-pictures --screenshot OUT.png FILE.ten [WIDTH HEIGHT]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() == 2 && args[0] == QLatin1String("--icon"))
    return quillmere::ProgramIconPicture(256).save(args[1]) ? 0 : 1;
  if (args.size() == 2 && args[0] == QLatin1String("--splash"))
    return quillmere::SplashPicture(343).save(args[1]) ? 0 : 1;
  if ((args.size() != 3 && args.size() != 5) || args[0] != QLatin1String("--screenshot"))
    return Usage();

  // A fresh settings folder, so the picture shows the program as it first starts.
  QTemporaryDir settings;
  quillmere::ProgramOptions options;
  options.programDirectory = QCoreApplication::applicationDirPath().toStdString() + "/";
  options.settingsDirectory = settings.path().toStdString();
  options.arguments = {QFileInfo(args[2]).absoluteFilePath()};
  quillmere::QtDialogs dialogs;
  quillmere::UnconfiguredUpdateCheck updateCheck;
  quillmere::Program program(options, dialogs, updateCheck);
  if (args.size() == 5) {
    // The stored window size decides the working window's size.
    QFile ini(settings.filePath(QStringLiteral("halvik.ini")));
    program.state();  // the records exist before the settings file is read
    const std::string text = "[Startwindow]\r\n" + args[3].toStdString() + " " +
                             args[4].toStdString() + " 0\r\n[RecentFiles]\r\n";
    if (ini.open(QIODevice::WriteOnly)) ini.write(text.c_str());
  }
  program.Start();
  quillmere::TForm1* form = program.mainWindow();
  form->Image1Click();
  int status = 1;
  QTimer::singleShot(1500, [&] {
    status = form->grab().save(args[1]) ? 0 : 1;
    QCoreApplication::exit(status);
  });
  app.exec();
  return status;
}
