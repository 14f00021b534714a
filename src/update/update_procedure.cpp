#include "update/update_procedure.h"

#include <stdexcept>
#include <system_error>

#include "core/user_messages.h"
#include "update/ftp_transfer.h"
#include "update/update_config.h"

namespace quillmere {

namespace {

constexpr std::uint64_t kStartMaximum = 1000;
constexpr int kWaitBeforeConnect = 100;        // ms
constexpr int kWaitBeforeEndingCopies = 1000;  // ms, lets the installer come up first

}  // namespace

void ConnectToUpdateServer(FtpTransfer& ftp, const UpdateServerConfig& server) {
  if (server.address.empty()) throw std::runtime_error("No update server is configured");
  const ServerAddress address = ParseServerAddress(server.address);
  const FtpLogin login{address.host, address.port, kUpdateUser, kUpdatePassword};
  try {
    ftp.Connect(login);
  } catch (const std::exception&) {
    ftp.Connect(login);  // one more try; a second failure ends the check
  }
  ftp.ChangeDirectory(kUpdateDirectory);
}

void DownloadInstaller(FtpTransfer& ftp, const std::filesystem::path& target,
                       std::uint64_t expectedSize,
                       const std::function<void(std::uint64_t)>& progress) {
  std::error_code ignored;
  try {
    if (expectedSize == 0) throw std::runtime_error("The version file gives no installer size");
    ftp.Download(kInstallerName, target, expectedSize, progress);
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(target, ec);
    if (ec || size != expectedSize)
      throw std::runtime_error("The installer arrived with " + std::to_string(ec ? 0 : size) +
                               " bytes instead of " + std::to_string(expectedSize));
  } catch (...) {
    std::filesystem::remove(target, ignored);
    throw;
  }
}

std::string DownloadedMessage(const std::filesystem::path& settingsDirectory) {
  const std::string folder = (settingsDirectory / "update").string();
  return "Update successfully downloaded to " + folder +
         ".\nA backup of the old program has been generated (" + kBackupName +
         ")\nquillmere will now close. \nInstallation of Quillmere should start automaticaly. "
         "\nIf not, run " +
         kInstallerName + " from " + folder + ".";
}

UpdateProcedure::UpdateProcedure(UpdateContext context, FtpTransfer& ftp, UpdateDisplay& display,
                                 UpdateSystem& system, UserMessages& messages)
    : context_(std::move(context)),
      ftp_(ftp),
      display_(display),
      system_(system),
      messages_(messages) {}

std::filesystem::path UpdateProcedure::InstallerPath() const {
  return context_.settingsDirectory / "update" / kInstallerName;
}

void UpdateProcedure::SetMaximum(std::uint64_t maximum) {
  maximum_ = maximum;
  display_.SetProgressMaximum(maximum);
}

void UpdateProcedure::SetPosition(std::uint64_t position) {
  position_ = position;
  display_.SetProgressPosition(position);
}

void UpdateProcedure::NMFTP1PacketRecvd(std::uint64_t bytes) {
  SetPosition(bytes);
  if (maximum_ > 0 && position_ > 0) display_.SetPercent(PercentText(position_, maximum_));
}

void UpdateProcedure::StartWatchdog() {
  display_.SetWatchdog(true, [this] { Timer1Timer(); });
}

void UpdateProcedure::StopWatchdog() {
  display_.SetWatchdog(false, {});
}

void UpdateProcedure::Timer1Timer() {
  if (position_ != 0) return;
  StopWatchdog();
  ftp_.Abort();
}

bool UpdateProcedure::Checkforupdates1Click(bool verbose) {
  updateStarted_ = false;
  display_.SetStatus("Checking for Updates at " + context_.server.address);
  SetMaximum(kStartMaximum);
  // A bar left full by an earlier check would keep the watchdog from ever firing.
  SetPosition(0);
  display_.SetPercent({});
  if (ftp_.Connected()) {
    ftp_.Disconnect();
    return false;
  }
  // Without a configured server no connection is tried; a verbose check says it cannot connect.
  if (context_.server.address.empty()) {
    if (verbose) messages_.ShowMessage(kNoUpdateConnection);
    return false;
  }
  display_.Wait(kWaitBeforeConnect);
  try {
    // The watchdog also covers the connection, so a server that accepts and then never answers
    // is given up after one interval too.
    StartWatchdog();
    ConnectToUpdateServer(ftp_, context_.server);
    const std::filesystem::path versionPath = context_.settingsDirectory / kVersionFileName;
    try {
      ftp_.Download(kVersionFileName, versionPath, kVersionFileLimit,
                    [this](std::uint64_t bytes) { NMFTP1PacketRecvd(bytes); });
    } catch (const std::exception&) {
      // No version file: the check ends silently, even in verbose mode.
      StopWatchdog();
      Finish();
      return false;
    }
    display_.SetPercent("100%");
    const VersionFile published = ReadVersionFile(versionPath);
    SetMaximum(published.installerSize);
    display_.ProcessEvents();
    if (SameVersion(published.version, context_.programVersion)) {
      display_.StartSplashTimer();
      if (verbose) messages_.ShowMessage(kUpToDate);
    } else {
      StopWatchdog();
      display_.HideMainWindow();
      if (display_.AskWarning(kNewVersionQuestion)) Install(published);
    }
    AbortQuietly();
  } catch (const std::exception&) {
    if (verbose) messages_.ShowMessage(kNoUpdateConnection);
    AbortQuietly();
  }
  StopWatchdog();
  Finish();
  return updateStarted_;
}

void UpdateProcedure::Install(const VersionFile& published) {
  messages_.ShowMessage(published.releaseNotes);
  display_.ShowUpdateWindow();
  display_.SetStatus(kDownloadStatus);
  const std::filesystem::path folder = context_.settingsDirectory / "update";
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) {
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder))
      throw std::runtime_error(kCannotCreateUpdateFolder);
  }
  // The installer download is watched too: a server that stops sending never leaves the
  // program waiting for ever.
  SetPosition(0);
  StartWatchdog();
  DownloadInstaller(ftp_, InstallerPath(), published.installerSize,
                    [this](std::uint64_t bytes) { NMFTP1PacketRecvd(bytes); });
  StopWatchdog();

  const std::filesystem::path backup = context_.settingsDirectory / kBackupName;
  std::filesystem::remove(backup);
  std::filesystem::copy_file(context_.programFile, backup);

  messages_.ShowMessage(DownloadedMessage(context_.settingsDirectory));
  display_.HideUpdateWindow();
  updateStarted_ = true;
  try {
    system_.OpenWithDesktop(InstallerPath());
  } catch (...) {
    // The message above names the package, so the user can still open it by hand.
  }
  display_.Wait(kWaitBeforeEndingCopies);
  for (int pid : system_.OtherRunningCopies()) system_.EndProcess(pid);
}

void UpdateProcedure::AbortQuietly() {
  if (!ftp_.Connected()) return;
  try {
    ftp_.Abort();
  } catch (...) {
  }
}

void UpdateProcedure::Finish() {
  if (ftp_.Connected()) {
    try {
      ftp_.Disconnect();
    } catch (...) {
    }
  }
  display_.HideUpdateWindow();
}

}  // namespace quillmere
