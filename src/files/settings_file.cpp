#include "files/settings_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <system_error>

#include "core/regular_file.h"
#include "files/atomic_file.h"
#include "files/tensor_file.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

const char kLineEnd[] = "\r\n";
const char kReleaseHeader[] = "[Release]";
const char kDirectoriesHeader[] = "[Directories]";
const char kStartWindowHeader[] = "[Startwindow]";
const char kRecentHeader[] = "[RecentFiles]";

/// The settings text read as a text file is read: line by line, or token by token for numbers
/// followed by the rest of their line.
class SettingsReader {
 public:
  explicit SettingsReader(std::istream& in)
      : text_(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) {}

  bool AtEnd() const { return pos_ >= text_.size(); }

  /// Back to the beginning of the text.
  void Rewind() { pos_ = 0; }

  /// The next line without its line end; false at the end of the file (`line` then empty).
  bool ReadLine(std::string& line) {
    line.clear();
    if (AtEnd()) return false;
    line = RestOfLine();
    return true;
  }

  /// Everything up to the line end (which is consumed), without a trailing CR.
  std::string RestOfLine() {
    const std::size_t end = text_.find('\n', pos_);
    std::string line =
        text_.substr(pos_, end == std::string::npos ? std::string::npos : end - pos_);
    pos_ = end == std::string::npos ? text_.size() : end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
  }

  /// Skips blanks and line ends, then takes the run of characters up to the next one; empty at
  /// the end of the file.
  std::string Token() {
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
    const std::size_t start = pos_;
    while (!AtEnd() && !IsBlank(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  /// A whole number; 0 at the end of the file. False for a token that is not one.
  bool Integer(int& value) {
    const std::string token = Token();
    if (token.empty()) {
      value = 0;
      return true;
    }
    const char* b = token.data();
    const char* e = b + token.size();
    if (*b == '+') ++b;
    int v = 0;
    const auto res = std::from_chars(b, e, v);
    if (b == e || res.ec != std::errc() || res.ptr != e) return false;
    value = v;
    return true;
  }

  /// A finite real in any decimal notation; 0 at the end of the file. A number beyond the range
  /// of `Real` counts as unreadable: written back it would be "INF", which reads as no number.
  bool RealNumber(Real& value) {
    const std::string token = Token();
    if (token.empty()) {
      value = 0;
      return true;
    }
    Real parsed = 0;
    if (!TryParseReal(token, parsed, '.') || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
  }

  /// Reads lines until one that contains `header`; false when the file ends first.
  bool SkipPast(const char* header) {
    std::string line;
    while (ReadLine(line))
      if (line.find(header) != std::string::npos) return true;
    return false;
  }

 private:
  static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

  std::string text_;
  std::size_t pos_ = 0;
};

bool IsSectionHeader(const std::string& line) {
  for (const char* header : {kReleaseHeader, kDirectoriesHeader, kStartWindowHeader, kRecentHeader})
    if (line.find(header) != std::string::npos) return true;
  return false;
}

/// Moves `in` past the "[Startwindow]" line whose next line the close rewrites, so the size is
/// read where the close stores it: after the line ending the first-line check, the
/// "[Directories]" line and the "Workdir=" line that follows it. A damaged file may name the
/// header earlier (in the release line, or before or in the directories header); such a header
/// is passed over, since the close never writes behind it. A file without "[Directories]" is
/// never rewritten, and its first "[Startwindow]" line counts. False when there is no such line.
bool SkipToWindowHeader(SettingsReader& in) {
  std::string line;
  in.ReadLine(line);
  bool directories = false;
  while (in.ReadLine(line))
    if (line.find(kDirectoriesHeader) != std::string::npos) {
      directories = true;
      break;
    }
  if (!directories) {
    in.Rewind();
    return in.SkipPast(kStartWindowHeader);
  }
  // The line after the directories header is replaced by "Workdir=" unless it is a header.
  if (in.ReadLine(line) && IsSectionHeader(line) &&
      line.find(kStartWindowHeader) != std::string::npos)
    return true;
  return in.SkipPast(kStartWindowHeader);
}

void WriteLine(std::ostream& out, const std::string& line) {
  out << line << kLineEnd;
}

/// One entry line of the recent list: its number and the rest of the line as it stands (the
/// separator blank included).
struct RecentEntry {
  int number = 0;
  std::string rest;
};

bool ReadEntry(SettingsReader& in, RecentEntry& entry) {
  if (!in.Integer(entry.number)) return false;
  entry.rest = in.RestOfLine();
  return true;
}

/// The settings file's text, read as a regular file of bounded size (a FIFO or a device in its
/// place throws instead of hanging).
std::istringstream SettingsText(const SettingsLocation& where) {
  return std::istringstream(ReadRegularFile(where.SettingsFile(), kSettingsFileLimit));
}

/// Holds an advisory lock on the settings folder's lock file, so the read-modify-write of two
/// copies of the program closing together is done one after the other.
class SettingsLock {
 public:
  explicit SettingsLock(const SettingsLocation& where) {
    const std::filesystem::path path = where.settingsDirectory / kSettingsLockName;
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) throw std::runtime_error("Cannot open " + path.string());
    while (::flock(fd_, LOCK_EX) != 0)
      if (errno != EINTR) {
        ::close(fd_);
        throw std::runtime_error("Cannot lock " + path.string());
      }
  }
  ~SettingsLock() { ::close(fd_); }
  SettingsLock(const SettingsLock&) = delete;
  SettingsLock& operator=(const SettingsLock&) = delete;

 private:
  int fd_ = -1;
};

/// Writes the whole text to a scratch file of a unique name and renames it over the settings
/// file, all under the lock, so the settings file is always one complete version. `produce`
/// returns false when the new text must not be used.
template <typename Produce>
void RewriteSettings(const SettingsLocation& where, Produce produce) {
  const SettingsLock lock(where);
  // The scratch name of earlier versions; a leftover is no longer used by anyone.
  std::error_code ignored;
  std::filesystem::remove(where.ScratchFile(), ignored);
  std::string rewritten;
  {
    std::istringstream in = SettingsText(where);
    std::ostringstream text;
    if (!produce(in, text)) return;
    rewritten = text.str();
  }
  WriteFileAtomically(where.SettingsFile(), rewritten);
}

/// Runs one piece of work on the settings file; whatever goes wrong in it (an unreadable file, a
/// folder in its place, a full disk) leaves the settings as they were and is not reported.
template <typename Work>
void Guarded(Work work) {
  try {
    work();
  } catch (...) {
    // Not reported, as said above: the settings file is a convenience, never a reason to stop.
  }
}

}  // namespace

std::string DefaultSettingsText(const std::string& programDirectory) {
  std::ostringstream out;
  WriteLine(out, kReleaseHeader);
  WriteLine(out, "1.1.3");
  WriteLine(out, "");
  WriteLine(out, kDirectoriesHeader);
  WriteLine(out, "Workdir=" + programDirectory);
  WriteLine(out, "");
  WriteLine(out, kStartWindowHeader);
  WriteLine(out, WindowLine(525, 409, 0));
  WriteLine(out, "");
  WriteLine(out, kRecentHeader);
  for (int k = 1; k <= kRecentFileCount; ++k) WriteLine(out, std::to_string(k));
  return out.str();
}

std::string WindowLine(int width, int height, Real reserved) {
  return std::to_string(width) + " " + std::to_string(height) + " " + FormatFileReal(reserved);
}

void ReadStartWindow(std::istream& in, StartWindow& window) {
  SettingsReader reader(in);
  if (!SkipToWindowHeader(reader)) return;
  int number = 0;
  if (!reader.Integer(number)) return;
  window.width = number;
  if (!reader.Integer(number)) return;
  window.height = number;
  Real reserved = 0;
  if (!reader.RealNumber(reserved)) return;
  window.reserved = reserved;
}

bool AddToRecentText(std::istream& in, std::ostream& out, const std::string& path) {
  SettingsReader reader(in);
  std::string line;
  bool found = false;
  while (reader.ReadLine(line)) {
    WriteLine(out, line);
    if (line.find(kRecentHeader) != std::string::npos) {
      found = true;
      break;
    }
  }
  if (!found) return false;

  // A section without entry lines starts the list at number 1.
  RecentEntry previous{1, ""};
  if (reader.AtEnd()) {
    WriteLine(out, "1 " + path);
    return true;
  }
  if (!ReadEntry(reader, previous)) return false;
  WriteLine(out, std::to_string(previous.number) + " " + path);
  for (int written = 1; written < kRecentFileCount; ++written) {
    // In a wider type: a damaged file may hold the largest int as a number.
    WriteLine(out, std::to_string(static_cast<long long>(previous.number) + 1) + previous.rest);
    if (reader.AtEnd()) break;
    if (!ReadEntry(reader, previous)) return false;
    if (previous.number == kRecentFileCount) break;
  }
  return true;
}

RecentFileNames ReadRecentFiles(std::istream& in) {
  RecentFileNames names;
  SettingsReader reader(in);
  if (reader.SkipPast(kRecentHeader)) {
    RecentEntry entry;
    while (!reader.AtEnd() && ReadEntry(reader, entry)) {
      if (entry.number >= 1 && entry.number <= kRecentFileCount)
        names[entry.number - 1] = entry.rest;
      if (entry.number == kRecentFileCount) break;
    }
  }
  for (std::string& name : names)
    if (!name.empty()) name.erase(0, 1);
  return names;
}

bool RewriteAtCloseText(std::istream& in, std::ostream& out, const std::string& programDirectory,
                        int width, int height, Real reserved) {
  SettingsReader reader(in);
  std::string line;
  reader.ReadLine(line);
  if (line.find(kReleaseHeader) != std::string::npos) {
    WriteLine(out, line);
  } else {
    WriteLine(out, kReleaseHeader);
    WriteLine(out, "1.1");
    WriteLine(out, " ");
  }
  bool found = false;
  while (reader.ReadLine(line)) {
    WriteLine(out, line);
    if (line.find(kDirectoriesHeader) != std::string::npos) {
      found = true;
      break;
    }
  }
  if (!found) return false;
  std::string next;
  const bool haveNext = reader.ReadLine(next);
  WriteLine(out, "Workdir=" + programDirectory);
  // The line after the header is the Workdir line it replaces; when that line is missing and
  // another section follows at once, the section stays (its recent files would be lost).
  bool pending = haveNext && IsSectionHeader(next);
  bool windowLineNext = false;
  while (pending || reader.ReadLine(line)) {
    if (pending) {
      line = next;
      pending = false;
    }
    WriteLine(out, windowLineNext ? WindowLine(width, height, reserved) : line);
    windowLineNext = line.find(kStartWindowHeader) != std::string::npos && !windowLineNext;
  }
  return true;
}

StartWindow PrepareSettingsFile(const SettingsLocation& where) {
  StartWindow window;
  Guarded([&] {
    std::error_code ec;
    const std::filesystem::path settings = where.SettingsFile();
    if (std::filesystem::exists(where.FileBesideProgram(), ec) &&
        !std::filesystem::exists(settings, ec)) {
      std::filesystem::copy_file(where.FileBesideProgram(), settings, ec);
    }
    if (!std::filesystem::exists(settings, ec))
      WriteFileAtomically(settings, DefaultSettingsText(where.programDirectory));
  });
  Guarded([&] {
    std::istringstream in = SettingsText(where);
    ReadStartWindow(in, window);
  });
  return window;
}

void AddToRecent(const SettingsLocation& where, const std::string& path) {
  if (path.find_first_of("\r\n") != std::string::npos) return;
  Guarded([&] {
    RewriteSettings(
        where, [&](std::istream& in, std::ostream& out) { return AddToRecentText(in, out, path); });
  });
}

RecentFileNames ReadRecentFiles(const SettingsLocation& where) {
  RecentFileNames names;
  Guarded([&] {
    std::istringstream in = SettingsText(where);
    names = ReadRecentFiles(in);
  });
  return names;
}

void SaveSettingsAtClose(const SettingsLocation& where, int width, int height, Real reserved) {
  Guarded([&] {
    RewriteSettings(where, [&](std::istream& in, std::ostream& out) {
      return RewriteAtCloseText(in, out, where.programDirectory, width, height, reserved);
    });
  });
}

StartWindow UsableWindowSize(const StartWindow& fromFile) {
  if (fromFile.width > 0 && fromFile.height > 0) return fromFile;
  StartWindow defaults;
  defaults.reserved = fromFile.reserved;
  return defaults;
}

StartWindow UsableWindowSize(const StartWindow& fromFile, int availableWidth, int availableHeight) {
  StartWindow size = UsableWindowSize(fromFile);
  if (availableWidth > 0 && size.width > availableWidth) size.width = availableWidth;
  if (availableHeight > 0 && size.height > availableHeight) size.height = availableHeight;
  return size;
}

}  // namespace quillmere
