#include "update/gui/ftp_update_check.h"

#include <memory>

#include "core/user_messages.h"

#include "update/gui/threaded_ftp.h"
#include "update/update_config.h"

namespace quillmere {

FtpUpdateCheck::FtpUpdateCheck(std::filesystem::path settingsDirectory,
                               std::filesystem::path programFile, UpdateSystem& system,
                               std::function<bool()> isAdmin)
    : settingsDirectory_(std::move(settingsDirectory)),
      programFile_(std::move(programFile)),
      system_(system),
      isAdmin_(std::move(isAdmin)) {}

bool FtpUpdateCheck::CheckForUpdates(bool verbose, UpdateDisplay& display, UserMessages& messages) {
  // The transfers let window events run, so the menu could start a second check meanwhile.
  if (running_) return false;
  running_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{running_};
  UpdateContext context;
  try {
    context.server = ReadUpdateConfig(settingsDirectory_);
  } catch (const std::exception& e) {
    if (verbose) messages.ShowMessage(e.what());
    return false;
  }
  context.publisherKeys = PublisherKeys(context.server);
  context.settingsDirectory = settingsDirectory_;
  context.programFile = programFile_;
  ThreadedFtp ftp(std::make_unique<CurlFtp>(timeouts));
  UpdateProcedure procedure(std::move(context), ftp, display, system_, messages);
  return procedure.Checkforupdates1Click(verbose);
}

}  // namespace quillmere
