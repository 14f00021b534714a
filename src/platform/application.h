// The application object of the desktop program: Qt's QApplication with the program's top-level
// error handler. A std::exception that escapes an event handler is shown in a message box with
// the runtime's text (through the Dialogs set here) and the event loop goes on; it never ends
// the program.
#pragma once

#include <QApplication>

namespace quillmere {

class Dialogs;

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);

  /// Where failures are shown; without one they are written to standard error.
  void SetErrorDialogs(Dialogs* dialogs) { dialogs_ = dialogs; }

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  Dialogs* dialogs_ = nullptr;
};

}  // namespace quillmere
