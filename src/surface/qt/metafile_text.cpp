#include "surface/qt/metafile_text.h"

#include <cstdint>
#include <vector>

namespace quillmere {

namespace {

/// Decodes UTF-8 into code points; a malformed sequence gives one '?' and decoding goes on
/// with the next byte.
std::vector<char32_t> CodePoints(const std::string& text) {
  std::vector<char32_t> out;
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n;) {
    const unsigned char b = s[i];
    int extra = 0;
    char32_t cp = 0, min = 0;
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    } else if ((b & 0xe0) == 0xc0) {
      extra = 1, cp = b & 0x1f, min = 0x80;
    } else if ((b & 0xf0) == 0xe0) {
      extra = 2, cp = b & 0x0f, min = 0x800;
    } else if ((b & 0xf8) == 0xf0) {
      extra = 3, cp = b & 0x07, min = 0x10000;
    } else {
      out.push_back(U'?');
      ++i;
      continue;
    }
    bool ok = i + static_cast<std::size_t>(extra) < n;
    for (int k = 1; ok && k <= extra; ++k) {
      const unsigned char c = s[i + k];
      if ((c & 0xc0) != 0x80)
        ok = false;
      else
        cp = cp << 6 | (c & 0x3f);
    }
    if (!ok || cp < min || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) {
      out.push_back(U'?');
      ++i;
      continue;
    }
    out.push_back(cp);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return out;
}

/// Windows-1252 bytes 0x80..0x9f; 0 marks the five unassigned ones.
constexpr char16_t kHighControls[32] = {
    0x20ac, 0,      0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017d, 0,      0,      0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0,      0x017e, 0x0178};

}  // namespace

std::u16string Utf8ToUtf16(const std::string& text) {
  std::u16string out;
  for (char32_t cp : CodePoints(text)) {
    if (cp < 0x10000) {
      out.push_back(static_cast<char16_t>(cp));
    } else {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xd800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xdc00 + (cp & 0x3ff)));
    }
  }
  return out;
}

std::string Utf8ToWindows1252(const std::string& text) {
  std::string out;
  for (char32_t cp : CodePoints(text)) {
    if (cp < 0x80 || (cp >= 0xa0 && cp <= 0xff)) {
      out.push_back(static_cast<char>(cp));
      continue;
    }
    char mapped = '?';
    for (int k = 0; k < 32; ++k)
      if (kHighControls[k] != 0 && kHighControls[k] == cp) mapped = static_cast<char>(0x80 + k);
    out.push_back(mapped);
  }
  return out;
}

}  // namespace quillmere
