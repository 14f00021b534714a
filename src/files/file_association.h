// Registration of tensor files (*.ten) with the Linux desktop: a shared-mime-info package that
// names the type application/x-quillmere-tensor, a desktop entry that opens such files with the
// program, and the icons, all under the user's XDG data folder (normally ~/.local/share):
//
//   mime/packages/quillmere.xml
//   applications/quillmere.desktop
//   icons/hicolor/256x256/apps/quillmere.png
//   icons/hicolor/256x256/mimetypes/application-x-quillmere-tensor.png
//
// The desktop entry names the program by its full path with the file placeholder %f and the icon
// that lies beside the program. Errors: std::runtime_error with the system's message; nothing is
// changed unless every file could be written.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillmere {

inline constexpr const char* kTensorMimeType = "application/x-quillmere-tensor";
inline constexpr const char* kDesktopFileName = "quillmere.desktop";
inline constexpr const char* kProgramIconName = "quillmere.png";
/// What Tools > Register says for an installed program, whose installation registered the type.
inline constexpr const char* kInstalledNoRegistration =
    "Quillmere is installed: the desktop already opens *.ten files with it, no registration is "
    "needed.";

/// One file of the registration: where it goes below the data folder, and its bytes.
struct AssociationFile {
  std::filesystem::path relativePath;
  std::string contents;
};

/// The shared-mime-info package for *.ten.
std::string MimePackageText();

/// The desktop entry for the program at `programPath`, with the icon at `iconPath`.
std::string DesktopEntryText(const std::filesystem::path& programPath,
                             const std::filesystem::path& iconPath);

/// The desktop entry of an installed program: `quillmere` from the PATH and the icon `quillmere`
/// from the icon theme.
std::string InstalledDesktopEntryText();

/// `path` as one argument of a desktop entry's Exec key: quoted, with the characters that the
/// desktop entry format reserves escaped, and '%' doubled.
std::string DesktopExecArgument(const std::string& path);

/// Every file of the registration. The icon's bytes are read from `iconPath`; a missing icon
/// throws "File not found".
std::vector<AssociationFile> AssociationFiles(const std::filesystem::path& programPath,
                                              const std::filesystem::path& iconPath);

/// Writes the files below `dataHome`, creating folders as needed. Every file is written to a
/// temporary file first; only when all are complete are they renamed into place, so a failure
/// leaves no new file behind (folders created on the way may remain).
void InstallAssociationFiles(const std::filesystem::path& dataHome,
                             const std::vector<AssociationFile>& files);

}  // namespace quillmere
