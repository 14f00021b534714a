// Fast fixed-point number text for the scene and mesh writers: they write tens of thousands of
// numbers, so the text goes into one buffer without a stream call per number.
#pragma once

#include <string>

namespace quillmere::export_text {

/// Appends `value` in fixed-point form with `decimals` digits after the point, right-aligned in
/// `width` characters (longer numbers take the room they need). A value that rounds to zero is
/// written without a minus sign.
void AppendFixed(std::string& out, double value, int decimals, int width);

/// Appends a decimal integer.
void AppendInteger(std::string& out, long long value);

/// Appends value / 100 with exactly 2 decimals, right-aligned in `width` characters; exact for
/// every integer.
void AppendHundredths(std::string& out, long long value, int width);

}  // namespace quillmere::export_text
