// File names as the program compares them.
#pragma once

#include <cctype>
#include <filesystem>
#include <string>

namespace quillmere {

/// The extension of a file name with its dot, in lower case ("x.PNG" gives ".png"), so that a
/// format is recognised whatever case the user typed.
inline std::string LowercaseExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

}  // namespace quillmere
