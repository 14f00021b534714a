#include "update/gui/tformupdate.h"

#include <QCloseEvent>
#include <QFontMetrics>

namespace quillmere {

TFormupdate::TFormupdate(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      Label1(new QLabel(this)),
      Label2(new QLabel(this)),
      ProgressBar1(new QProgressBar(this)),
      Timer1(new QTimer(this)) {
  setObjectName(QStringLiteral("TFormupdate"));
  setWindowTitle(QStringLiteral("Updates"));
  setFixedSize(213, 63);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(0, 255, 0));
  setPalette(p);
  Label2->setGeometry(8, 6, 197, 20);
  ProgressBar1->setGeometry(8, 34, 145, 16);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setMaximum(1000);
  ProgressBar1->setValue(0);
  Label1->setGeometry(160, 32, 50, 20);
  Timer1->setInterval(31000);
  connect(Timer1, &QTimer::timeout, this, &TFormupdate::Timer1Timer);
}

void TFormupdate::SetStatus(const QString& text) {
  // "Download Progress of Quillmere Update" is wider than the window at the usual size.
  QFont font = this->font();
  qreal size = font.pointSizeF() > 0 ? font.pointSizeF() : 9;
  font.setPointSizeF(size);
  while (size > 6 && QFontMetrics(font).horizontalAdvance(text) > Label2->width()) {
    size -= 0.5;
    font.setPointSizeF(size);
  }
  Label2->setFont(font);
  Label2->setText(text);
}

void TFormupdate::Timer1Timer() {
  if (watchdogFired_) watchdogFired_();
}

void TFormupdate::SetWatchdog(bool on, std::function<void()> fired) {
  watchdogFired_ = on ? std::move(fired) : std::function<void()>();
  if (on)
    Timer1->start();
  else
    Timer1->stop();
}

void TFormupdate::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (event->isAccepted()) emit closed();
}

}  // namespace quillmere
