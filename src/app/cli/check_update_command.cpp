// quillmere-cli check-update [--server HOST[:PORT]] [--download DIR]: the update check for
// administrators and scripts, without questions. Exit status: 0 up to date, 3 a different
// version is published, 1 no connection or a failed download, 2 bad arguments.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/cli/cli_commands.h"
#include "tensor/number_text.h"
#include "update/ftp/curl_ftp.h"
#include "update/update_config.h"
#include "update/update_procedure.h"

namespace quillmere::cli {

namespace {

constexpr int kDifferentVersion = 3;

void PrintCheckUpdateHelp(std::ostream& out) {
  out << "Usage: quillmere-cli check-update [--server HOST[:PORT]] [--download DIR]\n\n"
         "Asks the update server for the published version. Prints \"This Version is "
         "up-to-date\"\n"
         "and exits 0, or prints the published version and its release notes and exits 3.\n"
         "With --download DIR the installer package (Quillmereinstall.deb) is then downloaded\n"
         "into DIR, checked against the size the server gives, and its path printed; it is\n"
         "never run. Without --server the address comes from update.conf in the settings\n"
         "folder ("
      << (DefaultSettingsDirectory() / kUpdateConfigName).string()
      << ").\n"
         "Exits 1 when the server cannot be reached or the download fails.\n";
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

}  // namespace

int CheckUpdateCommand(const Args& args, CliContext&) {
  UpdateServerConfig server;
  bool serverGiven = false;
  std::string downloadFolder;
  for (std::size_t k = 0; k < args.size(); ++k) {
    const std::string& a = args[k];
    if (a == "--help" || a == "-h") {
      PrintCheckUpdateHelp(std::cout);
      return 0;
    }
    if ((a == "--server" || a == "--download") && k + 1 >= args.size())
      throw UsageError{a + " needs a value"};
    if (a == "--server") {
      server.address = args[++k];
      serverGiven = true;
      try {
        ParseServerAddress(server.address);
      } catch (const std::exception&) {
        throw UsageError{"not a server address: '" + server.address + "' (HOST[:PORT])"};
      }
    } else if (a == "--download") {
      downloadFolder = args[++k];
    } else {
      throw UsageError{"unknown argument '" + a + "' (see --help)"};
    }
  }
  if (!serverGiven) server = ReadUpdateConfig(DefaultSettingsDirectory());
  if (server.address.empty()) {
    std::cerr << "No update server is configured: put a line server=HOST[:PORT] into "
              << (DefaultSettingsDirectory() / kUpdateConfigName).string()
              << " or give --server.\n";
    return 1;
  }
  if (!downloadFolder.empty() && !std::filesystem::is_directory(downloadFolder))
    throw UsageError{"not a folder: '" + downloadFolder + "'"};

  CurlFtp ftp;
  VersionFile published;
  try {
    ScratchFolder scratch;
    ConnectToUpdateServer(ftp, server);
    const std::filesystem::path versionPath = scratch.path() / kVersionFileName;
    ftp.Download(kVersionFileName, versionPath, kVersionFileLimit, {});
    published = ReadVersionFile(versionPath);
  } catch (const std::exception& e) {
    std::cout << kNoUpdateConnection << "\n";
    std::cerr << e.what() << "\n";
    return 1;
  }
  if (SameVersion(published.version, kProgramVersion)) {
    std::cout << kUpToDate << "\n";
    return 0;
  }
  std::cout << "Published version: " << FormatGeneral(published.version) << " (running "
            << FormatGeneral(kProgramVersion) << ")\nRelease notes:" << published.releaseNotes
            << "\n";
  if (downloadFolder.empty()) return kDifferentVersion;
  const std::filesystem::path target =
      std::filesystem::absolute(std::filesystem::path(downloadFolder) / kInstallerName);
  try {
    DownloadInstaller(ftp, target, published.installerSize, {});
  } catch (const std::exception& e) {
    std::cout << kNoUpdateConnection << "\n";
    std::cerr << e.what() << "\n";
    return 1;
  }
  std::cout << "Installer: " << target.string() << "\n";
  return kDifferentVersion;
}

}  // namespace quillmere::cli
