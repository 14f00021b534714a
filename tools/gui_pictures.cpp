// quillmere-pictures: draws the program's icon, or takes a picture of the working main window
// after start-up with a tensor file, for the repository's documentation.
//   quillmere-pictures --icon OUT.png
//   quillmere-pictures --icon-set FOLDER   (the icon theme's sizes and a scalable SVG)
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
               "       quillmere-pictures --icon-set FOLDER\n"
               "       quillmere-pictures --splash OUT.png\n"
               "       quillmere-pictures --screenshot OUT.png FILE.ten [WIDTH HEIGHT]\n");
  return 2;
}

/// FOLDER/<n>x<n>/apps/quillmere.png for the sizes of the hicolor theme, and
/// FOLDER/scalable/apps/quillmere.svg.
bool WriteIconSet(const QString& folder) {
  const QDir out(folder);
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString dir = QStringLiteral("%1x%1/apps").arg(size);
    if (!out.mkpath(dir)) return false;
    // Small icons are drawn at their size rather than scaled down, so their lines stay crisp.
    if (!quillmere::ProgramIconPicture(size).save(out.filePath(dir + "/quillmere.png")))
      return false;
  }
  if (!out.mkpath(QStringLiteral("scalable/apps"))) return false;
  return quillmere::WriteProgramIconSvg(
      out.filePath(QStringLiteral("scalable/apps/quillmere.svg")));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  if (args.size() == 2 && args[0] == QLatin1String("--icon"))
    return quillmere::ProgramIconPicture(256).save(args[1]) ? 0 : 1;
  if (args.size() == 2 && args[0] == QLatin1String("--icon-set"))
    return WriteIconSet(args[1]) ? 0 : 1;
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
