#include "platform/application.h"

#include <clocale>
#include <cstdio>
#include <exception>

#include "platform/dialogs.h"

namespace quillmere {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
  // Qt takes the user's locale for the C library too; numbers in files are read and written
  // with '.', so the C library's numeric conventions stay the classic ones.
  std::setlocale(LC_NUMERIC, "C");
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    if (dialogs_)
      dialogs_->ShowError(e.what());
    else
      std::fprintf(stderr, "%s\n", e.what());
  } catch (...) {
    if (dialogs_)
      dialogs_->ShowError("Unknown error");
    else
      std::fprintf(stderr, "Unknown error\n");
  }
  return false;
}

}  // namespace quillmere
