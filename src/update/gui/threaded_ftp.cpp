#include "update/gui/threaded_ftp.h"

#include <QEventLoop>
#include <QObject>
#include <atomic>
#include <exception>
#include <thread>

namespace quillmere {

void ThreadedFtp::Run(const std::function<void()>& work) {
  QEventLoop loop;
  std::exception_ptr error;
  std::thread worker([&] {
    try {
      work();
    } catch (...) {
      error = std::current_exception();
    }
    // Queued, so it arrives inside loop.exec() even when the work ends before the loop starts.
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  if (error) std::rethrow_exception(error);
}

void ThreadedFtp::Connect(const FtpLogin& login) {
  Run([&] { inner_->Connect(login); });
}

void ThreadedFtp::ChangeDirectory(const std::string& directory) {
  Run([&] { inner_->ChangeDirectory(directory); });
}

void ThreadedFtp::Download(const std::string& remote, const std::filesystem::path& local,
                           std::uint64_t maxBytes,
                           const std::function<void(std::uint64_t)>& progress) {
  struct Relay {
    std::atomic<std::uint64_t> bytes{0};
    std::atomic<bool> pending{false};
  };
  auto relay = std::make_shared<Relay>();
  // Calls queued to `receiver` are dropped when it is destroyed at the end of this function.
  QObject receiver;
  std::uint64_t shown = 0;
  const auto deliver = [&] {
    relay->pending = false;
    const std::uint64_t bytes = relay->bytes;
    if (bytes == shown) return;
    shown = bytes;
    if (progress) progress(bytes);
  };
  const std::function<void(std::uint64_t)> onWorker = [&](std::uint64_t bytes) {
    relay->bytes = bytes;
    if (!relay->pending.exchange(true))
      QMetaObject::invokeMethod(&receiver, deliver, Qt::QueuedConnection);
  };
  Run([&] { inner_->Download(remote, local, maxBytes, onWorker); });
  deliver();
}

void ThreadedFtp::Disconnect() {
  Run([&] { inner_->Disconnect(); });
}

}  // namespace quillmere
