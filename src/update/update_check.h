// The update check as the start-up sees it: whether the user may install programs, and the
// check itself, which asks the update server for the published version. The server's address is
// configuration; none is configured by default, so a program started in a test, in CI or on a
// developer's machine never opens a connection.
#pragma once

#include <string>
#include <utility>

#include "core/program_version.h"
#include "tensor/tensor_state.h"

namespace quillmere {

class UserMessages;

/// Where the update server is; an empty address means that there is none.
struct UpdateServerConfig {
  std::string address;
};

class UpdateCheck {
 public:
  virtual ~UpdateCheck() = default;
  /// Is_Admin: whether the user has the rights to install a new version.
  virtual bool IsAdmin() = 0;
  /// Checkforupdates1Click: runs the whole check; true when an installer was started (the
  /// program is then ending). `verbose` adds the messages for an up-to-date version and for a
  /// failed connection, shown through `messages`.
  virtual bool CheckForUpdates(bool verbose, UserMessages& messages) = 0;
};

/// True for the superuser and for members of the groups that administer a Linux system ("sudo",
/// "admin", "wheel").
bool UserIsAdministrator();

/// The text a verbose check shows when it cannot reach the server.
inline constexpr const char* kNoUpdateConnection = "could not make connection to update server";

/// The check while no update server is built in: it cannot connect, which the silent start-up
/// check does not report, and it never starts an installer.
class UnconfiguredUpdateCheck : public UpdateCheck {
 public:
  explicit UnconfiguredUpdateCheck(UpdateServerConfig config = {}) : config_(std::move(config)) {}
  bool IsAdmin() override { return UserIsAdministrator(); }
  bool CheckForUpdates(bool verbose, UserMessages& messages) override;
  const UpdateServerConfig& config() const { return config_; }

 private:
  UpdateServerConfig config_;
};

}  // namespace quillmere
