// write_desktop_files: writes the desktop entry and the file type of an installed Quillmere into
// a folder, from the same texts that Tools > Register uses, for the installation to copy.
//   write_desktop_files OUT-FOLDER
#include <exception>
#include <filesystem>
#include <iostream>

#include "files/atomic_file.h"
#include "files/file_association.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: write_desktop_files OUT-FOLDER\n";
    return 2;
  }
  try {
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    quillmere::WriteFileAtomically(out / quillmere::kDesktopFileName, [](std::ostream& s) {
      s << quillmere::InstalledDesktopEntryText();
    });
    quillmere::WriteFileAtomically(out / "quillmere.xml",
                                   [](std::ostream& s) { s << quillmere::MimePackageText(); });
  } catch (const std::exception& e) {
    std::cerr << "write_desktop_files: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
