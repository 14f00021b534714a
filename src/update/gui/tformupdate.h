// TFormupdate, the small update window: created first of all windows, so the program ends when
// it closes. It is shown only while an update downloads; the start-up hides it once the update
// check has run or been skipped.
#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>

namespace quillmere {

class TFormupdate : public QWidget {
  Q_OBJECT
 public:
  explicit TFormupdate(QWidget* parent = nullptr);

  QLabel* Label1;  ///< percentage of the download
  QLabel* Label2;  ///< status text
  QProgressBar* ProgressBar1;
  QTimer* Timer1;  ///< watchdog of a stalled download (31 000 ms)

 signals:
  /// The window was closed: the program ends.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
};

}  // namespace quillmere
