// SIGTERM as a Qt signal: the handler only writes a byte to a socket pair, and a notifier on the
// other end emits `received` in the event loop, where the program can close as the user would.
#pragma once

#include <QObject>
#include <memory>

class QSocketNotifier;

namespace quillmere {

class TerminationSignal : public QObject {
  Q_OBJECT

 public:
  /// Installs the handler for SIGTERM; one object at a time.
  explicit TerminationSignal(QObject* parent = nullptr);
  ~TerminationSignal() override;

 signals:
  void received();

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace quillmere
