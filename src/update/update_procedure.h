// The update check's steps (Checkforupdates1Click), free of windows and of the network library:
// it drives an FtpTransfer, an UpdateDisplay, an UpdateSystem and the user's messages, so the
// same steps run in the desktop program and, recorded, in tests.
//
// Error policy: every failure inside the check ends it as a failed check (in verbose mode with
// "could not make connection to update server"); nothing propagates to the caller.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "update/update_check.h"
#include "update/version_file.h"

namespace quillmere {

class FtpTransfer;
class UserMessages;

/// The server's account and folder, and the names of what it publishes.
inline constexpr const char* kUpdateUser = "Brennick";
inline constexpr const char* kUpdatePassword = "qz#604183";
inline constexpr const char* kUpdateDirectory = "Website/QuillmereHome";
inline constexpr const char* kVersionFileName = "version.txt";
inline constexpr const char* kInstallerName = "Quillmereinstall.deb";
/// The backup of the program file, in the settings folder.
inline constexpr const char* kBackupName = "quillmere.old";

inline constexpr const char* kUpToDate = "This Version is up-to-date";
inline constexpr const char* kNewVersionQuestion =
    "new version available, download and install now?";
inline constexpr const char* kDownloadStatus = "Download Progress of Quillmere Update";
inline constexpr const char* kCannotCreateUpdateFolder = "Cannot create undo directory";

/// What the check does to the system: open the installer with the desktop's default action,
/// and end the other running copies of the program. The desktop program acts; tests record.
class UpdateSystem {
 public:
  virtual ~UpdateSystem() = default;
  /// Hands the file to the desktop (its software installer opens a package). Throws on failure.
  virtual void OpenWithDesktop(const std::filesystem::path& file) = 0;
  /// The process ids of the other running copies of this program of the same user.
  virtual std::vector<int> OtherRunningCopies() = 0;
  /// Asks the process to end (SIGTERM).
  virtual void EndProcess(int pid) = 0;
};

struct UpdateContext {
  UpdateServerConfig server;
  /// SettingsDirectory: version.txt, the folder "update" and the backup go here.
  std::filesystem::path settingsDirectory;
  /// The running program's file, copied to the backup before the installer starts.
  std::filesystem::path programFile;
  Real programVersion = kProgramVersion;
};

/// Connects to the configured server (a second try when the first fails), logs in and changes
/// to the update folder. Throws std::runtime_error when any of it fails or no server is set.
void ConnectToUpdateServer(FtpTransfer& ftp, const UpdateServerConfig& server);

/// Downloads the installer to `target` and checks that it has `expectedSize` bytes; on any
/// failure the file is removed and std::runtime_error thrown, so a truncated or stalled
/// download never reaches the installer.
void DownloadInstaller(FtpTransfer& ftp, const std::filesystem::path& target,
                       std::uint64_t expectedSize,
                       const std::function<void(std::uint64_t)>& progress);

/// The message shown once the installer is downloaded, naming the folder it lies in.
std::string DownloadedMessage(const std::filesystem::path& settingsDirectory);

class UpdateProcedure {
 public:
  UpdateProcedure(UpdateContext context, FtpTransfer& ftp, UpdateDisplay& display,
                  UpdateSystem& system, UserMessages& messages);

  /// The whole check; true when the installer was started (UpdateStarted): the caller then
  /// ends the program through its normal exit.
  bool Checkforupdates1Click(bool verbose);
  /// The watchdog: while nothing has been received it switches itself off and aborts the
  /// transfer, which fails the check.
  void Timer1Timer();
  /// Progress of a transfer: the bar's position and Label1's percentage.
  void NMFTP1PacketRecvd(std::uint64_t bytes);

  std::filesystem::path InstallerPath() const;

 private:
  void SetMaximum(std::uint64_t maximum);
  void SetPosition(std::uint64_t position);
  void StartWatchdog();
  void StopWatchdog();
  void Install(const VersionFile& published);
  void AbortQuietly();
  void Finish();

  UpdateContext context_;
  FtpTransfer& ftp_;
  UpdateDisplay& display_;
  UpdateSystem& system_;
  UserMessages& messages_;
  std::uint64_t maximum_ = 0;
  std::uint64_t position_ = 0;
  bool updateStarted_ = false;
};

}  // namespace quillmere
