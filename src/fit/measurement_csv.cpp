#include "fit/measurement_csv.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "core/regular_file.h"
#include "files/atomic_file.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

bool Blank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view Trimmed(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && Blank(s[b])) ++b;
  while (e > b && Blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

/// Splits `line` at `separator`, keeping the first `keep` fields (trimmed, as views into the
/// line). Returns the number of fields.
std::size_t SplitLine(std::string_view line, char separator, std::size_t keep,
                      std::vector<std::string_view>& kept) {
  // Fields are short: a plain scan finds their ends quicker than a library search per field.
  kept.clear();
  std::size_t count = 0, start = 0;
  for (std::size_t i = 0;; ++i) {
    if (i < line.size() && line[i] != separator) continue;
    ++count;
    if (kept.size() < keep) kept.push_back(Trimmed(line.substr(start, i - start)));
    if (i == line.size()) break;
    start = i + 1;
  }
  return count;
}

// 10^k is exact in the extended numbers while 5^k fits the mantissa: up to 10^27 with 64 bits.
constexpr int kMaxPower = LDBL_MANT_DIG >= 64 ? 27 : 22;
constexpr std::array<Real, kMaxPower + 1> kPowers = [] {
  std::array<Real, kMaxPower + 1> p{};
  p[0] = 1;
  for (int k = 1; k <= kMaxPower; ++k) p[k] = p[k - 1] * 10;
  return p;
}();

/// A short decimal number ("-5.62", "0.05", "1e-3") at the start of [p, end), as reading the
/// text gives it, but quicker: the digits as an integer and the power of ten are both exact in
/// the extended numbers, so the one multiplication or division that joins them rounds once, as
/// reading does. Returns where the number ends, or nullptr for a text of another form or length,
/// which is then read the usual way.
const char* QuickNumber(const char* p, const char* end, Real& value) {
  const bool negative = p < end && *p == '-';
  if (negative) ++p;
  // The digits before and after the point in two tight loops; leading zeros do not count
  // towards the 19 digits an unsigned 64-bit integer holds (a longer text overflows it, but is
  // then refused below).
  auto isDigit = [](char c) { return static_cast<unsigned>(c - '0') < 10; };
  std::uint64_t digits = 0;
  const char* const integer = p;
  while (p < end && *p == '0') ++p;
  const char* significant = p;
  for (; p < end && isDigit(*p); ++p) digits = digits * 10 + static_cast<unsigned>(*p - '0');
  std::ptrdiff_t count = p - significant;
  bool any = p > integer;
  int exponent = 0;
  if (p < end && *p == '.') {
    const char* const fraction = ++p;
    if (digits == 0)
      while (p < end && *p == '0') ++p;
    significant = p;
    for (; p < end && isDigit(*p); ++p) digits = digits * 10 + static_cast<unsigned>(*p - '0');
    count += p - significant;
    exponent = -static_cast<int>(p - fraction);
    any = any || p > fraction;
  }
  if (!any || count > 19) return nullptr;
  if (p < end && (*p == 'e' || *p == 'E')) {
    ++p;
    const bool down = p < end && *p == '-';
    if (p < end && (*p == '+' || *p == '-')) ++p;
    int e = 0, places = 0;
    for (; p < end && isDigit(*p); ++p) {
      if (++places > 4) return nullptr;
      e = e * 10 + (*p - '0');
    }
    if (places == 0) return nullptr;
    exponent += down ? -e : e;
  }
  if constexpr (LDBL_MANT_DIG < 64)
    if (digits >> LDBL_MANT_DIG) return nullptr;
  if (exponent < -kMaxPower || exponent > kMaxPower) return nullptr;
  // Below 2^63 the digits convert as a signed integer, in one instruction on x86-64.
  const Real m = digits >> 63 ? static_cast<Real>(digits)
                              : static_cast<Real>(static_cast<std::int64_t>(digits));
  const Real v = exponent == 0  ? m
                 : exponent < 0 ? m / kPowers[static_cast<std::size_t>(-exponent)]
                                : m * kPowers[static_cast<std::size_t>(exponent)];
  value = negative ? -v : v;
  return p;
}

/// QuickNumber on a whole field.
bool QuickDecimal(std::string_view s, Real& value) {
  return QuickNumber(s.data(), s.data() + s.size(), value) == s.data() + s.size();
}

/// A line of `count` short decimal numbers separated by commas (blanks around them allowed)
/// read in one pass: the same numbers as splitting the line and reading each field, for the
/// usual lines of a long file. False for anything else, which is then read field by field.
bool QuickLine(std::string_view line, std::size_t count, Real* values) {
  const char* p = line.data();
  const char* const end = p + line.size();
  for (std::size_t i = 0; i < count; ++i) {
    while (p < end && Blank(*p)) ++p;
    p = QuickNumber(p, end, values[i]);
    if (!p) return false;
    while (p < end && Blank(*p)) ++p;
    if (i + 1 < count) {
      if (p == end || *p != ',') return false;
      ++p;
    }
  }
  return p == end;
}

/// A field as a number: QuickDecimal or std::from_chars on the usual form (the quick ways for
/// long files), the program's own reading (blanks, '+', a decimal comma) otherwise.
bool FieldNumber(std::string_view field, Real& value, char decimalComma) {
  if (!field.empty() && field.front() != '+' && decimalComma == '.') {
    if (QuickDecimal(field, value)) return true;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error == std::errc() && end == field.data() + field.size() && std::isfinite(value))
      return true;
  }
  return TryParseReal(std::string(field), value, decimalComma) && std::isfinite(value);
}

/// Whether any field of the line is a number (a first line without one names the columns).
bool AnyNumber(std::string_view line, char separator, char decimalComma) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(separator, start);
    const std::string_view piece =
        Trimmed(line.substr(start, end == std::string_view::npos ? end : end - start));
    Real ignored;
    if (!piece.empty() && TryParseReal(std::string(piece), ignored, decimalComma)) return true;
    if (end == std::string_view::npos) return false;
    start = end + 1;
  }
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUnitComment = "# unit:";

/// A comment line "# unit: 1E<exponent> <unit text>": the exponent and the text after it.
bool ReadUnitLine(std::string_view line, int& exponent, std::string& unitText) {
  std::string_view rest = Trimmed(line);
  if (rest.substr(0, kUnitComment.size()) != kUnitComment) return false;
  rest = Trimmed(rest.substr(kUnitComment.size()));
  const std::size_t blank = rest.find_first_of(" \t");
  const std::string_view power = rest.substr(0, blank);
  if (power.size() < 3 || power[0] != '1' || (power[1] != 'E' && power[1] != 'e')) return false;
  int value = 0;
  const char* first = power.data() + 2;
  if (*first == '+') ++first;
  const auto [end, ec] = std::from_chars(first, power.data() + power.size(), value);
  if (ec != std::errc() || end != power.data() + power.size() || value < -4000 || value > 4000)
    return false;
  exponent = value;
  unitText =
      blank == std::string_view::npos ? std::string() : std::string(Trimmed(rest.substr(blank)));
  return true;
}

/// The lines of a stream, read in large blocks: a line is handed out as a view into the block
/// that holds it, or into a spill buffer when it crosses the end of a block. A line longer than
/// kCsvLineLimit bytes refuses the file.
class LineReader {
 public:
  explicit LineReader(std::istream& in) : in_(in), block_(kBlockSize) {}

  /// The next line without its '\n'; false at the end (a last line without '\n' still counts).
  bool Next(std::string_view& line, long long number) {
    spill_.clear();
    for (;;) {
      const char* start = block_.data() + begin_;
      const char* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
      const std::size_t length =
          newline ? static_cast<std::size_t>(newline - start) : end_ - begin_;
      if (spill_.size() + length > kCsvLineLimit) {
        spill_.append(start, kCsvLineLimit - spill_.size());
        throw std::runtime_error("Line " + std::to_string(number) + " is longer than " +
                                 std::to_string(kCsvLineLimit) + " bytes: '" +
                                 QuoteForMessage(spill_) + "'");
      }
      if (newline) {
        begin_ += length + 1;
        if (spill_.empty()) {
          line = std::string_view(start, length);
        } else {
          spill_.append(start, length);
          line = spill_;
        }
        return true;
      }
      spill_.append(start, length);
      if (!Refill()) {
        line = spill_;
        return !spill_.empty();
      }
    }
  }

 private:
  static constexpr std::size_t kBlockSize = 1 << 18;

  bool Refill() {
    begin_ = end_ = 0;
    std::streambuf* buffer = in_.rdbuf();
    const std::streamsize got =
        buffer ? buffer->sgetn(block_.data(), static_cast<std::streamsize>(block_.size())) : 0;
    if (got <= 0) {
      in_.setstate(std::ios::eofbit);
      return false;
    }
    end_ = static_cast<std::size_t>(got);
    return true;
  }

  std::istream& in_;
  std::vector<char> block_;
  std::size_t begin_ = 0, end_ = 0;
  std::string spill_;
};

/// The first direction (1..D) whose three cosines are 0, or 0 when there is none.
int ZeroDirection(const Real* values, int directionCount) {
  for (int d = 0; d < directionCount; ++d)
    if (values[3 * d] == 0 && values[3 * d + 1] == 0 && values[3 * d + 2] == 0) return d + 1;
  return 0;
}

/// The reading proper: every good measurement is handed to `good` with its numbers, and with
/// its fields when `keepTexts` is set (else the fields may be left empty).
template <typename Good>
MeasurementReading Read(std::istream& in, int directionCount, bool keepTexts, const Good& good) {
  MeasurementReading result{MeasurementTable(directionCount), {}, 0};
  const std::size_t expected = result.table.Width();
  char separator = 0;
  bool firstContent = true;
  LineReader lines(in);
  std::string_view line;
  std::vector<std::string_view> fields;
  std::vector<Real> values(expected);
  for (long long number = 1; lines.Next(line, number); ++number) {
    // Spreadsheets mark the files they save as "CSV UTF-8" with a byte-order mark.
    if (number == 1 && line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
      line.remove_prefix(kByteOrderMark.size());
    // The unit line counts only before the first measurement (a file read as a feed keeps no
    // table to tell).
    if (result.measurements == 0 && !result.table.hasUnit &&
        ReadUnitLine(line, result.table.unitExponent, result.table.unitText)) {
      result.table.hasUnit = true;
      continue;
    }
    const std::string_view content = Trimmed(line.substr(0, line.find('#')));
    if (content.empty()) continue;
    if (!separator) separator = content.find(';') != std::string_view::npos ? ';' : ',';
    const char decimalComma = separator == ';' ? ',' : '.';
    // A first line without any number names the columns; one with a typing error is data.
    if (firstContent) {
      firstContent = false;
      if (!AnyNumber(content, separator, decimalComma)) continue;
    }
    // The usual line of a long file, when its texts are not kept: read in one pass.
    if (!keepTexts && separator == ',' && QuickLine(content, expected, values.data()) &&
        values[expected - 1] > 0 && !ZeroDirection(values.data(), directionCount)) {
      ++result.measurements;
      good(result, fields, values.data());
      continue;
    }
    const std::size_t count = SplitLine(content, separator, expected, fields);

    std::string problem;
    if (count != expected) {
      problem = "expected " + std::to_string(expected) + " numbers (" +
                std::to_string(directionCount) + " direction" + (directionCount > 1 ? "s" : "") +
                " of 3 cosines, y, dy), found " + std::to_string(count);
    } else {
      for (std::size_t i = 0; i < expected && problem.empty(); ++i) {
        if (!FieldNumber(fields[i], values[i], decimalComma)) {
          const std::string text(fields[i]);
          Real any;
          problem = TryParseReal(text, any, decimalComma)
                        ? "'" + QuoteForMessage(text) + "' is not a finite number"
                        : NotAFloatMessage(text);
        }
      }
      if (problem.empty() && ZeroDirection(values.data(), directionCount))
        problem = "direction " + std::to_string(ZeroDirection(values.data(), directionCount)) +
                  " has three zero cosines";
    }
    if (!problem.empty()) {
      result.messages.push_back("line " + std::to_string(number) + ": " + problem);
      ++result.badLines;
      continue;
    }
    if (!(values[expected - 1] > 0))
      result.messages.push_back("line " + std::to_string(number) +
                                ": dy = " + QuoteForMessage(std::string(fields[expected - 1])) +
                                " is not above 0; the measurement counts with dy = 1");
    ++result.measurements;
    good(result, fields, values.data());
  }
  return result;
}

}  // namespace

MeasurementReading ReadMeasurementCsv(std::istream& in, int directionCount) {
  return Read(
      in, directionCount, true,
      [](MeasurementReading& result, const std::vector<std::string_view>& fields, const Real*) {
        for (const std::string_view f : fields) {
          std::string& text = result.table.fields.emplace_back(f);
          for (char& c : text)
            if (c == ',') c = '.';
        }
      });
}

MeasurementReading ReadMeasurementCsv(std::istream& in, int directionCount,
                                      const std::function<void(const Real* numbers)>& measurement) {
  return Read(in, directionCount, false,
              [&](MeasurementReading&, const std::vector<std::string_view>&, const Real* numbers) {
                measurement(numbers);
              });
}

namespace {

/// The file opened for reading: "File not found: ..." when it is missing, the opener's text
/// when it is no regular file.
std::unique_ptr<RegularFileStream> OpenMeasurementFile(const std::filesystem::path& path) {
  try {
    return std::make_unique<RegularFileStream>(path);
  } catch (const FileNotOpened& e) {
    throw std::runtime_error(e.missing ? "File not found: " + path.string() : e.what());
  }
}

}  // namespace

MeasurementReading ReadMeasurementCsvFile(const std::filesystem::path& path, int directionCount) {
  return ReadMeasurementCsv(*OpenMeasurementFile(path), directionCount);
}

MeasurementReading ReadMeasurementCsvFile(
    const std::filesystem::path& path, int directionCount,
    const std::function<void(const Real* numbers)>& measurement) {
  return ReadMeasurementCsv(*OpenMeasurementFile(path), directionCount, measurement);
}

void WriteMeasurementCsv(std::ostream& out, const MeasurementTable& table, char decimalSeparator) {
  if (table.hasUnit) {
    if (table.unitText.find_first_of("\r\n") != std::string::npos)
      throw std::runtime_error("The unit text cannot be written to a measurement file");
    out << kUnitComment << " 1E" << table.unitExponent;
    if (!table.unitText.empty()) out << ' ' << table.unitText;
    out << '\n';
  }
  const char names[] = {'u', 'v', 'w'};
  for (int d = 0; d < table.directionCount; ++d)
    for (int c = 1; c <= 3; ++c) out << names[d] << c << ", ";
  out << "y, dy\n";
  const std::size_t width = table.Width();
  for (int k = 0; k < table.Count(); ++k) {
    for (std::size_t c = 0; c < width; ++c) {
      std::string text = table.Field(k, static_cast<int>(c));
      if (decimalSeparator != '.')
        for (char& ch : text)
          if (ch == decimalSeparator) ch = '.';
      if (text.find_first_of(",;#\"\r\n") != std::string::npos)
        throw std::runtime_error("Measurement " + std::to_string(k + 1) + ": '" + text +
                                 "' cannot be written to a measurement file");
      out << text << (c + 1 < width ? ", " : "\n");
    }
  }
}

void WriteMeasurementCsvFile(const std::filesystem::path& path, const MeasurementTable& table,
                             char decimalSeparator) {
  WriteFileAtomically(
      path, [&](std::ostream& out) { WriteMeasurementCsv(out, table, decimalSeparator); });
}

std::string MeasurementCells::Cosine(int k, int d, int axis) const {
  if (k < 0 || k >= table_.Count() || d < 1 || d > table_.directionCount || axis < 0 || axis > 2)
    return "";
  return table_.Field(k, 3 * (d - 1) + axis);
}

std::string MeasurementCells::Value(int k, int column) const {
  if (k < 0 || k >= table_.Count() || column < 0 || column > 1) return "";
  return table_.Field(k, 3 * table_.directionCount + column);
}

}  // namespace quillmere
