#include "files/atomic_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace quillmere {

namespace {

constexpr int kMaxLinkSteps = 40;  // as the kernel's own limit on a chain of links

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& target, int err) {
  throw std::runtime_error(what + " \"" + target.string() + "\". " + std::strerror(err));
}

[[noreturn]] void FailWrite(const std::filesystem::path& target, int err) {
  if (err == ENOSPC || err == EDQUOT || err == EFBIG)
    Fail("Disk full or write error on", target, err);
  Fail("Cannot write file", target, err);
}

/// Writes all of `data`, retrying short writes and interrupted calls; false with errno set.
bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  /// Closes and reports close's own failure (a delayed write error on some file systems).
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

/// The permissions a new file gets: everything the process's file-creation mask allows.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

void SyncFolder(const std::filesystem::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // some file systems cannot sync a folder; the rename itself has happened
  ::close(fd);
}

/// "." + the target's name + "." + six random characters, the name shortened so that the whole
/// stays within the folder's limit on a file name.
std::string TemporaryPattern(const std::filesystem::path& folder, const std::string& name) {
  long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
  if (limit <= 0) limit = NAME_MAX;
  const std::string suffix = ".XXXXXX";
  const std::size_t room = static_cast<std::size_t>(limit) - 1 - suffix.size();
  std::string stem = name.substr(0, room);
  // A cut in the middle of a UTF-8 sequence would leave a broken character in the name.
  while (!stem.empty() && stem.size() < name.size() &&
         (static_cast<unsigned char>(name[stem.size()]) & 0xC0) == 0x80)
    stem.pop_back();
  return "." + stem + suffix;
}

/// Copies the bytes of `contents` into the existing file in place (for a hard-linked file).
void RewriteInPlace(const std::filesystem::path& real, std::string_view contents,
                    const std::filesystem::path& temp, bool& keepTemporary) {
  FileDescriptor fd(::open(real.c_str(), O_WRONLY | O_CLOEXEC));
  auto fail = [&](int err) {
    // Once the file has been cut, the temporary file is the only complete copy.
    keepTemporary = true;
    throw std::runtime_error("Cannot write file \"" + real.string() + "\". " + std::strerror(err) +
                             "; the complete new contents are in \"" + temp.string() + "\"");
  };
  if (fd.get() < 0) {
    const int err = errno;
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    Fail("Cannot write file", real, err);
  }
  if (::ftruncate(fd.get(), 0) != 0) fail(errno);
  if (!WriteAll(fd.get(), contents)) fail(errno);
  if (::fsync(fd.get()) != 0) fail(errno);
  if (!fd.Close()) fail(errno);
  std::error_code ignored;
  std::filesystem::remove(temp, ignored);
}

}  // namespace

std::filesystem::path ResolveSymbolicLinks(const std::filesystem::path& path) {
  std::filesystem::path current = path;
  for (int step = 0; step < kMaxLinkSteps; ++step) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) + 1);
    const ssize_t n = ::readlink(current.c_str(), buffer.data(), buffer.size());
    if (n < 0) return current;
    const std::filesystem::path link(std::string(buffer.data(), static_cast<std::size_t>(n)));
    current = link.is_absolute() ? link : current.parent_path() / link;
  }
  Fail("Cannot create file", path, ELOOP);
}

void WriteFileAtomically(const std::filesystem::path& target, std::string_view contents,
                         const std::string& temporaryName) {
  const std::filesystem::path real = ResolveSymbolicLinks(target);
  std::filesystem::path folder = real.parent_path();
  if (folder.empty()) folder = ".";

  struct stat old {};
  const bool exists = ::stat(real.c_str(), &old) == 0;
  if (exists) {
    if (S_ISDIR(old.st_mode)) Fail("Cannot create file", target, EISDIR);
    if (!S_ISREG(old.st_mode))
      throw std::runtime_error("Cannot create file \"" + target.string() +
                               "\". It is not a regular file");
    // The superuser may write anything; a file that nobody may write is still meant to stay.
    if ((old.st_mode & 0222) == 0 || ::access(real.c_str(), W_OK) != 0)
      throw std::runtime_error("Cannot replace \"" + target.string() + "\". The file is read-only");
  }

  std::filesystem::path temp;
  int raw = -1;
  if (!temporaryName.empty()) {
    temp = folder / temporaryName;
    raw = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  } else {
    std::string pattern = (folder / TemporaryPattern(folder, real.filename().string())).string();
    raw = ::mkostemp(pattern.data(), O_CLOEXEC);
    temp = pattern;
  }
  if (raw < 0) Fail("Cannot create file", target, errno);
  FileDescriptor fd(raw);

  bool keepTemporary = false;
  try {
    if (!WriteAll(fd.get(), contents)) FailWrite(target, errno);
    if (exists) {
      // Owner and group first: changing them may clear set-id bits, which the mode restores.
      if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0)
        (void)!::fchown(fd.get(), static_cast<uid_t>(-1), old.st_gid);
      if (::fchmod(fd.get(), old.st_mode & 07777) != 0) FailWrite(target, errno);
    } else if (::fchmod(fd.get(), NewFileMode()) != 0) {
      FailWrite(target, errno);
    }
    if (::fsync(fd.get()) != 0) FailWrite(target, errno);
    if (!fd.Close()) FailWrite(target, errno);

    if (exists && old.st_nlink > 1) {
      RewriteInPlace(real, contents, temp, keepTemporary);
      return;
    }
    if (::rename(temp.c_str(), real.c_str()) != 0) Fail("Cannot create file", target, errno);
  } catch (...) {
    std::error_code ignored;
    if (!keepTemporary) std::filesystem::remove(temp, ignored);
    throw;
  }
  SyncFolder(folder);
}

void WriteFileAtomically(const std::filesystem::path& target,
                         const std::function<void(std::ostream&)>& write) {
  std::ostringstream out;
  write(out);
  if (!out) throw std::runtime_error("Disk full or write error on \"" + target.string() + "\"");
  const std::string contents = std::move(out).str();
  WriteFileAtomically(target, contents);
}

}  // namespace quillmere
