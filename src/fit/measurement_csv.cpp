#include "fit/measurement_csv.h"

#include <cmath>
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

/// Splits `line` at `separator`, keeping the first `keep` fields (trimmed). Returns the number
/// of fields and whether any of them, kept or not, is a number.
std::size_t SplitLine(std::string_view line, char separator, char decimalComma, std::size_t keep,
                      std::vector<std::string>& kept, bool& anyNumber) {
  kept.clear();
  anyNumber = false;
  std::size_t count = 0, start = 0;
  std::string field;
  for (;;) {
    const std::size_t end = line.find(separator, start);
    const std::string_view piece =
        Trimmed(line.substr(start, end == std::string_view::npos ? end : end - start));
    ++count;
    // Empty fields are never numbers; checking only the others keeps a line of nothing but
    // separators cheap.
    if (!piece.empty()) {
      field.assign(piece);
      Real ignored;
      if (!anyNumber && TryParseReal(field, ignored, decimalComma)) anyNumber = true;
      if (kept.size() < keep) kept.push_back(field);
    } else if (kept.size() < keep) {
      kept.emplace_back();
    }
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return count;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

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

}  // namespace

MeasurementReading ReadMeasurementCsv(std::istream& in, int directionCount) {
  MeasurementReading result{MeasurementTable(directionCount), {}, 0};
  const std::size_t expected = result.table.Width();
  char separator = 0;
  bool firstContent = true;
  std::string line;
  std::vector<std::string> fields;
  std::vector<Real> values(expected);
  for (long long number = 1; ReadBoundedLine(in, line, number); ++number) {
    // Spreadsheets mark the files they save as "CSV UTF-8" with a byte-order mark.
    if (number == 1 && line.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0)
      line.erase(0, kByteOrderMark.size());
    const std::string_view content = Trimmed(std::string_view(line).substr(0, line.find('#')));
    if (content.empty()) continue;
    if (!separator) separator = content.find(';') != std::string_view::npos ? ';' : ',';
    const char decimalComma = separator == ';' ? ',' : '.';
    bool anyNumber = false;
    const std::size_t count =
        SplitLine(content, separator, decimalComma, expected, fields, anyNumber);
    // A first line without any number names the columns; one with a typing error is data.
    if (firstContent && !anyNumber) {
      firstContent = false;
      continue;
    }
    firstContent = false;

    std::string problem;
    if (count != expected) {
      problem = "expected " + std::to_string(expected) + " numbers (" +
                std::to_string(directionCount) + " direction" + (directionCount > 1 ? "s" : "") +
                " of 3 cosines, y, dy), found " + std::to_string(count);
    } else {
      for (std::size_t i = 0; i < expected && problem.empty(); ++i) {
        if (!TryParseReal(fields[i], values[i], decimalComma))
          problem = NotAFloatMessage(fields[i]);
        else if (!std::isfinite(values[i]))
          problem = "'" + QuoteForMessage(fields[i]) + "' is not a finite number";
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
                                ": dy = " + QuoteForMessage(fields[expected - 1]) +
                                " is not above 0; the measurement counts with dy = 1");
    for (std::string& f : fields) {
      for (char& c : f)
        if (c == ',') c = '.';
      result.table.fields.push_back(std::move(f));
    }
  }
  return result;
}

MeasurementReading ReadMeasurementCsvFile(const std::filesystem::path& path, int directionCount) {
  std::unique_ptr<RegularFileStream> in;
  try {
    in = std::make_unique<RegularFileStream>(path);
  } catch (const FileNotOpened& e) {
    throw std::runtime_error(e.missing ? "File not found: " + path.string() : e.what());
  }
  return ReadMeasurementCsv(*in, directionCount);
}

void WriteMeasurementCsv(std::ostream& out, const MeasurementTable& table, char decimalSeparator) {
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
