#include "update/update_procedure.h"

#include <sys/stat.h>
#include <unistd.h>

#include <random>
#include <stdexcept>
#include <system_error>

#include "core/regular_file.h"
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

namespace {

std::string PrivatePrefix(const std::string& name) {
  return "." + name + ".part-";
}

/// Refuses the download when something other than a regular file has the installer's name.
void RefuseUnlessRegularOrAbsent(const std::filesystem::path& target) {
  struct stat st {};
  if (::lstat(target.c_str(), &st) != 0) return;
  if (!S_ISREG(st.st_mode))
    throw UpdateRefused("'" + target.string() +
                        "' is not a regular file; the download was refused");
}

/// Removes `path` when it still exists; for the private downloads, which nobody else opens.
void RemovePrivate(const std::filesystem::path& path) {
  ::unlink(path.c_str());
}

/// Downloads `name` into a new private file in `folder` and returns its path; the caller removes
/// it.
std::filesystem::path DownloadPrivate(FtpTransfer& ftp, const std::filesystem::path& folder,
                                      const std::string& name, std::uint64_t limit,
                                      const std::function<void(std::uint64_t)>& progress) {
  const std::filesystem::path path = PrivateDownloadPath(folder, name);
  ftp.Download(name, path, limit, progress);
  return path;
}

/// The signature published beside `name`; empty when there is none.
std::string DownloadSignature(FtpTransfer& ftp, const std::filesystem::path& folder,
                              const std::string& name) {
  const std::string signatureName = name + kSignatureSuffix;
  std::filesystem::path path;
  try {
    path = DownloadPrivate(ftp, folder, signatureName, kSignatureFileLimit, {});
    std::string text = ReadRegularFile(path, kSignatureFileLimit);
    RemovePrivate(path);
    return text;
  } catch (const std::exception&) {
    if (!path.empty()) RemovePrivate(path);
    return {};
  }
}

}  // namespace

std::filesystem::path PrivateDownloadPath(const std::filesystem::path& folder,
                                          const std::string& name) {
  std::random_device random;
  std::uniform_int_distribution<unsigned> digit(0, 15);
  std::string suffix;
  for (int k = 0; k < 12; ++k) suffix += "0123456789abcdef"[digit(random)];
  return folder / (PrivatePrefix(name) + suffix);
}

void RemoveStaleDownloads(const std::filesystem::path& folder, const std::string& name) {
  std::error_code ec;
  const std::string prefix = PrivatePrefix(name);
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::filesystem::path path = it->path();
    if (!path.filename().string().starts_with(prefix)) continue;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid())
      RemovePrivate(path);
  }
}

std::string DownloadSignedText(FtpTransfer& ftp, const std::filesystem::path& folder,
                               const std::string& name, std::uint64_t limit,
                               const std::vector<UpdatePublicKey>& keys,
                               const std::function<void(std::uint64_t)>& progress,
                               const std::filesystem::path& keepAs) {
  RemoveStaleDownloads(folder, name);
  RemoveStaleDownloads(folder, name + kSignatureSuffix);
  const std::filesystem::path path = DownloadPrivate(ftp, folder, name, limit, progress);
  std::string text;
  try {
    text = ReadRegularFile(path, limit);
    if (!SignedByPublisher(keys, DownloadSignature(ftp, folder, name), text))
      throw UpdateRefused(kNotSignedByPublisher);
    if (!keepAs.empty()) std::filesystem::rename(path, keepAs);
  } catch (...) {
    RemovePrivate(path);
    throw;
  }
  RemovePrivate(path);
  return text;
}

std::filesystem::path DownloadInstaller(FtpTransfer& ftp, const std::filesystem::path& folder,
                                        std::uint64_t expectedSize,
                                        const std::vector<UpdatePublicKey>& keys,
                                        const std::function<void(std::uint64_t)>& progress) {
  const std::filesystem::path target = folder / kInstallerName;
  RemoveStaleDownloads(folder, kInstallerName);
  RemoveStaleDownloads(folder, std::string(kInstallerName) + kSignatureSuffix);
  RefuseUnlessRegularOrAbsent(target);
  if (expectedSize == 0) throw UpdateRefused("The version file gives no installer size");
  std::filesystem::path path;
  try {
    path = DownloadPrivate(ftp, folder, kInstallerName, expectedSize, progress);
    struct stat st {};
    const std::uint64_t size = ::lstat(path.c_str(), &st) == 0 ? st.st_size : 0;
    if (size != expectedSize)
      throw UpdateRefused("The installer arrived with " + std::to_string(size) +
                          " bytes instead of " + std::to_string(expectedSize));
    if (!FileSignedByPublisher(keys, DownloadSignature(ftp, folder, kInstallerName), path))
      throw UpdateRefused(kNotSignedByPublisher);
    RefuseUnlessRegularOrAbsent(target);
    std::filesystem::rename(path, target);
  } catch (...) {
    if (!path.empty()) RemovePrivate(path);
    throw;
  }
  return target;
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
  // Without a configured server no connection is tried; a verbose check says that none is
  // configured and where to configure one.
  if (context_.server.address.empty()) {
    if (verbose) messages_.ShowMessage(NoUpdateServerMessage(context_.settingsDirectory));
    return false;
  }
  display_.Wait(kWaitBeforeConnect);
  try {
    // The watchdog also covers the connection, so a server that accepts and then never answers
    // is given up after one interval too.
    StartWatchdog();
    ConnectToUpdateServer(ftp_, context_.server);
    std::string versionText;
    try {
      versionText = DownloadSignedText(
          ftp_, context_.settingsDirectory, kVersionFileName, kVersionFileLimit,
          context_.publisherKeys, [this](std::uint64_t bytes) { NMFTP1PacketRecvd(bytes); },
          context_.settingsDirectory / kVersionFileName);
    } catch (const UpdateRefused&) {
      throw;
    } catch (const std::exception&) {
      // No version file: the check ends silently, even in verbose mode.
      StopWatchdog();
      Finish();
      return false;
    }
    display_.SetPercent("100%");
    const VersionFile published = ParseVersionFile(versionText);
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
  } catch (const UpdateRefused& e) {
    // A refused download is always told: the user has agreed to it and is waiting.
    if (verbose || installing_) messages_.ShowMessage(e.what());
    AbortQuietly();
  } catch (const std::exception&) {
    if (verbose) messages_.ShowMessage(kNoUpdateConnection);
    AbortQuietly();
  }
  installing_ = false;
  StopWatchdog();
  Finish();
  return updateStarted_;
}

void UpdateProcedure::Install(const VersionFile& published) {
  installing_ = true;
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
  try {
    DownloadInstaller(ftp_, folder, published.installerSize, context_.publisherKeys,
                      [this](std::uint64_t bytes) { NMFTP1PacketRecvd(bytes); });
  } catch (const UpdateRefused&) {
    throw;
  } catch (const std::exception& e) {
    // The download itself failed: say how ("the disk is full", "the update server stopped
    // sending") instead of blaming the connection.
    throw UpdateRefused(std::string("The update could not be downloaded: ") + e.what());
  }
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
    // Quietly: the transfer is being given up already, and the user has its reason.
  }
}

void UpdateProcedure::Finish() {
  if (ftp_.Connected()) {
    try {
      ftp_.Disconnect();
    } catch (...) {
      // The check is over either way; a connection that cannot say goodbye is closed anyway.
    }
  }
  display_.HideUpdateWindow();
}

}  // namespace quillmere
