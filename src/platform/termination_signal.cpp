#include "platform/termination_signal.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>
#include <stdexcept>

namespace quillmere {

namespace {

// The socket pair must be reachable from the signal handler, which takes no arguments.
int pipeEnds[2] = {-1, -1};

extern "C" void WriteTerminationByte(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
}

}  // namespace

TerminationSignal::TerminationSignal(QObject* parent) : QObject(parent) {
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0)
    throw std::runtime_error("Cannot prepare for the termination signal");
  notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[1], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    char bytes[16];
    while (::read(pipeEnds[1], bytes, sizeof bytes) > 0) {
    }
    emit received();
  });
  struct sigaction action {};
  action.sa_handler = WriteTerminationByte;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
}

TerminationSignal::~TerminationSignal() {
  std::signal(SIGTERM, SIG_DFL);
  notifier_.reset();
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
  pipeEnds[0] = pipeEnds[1] = -1;
}

}  // namespace quillmere
