// The text of Help > About: the program's name and version, its licence, the Qt version it runs
// on, the symmetry table it reads with the number of its entries, and the home page when the
// build has one.
#pragma once

#include <filesystem>
#include <string>

namespace quillmere {

inline constexpr const char* kLicenceText =
    "Not published under a licence: all rights reserved by its authors.";

/// The entries (lines "group kind axial relations") of the symmetry table at `path`; -1 when
/// the file cannot be read.
int CountSymmetryEntries(const std::filesystem::path& path);

/// The About box's lines; `qtVersion` is the Qt the program runs on, `homepage` may be empty.
std::string AboutText(const std::string& qtVersion, const std::filesystem::path& tablePath,
                      const std::string& homepage);

}  // namespace quillmere
