// Text encodings of the metafiles: the enhanced format stores UTF-16 (little endian on disk),
// the standard format the single-byte Windows-1252 code page, in which the unit texts' "²",
// "³", "°" and "µ" exist. Malformed UTF-8 and characters outside the code page become '?', so
// a label never breaks a picture.
#pragma once

#include <string>

namespace quillmere {

std::u16string Utf8ToUtf16(const std::string& text);
std::string Utf8ToWindows1252(const std::string& text);

}  // namespace quillmere
