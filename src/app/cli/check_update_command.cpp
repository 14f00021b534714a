// quillmere-cli check-update [--server HOST[:PORT]] [--public-key FILE] [--download DIR]: the
// update check for administrators and scripts, without questions. Exit status: 0 up to date, 3 a
// different version is published, 1 no connection, an unsigned update or a failed download, 2
// bad arguments.
#include <unistd.h>

#include <atomic>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/cli/cli_commands.h"
#include "core/regular_file.h"
#include "tensor/number_text.h"
#include "update/ftp/curl_ftp.h"
#include "update/update_config.h"
#include "update/update_procedure.h"

namespace quillmere::cli {

namespace {

constexpr int kDifferentVersion = 3;
constexpr std::size_t kPublicKeyFileLimit = 4096;

void PrintCheckUpdateHelp(std::ostream& out) {
  out << "Usage: quillmere-cli check-update [--server HOST[:PORT]] [--public-key FILE]\n"
         "                                  [--download DIR] [--stall-seconds N]\n\n"
         "Asks the update server for the published version. Prints \"This Version is "
         "up-to-date\"\n"
         "and exits 0, or prints the published version and its release notes and exits 3.\n"
         "version.txt and the package must be signed by the publisher (minisign signatures\n"
         "version.txt.minisig and Quillmereinstall.deb.minisig beside them) with the key built\n"
         "into the program, a public-key= line of update.conf or the minisign public key FILE.\n"
         "With --download DIR the installer package (Quillmereinstall.deb) is then downloaded\n"
         "into DIR, checked against the size the server gives and the signature, and its path\n"
         "printed; it is never run. A transfer that receives fewer than 1024 bytes in any 31 s\n"
         "(N s with --stall-seconds) is ended. Without --server the address comes from\n"
         "update.conf in the settings folder ("
      << (DefaultSettingsDirectory() / kUpdateConfigName).string()
      << ").\n"
         "Exits 1 when the server cannot be reached, the update is not signed or the download\n"
         "fails.\n";
}

/// A private scratch folder for version.txt, removed with its contents at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quillmere-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("Cannot create a temporary folder");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

/// The transfer that Ctrl+C or SIGTERM ends, so its private file is removed on the normal path.
std::atomic<FtpTransfer*> interruptible{nullptr};

extern "C" void AbortTransfer(int) {
  if (FtpTransfer* ftp = interruptible.load()) ftp->Abort();
}

/// Routes SIGINT and SIGTERM to the transfer's Abort while it lives.
class InterruptAborts {
 public:
  explicit InterruptAborts(FtpTransfer& ftp) {
    interruptible = &ftp;
    struct sigaction action {};
    action.sa_handler = AbortTransfer;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &oldInt_);
    sigaction(SIGTERM, &action, &oldTerm_);
  }
  ~InterruptAborts() {
    sigaction(SIGINT, &oldInt_, nullptr);
    sigaction(SIGTERM, &oldTerm_, nullptr);
    interruptible = nullptr;
  }
  InterruptAborts(const InterruptAborts&) = delete;
  InterruptAborts& operator=(const InterruptAborts&) = delete;

 private:
  struct sigaction oldInt_ {};
  struct sigaction oldTerm_ {};
};

}  // namespace

int CheckUpdateCommand(const Args& args, CliContext&) {
  UpdateServerConfig server;
  bool serverGiven = false;
  std::string downloadFolder;
  std::string keyFile;
  FtpTimeouts timeouts;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    if (a == "--help" || a == "-h") {
      PrintCheckUpdateHelp(std::cout);
      return 0;
    }
    if ((a == "--server" || a == "--download" || a == "--public-key" || a == "--stall-seconds") &&
        k + 1 >= args.size())
      throw UsageError{a + " needs a value"};
    if (a == "--server") {
      server.address = args[++k];
      serverGiven = true;
      try {
        ParseServerAddress(server.address);
      } catch (const std::exception&) {
        throw UsageError{"not a server address: '" + QuoteForMessage(server.address) +
                         "' (HOST[:PORT])"};
      }
    } else if (a == "--download") {
      downloadFolder = args[++k];
    } else if (a == "--public-key") {
      keyFile = args[++k];
    } else if (a == "--stall-seconds") {
      const std::string& text = args[++k];
      long seconds = 0;
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), seconds);
      if (ec != std::errc() || end != text.data() + text.size() || seconds < 1 || seconds > 3600)
        throw UsageError{"--stall-seconds needs a whole number of seconds from 1 to 3600"};
      timeouts.windowMilliseconds = seconds * 1000;
    } else {
      throw UsageError{"unknown argument '" + QuoteForMessage(a) + "' (see --help)"};
    }
  }
  // update.conf's keys count also when --server names another server.
  const UpdateServerConfig configured = ReadUpdateConfig(DefaultSettingsDirectory());
  if (!serverGiven) server.address = configured.address;
  server.publicKeys = configured.publicKeys;
  std::vector<UpdatePublicKey> keys = PublisherKeys(server);
  if (!keyFile.empty()) {
    try {
      for (const UpdatePublicKey& key :
           ParseUpdatePublicKeys(ReadRegularFile(keyFile, kPublicKeyFileLimit)))
        keys.push_back(key);
    } catch (const std::exception& e) {
      throw UsageError{std::string("--public-key: ") + e.what()};
    }
  }
  if (server.address.empty()) {
    std::cerr << "No update server is configured: put a line server=HOST[:PORT] into "
              << (DefaultSettingsDirectory() / kUpdateConfigName).string()
              << " or give --server.\n";
    return 1;
  }
  if (!downloadFolder.empty() && !std::filesystem::is_directory(downloadFolder))
    throw UsageError{"not a folder: '" + QuoteForMessage(downloadFolder) + "'"};

  CurlFtp ftp(timeouts);
  InterruptAborts interrupts(ftp);
  VersionFile published;
  try {
    ScratchFolder scratch;
    ConnectToUpdateServer(ftp, server);
    published = ParseVersionFile(
        DownloadSignedText(ftp, scratch.path(), kVersionFileName, kVersionFileLimit, keys, {}));
  } catch (const UpdateRefused& e) {
    std::cout << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cout << kNoUpdateConnection << "\n";
    std::cerr << WithoutControlCharacters(e.what()) << "\n";
    return 1;
  }
  if (SameVersion(published.version, kProgramVersion)) {
    std::cout << kUpToDate << "\n";
    return 0;
  }
  // The notes come from the server: control characters could rewrite the user's terminal.
  std::cout << "Published version: " << FormatGeneral(published.version) << " (running "
            << FormatGeneral(kProgramVersion)
            << ")\nRelease notes:" << WithoutControlCharacters(published.releaseNotes) << "\n";
  if (downloadFolder.empty()) return kDifferentVersion;
  const std::filesystem::path folder = std::filesystem::absolute(downloadFolder);
  try {
    const std::filesystem::path target =
        DownloadInstaller(ftp, folder, published.installerSize, keys, {});
    std::cout << "Installer: " << target.string() << "\n";
  } catch (const UpdateRefused& e) {
    std::cout << WithoutControlCharacters(e.what()) << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cout << "The update could not be downloaded: " << WithoutControlCharacters(e.what())
              << "\n";
    return 1;
  }
  return kDifferentVersion;
}

}  // namespace quillmere::cli
