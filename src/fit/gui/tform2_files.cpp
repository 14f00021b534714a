// TForm2: the measurements as texts, the clipboard, and the measurement files.
#include <QApplication>
#include <QClipboard>
#include <algorithm>

#include "fit/gui/tform2.h"
#include "fit/measurement_csv.h"
#include "platform/dialogs.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

QString Q(const std::string& s) {
  return FromUtf8(s);
}

/// Fields of one pasted line: tab-separated when it holds a tab, else by ';' when it holds one,
/// else by ','.
QStringList PastedFields(const QString& line) {
  const QChar separator = line.contains('\t')  ? QChar('\t')
                          : line.contains(';') ? QChar(';')
                                               : QChar(',');
  QStringList fields = line.split(separator);
  for (QString& f : fields) f = f.trimmed();
  return fields;
}

}  // namespace

// ---- Clipboard ----------------------------------------------------------------------------------

bool TForm2::PasteMeasurements(const QString& text, int first) {
  const int expected = 3 * directions_ + 2;
  std::vector<std::vector<std::string>> rows;
  int lineNumber = 0;
  for (QString line : text.split('\n')) {
    ++lineNumber;
    line = line.trimmed();
    if (line.isEmpty()) continue;
    const QStringList fields = PastedFields(line);
    std::vector<std::string> row;
    bool anyNumber = false, allNumbers = true;
    for (const QString& f : fields) {
      Real v = 0;
      const bool number = TryParseReal(ToUtf8(f), v, services_.decimalSeparator);
      anyNumber = anyNumber || number;
      allNumbers = allNumbers && number;
      row.push_back(ToUtf8(f));
    }
    // A first line without numbers names the columns.
    if (rows.empty() && !anyNumber) continue;
    if (static_cast<int>(fields.size()) != expected || !allNumbers) {
      services_.Tell("Nothing pasted: line " + std::to_string(lineNumber) + " holds " +
                     std::to_string(fields.size()) + " fields" +
                     (allNumbers ? "" : " (not all of them numbers)") + "; a measurement is " +
                     std::to_string(expected) + " numbers: " + std::to_string(directions_) +
                     " direction" + (directions_ > 1 ? "s" : "") + " of 3 cosines, y and dy");
      return false;
    }
    rows.push_back(std::move(row));
  }
  if (rows.empty()) return false;
  std::vector<std::vector<std::string>> all = MeasurementTexts();
  first = std::clamp(first, 0, static_cast<int>(all.size()));
  if (all.size() < first + rows.size()) all.resize(first + rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) all[first + i] = rows[i];
  SetMeasurementTexts(all);
  return true;
}

void TForm2::PasteIntoGrid(FitGrid* grid) {
  CommitEditors();
  int first = 0;
  const int row = grid->currentRow();
  if (grid == StringGrid1 && row >= directions_) first = row / directions_ - 1;
  if (grid == StringGrid2 && row >= 1) first = row - 1;
  PasteMeasurements(QApplication::clipboard()->text(), first);
}

QString TForm2::ResultTableText() const {
  QStringList lines;
  for (int r = 0; r < StringGrid3->rowCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < StringGrid3->columnCount(); ++c) cells << StringGrid3->cellText(c, r);
    lines << cells.join('\t');
  }
  return lines.join('\n') + '\n';
}

void TForm2::CopyTable(const FitGrid* grid) {
  // The result table always goes whole, with its headings; the other grids copy the selection.
  QString text;
  if (grid == StringGrid3) {
    text = ResultTableText();
  } else {
    const QList<QTableWidgetSelectionRange> ranges = grid->selectedRanges();
    if (ranges.isEmpty()) return;
    const QTableWidgetSelectionRange& r = ranges.first();
    QStringList lines;
    for (int row = r.topRow(); row <= r.bottomRow(); ++row) {
      QStringList cells;
      for (int c = r.leftColumn(); c <= r.rightColumn(); ++c) cells << grid->cellText(c, row);
      lines << cells.join('\t');
    }
    text = lines.join('\n') + '\n';
  }
  QApplication::clipboard()->setText(text);
}

std::vector<std::vector<std::string>> TForm2::MeasurementTexts() const {
  std::vector<std::vector<std::string>> rows;
  for (int k = 0; k < measurementCount(); ++k) {
    std::vector<std::string> row;
    for (int d = 1; d <= directions_; ++d)
      for (int axis = 0; axis < 3; ++axis) row.push_back(Cosine(k, d, axis));
    row.push_back(Value(k, 0));
    row.push_back(Value(k, 1));
    rows.push_back(std::move(row));
  }
  return rows;
}

void TForm2::SetMeasurementTexts(const std::vector<std::vector<std::string>>& rows) {
  SetMeasurementCount(static_cast<int>(rows.size()));
  filling_ = true;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const std::vector<std::string>& row = rows[k];
    const auto field = [&row](std::size_t i) { return i < row.size() ? Q(row[i]) : QString(); };
    for (int d = 1; d <= directions_; ++d)
      for (int column = 1; column <= 3; ++column)
        StringGrid1->setCell(column, DirectionGridRow(directions_, static_cast<int>(k), d),
                             field(static_cast<std::size_t>(3 * (d - 1) + column - 1)), true);
    StringGrid2->setCell(0, static_cast<int>(k) + 1, field(3 * directions_), true);
    StringGrid2->setCell(1, static_cast<int>(k) + 1, field(3 * directions_ + 1), true);
  }
  filling_ = false;
  ClearResiduals();
  FitSizes();
}

// ---- Files --------------------------------------------------------------------------------------

namespace {

FileDialogRequest MeasurementFileRequest(const QString& title, const std::string& proposed) {
  FileDialogRequest r;
  r.title = title;
  r.filter = "Measurements (*.csv)|*.csv|All files|*.*";
  r.defaultExtension = QStringLiteral("csv");
  r.proposedPath = FromUtf8(proposed);
  return r;
}

}  // namespace

void TForm2::LoadClick() {
  CommitEditors();
  const std::optional<QString> chosen =
      dialogs_.OpenFileName(MeasurementFileRequest(QStringLiteral("Load measurements"), lastFile_));
  if (!chosen) return;
  const std::string path = ToUtf8(*chosen);
  const MeasurementReading reading = ReadMeasurementCsvFile(path, directions_);
  if (reading.badLines > 0 || reading.table.Count() == 0) {
    // The grids keep what they hold; the user reads what is wrong with the file.
    std::string text = path + ": ";
    text += reading.badLines > 0 ? "nothing was loaded" : "no measurements; nothing was loaded";
    int shown = 0;
    for (const std::string& m : reading.messages) {
      if (m.find("line ") != 0 || ++shown > 10) continue;
      text += "\n" + m;
    }
    if (shown > 10) text += "\n(" + std::to_string(shown - 10) + " more)";
    services_.Tell(text);
    return;
  }
  lastFile_ = path;
  std::vector<std::vector<std::string>> rows;
  for (int k = 0; k < reading.table.Count(); ++k) {
    std::vector<std::string> row;
    for (std::size_t c = 0; c < reading.table.Width(); ++c) {
      std::string text = reading.table.Field(k, static_cast<int>(c));
      // The file's numbers use '.'; the grids show the separator the user types.
      for (char& ch : text)
        if (ch == '.') ch = services_.decimalSeparator;
      row.push_back(std::move(text));
    }
    rows.push_back(std::move(row));
  }
  SetMeasurementTexts(rows);
  if (reading.table.hasUnit) {
    // The values are in the file's unit: it becomes the measurements' and the tensor's.
    measurementScale_ = std::pow(10.0L, static_cast<Real>(reading.table.unitExponent));
    t_.scale = measurementScale_;
    t_.unitText = reading.table.unitText;
    if (hooks_.refresh) hooks_.refresh();
    RefreshUnit();
  }
}

void TForm2::SaveClick() {
  CommitEditors();
  MeasurementTable table(directions_);
  table.hasUnit = true;
  table.unitExponent = DecadeExponent(measurementScale_);
  table.unitText = t_.unitText;
  const std::vector<std::vector<std::string>> rows = MeasurementTexts();
  for (std::size_t k = 0; k < rows.size(); ++k)
    for (const std::string& text : rows[k]) {
      // A file the reader would refuse is not written: the user fills in the cell first.
      Real v = 0;
      if (!TryParseReal(text, v, services_.decimalSeparator)) {
        services_.Tell("Measurement " + std::to_string(k + 1) + ": '" + text +
                       "' is not a number; nothing was saved");
        return;
      }
      table.fields.push_back(text);
    }
  const std::optional<QString> chosen =
      dialogs_.SaveFileName(MeasurementFileRequest(QStringLiteral("Save measurements"), lastFile_));
  if (!chosen) return;
  const std::string path = ToUtf8(*chosen);
  WriteMeasurementCsvFile(path, table, services_.decimalSeparator);
  lastFile_ = path;
}

}  // namespace quillmere
