// Reading only regular files, with bounds, and quoting outside text safely.
#include "core/regular_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_support.h"

namespace quillmere {
namespace {

using test::TempDir;

TEST(RegularFile, SpecialFilesAreRefusedBeforeAnyRead) {
  // A FIFO with no writer would block an ordinary open for ever; /dev/zero never ends.
  const TempDir dir;
  const std::filesystem::path fifo = dir.path() / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::filesystem::path& path :
       {fifo, std::filesystem::path("/dev/zero"), std::filesystem::path("/dev/null"), dir.path()}) {
    try {
      ReadRegularFile(path, 100);
      FAIL() << path;
    } catch (const FileNotOpened& e) {
      FAIL() << e.what();
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), "'" + path.string() + "' is not a regular file");
    }
    EXPECT_THROW(RegularFileStream stream(path), std::runtime_error) << path;
  }
  try {
    ReadRegularFile(dir.path() / "missing", 100);
    FAIL();
  } catch (const FileNotOpened& e) {
    EXPECT_TRUE(e.missing);
  }
}

TEST(RegularFile, ReadsAreBounded) {
  const TempDir dir;
  const std::filesystem::path file = dir.Write("f", "0123456789");
  EXPECT_EQ(ReadRegularFile(file, 10), "0123456789");
  EXPECT_THROW(ReadRegularFile(file, 9), std::runtime_error);
  EXPECT_EQ(ReadRegularFilePrefix(file, 4), "0123");
  RegularFileStream in(file);
  std::string all;
  std::getline(in, all);
  EXPECT_EQ(all, "0123456789");
}

TEST(QuoteForMessage, CutsAtFortyCharactersAndHidesControls) {
  EXPECT_EQ(QuoteForMessage("short"), "short");
  EXPECT_EQ(QuoteForMessage(std::string(200, 'x')), std::string(40, 'x') + "...");
  // Not in the middle of a two-byte character.
  EXPECT_EQ(QuoteForMessage(std::string(39, 'x') + "\xc3\xa9" + "tail"),
            std::string(39, 'x') + "...");
  EXPECT_EQ(QuoteForMessage("a\nb\x1b[2J"), "a?b?[2J");
  EXPECT_EQ(WithoutControlCharacters("notes\n\ttab\x1b]0;title\x07 \x7f \xc2\x9b"
                                     "2J \xc3\xa9"),
            "notes\n\ttab?]0;title? ? ?2J \xc3\xa9");
}

}  // namespace
}  // namespace quillmere
