#include "files/file_association.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/test_support.h"

namespace quillmere {
namespace {

TEST(DesktopEntry, ExecQuotesThePathAndPassesTheFile) {
  const std::string entry = DesktopEntryText("/opt/Quill mere/bin/quillmere", "/opt/q.png");
  EXPECT_NE(entry.find("Exec=\"/opt/Quill mere/bin/quillmere\" %f\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("MimeType=application/x-quillmere-tensor;\n"), std::string::npos);
  EXPECT_NE(entry.find("Icon=/opt/q.png\n"), std::string::npos);
  EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
}

TEST(DesktopEntry, ReservedCharactersAreEscaped) {
  // freedesktop.org desktop entry rules, "The Exec key": inside a quoted argument " ` $ \ take a
  // backslash, the value is then a string in which a backslash is doubled; % is written %%.
  EXPECT_EQ(DesktopExecArgument("/a\"b"), "\"/a\\\\\"b\"");
  EXPECT_EQ(DesktopExecArgument("/a$b`c"), "\"/a\\\\$b\\\\`c\"");
  EXPECT_EQ(DesktopExecArgument("/a\\b"), "\"/a\\\\\\\\b\"");
  EXPECT_EQ(DesktopExecArgument("/100%/q"), "\"/100%%/q\"");
}

TEST(MimePackage, NamesTheTypeAndTheGlob) {
  const std::string xml = MimePackageText();
  EXPECT_NE(xml.find("<mime-type type=\"application/x-quillmere-tensor\">"), std::string::npos);
  EXPECT_NE(xml.find("<glob pattern=\"*.ten\"/>"), std::string::npos);
}

TEST(Installation, WritesEveryFileBelowTheDataFolder) {
  test::TempDir dir;
  const auto icon = dir.Write("quillmere.png", "PNGDATA");
  const auto files = AssociationFiles("/usr/bin/quillmere", icon);
  InstallAssociationFiles(dir.path() / "share", files);
  EXPECT_EQ(test::ReadFile(dir.path() / "share/mime/packages/quillmere.xml"), MimePackageText());
  EXPECT_EQ(test::ReadFile(dir.path() / "share/applications/quillmere.desktop"),
            DesktopEntryText("/usr/bin/quillmere", icon));
  EXPECT_EQ(test::ReadFile(dir.path() / "share/icons/hicolor/256x256/apps/quillmere.png"),
            "PNGDATA");
  EXPECT_EQ(test::ReadFile(dir.path() / "share/icons/hicolor/256x256/mimetypes/"
                                        "application-x-quillmere-tensor.png"),
            "PNGDATA");
  EXPECT_THROW(AssociationFiles("/usr/bin/quillmere", dir.path() / "absent.png"),
               std::runtime_error);
}

TEST(Installation, AFailureLeavesNoNewFile) {
  test::TempDir dir;
  const auto icon = dir.Write("quillmere.png", "PNGDATA");
  const auto files = AssociationFiles("/usr/bin/quillmere", icon);
  // "applications" is a plain file, so the desktop entry cannot be written.
  std::filesystem::create_directories(dir.path() / "share");
  dir.Write("share/applications", "not a folder");
  EXPECT_THROW(InstallAssociationFiles(dir.path() / "share", files), std::runtime_error);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "share/mime/packages/quillmere.xml"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "share/mime/packages/quillmere.xml.new"));
}

}  // namespace
}  // namespace quillmere
