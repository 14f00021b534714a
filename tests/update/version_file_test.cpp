// The published version file, the version comparison and the server address of update.conf.
#include <gtest/gtest.h>

#include <fstream>

#include "support/test_support.h"
#include "update/update_config.h"
#include "update/update_procedure.h"
#include "update/version_file.h"

namespace quillmere {
namespace {

constexpr long double kExact = 1e-15L;

TEST(VersionFile, ReadsVersionSizeAndNotesWithAnyLineEnds) {
  const VersionFile f =
      ParseVersionFile("Quillmere\r\n1.6\r\n123456\r\nFaster fit\r\n\r\nNew menu");
  EXPECT_NEAR(static_cast<double>(f.version), 1.6, kExact);
  EXPECT_EQ(f.installerSize, 123456u);
  EXPECT_EQ(f.releaseNotes, "\nFaster fit\n\nNew menu");
  // A line break at the very end starts no further line of notes.
  EXPECT_EQ(ParseVersionFile("x\n1.6\n5\nnote\n").releaseNotes, "\nnote");
}

TEST(VersionFile, ShortFilesNeedAVersionAndReadAMissingSizeAsZero) {
  // Without a version there is nothing to compare: an error, never an offer.
  for (const char* text : {"", "only a title", "title\n", "title\n\n\n"})
    EXPECT_THROW(ParseVersionFile(text), std::runtime_error) << text;
  const VersionFile two = ParseVersionFile("title\n 1.7 \n");
  EXPECT_NEAR(static_cast<double>(two.version), 1.7, kExact);
  EXPECT_EQ(two.installerSize, 0u);
  EXPECT_EQ(ParseVersionFile("t\n1.6\n99").releaseNotes, "\n");
}

TEST(VersionFile, GarbageNumbersAreAnErrorNotAValue) {
  for (const char* text :
       {"t\nversion one\n5\n", "t\n1.6x\n5\n", "t\n1.6\n-5\n", "t\n1.6\n5.5\n",
        "t\n1.6\n99999999999999999999999\n", "t\nnan\n5\n", "t\n1e99999\n5\n", "t\n-1.6\n5\n",
        "t\n0\n5\n", "t\n1E999\n5\n", "t\ninf\n5\n", "\xff\xfe\n\x01\x02\n\x03"}) {
    EXPECT_THROW(ParseVersionFile(text), std::runtime_error) << text;
  }
}

TEST(VersionFile, LongLinesAreCutAndOnlyTheFirst64KiBAreRead) {
  // Line cut at a character boundary: "é" is two bytes and would straddle the limit.
  std::string longLine(kVersionLineLimit - 1, 'a');
  longLine += "\xc3\xa9tail";
  const VersionFile f = ParseVersionFile("t\n1.6\n5\n" + longLine);
  EXPECT_EQ(f.releaseNotes, "\n" + std::string(kVersionLineLimit - 1, 'a'));

  const test::TempDir temp;
  const std::filesystem::path dir = temp.path();
  const std::filesystem::path path = dir / "version.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << "t\n1.6\n5\n";
    for (int k = 0; k < 20000; ++k) out << "line " << k << "\n";
  }
  const VersionFile big = ReadVersionFile(path);
  EXPECT_LE(big.releaseNotes.size(), kVersionFileLimit);
  EXPECT_NE(big.releaseNotes.find("\nline 0\n"), std::string::npos);
  EXPECT_EQ(big.releaseNotes.find("line 19999"), std::string::npos);
  EXPECT_THROW(ReadVersionFile(dir / "missing.txt"), std::runtime_error);
}

TEST(VersionFile, VersionsWithinHalfAThousandthAreTheSame) {
  EXPECT_TRUE(SameVersion(1.5004L, 1.5L));
  EXPECT_TRUE(SameVersion(1.4996L, 1.5L));
  EXPECT_FALSE(SameVersion(1.5006L, 1.5L));
  EXPECT_FALSE(SameVersion(1.4L, 1.5L));
  EXPECT_FALSE(SameVersion(0, 1.5L));
}

TEST(VersionFile, PercentIsRoundedDownAndEmptyWhileNothingIsKnown) {
  EXPECT_EQ(PercentText(1, 3), "33 %");
  EXPECT_EQ(PercentText(2, 3), "66 %");
  EXPECT_EQ(PercentText(3, 3), "100 %");
  EXPECT_EQ(PercentText(0, 3), "");
  EXPECT_EQ(PercentText(3, 0), "");
  EXPECT_EQ(PercentText(1ull << 50, 1ull << 50), "100 %");
}

TEST(UpdateConfig, ServerLineBesideTheSettingsFile) {
  const test::TempDir temp;
  const std::filesystem::path dir = temp.path();
  EXPECT_EQ(ReadUpdateConfig(dir).address, "");  // no file: no server
  {
    std::ofstream out(dir / "update.conf");
    out << "# the update server\r\n\r\nother=1\n  server = ftp.example.org:2121  \r\n";
  }
  EXPECT_EQ(ReadUpdateConfig(dir).address, "ftp.example.org:2121");
}

TEST(UpdateConfig, AddressesWithAndWithoutPort) {
  EXPECT_EQ(ParseServerAddress("ftp.example.org").port, 21);
  const ServerAddress a = ParseServerAddress("127.0.0.1:2121");
  EXPECT_EQ(a.host, "127.0.0.1");
  EXPECT_EQ(a.port, 2121);
  const ServerAddress v6 = ParseServerAddress("[::1]:990");
  EXPECT_EQ(v6.host, "::1");
  EXPECT_EQ(v6.port, 990);
  for (const char* bad : {"", ":21", "host:", "host:0", "host:65536", "host:2x", "::1", "[::1",
                          "ho st", "host/path", "user@host", "[::1]x"})
    EXPECT_THROW(ParseServerAddress(bad), std::invalid_argument) << bad;
}

TEST(UpdateMessages, DownloadedMessageNamesTheFolderAndTheFiles) {
  EXPECT_EQ(DownloadedMessage("/home/u/.config/quillmere"),
            "Update successfully downloaded to /home/u/.config/quillmere/update.\n"
            "A backup of the old program has been generated (quillmere.old)\n"
            "quillmere will now close. \nInstallation of Quillmere should start automaticaly. \n"
            "If not, run Quillmereinstall.deb from /home/u/.config/quillmere/update.");
}

}  // namespace
}  // namespace quillmere
