// The FTP operations the update check uses, behind one interface: the desktop program and the
// command-line tool transfer through libcurl, tests can record. Every operation but Abort
// blocks until it is done and throws std::runtime_error when it fails.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace quillmere {

struct FtpLogin {
  std::string host;
  int port = 21;
  std::string user;
  std::string password;
};

class FtpTransfer {
 public:
  virtual ~FtpTransfer() = default;
  /// Whether a connection is open (from a successful Connect to the next Disconnect).
  virtual bool Connected() const = 0;
  /// Connects and logs in; passive transfers.
  virtual void Connect(const FtpLogin& login) = 0;
  /// Changes to `directory` on the server (one "CWD" with the whole path).
  virtual void ChangeDirectory(const std::string& directory) = 0;
  /// Downloads `remote` from the current directory to `local`, which is created as a new file
  /// readable by this user only; anything already at `local` (a symbolic link too) makes the
  /// download fail untouched. On every failure the new file is removed. More than `maxBytes` is a
  /// failure; so is a server that sends too slowly. `progress` gets the bytes received so far.
  virtual void Download(const std::string& remote, const std::filesystem::path& local,
                        std::uint64_t maxBytes,
                        const std::function<void(std::uint64_t)>& progress) = 0;
  /// Makes the running (or next) operation fail; may be called from another thread. Stays in
  /// force until Disconnect.
  virtual void Abort() = 0;
  /// Says "QUIT" and closes the connection.
  virtual void Disconnect() = 0;
};

}  // namespace quillmere
