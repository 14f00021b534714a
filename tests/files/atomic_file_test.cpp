// Replacing files: what a replacement keeps (permissions, owner, links), what it refuses, and
// that a write that fails part-way leaves the old file and no debris.
#include "files/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>
#include <string>

#include "support/test_support.h"

namespace quillmere {
namespace {

using test::ReadFile;
using test::TempDir;

int EntriesIn(const std::filesystem::path& folder) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
  return n;
}

mode_t ModeOf(const std::filesystem::path& p) {
  struct stat st {};
  EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
  return st.st_mode & 07777;
}

std::string MessageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

TEST(AtomicFile, KeepsPermissionsOwnerAndLinks) {
  TempDir dir;
  const auto file = dir.Write("private.ten", "old");
  ASSERT_EQ(::chmod(file.c_str(), 0600), 0);
  WriteFileAtomically(file, "new");
  EXPECT_EQ(ReadFile(file), "new");
  EXPECT_EQ(ModeOf(file), 0600u);

  // A new file gets what the creation mask allows, as any program's new file.
  const mode_t mask = ::umask(022);
  WriteFileAtomically(dir.path() / "fresh.ten", "x");
  ::umask(mask);
  EXPECT_EQ(ModeOf(dir.path() / "fresh.ten"), 0644u);

  // A symbolic link (relative, through a second link) stays a link; its file gets the text.
  std::filesystem::create_directory(dir.path() / "real");
  const auto real = dir.Write("real/target.ten", "old");
  std::filesystem::create_symlink("real/target.ten", dir.path() / "link1.ten");
  std::filesystem::create_symlink(dir.path() / "link1.ten", dir.path() / "link2.ten");
  WriteFileAtomically(dir.path() / "link2.ten", "through links");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link2.ten"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link1.ten"));
  EXPECT_EQ(ReadFile(real), "through links");
  EXPECT_EQ(EntriesIn(dir.path() / "real"), 1) << "temporary file left beside the real file";

  // Hard links keep sharing the file.
  const auto first = dir.Write("first.ten", "old");
  std::filesystem::create_hard_link(first, dir.path() / "second.ten");
  WriteFileAtomically(first, "shared");
  EXPECT_EQ(ReadFile(dir.path() / "second.ten"), "shared");
  EXPECT_EQ(std::filesystem::hard_link_count(first), 2u);

  if (::geteuid() == 0) {
    const auto owned = dir.Write("owned.ten", "old");
    ASSERT_EQ(::chown(owned.c_str(), 4321, 4322), 0);
    WriteFileAtomically(owned, "new");
    struct stat st {};
    ASSERT_EQ(::stat(owned.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 4322u);
  }
}

TEST(AtomicFile, RefusesReadOnlyFilesAndFolders) {
  TempDir dir;
  const auto file = dir.Write("kept.ten", "old");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  EXPECT_EQ(MessageOf([&] { WriteFileAtomically(file, "new"); }),
            "Cannot replace \"" + file.string() + "\". The file is read-only");
  EXPECT_EQ(ReadFile(file), "old");

  std::filesystem::create_directory(dir.path() / "folder.ten");
  EXPECT_NE(MessageOf([&] {
              WriteFileAtomically(dir.path() / "folder.ten", "new");
            }).find("Is a directory"),
            std::string::npos);
  EXPECT_NE(MessageOf([&] {
              WriteFileAtomically(dir.path() / "no" / "such.ten", "x");
            }).find("No such file or directory"),
            std::string::npos);
  EXPECT_EQ(EntriesIn(dir.path()), 2);
}

TEST(AtomicFile, NamesUpToTheLimit) {
  TempDir dir;
  for (std::size_t length : {246u, 250u, 255u}) {
    const auto file = dir.path() / (std::string(length - 4, 'q') + ".ten");
    WriteFileAtomically(file, "old");
    WriteFileAtomically(file, "new");
    EXPECT_EQ(ReadFile(file), "new") << length;
  }
  // A name of multibyte characters is shortened for the temporary file on a character boundary.
  std::string name;
  while (name.size() < 250) name += "\xC3\xA9";  // é
  WriteFileAtomically(dir.path() / name, "é");
  EXPECT_EQ(ReadFile(dir.path() / name), "é");
  EXPECT_EQ(EntriesIn(dir.path()), 4);
}

/// The file-size limit stands in for a disk that fills up: writes beyond it fail with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
  }

 private:
  rlimit previous_{};
  void (*previousHandler_)(int);
};

TEST(AtomicFile, AFailedWriteKeepsTheOldFile) {
  TempDir dir;
  const auto file = dir.Write("surface.svg", "old picture");
  const std::string big(64 * 1024, 'x');
  std::string message;
  {
    FileSizeLimit limit(8 * 1024);
    message = MessageOf([&] { WriteFileAtomically(file, big); });
  }
  EXPECT_EQ(message.rfind("Disk full or write error on \"" + file.string() + "\"", 0), 0u)
      << message;
  EXPECT_EQ(ReadFile(file), "old picture");
  EXPECT_EQ(EntriesIn(dir.path()), 1) << "temporary file left behind";

  // A writer that fails or throws touches nothing.
  EXPECT_THROW(WriteFileAtomically(file,
                                   [](std::ostream& out) {
                                     out << "half";
                                     throw std::runtime_error("stopped");
                                   }),
               std::runtime_error);
  EXPECT_THROW(WriteFileAtomically(file, [](std::ostream& out) { out.setstate(std::ios::badbit); }),
               std::runtime_error);
  EXPECT_EQ(ReadFile(file), "old picture");
  EXPECT_EQ(EntriesIn(dir.path()), 1);
}

}  // namespace
}  // namespace quillmere
