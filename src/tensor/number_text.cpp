#include "tensor/number_text.h"
#include "core/regular_file.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace quillmere {

std::string NotAFloatMessage(const std::string& text) {
  // A field of a damaged file can be megabytes long; the message shows its start.
  return "'" + QuoteForMessage(text) + "' is not a valid floating point value";
}

std::string FormatGeneral(Real value, char decimalSeparator, int digits) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  if (digits < 1) digits = 1;
  if (digits > 18) digits = 18;

  // Round to `digits` significant digits first; the notation depends on the rounded value.
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, digits - 1);
  std::string sci(buf, res.ptr);  // "-d.ddddde+XX"
  const bool negative = sci[0] == '-';
  if (negative) sci.erase(0, 1);
  const std::size_t ePos = sci.find('e');
  std::string mantissa = sci.substr(0, ePos);
  const int exp10 = std::atoi(sci.c_str() + ePos + 1);
  std::string significant;
  for (char c : mantissa)
    if (c != '.') significant += c;
  while (significant.size() > 1 && significant.back() == '0') significant.pop_back();

  std::string out = negative ? "-" : "";
  if (exp10 < -5 || exp10 >= digits) {
    out += significant[0];
    if (significant.size() > 1) {
      out += decimalSeparator;
      out += significant.substr(1);
    }
    out += 'E';
    out += std::to_string(exp10);
    return out;
  }
  if (exp10 < 0) {
    out += '0';
    out += decimalSeparator;
    out += std::string(static_cast<std::size_t>(-exp10 - 1), '0');
    out += significant;
    return out;
  }
  const std::size_t intDigits = static_cast<std::size_t>(exp10) + 1;
  if (significant.size() <= intDigits) {
    out += significant + std::string(intDigits - significant.size(), '0');
  } else {
    out += significant.substr(0, intDigits);
    out += decimalSeparator;
    out += significant.substr(intDigits);
  }
  return out;
}

bool TryParseExtendedReal(const std::string& text, Real& value, char decimalSeparator) {
  std::size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  // Normalise to the form std::from_chars reads (locale independent): '.' as the point, no '+'.
  std::string s;
  std::size_t p = b;
  bool negative = false;
  if (p < e && (text[p] == '+' || text[p] == '-')) {
    negative = text[p] == '-';
    ++p;
  }
  int mantissaDigits = 0;
  bool point = false;
  for (; p < e; ++p) {
    const char c = text[p];
    if (c >= '0' && c <= '9') {
      s += c;
      ++mantissaDigits;
    } else if (!point && (c == '.' || c == decimalSeparator)) {
      s += '.';
      point = true;
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return false;
  if (p < e && (text[p] == 'e' || text[p] == 'E')) {
    s += 'e';
    ++p;
    if (p < e && (text[p] == '+' || text[p] == '-')) s += text[p++];
    int expDigits = 0;
    for (; p < e && text[p] >= '0' && text[p] <= '9'; ++p, ++expDigits) s += text[p];
    if (expDigits == 0) return false;
  }
  if (p != e) return false;
  Real v = 0;
  auto res = std::from_chars(s.data(), s.data() + s.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // from_chars leaves v untouched. A number too small to hold is zero; one too large is no
    // number the program can hold: it is refused like any other bad text, never an infinity.
    const std::size_t ep = s.find('e');
    const bool tiny = ep != std::string::npos ? s[ep + 1] == '-' : (s[0] == '0' || s[0] == '.');
    if (!tiny) return false;
    v = 0.0L;
  } else if (res.ec != std::errc() || res.ptr != s.data() + s.size()) {
    return false;
  }
  value = negative ? -v : v;
  return true;
}

bool TryParseReal(const std::string& text, Real& value, char decimalSeparator) {
  Real v = 0;
  if (!TryParseExtendedReal(text, v, decimalSeparator) || std::fabs(v) > kLargestGivenNumber)
    return false;
  value = v;
  return true;
}

Real ParseReal(const std::string& text, char decimalSeparator) {
  Real v = 0;
  if (!TryParseReal(text, v, decimalSeparator)) throw std::runtime_error(NotAFloatMessage(text));
  return v;
}

Real ParseExtendedReal(const std::string& text, char decimalSeparator) {
  Real v = 0;
  if (!TryParseExtendedReal(text, v, decimalSeparator))
    throw std::runtime_error(NotAFloatMessage(text));
  return v;
}

}  // namespace quillmere
