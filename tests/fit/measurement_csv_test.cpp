// Measurement files: what the reader accepts and refuses, that the writer's files read back
// unchanged, and that a fit run reads the symmetry table once.
#include "fit/measurement_csv.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "fit/fit_cells.h"
#include "fit/property_kinds.h"
#include "support/test_support.h"
#include "tensor/number_text.h"
#include "tensor/point_group_symbols.h"

namespace quillmere {
namespace {

MeasurementReading Read(const std::string& text, int directions = 1) {
  std::istringstream in(text);
  return ReadMeasurementCsv(in, directions);
}

std::string Messages(const MeasurementReading& r) {
  std::string all;
  for (const std::string& m : r.messages) all += m + "\n";
  return all;
}

TEST(MeasurementCsv, SpreadsheetForms) {
  // "CSV UTF-8" of a spreadsheet: byte-order mark, column names, CRLF line ends.
  MeasurementReading r = Read("\xEF\xBB\xBFu1,u2,u3,y,dy\r\n1,0,0,-5.6,0.1\r\n");
  EXPECT_EQ(r.badLines, 0) << Messages(r);
  ASSERT_EQ(r.table.Count(), 1);
  EXPECT_EQ(r.table.Field(0, 3), "-5.6");

  // A mark before data rather than before column names.
  r = Read(
      "\xEF\xBB\xBF"
      "1,0,0,2.5,0.1\n");
  EXPECT_EQ(r.badLines, 0) << Messages(r);
  ASSERT_EQ(r.table.Count(), 1);
  EXPECT_EQ(r.table.Field(0, 0), "1");

  // Semicolons with decimal commas; the texts keep '.' as the decimal point.
  r = Read("# a comment\n1;0;0;-5,6;0,1 # trailing\n\n0;0;1;25;0\n");
  EXPECT_EQ(r.badLines, 0) << Messages(r);
  ASSERT_EQ(r.table.Count(), 2);
  EXPECT_EQ(r.table.Field(0, 3), "-5.6");
  ASSERT_EQ(r.messages.size(), 1u);
  EXPECT_EQ(r.messages[0], "line 4: dy = 0 is not above 0; the measurement counts with dy = 1");
}

TEST(MeasurementCsv, BadLinesAreAllReportedWithTheirNumbers) {
  const MeasurementReading r =
      Read("1,0,0,1,1\n1,0,0,1\n0,0,x,25,0.1\n0,0,0,1,1\n1,0,0,1e99999,1\n1,0,0,1,1,,,\n");
  EXPECT_EQ(r.badLines, 5);
  const std::string all = Messages(r);
  EXPECT_NE(all.find("line 2: expected 5 numbers (1 direction of 3 cosines, y, dy), found 4"),
            std::string::npos)
      << all;
  EXPECT_NE(all.find("line 3: 'x' is not a valid floating point value"), std::string::npos) << all;
  EXPECT_NE(all.find("line 4: direction 1 has three zero cosines"), std::string::npos) << all;
  // Too large to hold: refused as any other text that is no number.
  EXPECT_NE(all.find("line 5: '1e99999' is not a valid floating point value"), std::string::npos)
      << all;
  EXPECT_NE(all.find("line 6: expected 5 numbers"), std::string::npos) << all;
  EXPECT_NE(all.find("found 8"), std::string::npos) << all;
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

TEST(MeasurementCsv, AHugeLineCostsNoMoreThanItsText) {
  // Ten million separators: keeping every field would take hundreds of megabytes.
  const std::string line = "1" + std::string(10'000'000, ',') + "\n";
  const long before = PeakKilobytes();
  const MeasurementReading r = Read("1,0,0,1,1\n" + line);
  const long grown = PeakKilobytes() - before;
  ASSERT_EQ(r.badLines, 1);
  EXPECT_NE(r.messages[0].find("found 10000001"), std::string::npos) << r.messages[0];
  EXPECT_LT(grown, 100'000) << "peak memory grew by " << grown << " KiB";
}

TEST(MeasurementCsv, ALineBeyondTheLimitIsRefusedQuotingItsStart) {
  const std::string field(kCsvLineLimit + 1, '7');
  try {
    Read("1,0,0,1,1\n" + field + "\n");
    FAIL();
  } catch (const std::runtime_error& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("Line 2 is longer than"), std::string::npos) << text;
    EXPECT_NE(text.find("'" + std::string(40, '7') + "...'"), std::string::npos) << text;
    EXPECT_LT(text.size(), 120u);
  }
  // A bad field in a line within the limit is quoted with its first 40 characters only.
  const MeasurementReading r = Read("1,0,0,x" + std::string(1000, 'y') + ",1\n");
  ASSERT_EQ(r.badLines, 1);
  EXPECT_LT(r.messages[0].size(), 120u) << r.messages[0];
}

TEST(MeasurementCsv, WrittenFilesReadBackUnchanged) {
  MeasurementTable table(2);
  table.fields = {"1",      "0",  "0", "0", "1", "1", "-1.485", "0.01",
                  "0.5e-3", "-2", "3", "1", "1", "1", "2,5",    "1"};
  std::ostringstream out;
  WriteMeasurementCsv(out, table, ',');
  const MeasurementReading r = Read(out.str(), 2);
  EXPECT_EQ(r.badLines, 0) << Messages(r) << out.str();
  ASSERT_EQ(r.table.Count(), 2) << out.str();
  for (int c = 0; c < 8; ++c) EXPECT_EQ(r.table.Field(0, c), table.Field(0, c)) << c;
  EXPECT_EQ(r.table.Field(1, 6), "2.5") << "the window's decimal comma is written as '.'";

  // A text that would change the file's structure is refused, not written.
  table.fields[3] = "1;2";
  std::ostringstream refused;
  EXPECT_THROW(WriteMeasurementCsv(refused, table), std::runtime_error);

  // Through the file-level pair.
  test::TempDir dir;
  table.fields[3] = "0";
  WriteMeasurementCsvFile(dir.path() / "m.csv", table, ',');
  EXPECT_EQ(ReadMeasurementCsvFile(dir.path() / "m.csv", 2).table.fields, r.table.fields);
  EXPECT_THROW(ReadMeasurementCsvFile(dir.path() / "missing.csv", 2), std::runtime_error);
}

TEST(MeasurementCsv, UnitLineRecordsThePowerOfTenAndUnit) {
  MeasurementTable table(1);
  table.fields = {"1", "0", "0", "-5.62", "0.05"};
  table.hasUnit = true;
  table.unitExponent = -6;
  table.unitText = "1/K";
  std::ostringstream out;
  WriteMeasurementCsv(out, table);
  EXPECT_EQ(out.str().substr(0, out.str().find('\n')), "# unit: 1E-6 1/K");
  MeasurementReading r = Read(out.str(), 1);
  EXPECT_TRUE(r.table.hasUnit);
  EXPECT_EQ(r.table.unitExponent, -6);
  EXPECT_EQ(r.table.unitText, "1/K");
  EXPECT_EQ(r.table.fields, table.fields);
  // Without a unit text, with a '+' and after a byte-order mark.
  r = Read("\xEF\xBB\xBF# unit: 1E+3\n1, 0, 0, 2, 1\n", 1);
  EXPECT_TRUE(r.table.hasUnit);
  EXPECT_EQ(r.table.unitExponent, 3);
  EXPECT_EQ(r.table.unitText, "");
  // Files without the line, or with other comments, read as before.
  for (const char* other : {"# y in 10^-6 1/K\n1, 0, 0, 2, 1\n", "1, 0, 0, 2, 1\n",
                            "# unit: 10 1/K\n1, 0, 0, 2, 1\n"}) {
    r = Read(other, 1);
    EXPECT_FALSE(r.table.hasUnit) << other;
    EXPECT_EQ(r.badLines, 0) << other;
    EXPECT_EQ(r.table.Count(), 1) << other;
  }
}

/// Measurement cells that rewrite the symmetry table while the fit reads them.
class TableEditingCells : public MeasurementCells {
 public:
  TableEditingCells(const MeasurementTable& table, const test::TempDir& dir)
      : MeasurementCells(table), dir_(dir) {}
  std::string Value(int k, int column) const override {
    if (k == 1) dir_.Write("tensor.tab", "2 0 0 1,2,3\n");
    return MeasurementCells::Value(k, column);
  }

 private:
  const test::TempDir& dir_;
};

TEST(MeasurementCsv, AFitRunReadsTheTableOnce) {
  test::TempDir dir;
  dir.Write("tensor.tab", "2 0 0 3\n");
  RecordingMessages messages;
  CoreServices services;
  services.programDirectory = dir.path();
  services.messages = &messages;
  const MeasurementReading r = Read("0,0,1,5,0.1\n0,0,2,7,0.1\n0,1,1,3,0.1\n");
  ASSERT_EQ(r.badLines, 0) << Messages(r);
  const TableEditingCells cells(r.table, dir);
  TensorState t;
  SetKind(t, 0);
  t.pointGroup = 2;
  FitWorkspace w({0, 1, 1, 1, 1});
  ASSERT_EQ(RunFit(w, t, cells, services), FitOutcome::Done)
      << (messages.shown.empty() ? "" : messages.shown[0]);
  EXPECT_EQ(w.n, 1);
  EXPECT_EQ(w.m, 3);
  // Weighted mean of 5, 7 and 3/cos45 along z.
  const double expected = (5 + 7 + 3 * std::sqrt(0.5)) / (1 + 1 + 0.5);
  EXPECT_NEAR(static_cast<double>(w.x[1]), expected, 1e-12);
}

TEST(MeasurementCsv, ReadOnceAsTheRunGoesGivesTheNumbersAndTheFitOfTheTable) {
  // Numerals of every form the quick readings take or hand on: each number must be the one
  // the program's own reading gives, bit for bit.
  const std::vector<std::string> numerals = {"0.1",
                                             "-5.62",
                                             "1e-27",
                                             "123456789012345678",
                                             "9.999999999999999999",
                                             "2.5E27",
                                             "1e28",
                                             "0.000",
                                             "-0",
                                             "+3.25",
                                             ".5",
                                             "7.",
                                             "1e-30",
                                             "0.05",
                                             "25.04",
                                             "00012.50",
                                             "-1.5e+3",
                                             "4.63"};
  std::string text = "u1,u2,u3,y,dy\n";
  for (const std::string& n : numerals) text += "1, 0.3, " + n + ", " + n + ", 0.05\n";
  std::istringstream in(text);
  std::vector<Real> got;
  const MeasurementReading fed =
      ReadMeasurementCsv(in, 1, [&](const Real* v) { got.insert(got.end(), v, v + 5); });
  ASSERT_EQ(fed.badLines, 0) << Messages(fed);
  EXPECT_EQ(fed.measurements, static_cast<int>(numerals.size()));
  EXPECT_EQ(fed.table.Count(), 0);
  ASSERT_EQ(got.size(), 5 * numerals.size());
  for (std::size_t k = 0; k < numerals.size(); ++k) {
    const Real want = ParseReal(numerals[k]);
    EXPECT_TRUE(got[5 * k + 2] == want && std::signbit(got[5 * k + 2]) == std::signbit(want))
        << numerals[k];
  }

  // Lines that the one-pass reading of a feed hands on to the field-by-field one keep their
  // notices: a dy not above 0 (still counted), three zero cosines (refused).
  // A unit line after the first measurement is a comment, as in a table.
  std::istringstream odd("1,0,0,2,0\n0,0,0,1,1\n 1 ,2,\t3 ,4,5 \r\n# unit: 1E-6 1/K\n");
  int fedCount = 0;
  const MeasurementReading notices = ReadMeasurementCsv(odd, 1, [&](const Real*) { ++fedCount; });
  EXPECT_EQ(fedCount, 2);
  EXPECT_EQ(notices.badLines, 1);
  EXPECT_FALSE(notices.table.hasUnit);
  EXPECT_EQ(Messages(notices).find("line 1: dy = 0 is not above 0"), 0u) << Messages(notices);
  EXPECT_NE(Messages(notices).find("line 2: direction 1 has three zero cosines"), std::string::npos)
      << Messages(notices);

  // The fit of a feed equals the fit of the same measurements held as texts, to the bit, also
  // when the feed's sums are made in several batches, for rows of every length the sums treat
  // on their own (1, 2, 3) and a longer one.
  test::ShippedTable shipped;
  struct Case {
    const char* kind;
    const char* group;
  };
  for (const Case c : {Case{"piezoelectric", "2"}, Case{"thermal-expansion", "m-3m"},
                       Case{"thermal-expansion", "-3m"}, Case{"thermal-expansion", "mmm"}}) {
    const PropertyKind* kind = FindPropertyKind(c.kind);
    const int directions = DirectionCount(kind->sharingFlags);
    TensorState t;
    for (const PointGroupInfo& g : PointGroups())
      if (std::string(g.conventional) == c.group) t.pointGroup = g.number;
    FitSession session;
    OpenFitForKind(t, session, *kind);
    test::Random random(9);
    std::string data;
    for (int m = 0; m < 600; ++m) {
      for (int i = 0; i < 3 * directions; ++i) data += FormatGeneral(random.Uniform(-1, 1)) + ",";
      data += FormatGeneral(random.Uniform(-3, 3)) + "," +
              FormatGeneral(random.Uniform(0.01, 0.1)) + "\n";
    }
    const MeasurementReading table = Read(data, directions);
    ASSERT_EQ(table.badLines, 0) << Messages(table);
    FitWorkspace fromCells(kind->sharingFlags), fromFeed(kind->sharingFlags);
    TensorState t1 = t, t2 = t;
    ASSERT_EQ(RunFit(fromCells, t1, MeasurementCells(table.table), shipped.services),
              FitOutcome::Done);
    std::istringstream again(data);
    ASSERT_EQ(RunFit(
                  fromFeed, t2,
                  [&](const std::function<void(const Real*)>& add) {
                    ReadMeasurementCsv(again, directions, add);
                  },
                  shipped.services),
              FitOutcome::Done);
    EXPECT_EQ(fromFeed.m, 600) << c.kind << " " << c.group;
    EXPECT_EQ(fromFeed.n, fromCells.n) << c.kind << " " << c.group;
    EXPECT_TRUE(fromFeed.x == fromCells.x && fromFeed.sd == fromCells.sd &&
                fromFeed.chi2 == fromCells.chi2)
        << c.kind << " " << c.group;
  }
}

}  // namespace
}  // namespace quillmere
