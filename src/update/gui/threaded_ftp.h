// An FtpTransfer that runs each blocking operation of another one on a worker thread while the
// window's event loop keeps running, so the windows paint, the watchdog fires and progress
// reaches the window (through queued calls, at most one pending at a time).
#pragma once

#include <functional>
#include <memory>

#include "update/ftp_transfer.h"

namespace quillmere {

class ThreadedFtp : public FtpTransfer {
 public:
  explicit ThreadedFtp(std::unique_ptr<FtpTransfer> inner) : inner_(std::move(inner)) {}

  bool Connected() const override { return inner_->Connected(); }
  void Connect(const FtpLogin& login) override;
  void ChangeDirectory(const std::string& directory) override;
  void Download(const std::string& remote, const std::filesystem::path& local,
                std::uint64_t maxBytes,
                const std::function<void(std::uint64_t)>& progress) override;
  /// Safe while an operation runs: the inner transfer's Abort is thread-safe.
  void Abort() override { inner_->Abort(); }
  void Disconnect() override;

 private:
  /// Runs `work` on a worker thread and the event loop until it is done; rethrows its error.
  void Run(const std::function<void()>& work);

  std::unique_ptr<FtpTransfer> inner_;
};

}  // namespace quillmere
