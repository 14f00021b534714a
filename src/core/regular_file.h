// Reading the files the program is given without hanging on them: only regular files are read
// (a FIFO, a device, a socket or a folder is refused at once, before any byte is read), and what
// is read is bounded, so a huge file or /dev/zero cannot take the memory or the time.
#pragma once

#include <cstddef>
#include <filesystem>
#include <istream>
#include <memory>
#include <stdexcept>
#include <streambuf>
#include <string>

namespace quillmere {

/// The file could not be opened (missing, no permission); `missing` for a file that is not there.
class FileNotOpened : public std::runtime_error {
 public:
  FileNotOpened(const std::string& text, bool missing)
      : std::runtime_error(text), missing(missing) {}
  bool missing;
};

/// "'<path>' is not a regular file".
std::string NotRegularFileText(const std::filesystem::path& path);

/// Reads the whole of a regular file of at most `limit` bytes. Throws FileNotOpened when it
/// cannot be opened, std::runtime_error("'<path>' is not a regular file") for anything but a
/// regular file, std::runtime_error("'<path>' is larger than N bytes") beyond `limit`.
std::string ReadRegularFile(const std::filesystem::path& path, std::size_t limit);

/// Reads at most the first `limit` bytes of a regular file; the rest is ignored. Throws as
/// ReadRegularFile, except for the size.
std::string ReadRegularFilePrefix(const std::filesystem::path& path, std::size_t limit);

/// An input stream over a regular file, for readers that go through a large file line by line.
/// The constructor throws as ReadRegularFile does.
class RegularFileStream : public std::istream {
 public:
  explicit RegularFileStream(const std::filesystem::path& path);
  ~RegularFileStream() override;

 private:
  class Buffer;
  std::unique_ptr<Buffer> buffer_;
};

/// At most `limit` characters of `text` for an error message, with "..." when cut; control
/// characters are shown as '?'.
std::string QuoteForMessage(std::string_view text, std::size_t limit = 40);

/// `text` with every control character but the line break and the tab replaced by '?', so text
/// from outside cannot drive the terminal it is printed on.
std::string WithoutControlCharacters(std::string_view text);

}  // namespace quillmere
