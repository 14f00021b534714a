#include "files/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <thread>

#include <sstream>

#include "support/test_support.h"

namespace quillmere {
namespace {

using test::ReadFile;
using test::TempDir;

const char kProgramDir[] = "/opt/quillmere/bin/";

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* l : lines) text += std::string(l) + "\r\n";
  return text;
}

std::string AddedToRecent(const std::string& text, const std::string& path, bool* ok = nullptr) {
  std::istringstream in(text);
  std::ostringstream out;
  const bool done = AddToRecentText(in, out, path);
  if (ok) *ok = done;
  return out.str();
}

RecentFileNames RecentOf(const std::string& text) {
  std::istringstream in(text);
  return ReadRecentFiles(in);
}

TEST(SettingsText, DefaultContentsLineByLine) {
  EXPECT_EQ(DefaultSettingsText(kProgramDir),
            Lines({"[Release]", "1.1.3", "", "[Directories]", "Workdir=/opt/quillmere/bin/", "",
                   "[Startwindow]", "525 409  0.00000000000000E+0000", "", "[RecentFiles]", "1",
                   "2", "3", "4", "5"}));
}

TEST(SettingsText, WindowLineIsReadWhereverTheNumbersStand) {
  StartWindow w;
  std::istringstream in(DefaultSettingsText(kProgramDir));
  ReadStartWindow(in, w);
  EXPECT_EQ(w.width, 525);
  EXPECT_EQ(w.height, 409);
  EXPECT_NEAR(static_cast<double>(w.reserved), 0.0, 1e-30);

  // Numbers are read as tokens: LF line ends, blank lines and a header with text around it.
  StartWindow v;
  std::istringstream other("x\n  --[Startwindow]--\n\n 800\n 600   2.5E+0001\n");
  ReadStartWindow(other, v);
  EXPECT_EQ(v.width, 800);
  EXPECT_EQ(v.height, 600);
  EXPECT_NEAR(static_cast<double>(v.reserved), 25.0, 1e-12);
}

TEST(SettingsText, DamagedWindowLineKeepsWhatWasReadBeforeIt) {
  StartWindow w;
  std::istringstream bad("[Startwindow]\r\n700 abc 1\r\n");
  ReadStartWindow(bad, w);
  EXPECT_EQ(w.width, 700);
  EXPECT_EQ(w.height, 409) << "the bad height keeps the start value";

  StartWindow cut;
  std::istringstream ended("[Startwindow]\r\n640");
  ReadStartWindow(ended, cut);
  EXPECT_EQ(cut.width, 640);
  EXPECT_EQ(cut.height, 0) << "a number asked for at the end of the file reads as 0";
  EXPECT_EQ(UsableWindowSize(cut).width, 524);
  EXPECT_EQ(UsableWindowSize(cut).height, 409);

  StartWindow none;
  std::istringstream missing("[Release]\r\n");
  ReadStartWindow(missing, none);
  EXPECT_EQ(none.width, 524);
  EXPECT_EQ(none.height, 409);
}

TEST(SettingsText, RecentListNewestFirstAndTheFifthDropped) {
  std::string text = DefaultSettingsText(kProgramDir);
  text = AddedToRecent(text, "/data/A.ten");
  text = AddedToRecent(text, "/data/B.ten");
  const std::string tail = text.substr(text.find("[RecentFiles]"));
  EXPECT_EQ(tail, Lines({"[RecentFiles]", "1 /data/B.ten", "2 /data/A.ten", "3", "4", "5"}));
  EXPECT_EQ(text.substr(0, text.find("[RecentFiles]")),
            DefaultSettingsText(kProgramDir).substr(0, text.find("[RecentFiles]")))
      << "the lines before the list are copied unchanged";

  for (const char* p : {"/c.ten", "/d.ten", "/e.ten", "/f.ten"}) text = AddedToRecent(text, p);
  const RecentFileNames names = RecentOf(text);
  const RecentFileNames expected{"/f.ten", "/e.ten", "/d.ten", "/c.ten", "/data/B.ten"};
  EXPECT_EQ(names, expected) << "six additions keep the last five";
  EXPECT_EQ(
      text.substr(text.find("[RecentFiles]")),
      Lines({"[RecentFiles]", "1 /f.ten", "2 /e.ten", "3 /d.ten", "4 /c.ten", "5 /data/B.ten"}));

  // Not searched: the same path again stands twice.
  text = AddedToRecent(text, "/e.ten");
  const RecentFileNames again = RecentOf(text);
  EXPECT_EQ(again[0], "/e.ten");
  EXPECT_EQ(again[2], "/e.ten");
}

TEST(SettingsText, PathsWithBlanksKeepEveryCharacter) {
  std::string text = AddedToRecent(DefaultSettingsText(kProgramDir), "/home/a b/x  y.ten");
  EXPECT_EQ(RecentOf(text)[0], "/home/a b/x  y.ten");
  EXPECT_EQ(RecentOf(text)[1], "");
}

TEST(SettingsText, BrokenRecentSectionIsRefused) {
  bool ok = true;
  AddedToRecent(Lines({"[Release]", "1.1.3"}), "/x.ten", &ok);
  EXPECT_FALSE(ok) << "no [RecentFiles] section";
  AddedToRecent(Lines({"[RecentFiles]", "1 /a.ten", "two /b.ten"}), "/x.ten", &ok);
  EXPECT_FALSE(ok) << "an entry line that does not begin with a number";

  // A section whose entries are missing starts at number 1 and grows.
  const std::string grown = AddedToRecent(Lines({"[RecentFiles]"}), "/x.ten", &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(grown, Lines({"[RecentFiles]", "1 /x.ten"}));
  EXPECT_EQ(AddedToRecent(Lines({"[RecentFiles]", "1 /a.ten"}), "/x.ten"),
            Lines({"[RecentFiles]", "1 /x.ten", "2 /a.ten"}));
}

TEST(SettingsText, ReopenListIgnoresOutOfRangeNumbersAndStopsAtBadLines) {
  const RecentFileNames names =
      RecentOf(Lines({"[RecentFiles]", "7 /seven.ten", "2 /two.ten", "0 /zero.ten"}));
  EXPECT_EQ(names[0], "");
  EXPECT_EQ(names[1], "/two.ten");
  const RecentFileNames stopped = RecentOf(Lines({"[RecentFiles]", "1 /a.ten", "oops", "2 /b"}));
  EXPECT_EQ(stopped[0], "/a.ten");
  EXPECT_EQ(stopped[1], "") << "reading ends at the bad line";
}

TEST(SettingsText, CloseRewritesOnlyWorkdirAndWindowLine) {
  std::string text = AddedToRecent(DefaultSettingsText("/old/place/"), "/r.ten");
  std::istringstream in(text);
  std::ostringstream out;
  ASSERT_TRUE(RewriteAtCloseText(in, out, kProgramDir, 800, 600, 0));
  std::string expected = text;
  expected.replace(expected.find("Workdir=/old/place/"), 19, "Workdir=/opt/quillmere/bin/");
  expected.replace(expected.find("525 409"), 7, "800 600");
  EXPECT_EQ(out.str(), expected);
}

TEST(SettingsText, CloseRepairsAFirstLineWithoutRelease) {
  const std::string text = Lines({"1.1.3", "[Directories]", "Workdir=x", "[Startwindow]", "1 2 0"});
  std::istringstream in(text);
  std::ostringstream out;
  ASSERT_TRUE(RewriteAtCloseText(in, out, kProgramDir, 10, 20, 1.5L));
  EXPECT_EQ(out.str(),
            Lines({"[Release]", "1.1", " ", "[Directories]", "Workdir=/opt/quillmere/bin/",
                   "[Startwindow]", "10 20  1.50000000000000E+0000"}));

  std::istringstream noDirectories(Lines({"[Release]", "[Startwindow]", "1 2 0"}));
  std::ostringstream ignored;
  EXPECT_FALSE(RewriteAtCloseText(noDirectories, ignored, kProgramDir, 10, 20, 0));
}

// The window size a close writes must be the one the next start reads, and a second close of a
// damaged file must then change nothing: reading and closing settle after one round.
TEST(SettingsText, DamagedFilesSettleAfterOneClose) {
  auto close = [](const std::string& text) {
    StartWindow w;
    std::istringstream forRead(text);
    ReadStartWindow(forRead, w);
    std::istringstream in(text);
    std::ostringstream out;
    EXPECT_TRUE(RewriteAtCloseText(in, out, kProgramDir, w.width, w.height, w.reserved));
    return out.str();
  };
  auto readBack = [](const std::string& text) {
    StartWindow w;
    std::istringstream in(text);
    ReadStartWindow(in, w);
    return w;
  };

  // A third number beyond the range of extended precision would be written as "INF", which
  // reads as no number: it counts as unreadable from the start.
  const std::string huge = Lines({"[Release]", "[Directories]", "Workdir=x", "[Startwindow]",
                                  "600 500 1e8000", "[RecentFiles]", "1"});
  const StartWindow hw = readBack(huge);
  EXPECT_EQ(hw.width, 600);
  EXPECT_EQ(hw.height, 500);
  EXPECT_EQ(hw.reserved, 0);
  const std::string hugeOnce = close(huge);
  EXPECT_EQ(hugeOnce.find("INF"), std::string::npos) << hugeOnce;
  EXPECT_EQ(close(hugeOnce), hugeOnce);

  // "[Startwindow]" inside the directories header: the close never writes behind that line, so
  // the size is read from the section after "Workdir=".
  const std::string early = Lines({"[Release]", "[Directories][Startwindow]", "", "700 300 0",
                                   "[Startwindow]", "640 480 0", "[RecentFiles]", "1"});
  const StartWindow ew = readBack(early);
  EXPECT_EQ(ew.width, 640);
  EXPECT_EQ(ew.height, 480);
  const std::string earlyOnce = close(early);
  EXPECT_EQ(close(earlyOnce), earlyOnce);

  // A header hidden in a release line that the close replaces, and lone CRs inside lines.
  const std::string hidden =
      std::string("1.1 [Startwindow]\n800\r9 0\n[Directories]\rWorkdir=a\n") +
      "b\n[Startwindow]\n\n 320 \r\n 200\n";
  const StartWindow hd = readBack(hidden);
  EXPECT_EQ(hd.width, 320);
  EXPECT_EQ(hd.height, 200);
  const std::string hiddenOnce = close(hidden);
  EXPECT_EQ(close(hiddenOnce), hiddenOnce);
  const StartWindow again = readBack(hiddenOnce);
  EXPECT_EQ(again.width, 320);
  EXPECT_EQ(again.height, 200);
}

// ---- The file in its folder -----------------------------------------------------------------

struct SettingsFolder : ::testing::Test {
  TempDir program;
  TempDir settings;
  SettingsLocation where;
  SettingsFolder() {
    where.programDirectory = program.path().string() + "/";
    where.settingsDirectory = settings.path();
  }
};

TEST_F(SettingsFolder, FirstStartWritesTheDefaultsAndReadsThem) {
  const StartWindow w = PrepareSettingsFile(where);
  EXPECT_EQ(ReadFile(where.SettingsFile()), DefaultSettingsText(where.programDirectory));
  EXPECT_EQ(w.width, 525);
  EXPECT_EQ(w.height, 409);
  EXPECT_FALSE(std::filesystem::exists(where.ScratchFile()));
}

TEST_F(SettingsFolder, AFileBesideTheProgramIsCopiedOnce) {
  const std::string beside = Lines({"[Release]", "[Startwindow]", "900 700 0", "[RecentFiles]"});
  program.Write(kSettingsFileName, beside);
  StartWindow w = PrepareSettingsFile(where);
  EXPECT_EQ(ReadFile(where.SettingsFile()), beside);
  EXPECT_EQ(w.width, 900);
  EXPECT_EQ(w.height, 700);

  // An existing settings file is never replaced by the copy.
  settings.Write(kSettingsFileName, Lines({"[Startwindow]", "300 200 0"}));
  w = PrepareSettingsFile(where);
  EXPECT_EQ(w.width, 300);
}

TEST_F(SettingsFolder, MissingFolderIsSilent) {
  where.settingsDirectory = settings.path() / "absent";
  const StartWindow w = PrepareSettingsFile(where);
  EXPECT_EQ(w.width, 524);
  AddToRecent(where, "/x.ten");
  SaveSettingsAtClose(where, 1, 2, 0);
  EXPECT_EQ(ReadRecentFiles(where)[0], "");
  EXPECT_FALSE(std::filesystem::exists(where.settingsDirectory));
}

TEST_F(SettingsFolder, FailedRewriteLeavesTheFileAsItWas) {
  const std::string odd = Lines({"[Release]", "[RecentFiles]", "1 /a.ten", "bad line"});
  settings.Write(kSettingsFileName, odd);
  AddToRecent(where, "/new.ten");
  EXPECT_EQ(ReadFile(where.SettingsFile()), odd);
  SaveSettingsAtClose(where, 640, 480, 0);  // no [Directories]
  EXPECT_EQ(ReadFile(where.SettingsFile()), odd);
  AddToRecent(where, "/two\nlines.ten");
  EXPECT_EQ(ReadFile(where.SettingsFile()), odd);
}

TEST_F(SettingsFolder, RewritesGoThroughTheScratchCopy) {
  PrepareSettingsFile(where);
  // A stale scratch copy from an earlier run does not get into the settings file.
  settings.Write(kSettingsScratchName, "garbage");
  AddToRecent(where, "/a.ten");
  EXPECT_EQ(ReadRecentFiles(where)[0], "/a.ten");
  EXPECT_EQ(ReadFile(where.SettingsFile()).find("garbage"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(where.ScratchFile()));
  SaveSettingsAtClose(where, 777, 555, 0);
  StartWindow w = PrepareSettingsFile(where);
  EXPECT_EQ(w.width, 777);
  EXPECT_EQ(w.height, 555);
  EXPECT_EQ(ReadRecentFiles(where)[0], "/a.ten");
}

TEST_F(SettingsFolder, TwoClosesTogetherAlwaysLeaveOneCompleteFile) {
  // Two copies closing at the same moment, many times over: each rewrite holds the lock and
  // writes its own scratch file, so the file read between them is always a complete version.
  PrepareSettingsFile(where);
  AddToRecent(where, "/kept.ten");
  std::atomic<bool> broken{false};
  const auto closeMany = [&](int width) {
    for (int k = 0; k < 150; ++k) {
      SaveSettingsAtClose(where, width, 400, 0);
      if (ReadRecentFiles(where)[0] != "/kept.ten") broken = true;
    }
  };
  std::thread first(closeMany, 600);
  std::thread second(closeMany, 700);
  first.join();
  second.join();
  EXPECT_FALSE(broken);
  const StartWindow w = PrepareSettingsFile(where);
  EXPECT_TRUE(w.width == 600 || w.width == 700) << w.width;
  for (const auto& entry : std::filesystem::directory_iterator(where.settingsDirectory))
    EXPECT_TRUE(entry.path().filename() == kSettingsFileName ||
                entry.path().filename() == kSettingsLockName)
        << entry.path();
}

TEST_F(SettingsFolder, AFifoInPlaceOfTheFileGivesTheDefaultsAtOnce) {
  ASSERT_EQ(::mkfifo(where.SettingsFile().c_str(), 0600), 0);
  const StartWindow w = PrepareSettingsFile(where);
  EXPECT_EQ(w.width, 524);
  EXPECT_TRUE(ReadRecentFiles(where)[0].empty());
  SaveSettingsAtClose(where, 640, 480, 0);
  EXPECT_TRUE(std::filesystem::is_fifo(where.SettingsFile()));
}

TEST_F(SettingsFolder, AnUnreadableFileGivesTheDefaults) {
  // A folder where the file should be: reading it fails inside the stream library.
  std::filesystem::create_directory(where.SettingsFile());
  const StartWindow w = PrepareSettingsFile(where);
  EXPECT_EQ(w.width, 524);
  EXPECT_EQ(w.height, 409);
  AddToRecent(where, "/x.ten");
  EXPECT_EQ(ReadRecentFiles(where)[0], "");
  SaveSettingsAtClose(where, 640, 480, 0);
  EXPECT_TRUE(std::filesystem::is_directory(where.SettingsFile()));
  EXPECT_FALSE(std::filesystem::exists(where.ScratchFile()));
}

TEST_F(SettingsFolder, RewritesKeepTheFilesProtections) {
  PrepareSettingsFile(where);
  // The user keeps the settings private and elsewhere, behind a link.
  TempDir elsewhere;
  const auto real = elsewhere.path() / kSettingsFileName;
  std::filesystem::rename(where.SettingsFile(), real);
  std::filesystem::permissions(
      real, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  std::filesystem::create_symlink(real, where.SettingsFile());
  AddToRecent(where, "/a.ten");
  SaveSettingsAtClose(where, 700, 500, 0);
  EXPECT_TRUE(std::filesystem::is_symlink(where.SettingsFile()));
  EXPECT_EQ(ReadRecentFiles(where)[0], "/a.ten");
  EXPECT_EQ(std::filesystem::status(real).permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_EQ(PrepareSettingsFile(where).width, 700);
}

TEST(SettingsWindow, StoredSizesAreLimitedToTheScreen) {
  StartWindow huge;
  huge.width = 2147483647;
  huge.height = 2147483647;
  StartWindow w = UsableWindowSize(huge, 1920, 1050);
  EXPECT_EQ(w.width, 1920);
  EXPECT_EQ(w.height, 1050);
  huge.width = 800;
  w = UsableWindowSize(huge, 1920, 1050);
  EXPECT_EQ(w.width, 800);
  EXPECT_EQ(w.height, 1050);
  huge.width = -5;
  EXPECT_EQ(UsableWindowSize(huge, 1920, 1050).width, 524);
  huge.width = 800;
  EXPECT_EQ(UsableWindowSize(huge, 0, 0).height, 2147483647) << "no screen, no limit";
}

}  // namespace
}  // namespace quillmere
