#include "core/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace quillmere {

namespace {

/// Opens `path` for reading without blocking on a FIFO or a device and checks that it is a
/// regular file; the descriptor then blocks as usual.
int OpenRegular(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    throw FileNotOpened("Cannot open '" + path.string() + "': " + std::strerror(error),
                        error == ENOENT || error == ENOTDIR);
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw std::runtime_error(NotRegularFileText(path));
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

/// Reads up to `limit` bytes; true when the file has more.
bool ReadAtMost(int fd, const std::filesystem::path& path, std::size_t limit, std::string& text) {
  std::array<char, 65536> buffer;
  for (;;) {
    const std::size_t want = std::min(buffer.size(), limit + 1 - text.size());
    const ssize_t n = ::read(fd, buffer.data(), want);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      throw std::runtime_error("Cannot read '" + path.string() + "': " + std::strerror(error));
    }
    if (n == 0) return false;
    text.append(buffer.data(), static_cast<std::size_t>(n));
    if (text.size() > limit) {
      text.resize(limit);
      return true;
    }
  }
}

}  // namespace

std::string NotRegularFileText(const std::filesystem::path& path) {
  return "'" + path.string() + "' is not a regular file";
}

std::string ReadRegularFile(const std::filesystem::path& path, std::size_t limit) {
  const int fd = OpenRegular(path);
  std::string text;
  const bool more = ReadAtMost(fd, path, limit, text);
  ::close(fd);
  if (more)
    throw std::runtime_error("'" + path.string() + "' is larger than " + std::to_string(limit) +
                             " bytes");
  return text;
}

std::string ReadRegularFilePrefix(const std::filesystem::path& path, std::size_t limit) {
  const int fd = OpenRegular(path);
  std::string text;
  ReadAtMost(fd, path, limit, text);
  ::close(fd);
  return text;
}

class RegularFileStream::Buffer : public std::streambuf {
 public:
  explicit Buffer(int fd) : fd_(fd) {}
  ~Buffer() override { ::close(fd_); }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    ssize_t n;
    do n = ::read(fd_, data_.data(), data_.size());
    while (n < 0 && errno == EINTR);
    if (n <= 0) return traits_type::eof();
    setg(data_.data(), data_.data(), data_.data() + n);
    return traits_type::to_int_type(*gptr());
  }

 private:
  int fd_;
  std::array<char, 65536> data_;
};

RegularFileStream::RegularFileStream(const std::filesystem::path& path)
    : std::istream(nullptr), buffer_(std::make_unique<Buffer>(OpenRegular(path))) {
  rdbuf(buffer_.get());
}

RegularFileStream::~RegularFileStream() = default;

std::string QuoteForMessage(std::string_view text, std::size_t limit) {
  std::string quoted = WithoutControlCharacters(text.substr(0, limit));
  for (char& c : quoted)
    if (c == '\n' || c == '\t') c = '?';
  if (text.size() > limit) {
    // Not in the middle of a UTF-8 character.
    while (!quoted.empty() && (static_cast<unsigned char>(quoted.back()) & 0xC0) == 0x80)
      quoted.pop_back();
    if (!quoted.empty() && (static_cast<unsigned char>(quoted.back()) & 0x80)) quoted.pop_back();
    quoted += "...";
  }
  return quoted;
}

std::string WithoutControlCharacters(std::string_view text) {
  std::string clean(text);
  for (char& c : clean) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\n' && c != '\t') || u == 0x7F) c = '?';
  }
  // C1 controls in UTF-8 (U+0080..U+009F, bytes C2 80..C2 9F) act as escapes on some terminals.
  for (std::size_t k = 0; k + 1 < clean.size(); ++k)
    if (static_cast<unsigned char>(clean[k]) == 0xC2 &&
        (static_cast<unsigned char>(clean[k + 1]) & 0xE0) == 0x80) {
      clean.replace(k, 2, "?");
    }
  return clean;
}

}  // namespace quillmere
