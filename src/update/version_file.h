// The version file that the update server publishes, "version.txt": line 1 is free text, line 2
// the published version number, line 3 the installer's size in bytes, and every further line a
// line of the release notes. It comes from the network, so it is read with limits.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "tensor/tensor_state.h"

namespace quillmere {

/// At most this much of a version file is read (bytes); the rest is ignored.
inline constexpr std::size_t kVersionFileLimit = 64 * 1024;
/// Longer lines are cut to this many bytes (at a character boundary).
inline constexpr std::size_t kVersionLineLimit = 4096;
/// Two versions closer than this are the same version.
inline constexpr Real kVersionTolerance = 0.0005L;

struct VersionFile {
  Real version = 0;
  /// The installer's size in bytes.
  std::uint64_t installerSize = 0;
  /// Each line after line 3, preceded by a line break; a single line break when there is none.
  std::string releaseNotes;
};

/// Reads the text of a version file. A missing or blank line 3 reads as 0. Throws
/// std::runtime_error("Invalid numeric input") when line 2 is not a finite positive number
/// (one a double holds) or line 3 is not a whole number of bytes.
VersionFile ParseVersionFile(std::string_view text);

/// Reads at most kVersionFileLimit bytes of the file and parses them. Throws
/// std::runtime_error("File not found") when it cannot be opened.
VersionFile ReadVersionFile(const std::filesystem::path& path);

/// True when the published and the running version differ by at most kVersionTolerance; any
/// larger difference counts, whether the published number is higher or lower.
bool SameVersion(Real published, Real running);

/// Label1's text while bytes arrive: the whole percentage of `maximum` (rounded down) and " %";
/// empty while either number is 0.
std::string PercentText(std::uint64_t bytes, std::uint64_t maximum);

}  // namespace quillmere
