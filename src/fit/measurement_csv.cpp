#include "fit/measurement_csv.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string_view>

#include "core/regular_file.h"
#include "files/atomic_file.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

std::string_view Trimmed(std::string_view s) {
  const std::size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string_view::npos) return {};
  return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

/// Splits `line` at `separator`, keeping the first `keep` fields (trimmed, as views into the
/// line). Returns the number of fields.
std::size_t SplitLine(std::string_view line, char separator, std::size_t keep,
                      std::vector<std::string_view>& kept) {
  kept.clear();
  std::size_t count = 0, start = 0;
  for (;;) {
    const std::size_t end = line.find(separator, start);
    const std::string_view piece =
        Trimmed(line.substr(start, end == std::string_view::npos ? end : end - start));
    ++count;
    if (kept.size() < keep) kept.push_back(piece);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return count;
}

/// Short decimal numbers ("-5.62", "0.05", "1e-3") as reading the text gives them, but quicker:
/// the digits as an integer and the power of ten are both exact in the extended numbers, so the
/// one multiplication or division that joins them rounds once, as reading does. False for a
/// text of another form or length, which is then read the usual way.
bool QuickDecimal(std::string_view s, Real& value) {
  // 10^k is exact while 5^k fits the mantissa: up to 10^27 with 64 bits.
  constexpr int kMaxPower = LDBL_MANT_DIG >= 64 ? 27 : 22;
  static const std::array<Real, kMaxPower + 1> kPowers = [] {
    std::array<Real, kMaxPower + 1> p{};
    p[0] = 1;
    for (int k = 1; k <= kMaxPower; ++k) p[k] = p[k - 1] * 10;
    return p;
  }();
  std::size_t i = 0;
  const bool negative = !s.empty() && s[0] == '-';
  if (negative) ++i;
  std::uint64_t digits = 0;
  int count = 0, exponent = 0;
  bool any = false, point = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      any = true;
      if (point) --exponent;
      if (digits == 0 && c == '0') continue;  // leading zeros
      if (++count > 19) return false;
      digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (!any) return false;
  if (i < s.size()) {
    if (s[i] != 'e' && s[i] != 'E') return false;
    ++i;
    const bool down = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    int e = 0, places = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
      if (++places > 4) return false;
      e = e * 10 + (s[i] - '0');
    }
    if (places == 0 || i != s.size()) return false;
    exponent += down ? -e : e;
  }
  if constexpr (LDBL_MANT_DIG < 64)
    if (digits >> LDBL_MANT_DIG) return false;
  if (exponent < -kMaxPower || exponent > kMaxPower) return false;
  const Real m = static_cast<Real>(digits);
  const Real v = exponent < 0 ? m / kPowers[static_cast<std::size_t>(-exponent)]
                              : m * kPowers[static_cast<std::size_t>(exponent)];
  value = negative ? -v : v;
  return true;
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
bool ReadUnitLine(const std::string& line, int& exponent, std::string& unitText) {
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

/// Reads one line of at most kCsvLineLimit bytes; a longer one refuses the file.
bool ReadBoundedLine(std::istream& in, std::string& line, long long number) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  for (;;) {
    const int c = buffer ? buffer->sbumpc() : EOF;
    if (c == EOF) {
      in.setstate(std::ios::eofbit);
      return !line.empty();
    }
    if (c == '\n') return true;
    if (line.size() >= kCsvLineLimit)
      throw std::runtime_error("Line " + std::to_string(number) + " is longer than " +
                               std::to_string(kCsvLineLimit) + " bytes: '" + QuoteForMessage(line) +
                               "'");
    line += static_cast<char>(c);
  }
}

/// The reading proper: every good measurement is handed to `good` with its fields and numbers.
template <typename Good>
MeasurementReading Read(std::istream& in, int directionCount, const Good& good) {
  MeasurementReading result{MeasurementTable(directionCount), {}, 0};
  const std::size_t expected = result.table.Width();
  char separator = 0;
  bool firstContent = true;
  std::string line;
  std::vector<std::string_view> fields;
  std::vector<Real> values(expected);
  for (long long number = 1; ReadBoundedLine(in, line, number); ++number) {
    // Spreadsheets mark the files they save as "CSV UTF-8" with a byte-order mark.
    if (number == 1 && line.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0)
      line.erase(0, kByteOrderMark.size());
    if (result.table.Count() == 0 && !result.table.hasUnit &&
        ReadUnitLine(line, result.table.unitExponent, result.table.unitText)) {
      result.table.hasUnit = true;
      continue;
    }
    const std::string_view content = Trimmed(std::string_view(line).substr(0, line.find('#')));
    if (content.empty()) continue;
    if (!separator) separator = content.find(';') != std::string_view::npos ? ';' : ',';
    const char decimalComma = separator == ';' ? ',' : '.';
    // A first line without any number names the columns; one with a typing error is data.
    if (firstContent) {
      firstContent = false;
      if (!AnyNumber(content, separator, decimalComma)) continue;
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
      for (int d = 0; d < directionCount && problem.empty(); ++d)
        if (values[3 * d] == 0 && values[3 * d + 1] == 0 && values[3 * d + 2] == 0)
          problem = "direction " + std::to_string(d + 1) + " has three zero cosines";
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
      in, directionCount,
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
  return Read(in, directionCount,
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

std::string MeasurementCells::DirectionCell(int column, int row) const {
  const int d = table_.directionCount;
  const int k = row / d - 1, direction = row % d;
  if (k < 0 || k >= table_.Count() || column < 1 || column > 3) return "";
  return table_.Field(k, 3 * direction + column - 1);
}

std::string MeasurementCells::ValueCell(int column, int row) const {
  if (row < 1 || row > table_.Count() || column < 0 || column > 1) return "";
  return table_.Field(row - 1, 3 * table_.directionCount + column);
}

}  // namespace quillmere
