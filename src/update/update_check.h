// The update check as the windows see it: whether the user may install programs, and the check
// itself, which asks the update server for the published version. The server's address is
// configuration (update.conf in the settings folder); none is configured by default, so a
// program started in a test, in CI or on a developer's machine never opens a connection.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/program_version.h"
#include "tensor/tensor_state.h"

namespace quillmere {

class UserMessages;

/// Where the update server is: "HOST" or "HOST:PORT" ("[::1]:2121" for an IPv6 address); an
/// empty address means that there is none.
struct UpdateServerConfig {
  std::string address;
  /// Public keys of the publisher (minisign public key lines) besides the one built in.
  std::vector<std::string> publicKeys;
};

/// What the check moves around it: the update window's status label, progress bar and
/// percentage label, the main window, the splash timer and the watchdog. The desktop program
/// moves its windows; the tests record.
class UpdateDisplay {
 public:
  virtual ~UpdateDisplay() = default;
  /// Label2 of the update window.
  virtual void SetStatus(const std::string& text) = 0;
  /// ProgressBar1's maximum and position (bytes).
  virtual void SetProgressMaximum(std::uint64_t maximum) = 0;
  virtual void SetProgressPosition(std::uint64_t position) = 0;
  /// Label1 of the update window ("37 %").
  virtual void SetPercent(const std::string& text) = 0;
  virtual void ShowUpdateWindow() = 0;
  virtual void HideUpdateWindow() = 0;
  virtual void HideMainWindow() = 0;
  /// Starts the main window's end-of-splash timer.
  virtual void StartSplashTimer() = 0;
  /// Switches the watchdog timer on (calling `fired` at every interval) or off.
  virtual void SetWatchdog(bool on, std::function<void()> fired) = 0;
  /// A question with Yes and No in a box captioned "Warning"; true for Yes.
  virtual bool AskWarning(const std::string& text) = 0;
  /// Lets pending window events run.
  virtual void ProcessEvents() = 0;
  /// Waits `milliseconds`, letting window events run.
  virtual void Wait(int milliseconds) = 0;
};

class UpdateCheck {
 public:
  virtual ~UpdateCheck() = default;
  /// Is_Admin: whether the user has the rights to install a new version.
  virtual bool IsAdmin() = 0;
  /// Checkforupdates1Click: runs the whole check; true when an installer was started (the
  /// program is then ending). `verbose` adds the messages for an up-to-date version and for a
  /// failed connection, shown through `messages`.
  virtual bool CheckForUpdates(bool verbose, UpdateDisplay& display, UserMessages& messages) = 0;
};

/// True for the superuser and for members of the groups that administer a Linux system ("sudo",
/// "admin", "wheel").
bool UserIsAdministrator();

/// The text a verbose check shows when it cannot reach the server.
inline constexpr const char* kNoUpdateConnection = "could not make connection to update server";

/// The check while no update server is configured: it cannot connect, which the silent start-up
/// check does not report, and it never starts an installer.
class UnconfiguredUpdateCheck : public UpdateCheck {
 public:
  explicit UnconfiguredUpdateCheck(UpdateServerConfig config = {}) : config_(std::move(config)) {}
  bool IsAdmin() override { return UserIsAdministrator(); }
  bool CheckForUpdates(bool verbose, UpdateDisplay& display, UserMessages& messages) override;
  const UpdateServerConfig& config() const { return config_; }

 private:
  UpdateServerConfig config_;
};

}  // namespace quillmere
