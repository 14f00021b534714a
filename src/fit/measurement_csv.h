// Measurement files of the fit: one measurement a line, the three direction cosines of each
// measuring direction, then the measured value y and its error dy.
//
// Reading: fields are separated by commas, or by semicolons when the first data line has one
// (then a decimal comma is accepted too); '#' starts a comment, and a comment line
// "# unit: 1E<exponent> <unit text>" before the data gives the unit of y and dy; a first line
// without any number names the columns; a leading UTF-8 byte-order mark is skipped. Every bad line
// is reported with its number and the file is then refused as a whole; nothing is thrown for bad
// content. Writing: the unit line when the table has a unit, a line of column names, then the
// measurements separated by commas with '.' as the decimal point, so that the reader reads back the
// same texts.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "fit/fit_engine.h"

namespace quillmere {

/// Measurements as texts with '.' as the decimal point, 3*D + 2 fields each: the D directions'
/// cosines (direction 1 first), then y and dy.
struct MeasurementTable {
  explicit MeasurementTable(int directions = 1) : directionCount(directions) {}

  int directionCount;
  std::vector<std::string> fields;  ///< measurement k occupies [k*Width(), (k+1)*Width())
  /// The unit the values y and dy are given in: 10^unitExponent times unitText. Written as the
  /// file's first line "# unit: 1E-6 1/K" and read back from it; a file without that line
  /// leaves hasUnit false.
  bool hasUnit = false;
  int unitExponent = 0;
  std::string unitText;

  std::size_t Width() const { return static_cast<std::size_t>(3 * directionCount + 2); }
  int Count() const { return static_cast<int>(fields.size() / Width()); }
  /// Field `column` (0-based) of measurement k (0-based).
  const std::string& Field(int k, int column) const {
    return fields[static_cast<std::size_t>(k) * Width() + static_cast<std::size_t>(column)];
  }
};

/// What reading a measurement file found.
struct MeasurementReading {
  MeasurementTable table;
  /// "line N: ..." texts in the order of the file: the bad lines and the notices of a dy that
  /// is not above 0 (such a measurement still counts, with dy = 1).
  std::vector<std::string> messages;
  int badLines = 0;      ///< the table may only be used when this is 0
  int measurements = 0;  ///< good measurements read
};

/// Longest line of a measurement file (bytes); a longer one refuses the file.
inline constexpr std::size_t kCsvLineLimit = 16 << 20;

/// Reads measurements of `directionCount` (1..3) directions each. A line's fields beyond the
/// ones a measurement uses are counted but not kept. Throws std::runtime_error for a line longer
/// than kCsvLineLimit.
MeasurementReading ReadMeasurementCsv(std::istream& in, int directionCount);

/// As above, but each good measurement's 3 D + 2 numbers (cosines, y, dy as read) are handed to
/// `measurement` as the line is read, and the table stays empty: a file of any length takes no
/// more memory than its longest line.
MeasurementReading ReadMeasurementCsv(std::istream& in, int directionCount,
                                      const std::function<void(const Real* numbers)>& measurement);

/// Throws std::runtime_error("File not found: ...") when the file cannot be opened, and
/// "'<path>' is not a regular file" for a FIFO, a device or a socket.
MeasurementReading ReadMeasurementCsvFile(const std::filesystem::path& path, int directionCount);
/// The same, handing each measurement over as it is read (see above).
MeasurementReading ReadMeasurementCsvFile(
    const std::filesystem::path& path, int directionCount,
    const std::function<void(const Real* numbers)>& measurement);

/// Writes the column names and the measurements. Texts may use `decimalSeparator` as their
/// decimal point (it is written as '.'). Throws std::runtime_error naming the measurement when
/// a text holds a character that would change the file's structure (separators, '#', quotes,
/// line ends).
void WriteMeasurementCsv(std::ostream& out, const MeasurementTable& table,
                         char decimalSeparator = '.');

/// WriteMeasurementCsv through the atomic replacement of the file.
void WriteMeasurementCsvFile(const std::filesystem::path& path, const MeasurementTable& table,
                             char decimalSeparator = '.');

/// The measurements of a table, for RunFit.
class MeasurementCells : public FitCells {
 public:
  explicit MeasurementCells(const MeasurementTable& table) : table_(table) {}
  int MeasurementCount() const override { return table_.Count(); }
  std::string Cosine(int k, int d, int axis) const override;
  std::string Value(int k, int column) const override;

 private:
  const MeasurementTable& table_;
};

}  // namespace quillmere
