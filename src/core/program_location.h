// Where the running program lies. The folder of the program's own file holds tensor.tab, the
// manual and the icon; the program is often started through a symbolic link (bin/quillmere of
// an installation points into lib/quillmere/), so the folder is that of the link's target.
#pragma once

#include <filesystem>

namespace quillmere {

/// The folder of the running executable, from /proc/self/exe with every symbolic link resolved.
/// When /proc cannot be read, the folder of `fallbackExecutable` (argv[0]) with its links
/// resolved, or the current folder when that is empty too.
std::filesystem::path RunningProgramDirectory(const std::filesystem::path& fallbackExecutable = {});

/// True when the program in `programDirectory` is installed: it lies in <prefix>/lib/quillmere/
/// and the installation's desktop entry and file type lie under <prefix>/share/. Such a program
/// needs no registration of its files with the desktop.
bool InstalledWithDesktopFiles(const std::filesystem::path& programDirectory);

}  // namespace quillmere
