#include "files/file_association.h"

#include <cerrno>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "core/regular_file.h"
#include "files/atomic_file.h"

namespace quillmere {

namespace {

/// The icon and the other files installed with the program are small; a FIFO or a device in
/// their place is refused rather than read for ever.
std::string ReadBytes(const std::filesystem::path& path) {
  try {
    return ReadRegularFile(path, 64 << 20);
  } catch (const FileNotOpened&) {
    throw std::runtime_error("File not found");
  }
}

/// A desktop entry string value: backslash, line breaks and tabs escaped.
std::string DesktopString(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        out += c;
    }
  }
  return out;
}

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path,
                       const std::string& reason) {
  throw std::runtime_error(what + " \"" + path.string() + "\". " + reason);
}

}  // namespace

std::string MimePackageText() {
  return std::string(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
             "  <mime-type type=\"") +
         kTensorMimeType +
         "\">\n"
         "    <comment>Quillmere tensor data file</comment>\n"
         "    <icon name=\"application-x-quillmere-tensor\"/>\n"
         "    <sub-class-of type=\"text/plain\"/>\n"
         "    <glob pattern=\"*.ten\"/>\n"
         "    <magic priority=\"60\">\n"
         "      <match type=\"string\" offset=\"0\" value=\"Quillmere-Datafile\"/>\n"
         "    </magic>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

std::string DesktopExecArgument(const std::string& path) {
  // Inside a quoted argument the characters " ` $ and \ take a backslash; the whole key value is
  // then a string value, in which each backslash is itself written twice. A literal % is %%.
  std::string quoted = "\"";
  for (char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    if (c == '%') quoted += '%';
    quoted += c;
  }
  quoted += '"';
  return DesktopString(quoted);
}

namespace {

/// The desktop entry with the given Exec and Icon values (already in the entry's syntax).
std::string DesktopEntryWith(const std::string& exec, const std::string& icon) {
  return std::string(
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Quillmere\n"
             "GenericName=Tensor surfaces\n"
             "Comment=Representation surfaces of crystal property tensors\n"
             "Keywords=crystal;tensor;physics;elasticity;piezoelectric;symmetry;\n"
             "Exec=") +
         exec + " %f\n" + "Icon=" + icon + "\n" + "MimeType=" + kTensorMimeType + ";\n" +
         "Terminal=false\n"
         "Categories=Science;Physics;\n";
}

}  // namespace

std::string DesktopEntryText(const std::filesystem::path& programPath,
                             const std::filesystem::path& iconPath) {
  return DesktopEntryWith(DesktopExecArgument(programPath.string()),
                          DesktopString(iconPath.string()));
}

std::string InstalledDesktopEntryText() {
  // An installed program is found on the PATH and its icon in the icon theme, by name.
  return DesktopEntryWith("quillmere", "quillmere");
}

std::vector<AssociationFile> AssociationFiles(const std::filesystem::path& programPath,
                                              const std::filesystem::path& iconPath) {
  const std::string icon = ReadBytes(iconPath);
  return {
      {std::filesystem::path("mime") / "packages" / "quillmere.xml", MimePackageText()},
      {std::filesystem::path("applications") / kDesktopFileName,
       DesktopEntryText(programPath, iconPath)},
      {std::filesystem::path("icons") / "hicolor" / "256x256" / "apps" / kProgramIconName, icon},
      {std::filesystem::path("icons") / "hicolor" / "256x256" / "mimetypes" /
           "application-x-quillmere-tensor.png",
       icon},
  };
}

void InstallAssociationFiles(const std::filesystem::path& dataHome,
                             const std::vector<AssociationFile>& files) {
  // The set is installed whole or not at all: files new in this call are removed again when a
  // later one cannot be written.
  std::vector<std::filesystem::path> created;
  try {
    for (const AssociationFile& f : files) {
      const std::filesystem::path target = dataHome / f.relativePath;
      std::error_code ec;
      std::filesystem::create_directories(target.parent_path(), ec);
      if (ec) Fail("Cannot create folder", target.parent_path(), ec.message());
      const bool existed = std::filesystem::exists(target, ec);
      WriteFileAtomically(target, f.contents);
      if (!existed) created.push_back(target);
    }
  } catch (...) {
    std::error_code ignored;
    for (const auto& p : created) std::filesystem::remove(p, ignored);
    throw;
  }
}

}  // namespace quillmere
