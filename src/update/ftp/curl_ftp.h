// FtpTransfer through libcurl: one easy handle keeps the control connection between the
// operations of a check. Blocking; Abort may be called from another thread. No Qt, so the
// command-line tool uses it as it is and the desktop program runs it on a worker thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "update/ftp_transfer.h"

namespace quillmere {

struct FtpTimeouts {
  long connectMilliseconds = 20000;  ///< TCP connect
  long responseSeconds = 30;         ///< waiting for any reply of the server
  /// A download that receives fewer than `floorBytes` in any window of this length fails with
  /// "the update server stopped sending" (no byte at all for a window included).
  long windowMilliseconds = 31000;
  std::uint64_t floorBytes = 1024;
};

class CurlFtp : public FtpTransfer {
 public:
  explicit CurlFtp(FtpTimeouts timeouts = {});
  ~CurlFtp() override;
  CurlFtp(const CurlFtp&) = delete;
  CurlFtp& operator=(const CurlFtp&) = delete;

  bool Connected() const override { return connected_; }
  void Connect(const FtpLogin& login) override;
  void ChangeDirectory(const std::string& directory) override;
  void Download(const std::string& remote, const std::filesystem::path& local,
                std::uint64_t maxBytes,
                const std::function<void(std::uint64_t)>& progress) override;
  void Abort() override { aborted_ = true; }
  void Disconnect() override;

  /// One operation's state, shared with libcurl's callbacks.
  struct Request;

 private:
  void Perform(Request& request);
  std::string Url(const std::string& path) const;

  FtpTimeouts timeouts_;
  void* curl_ = nullptr;  // CURL*
  FtpLogin login_;
  std::string directory_;
  bool connected_ = false;
  std::atomic<bool> aborted_{false};
};

}  // namespace quillmere
