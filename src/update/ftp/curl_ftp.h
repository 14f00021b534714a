// FtpTransfer through libcurl: one easy handle keeps the control connection between the
// operations of a check. Blocking; Abort may be called from another thread. No Qt, so the
// command-line tool uses it as it is and the desktop program runs it on a worker thread.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "update/ftp_transfer.h"

namespace quillmere {

struct FtpTimeouts {
  long connectMilliseconds = 20000;  ///< TCP connect
  long responseSeconds = 30;         ///< waiting for any reply of the server
  long stallSeconds = 60;            ///< a transfer with no byte for this long fails
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
