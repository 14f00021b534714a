// Helpers for UTF-8 texts.
#pragma once

#include <cstddef>
#include <string>

namespace quillmere {

/// Cuts a UTF-8 text to at most `characters` characters, never inside a character. The bytes of
/// a broken sequence count as characters of their own.
inline std::string CutLabel(const std::string& text, std::size_t characters) {
  std::size_t i = 0, n = 0;
  while (i < text.size() && n < characters) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t len = c < 0x80         ? 1
                      : (c >> 5) == 6  ? 2
                      : (c >> 4) == 14 ? 3
                      : (c >> 3) == 30 ? 4
                                       : 1;
    if (i + len > text.size()) len = text.size() - i;
    for (std::size_t k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        len = k;
        break;
      }
    i += len;
    ++n;
  }
  return text.substr(0, i);
}

}  // namespace quillmere
