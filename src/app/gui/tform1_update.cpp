// TForm1: "Check for &updates" and the update check's view of the windows — the update
// window's labels, bar and watchdog, this window's visibility and the end-of-splash timer.
#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <climits>

#include "app/gui/tform1.h"
#include "platform/dialogs.h"
#include "update/gui/tformupdate.h"
#include "update/update_check.h"

namespace quillmere {

namespace {

constexpr int kSplashEndDelay = 7000;  // ms, as the splash's own timer

int BarValue(std::uint64_t value) {
  return static_cast<int>(std::min<std::uint64_t>(value, INT_MAX));
}

class WindowUpdateDisplay : public UpdateDisplay {
 public:
  WindowUpdateDisplay(TForm1& form, QTimer& splashTimer, TFormupdate& window, Dialogs& dialogs)
      : form_(form), splashTimer_(splashTimer), window_(window), dialogs_(dialogs) {}

  void SetStatus(const std::string& text) override { window_.SetStatus(FromUtf8(text)); }
  void SetProgressMaximum(std::uint64_t maximum) override {
    window_.ProgressBar1->setMaximum(BarValue(maximum));
  }
  void SetProgressPosition(std::uint64_t position) override {
    // QProgressBar ignores a value above its maximum; a full bar is what the user should see.
    window_.ProgressBar1->setValue(std::min(BarValue(position), window_.ProgressBar1->maximum()));
  }
  void SetPercent(const std::string& text) override { window_.Label1->setText(FromUtf8(text)); }
  void ShowUpdateWindow() override {
    window_.show();
    window_.raise();
  }
  void HideUpdateWindow() override { window_.hide(); }
  void HideMainWindow() override { form_.hide(); }
  void StartSplashTimer() override { splashTimer_.start(kSplashEndDelay); }
  void SetWatchdog(bool on, std::function<void()> fired) override {
    window_.SetWatchdog(on, std::move(fired));
  }
  bool AskWarning(const std::string& text) override { return dialogs_.AskWarning(text); }
  void ProcessEvents() override { QCoreApplication::processEvents(); }
  void Wait(int milliseconds) override {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
  }

 private:
  TForm1& form_;
  QTimer& splashTimer_;
  TFormupdate& window_;
  Dialogs& dialogs_;
};

}  // namespace

void TForm1::ConnectUpdateCommands() {
  updateDisplay_ = std::make_unique<WindowUpdateDisplay>(*this, *Timer1, updateWindow_, dialogs_);
  OnTriggered(menus_.Checkforupdates1, [this] { Checkforupdates1Click(); });
}

UpdateDisplay& TForm1::updateDisplay() {
  return *updateDisplay_;
}

void TForm1::Checkforupdates1Click() {
  if (updateCheck_.CheckForUpdates(true, updateDisplay(), dialogs_)) {
    EndProgram();
    return;
  }
  // The check hides this window while it asks; a declined or failed update brings it back.
  show();
}

}  // namespace quillmere
