#include "files/tensor_file.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "support/test_support.h"

namespace quillmere {
namespace {

using test::ReadFile;
using test::TempDir;

// A small table of our own: (ij) in 4/mmm and in 1, i(jk) in 32, and i(jk) in m-3m, which does
// not exist and therefore goes to the headerless layout.
const char kTable[] =
    "14 1 0 11=22,33\n"
    "2 1 0 11,22,33,23,13,12\n"
    "2 1 1 11,22,33,23,13,12\n"
    "12 5 0 111=-122=-212,123=-213\n"
    "28 5 0 %\n";

struct TensorFileTest : ::testing::Test {
  TempDir dir;
  RecordingMessages messages;
  CoreServices services;
  TensorState t;

  TensorFileTest() {
    dir.Write("tensor.tab", kTable);
    services.programDirectory = dir.path();
    services.messages = &messages;
  }
  void Select(int group, int kind, bool axial = false) {
    t.pointGroup = group;
    SetKind(t, kind);
    t.axial = axial;
  }
  std::string Written() {
    std::ostringstream out;
    WriteTensorFile(t, out, services);
    return out.str();
  }
  void Read(TensorState& into, const std::string& text) {
    std::istringstream in(text);
    ReadTensorFile(into, in, services);
  }
  /// Expects `what` to fail with `message` and leave the tensor exactly as it was.
  void ExpectRefused(const std::string& text, const std::string& message) {
    TensorState before = t;
    try {
      Read(t, text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), message) << text;
    }
    EXPECT_EQ(t.kind, before.kind);
    EXPECT_EQ(t.pointGroup, before.pointGroup);
    EXPECT_EQ(t.scale, before.scale);
    EXPECT_EQ(t.unitText, before.unitText);
    EXPECT_EQ(t.independentValues, before.independentValues);
    EXPECT_EQ(t.components, before.components) << text;
  }
};

void ExpectSame15(Real expected, Real actual, const std::string& what) {
  EXPECT_NEAR(static_cast<double>(actual), static_cast<double>(expected),
              std::fabs(static_cast<double>(expected)) * 1e-14)
      << what;
}

TEST(FormatFileReal, FieldAndCorrectRounding) {
  EXPECT_EQ(FormatFileReal(3.5L), " 3.50000000000000E+0000");
  EXPECT_EQ(FormatFileReal(-0.25L), "-2.50000000000000E-0001");
  EXPECT_EQ(FormatFileReal(0.0L), " 0.00000000000000E+0000");
  EXPECT_EQ(FormatFileReal(-0.0L), " 0.00000000000000E+0000");
  EXPECT_EQ(FormatFileReal(1e-6L), " 1.00000000000000E-0006");
  // The carry runs through every digit into the exponent.
  EXPECT_EQ(FormatFileReal(9.99999999999999995L), " 1.00000000000000E+0001");
  EXPECT_EQ(FormatFileReal(-9.99999999999999995e-10L), "-1.00000000000000E-0009");
  // Exact ties at the 15th digit go to the even neighbour; just above a tie rounds up.
  EXPECT_EQ(FormatFileReal(1000000000000005.0L), " 1.00000000000000E+0015");
  EXPECT_EQ(FormatFileReal(1000000000000015.0L), " 1.00000000000002E+0015");
  EXPECT_EQ(FormatFileReal(1000000000000005.25L), " 1.00000000000001E+0015");
  // The extended type's range needs all four exponent digits.
  EXPECT_EQ(FormatFileReal(LDBL_MAX), " 1.18973149535723E+4932");
  EXPECT_EQ(FormatFileReal(-LDBL_MIN), "-3.36210314311209E-4932");
  EXPECT_EQ(FormatFileReal(LDBL_TRUE_MIN).size(), 23u);
}

TEST_F(TensorFileTest, HeaderLayoutAsDocumented) {
  Select(14, 1);
  t.scale = 1e-6L;
  t.At(1, 1) = t.At(2, 2) = 3.5e-6L;
  t.At(3, 3) = -0.25e-6L;
  t.unitText = "1/K";
  EXPECT_EQ(Written(),
            "Quillmere-Datafile\r\n"
            "1 14 0  1.00000000000000E-0006 2 1/K\r\n"
            " 3.50000000000000E+0000\r\n"
            "-2.50000000000000E-0001\r\n");

  TensorState back;
  back.pointGroup = 5;
  Read(back, Written());
  EXPECT_EQ(back.kind, 1);
  EXPECT_EQ(back.rank, 2);
  EXPECT_EQ(back.pointGroup, 14);
  EXPECT_FALSE(back.axial);
  EXPECT_EQ(back.unitText, "1/K");
  EXPECT_EQ(back.independentValues[1], "3.5");
  ExpectSame15(3.5e-6L, back.At(2, 2), "T22 derived from T11");
  ExpectSame15(-0.25e-6L, back.At(3, 3), "T33");
  EXPECT_EQ(back.At(1, 2), 0.0L);

  // A line feed in the unit text would end the line early and shift every value after it.
  t.unitText = "1/K\n5";
  Read(back, Written());
  EXPECT_EQ(back.unitText, "1/K 5");
  ExpectSame15(3.5e-6L, back.At(1, 1), "T11 after a two-line unit text");
}

TEST_F(TensorFileTest, RoundTripsToFifteenDigits) {
  // Header layout: triclinic (ij), axial, with awkward values and a unit text with blanks.
  Select(2, 1, true);
  test::Random random(20240611);
  for (int i = 1; i <= 3; ++i)
    for (int j = i; j <= 3; ++j) t.At(i, j) = t.At(j, i) = random.Uniform(-1, 1) * 3e-7L / 7;
  t.scale = LargestAbsoluteComponent(t);
  t.unitText = " m^2 / V ";
  const TensorState original = t;
  TensorState back;
  Read(back, Written());
  EXPECT_TRUE(back.axial);
  EXPECT_EQ(back.pointGroup, 2);
  EXPECT_EQ(back.unitText, original.unitText);
  ExpectSame15(original.scale, back.scale, "scale");
  for (int c = 0; c < kComponentCount; ++c)
    ExpectSame15(original.components[c], back.components[c], "component " + std::to_string(c));

  // Headerless layout: the table's message, then all 243 values, whatever their symmetry.
  Select(28, 5);
  t.unitText = "";
  t.scale = 1;
  for (Real& c : t.components) c = random.Uniform(-5, 5) * 1e-300L;
  const std::string text = Written();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0], "This tensor does not exist");
  EXPECT_EQ(text.substr(0, text.find('\n')), "5  1.00000000000000E+0000 3\r");
  EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1), "0 28 \r\n");  // empty unit
  back = TensorState{};
  back.unitText = "old";
  Read(back, text);
  EXPECT_EQ(back.kind, 5);
  EXPECT_EQ(back.pointGroup, 28);
  EXPECT_EQ(back.unitText, "");
  for (int c = 0; c < kComponentCount; ++c)
    ExpectSame15(t.components[c], back.components[c], "component " + std::to_string(c));
}

TEST_F(TensorFileTest, LockedScaleConvertsTheFilesValues) {
  const std::string file =
      "Quillmere-Datafile\n"
      "1 14 0  1.00000000000000E-0009 2 V\n"
      " 3.50000000000000E+0000\n"
      "-2.50000000000000E-0001\n";
  TensorState free;
  Read(free, file);

  t.scale = 1e-12L;
  t.autoScale = false;
  Read(t, file);
  EXPECT_EQ(t.scale, 1e-12L);
  EXPECT_EQ(t.exponent, -12);
  EXPECT_NEAR(static_cast<double>(t.fileScaleFactor), 1000.0, 1e-9);
  EXPECT_EQ(t.independentValues[1], "3500");
  EXPECT_EQ(t.independentValues[2], "-250");
  for (int c = 0; c < kComponentCount; ++c)
    ExpectSame15(free.components[c], t.components[c], "component " + std::to_string(c));

  // The headerless layout holds absolute values: locked, the scale stays, the values do not
  // change (3E-9 stays 3E-9, not 3E-9 times the factor).
  std::string headerless = "7 1e-9 2\n";
  for (int c = 0; c < kComponentCount; ++c) headerless += c == 0 ? "3E-9\n" : "0\n";
  t.scale = 1e-12L;
  Read(t, headerless);
  EXPECT_EQ(t.scale, 1e-12L);
  EXPECT_NEAR(static_cast<double>(t.At(1, 1)), 3e-9, 1e-21);
  EXPECT_EQ(t.fileScaleFactor, 1);
}

TEST_F(TensorFileTest, HeaderlessLastLineIsOptional) {
  std::string file = "1 1 2\n";
  for (int c = 0; c < kComponentCount; ++c) file += " 1.0E+0000\n";
  t.pointGroup = 14;
  t.axial = true;
  t.unitText = "kept";
  Read(t, file);
  EXPECT_FALSE(t.axial);
  EXPECT_EQ(t.pointGroup, 14);
  EXPECT_EQ(t.unitText, "kept");
  // Blank lines after the components are still the end, not point group 0.
  t.axial = true;
  Read(t, file + "\r\n\r\n");
  EXPECT_FALSE(t.axial);
  EXPECT_EQ(t.pointGroup, 14);
  Read(t, file + "1 12 N/m\n");
  EXPECT_TRUE(t.axial);
  EXPECT_EQ(t.pointGroup, 12);
  EXPECT_EQ(t.unitText, "N/m");
}

TEST_F(TensorFileTest, TolerantTokensAndShortFiles) {
  // Any notation, tabs and blank lines before numbers, rest of a line skipped after a value; a
  // table entry with more relations than the file's values gives zeros for the rest.
  t.independentValues[2] = "7";  // from an earlier tensor: must not leak into this one
  Read(t,
       "Quillmere-Datafile\r\n"
       "\t1\t14\n\n0 1e-6\r\n 1\r\n"
       "  +35E-1 ignored rest\n");
  EXPECT_EQ(t.unitText, "");
  ExpectSame15(3.5e-6L, t.At(1, 1), "T11");
  EXPECT_EQ(t.At(3, 3), 0.0L);

  Read(t, "Quillmere-Datafile\n1 14 0 1 1 K\n.5\n");
  EXPECT_EQ(t.unitText, "K");
  ExpectSame15(0.5L, t.At(2, 2), "T22");
  EXPECT_EQ(t.independentValues[2], "0");

  // Fewer values than the file's own count: a file cut short (caught while being rewritten) is
  // refused rather than read with zeros. A UTF-8 byte-order mark is no part of the header.
  ExpectRefused("Quillmere-Datafile\n1 14 0 1 2 K\n.5\n", "The file ends after 1 of 2 values");
  ExpectRefused("Quillmere-Datafile\n1 14 0 1 2 K\n", "The file ends after 0 of 2 values");
  Read(t, "\xEF\xBB\xBFQuillmere-Datafile\n1 14 0 1 1 mK\n2\n");
  EXPECT_EQ(t.unitText, "mK");
  Read(t,
       "\xEF\xBB\xBF"
       "0 1 1\n7\n8\n9\n");
  ExpectSame15(8.0L, t.components[1], "second component");

  // With another decimal separator for the user, the file still uses '.'.
  services.decimalSeparator = ',';
  Read(t, "Quillmere-Datafile\n1 14 0 1 1 K\n1.25\n");
  EXPECT_EQ(t.independentValues[1], "1,25");
  EXPECT_EQ(Written().substr(Written().find('\n') + 1),
            "1 14 0  1.00000000000000E+0000 2 K\r\n"
            " 1.25000000000000E+0000\r\n"
            " 0.00000000000000E+0000\r\n");
}

TEST_F(TensorFileTest, BadFilesAreRefusedWithTheTensorUnchanged) {
  Select(14, 1);
  t.scale = 2e-6L;
  t.unitText = "before";
  t.At(1, 1) = 1.5e-6L;
  t.independentValues[1] = "1.5";

  const std::string bad = "Invalid numeric input";
  ExpectRefused("quillmere-datafile\n1 14 0 1 1 K\n1\n", bad);    // letter case
  ExpectRefused("Quillmere-Datafile \n1 14 0 1 1 K\n1\n", bad);   // blank after it
  ExpectRefused("Quillmere-Datafile\n1.0 14 0 1 1 K\n1\n", bad);  // fraction in an integer
  ExpectRefused("Quillmere-Datafile\n1 14 0 1 2 K\n1\n1,5\n", bad);
  ExpectRefused("Quillmere-Datafile\n1 14 0 1 1 K\n1e99999\n", bad);
  ExpectRefused("Quillmere-Datafile\n1 14 0 1 1 K\n" + std::string(100000, '7') + "\n", bad);
  ExpectRefused(std::string("\0\xff\x01 1 2", 7), bad);
  ExpectRefused("Quillmere-Datafile\n1 14 0 1 51 K\n",
                "The file gives 51 independent components; 0 to 50 are possible");
  ExpectRefused("Quillmere-Datafile\n1 14 0 1 -1 K\n",
                "The file gives -1 independent components; 0 to 50 are possible");
  ExpectRefused("Quillmere-Datafile\n11 14 0 1 1 K\n1\n",
                "The file names an unknown tensor kind (11)");
  ExpectRefused("Quillmere-Datafile\n1 33 0 1 1 K\n1\n",
                "The file names an unknown point group (33)");
  ExpectRefused("", "The scale in the file is not a positive number");
  // A table that cannot be read fails after the file was taken in: still no mixture.
  std::filesystem::remove(dir.path() / "tensor.tab");
  const std::string table = (dir.path() / "tensor.tab").string();
  ExpectRefused("Quillmere-Datafile\n1 2 0 1 1 K\n1\n",
                "'" + table + "': File not found (the symmetry table is looked for in " +
                    services.programDirectory.string() + ")");

  EXPECT_THROW(ReadTensorFile(t, dir.path() / "missing.ten", services), std::runtime_error);
}

TEST_F(TensorFileTest, HeaderLayoutWithoutAnEntryIsRefused) {
  Select(14, 1);
  t.At(1, 1) = t.At(2, 2) = 1.5L;
  t.unitText = "before";
  // The table lacks the combination (point group 3m, polar): the components would all read 0.
  ExpectRefused("Quillmere-Datafile\n1 10 0 1 2 K\n1\n2\n",
                "tensor.tab has no usable entry for point group 3m and the polar tensor kind "
                "(ij), so the file's components are unknown");
  // An entry saying the tensor does not exist in the group.
  ExpectRefused("Quillmere-Datafile\n5 28 0 1 1 K\n1\n",
                "tensor.tab has no usable entry for point group m-3m and the polar tensor kind "
                "i(jk), so the file's components are unknown");
  EXPECT_TRUE(messages.shown.empty()) << messages.shown.front();
}

TEST_F(TensorFileTest, ComponentsOutsideTheGroupAreSavedInFull) {
  // Typed as triclinic, then turned tetragonal: t23 and t11 != t22 break the new group.
  Select(2, 1);
  t.At(1, 1) = 1;
  t.At(2, 2) = 2;
  t.At(3, 3) = 3;
  t.At(2, 3) = t.At(3, 2) = 0.5L;
  t.pointGroup = 14;
  const std::string text = Written();
  EXPECT_EQ(text.rfind("1  1.00000000000000E+0000 2\r\n", 0), 0u) << text;
  TensorState back;
  Read(back, text);
  EXPECT_EQ(back.components, t.components);
  EXPECT_EQ(back.pointGroup, 14);

  // Components the group allows keep the short layout.
  t.At(2, 3) = t.At(3, 2) = 0;
  t.At(2, 2) = 1;
  EXPECT_EQ(Written().rfind("Quillmere-Datafile\r\n", 0), 0u);
  // So does a polarity change that the entry does not care about for this kind.
  Select(2, 1, true);
  t.At(2, 3) = t.At(3, 2) = 0.5L;
  EXPECT_EQ(Written().rfind("Quillmere-Datafile\r\n", 0), 0u);
}

TEST_F(TensorFileTest, FailuresNameTheFileAndTheLine) {
  Select(14, 1);
  const auto Failure = [&](const std::filesystem::path& path) {
    try {
      ReadTensorFile(t, path, services);
    } catch (const std::runtime_error& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  const std::filesystem::path junk =
      dir.Write("junk.ten", "Quillmere-Datafile\r\n1 14 0 1 x K\r\n1\r\n");
  EXPECT_EQ(Failure(junk), "'" + junk.string() + "': Invalid numeric input (line 2)");
  const std::filesystem::path third =
      dir.Write("third.ten", "Quillmere-Datafile\n1 14 0 1 2 K\n1\n\n\n  abc\n");
  EXPECT_EQ(Failure(third), "'" + third.string() + "': Invalid numeric input (line 6)");
  const std::filesystem::path old = dir.Write("old.ten", "1 1 abc\n");
  EXPECT_EQ(Failure(old), "'" + old.string() + "': Invalid numeric input (line 1)");
  const std::filesystem::path kind =
      dir.Write("kind.ten", "Quillmere-Datafile\n11 14 0 1 1 K\n1\n");
  EXPECT_EQ(Failure(kind), "'" + kind.string() + "': The file names an unknown tensor kind (11)");

  const std::filesystem::path empty = dir.Write("empty.ten", "");
  EXPECT_EQ(Failure(empty), "'" + empty.string() + "': The file is empty");
  EXPECT_EQ(Failure(dir.path()),
            "'" + dir.path().string() + "': This is a folder, not a tensor file");
  EXPECT_EQ(Failure(dir.path() / "absent.ten"),
            "'" + (dir.path() / "absent.ten").string() + "': File not found");
  EXPECT_EQ(t.kind, 1) << "a refused file changed the tensor";
}

TEST_F(TensorFileTest, FailedWriteKeepsThePreviousFile) {
  Select(14, 1);
  t.At(3, 3) = 2;
  const std::filesystem::path path = dir.path() / "kept.ten";
  WriteTensorFile(t, path, services);
  const std::string good = ReadFile(path);
  ASSERT_NE(good.find("2.00000000000000E+0000"), std::string::npos);

  t.At(1, 1) = t.At(2, 2) = INFINITY;
  EXPECT_THROW(WriteTensorFile(t, path, services), std::runtime_error);
  EXPECT_EQ(ReadFile(path), good);

  t.At(1, 1) = t.At(2, 2) = 1;
  std::filesystem::remove(dir.path() / "tensor.tab");
  EXPECT_THROW(WriteTensorFile(t, path, services), std::runtime_error);
  EXPECT_EQ(ReadFile(path), good);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                          std::filesystem::directory_iterator()),
            1)
      << "a temporary file was left behind";
}

}  // namespace
}  // namespace quillmere
