#include "files/export_text.h"

#include <charconv>
#include <cstdlib>

namespace quillmere::export_text {

namespace {

void AppendPadded(std::string& out, const char* first, const char* last, int width) {
  const int length = static_cast<int>(last - first);
  if (length < width) out.append(static_cast<std::size_t>(width - length), ' ');
  out.append(first, last);
}

}  // namespace

void AppendFixed(std::string& out, double value, int decimals, int width) {
  char buffer[400];  // room for the largest finite double in fixed form
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) {
    out += "nan";  // not reached for finite values; the writers refuse non-finite ones first
    return;
  }
  char* first = buffer;
  if (*first == '-') {
    bool allZero = true;
    for (const char* p = first + 1; p < end; ++p) {
      if (*p != '0' && *p != '.') {
        allZero = false;
        break;
      }
    }
    if (allZero) ++first;  // "-0.0000" reads as a signed zero to some tools; write "0.0000"
  }
  AppendPadded(out, first, end, width);
}

void AppendInteger(std::string& out, long long value) {
  char buffer[24];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
  (void)ec;
  out.append(buffer, end);
}

void AppendHundredths(std::string& out, long long value, int width) {
  char buffer[32];
  char* p = buffer;
  unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                           : static_cast<unsigned long long>(value);
  if (value < 0) *p++ = '-';
  auto [end, ec] = std::to_chars(p, buffer + sizeof buffer - 3, magnitude / 100);
  (void)ec;
  p = end;
  *p++ = '.';
  *p++ = static_cast<char>('0' + magnitude % 100 / 10);
  *p++ = static_cast<char>('0' + magnitude % 10);
  AppendPadded(out, buffer, p, width);
}

}  // namespace quillmere::export_text
