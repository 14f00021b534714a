// The update check's steps (Checkforupdates1Click), free of windows and of the network library:
// it drives an FtpTransfer, an UpdateDisplay, an UpdateSystem and the user's messages, so the
// same steps run in the desktop program and, recorded, in tests.
//
// Error policy: every failure inside the check ends it as a failed check (in verbose mode with
// "could not make connection to update server", or with the UpdateRefused text that says what
// went wrong); nothing propagates to the caller.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "update/update_check.h"
#include "update/update_signature.h"
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
inline constexpr const char* kNotSignedByPublisher =
    "The update is not signed by the publisher; nothing was installed";
/// The publisher's signature of a published file lies beside it under this suffix.
inline constexpr const char* kSignatureSuffix = ".minisig";
inline constexpr std::uint64_t kSignatureFileLimit = 4096;

/// A failure the check reports in its own words (an unsigned update, a full disk, a server that
/// stopped sending) rather than as a failed connection.
class UpdateRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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
  /// The keys the version file and the installer must be signed with; none signs nothing.
  std::vector<UpdatePublicKey> publisherKeys;
};

/// Connects to the configured server (a second try when the first fails), logs in and changes
/// to the update folder. Throws std::runtime_error when any of it fails or no server is set.
void ConnectToUpdateServer(FtpTransfer& ftp, const UpdateServerConfig& server);

/// A fresh, unguessable name for a private download of `name` in `folder`.
std::filesystem::path PrivateDownloadPath(const std::filesystem::path& folder,
                                          const std::string& name);

/// Removes the private downloads of `name` that an interrupted check left in `folder` (regular
/// files of this user only).
void RemoveStaleDownloads(const std::filesystem::path& folder, const std::string& name);

/// Downloads the published text file `name` and its signature through private files in
/// `folder`; returns the text once the signature holds, and renames the verified file to
/// `keepAs` when one is given. Throws std::runtime_error when the file cannot be fetched,
/// UpdateRefused(kNotSignedByPublisher) when the signature is missing or bad.
std::string DownloadSignedText(FtpTransfer& ftp, const std::filesystem::path& folder,
                               const std::string& name, std::uint64_t limit,
                               const std::vector<UpdatePublicKey>& keys,
                               const std::function<void(std::uint64_t)>& progress,
                               const std::filesystem::path& keepAs = {});

/// Downloads the installer into a new private file in `folder`, checks that it has
/// `expectedSize` bytes and is signed by one of `keys`, and only then renames it to
/// `folder`/Quillmereinstall.deb, which it returns. Anything but a regular file at that name is
/// never followed or removed: the download is then refused. On any failure the private file is
/// removed (a good installer already in place stays) and UpdateRefused or std::runtime_error is
/// thrown.
std::filesystem::path DownloadInstaller(FtpTransfer& ftp, const std::filesystem::path& folder,
                                        std::uint64_t expectedSize,
                                        const std::vector<UpdatePublicKey>& keys,
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
  bool installing_ = false;
};

}  // namespace quillmere
