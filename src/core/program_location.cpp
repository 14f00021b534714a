#include "core/program_location.h"

#include <system_error>

namespace quillmere {

std::filesystem::path RunningProgramDirectory(const std::filesystem::path& fallbackExecutable) {
  std::error_code ec;
  // The kernel's link already names the final file, but canonical() also resolves a folder on
  // the way that is itself a link.
  std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
  if (ec && !fallbackExecutable.empty()) exe = std::filesystem::canonical(fallbackExecutable, ec);
  if (ec || exe.empty()) return std::filesystem::current_path(ec);
  return exe.parent_path();
}

bool InstalledWithDesktopFiles(const std::filesystem::path& programDirectory) {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::weakly_canonical(programDirectory, ec);
  if (ec) return false;
  // weakly_canonical keeps a trailing separator as an empty last element.
  const std::filesystem::path dir = folder.filename().empty() ? folder.parent_path() : folder;
  if (dir.filename() != "quillmere" || dir.parent_path().filename() != "lib") return false;
  const std::filesystem::path share = dir.parent_path().parent_path() / "share";
  return std::filesystem::is_regular_file(share / "applications" / "quillmere.desktop", ec) &&
         std::filesystem::is_regular_file(share / "mime" / "packages" / "quillmere.xml", ec);
}

}  // namespace quillmere
