#include "update/version_file.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "core/regular_file.h"

namespace quillmere {

namespace {

constexpr const char* kInvalidNumber = "Invalid numeric input";

std::string_view Trimmed(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

/// A line cut to kVersionLineLimit bytes without splitting a UTF-8 character.
std::string_view Cut(std::string_view line) {
  if (line.size() <= kVersionLineLimit) return line;
  std::size_t n = kVersionLineLimit;
  while (n > 0 && (static_cast<unsigned char>(line[n]) & 0xC0) == 0x80) --n;
  return line.substr(0, n);
}

/// The lines of the text; a line break at the very end does not start another line.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(Cut(line));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

/// A version is a finite positive number: "-1.6", "0", "nan" or "1E999" (beyond what a
/// double holds) would otherwise differ from every running version and trigger the offer.
Real ParseVersion(std::string_view line) {
  line = Trimmed(line);
  if (!line.empty() && line.front() == '+') line.remove_prefix(1);
  long double value = 0;
  const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (line.empty() || ec != std::errc() || end != line.data() + line.size() ||
      !std::isfinite(value) || !(value > 0) || value > std::numeric_limits<double>::max())
    throw std::runtime_error(kInvalidNumber);
  return value;
}

std::uint64_t ParseSize(std::string_view line) {
  line = Trimmed(line);
  if (line.empty()) return 0;
  if (line.front() == '+') line.remove_prefix(1);
  std::uint64_t value = 0;
  const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
  if (ec != std::errc() || end != line.data() + line.size())
    throw std::runtime_error(kInvalidNumber);
  return value;
}

}  // namespace

VersionFile ParseVersionFile(std::string_view text) {
  if (text.size() > kVersionFileLimit) text = text.substr(0, kVersionFileLimit);
  const std::vector<std::string_view> lines = Lines(text);
  VersionFile file;
  file.version = ParseVersion(lines.size() > 1 ? lines[1] : std::string_view());
  if (lines.size() > 2) file.installerSize = ParseSize(lines[2]);
  // The notes are collected by a loop that reads at least one line: with nothing after line 3
  // they are a single line break.
  std::string& notes = file.releaseNotes;
  std::size_t k = 3;
  do {
    notes.push_back('\n');
    if (k < lines.size()) notes.append(lines[k].data(), lines[k].size());
  } while (++k < lines.size());
  return file;
}

VersionFile ReadVersionFile(const std::filesystem::path& path) {
  std::string text;
  try {
    text = ReadRegularFilePrefix(path, kVersionFileLimit);
  } catch (const FileNotOpened&) {
    throw std::runtime_error("File not found");
  }
  return ParseVersionFile(text);
}

bool SameVersion(Real published, Real running) {
  return std::fabs(published - running) <= kVersionTolerance;
}

std::string PercentText(std::uint64_t bytes, std::uint64_t maximum) {
  if (bytes == 0 || maximum == 0) return {};
  // bytes * 100 cannot overflow for any size a file system holds (below 2^57 bytes).
  return std::to_string(bytes * 100 / maximum) + " %";
}

}  // namespace quillmere
