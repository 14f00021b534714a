// TFormupdate, the small update window: created first of all windows, so the program ends when
// it closes. It is shown only while an update downloads; the start-up hides it once the update
// check has run or been skipped.
#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace quillmere {

class TFormupdate : public QWidget {
  Q_OBJECT
 public:
  explicit TFormupdate(QWidget* parent = nullptr);

  QLabel* Label1;  ///< percentage of the download
  QLabel* Label2;  ///< status text
  QProgressBar* ProgressBar1;
  QTimer* Timer1;  ///< watchdog of a stalled download (31 000 ms; tests shorten it)

  /// Label2 := `text`, in a font small enough for the narrow window.
  void SetStatus(const QString& text);

  /// The watchdog's tick: hands over to what the running check set with SetWatchdog.
  void Timer1Timer();
  /// Starts (with the check's handler) or stops the watchdog.
  void SetWatchdog(bool on, std::function<void()> fired);

 signals:
  /// The window was closed: the program ends.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  std::function<void()> watchdogFired_;
};

}  // namespace quillmere
