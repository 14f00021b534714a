// The update check of the desktop program: the steps of UpdateProcedure over libcurl on a
// worker thread, with the server read from update.conf at every check.
#pragma once

#include <filesystem>
#include <functional>

#include "update/ftp/curl_ftp.h"
#include "update/update_check.h"
#include "update/update_procedure.h"

namespace quillmere {

class FtpUpdateCheck : public UpdateCheck {
 public:
  /// `settingsDirectory` holds update.conf; `programFile` is backed up before an installer
  /// starts; `system` opens the installer and ends other copies.
  FtpUpdateCheck(std::filesystem::path settingsDirectory, std::filesystem::path programFile,
                 UpdateSystem& system, std::function<bool()> isAdmin = UserIsAdministrator);

  bool IsAdmin() override { return isAdmin_(); }
  /// Runs the check; a check asked for while one runs returns false at once.
  bool CheckForUpdates(bool verbose, UpdateDisplay& display, UserMessages& messages) override;

  FtpTimeouts timeouts;

 private:
  std::filesystem::path settingsDirectory_;
  std::filesystem::path programFile_;
  UpdateSystem& system_;
  std::function<bool()> isAdmin_;
  bool running_ = false;
};

}  // namespace quillmere
