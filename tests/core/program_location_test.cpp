#include "core/program_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/test_support.h"

namespace quillmere {
namespace {

namespace fs = std::filesystem;

void Touch(const fs::path& p) {
  fs::create_directories(p.parent_path());
  std::ofstream(p) << "x";
}

TEST(ProgramLocation, RunningProgramIsTheTestBinaryFolder) {
  EXPECT_EQ(fs::canonical(RunningProgramDirectory()), fs::canonical(QUILLMERE_BIN_DIR));
}

// An installed program lies in <prefix>/lib/quillmere/ beside <prefix>/share/ with the desktop
// entry and the file type; a build folder or an unpacked copy does not, and may register itself.
TEST(ProgramLocation, InstalledOnlyWithTheDesktopFilesOfItsOwnPrefix) {
  test::TempDir dir;
  const fs::path prefix = dir.path() / "usr";
  const fs::path program = prefix / "lib" / "quillmere";
  Touch(program / "quillmere");
  EXPECT_FALSE(InstalledWithDesktopFiles(program));

  Touch(prefix / "share" / "applications" / "quillmere.desktop");
  EXPECT_FALSE(InstalledWithDesktopFiles(program)) << "the file type is still missing";
  Touch(prefix / "share" / "mime" / "packages" / "quillmere.xml");
  EXPECT_TRUE(InstalledWithDesktopFiles(program));
  EXPECT_TRUE(InstalledWithDesktopFiles(program.string() + "/")) << "with a trailing separator";

  // The same files beside a folder of another name (a build folder) do not count.
  const fs::path build = prefix / "lib" / "bin";
  Touch(build / "quillmere");
  EXPECT_FALSE(InstalledWithDesktopFiles(build));
  EXPECT_FALSE(InstalledWithDesktopFiles(dir.path() / "missing" / "lib" / "quillmere"));
}

}  // namespace
}  // namespace quillmere
