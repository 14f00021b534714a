#ifdef QUILLMERE_HAVE_CANVAS

#include "app/cli/cli_gui.h"

#include <QtGlobal>
#include <cstdlib>
#include <iostream>

namespace quillmere::cli {

namespace {

void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::cerr << "Qt: " << message.toStdString() << "\n";
}

}  // namespace

std::unique_ptr<QGuiApplication> StartGui() {
  if (QGuiApplication::instance()) return nullptr;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if (!std::getenv("QT_QPA_PLATFORM") && !(display && *display) && !(wayland && *wayland))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(QuietQtMessages);
  static int argc = 1;
  static char name[] = "quillmere-cli";
  static char* argv[] = {name, nullptr};
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace quillmere::cli

#endif  // QUILLMERE_HAVE_CANVAS
