// The update check's hold on the system: the desktop's default action on the downloaded
// package, and the other running copies of this program, found through /proc and asked to end
// with SIGTERM. Only processes of the same user whose executable is this program's file count.
#pragma once

#include <filesystem>
#include <vector>

#include "update/update_procedure.h"

namespace quillmere {

/// The running program's file (/proc/self/exe).
std::filesystem::path RunningProgramFile();

/// Ids of the processes other than this one that belong to the same user and run `program`.
std::vector<int> ProcessesRunning(const std::filesystem::path& program);

class DesktopUpdateSystem : public UpdateSystem {
 public:
  void OpenWithDesktop(const std::filesystem::path& file) override;
  std::vector<int> OtherRunningCopies() override;
  void EndProcess(int pid) override;
};

}  // namespace quillmere
