#include "app/about_text.h"

#include <cctype>
#include <fstream>

#include "core/program_version.h"

namespace quillmere {

int CountSymmetryEntries(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) return -1;
  int count = 0;
  std::string line;
  while (std::getline(in, line))
    if (!line.empty() && std::isdigit(static_cast<unsigned char>(line.front()))) ++count;
  return count;
}

std::string AboutText(const std::string& qtVersion, const std::filesystem::path& tablePath,
                      const std::string& homepage) {
  std::string text = std::string("Quillmere ") + kProgramVersionText +
                     "\nTensor surfaces of crystal physics\n\n" + kLicenceText + "\n\nQt " +
                     qtVersion + "\nSymmetry table: " + tablePath.string() + " (";
  const int entries = CountSymmetryEntries(tablePath);
  text += entries < 0 ? std::string("not readable") : std::to_string(entries) + " entries";
  text += ")";
  if (!homepage.empty()) text += "\nHome page: " + homepage;
  return text;
}

}  // namespace quillmere
