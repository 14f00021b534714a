#include "update/qt/update_system.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDesktopServices>
#include <QString>
#include <QUrl>
#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>
#include <system_error>

namespace quillmere {

std::filesystem::path RunningProgramFile() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : exe;
}

std::vector<int> ProcessesRunning(const std::filesystem::path& program) {
  std::vector<int> pids;
  if (program.empty()) return pids;
  const pid_t self = getpid();
  const uid_t user = getuid();
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || !std::all_of(name.begin(), name.end(),
                                     [](unsigned char c) { return std::isdigit(c) != 0; }))
      continue;
    const int pid = std::stoi(name);
    if (pid == self) continue;
    struct stat info {};
    if (stat(entry.path().c_str(), &info) != 0 || info.st_uid != user) continue;
    std::error_code linkError;
    const std::filesystem::path exe =
        std::filesystem::read_symlink(entry.path() / "exe", linkError);
    if (!linkError && exe == program) pids.push_back(pid);
  }
  return pids;
}

void DesktopUpdateSystem::OpenWithDesktop(const std::filesystem::path& file) {
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file.string()))))
    throw std::runtime_error("The desktop cannot open " + file.string());
}

std::vector<int> DesktopUpdateSystem::OtherRunningCopies() {
  return ProcessesRunning(RunningProgramFile());
}

void DesktopUpdateSystem::EndProcess(int pid) {
  if (pid > 0 && pid != getpid()) kill(pid, SIGTERM);
}

}  // namespace quillmere
