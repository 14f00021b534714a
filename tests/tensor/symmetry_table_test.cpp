#include "tensor/symmetry_table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "support/test_support.h"

namespace quillmere {
namespace {

using test::TempDir;

/// A tensor state with a table of our own in a temporary program directory.
struct TableFixture : ::testing::Test {
  TempDir dir;
  RecordingMessages messages;
  CoreServices services;
  TensorState t;

  void UseTable(const std::string& text) {
    dir.Write("tensor.tab", text);
    services.programDirectory = dir.path();
    services.messages = &messages;
  }
  void Select(int group, int kind, bool axial = false) {
    t.pointGroup = group;
    SetKind(t, kind);
    t.axial = axial;
  }
};

TEST(FindSymmetryLine, FirstMatchWinsAndWhitespaceIsFree) {
  std::istringstream table(
      "2 1 0 11,22,33,23,13,12\r\n"
      "14\t1\n0 11=22,33\n"
      "14 1 0 11\n"
      "3 3 1 %");
  EXPECT_EQ(FindSymmetryLine(table, 14, 1, false), "11=22,33");
  table.clear();
  table.seekg(0);
  EXPECT_EQ(FindSymmetryLine(table, 2, 1, false), "11,22,33,23,13,12");
  table.clear();
  table.seekg(0);
  EXPECT_EQ(FindSymmetryLine(table, 3, 3, true), "%");  // last line without a line end
  table.clear();
  table.seekg(0);
  EXPECT_EQ(FindSymmetryLine(table, 3, 3, false), "?");
}

TEST(FindSymmetryLine, BadNumberIsInvalidNumericInput) {
  std::istringstream table("2 1 0 11\nx 1 0 11\n");
  EXPECT_EQ(FindSymmetryLine(table, 2, 1, false), "11");
  table.clear();
  table.seekg(0);
  try {
    FindSymmetryLine(table, 5, 1, false);
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Invalid numeric input");
  }
}

TEST(SplitAndParse, RelationsTermsAndPrefixes) {
  std::vector<std::string> r;
  EXPECT_EQ(SplitRelations("a%b", r), 0);
  EXPECT_EQ(SplitRelations("11?", r), -1);
  EXPECT_EQ(SplitRelations("11", r), 1);
  EXPECT_EQ(SplitRelations("11,22,", r), 3);
  EXPECT_EQ(r[2], "");
  EXPECT_EQ(SplitTerms("1111=2222=&-1122=2*1212").size(), 4u);

  SymmetryTerm term = ParseTerm("&-2*1122");
  EXPECT_TRUE(term.sum);
  EXPECT_EQ(term.factor, -2);
  EXPECT_EQ(term.indexText, "1122");
  const int want[5] = {1, 1, 2, 2, 1};
  for (int p = 0; p < 5; ++p) EXPECT_EQ(term.indices.i[p], want[p]);
  term = ParseTerm(" 2");  // a blank takes an index position and gives index 1
  EXPECT_EQ(term.indices.i[0], 1);
  EXPECT_EQ(term.indices.i[1], 2);
  EXPECT_THROW(ParseTerm("14"), std::runtime_error);
  EXPECT_THROW(ParseTerm("x*11"), std::runtime_error);
  EXPECT_THROW(ParseTerm("*11"), std::runtime_error);
}

TEST_F(TableFixture, DescribeWritesLabelsAndScaledValues) {
  UseTable("6 3 0 1111=2222=&-1122=2*1212,1122,13=-23,33=&-12\n");
  Select(6, 3);
  t.scale = 350;
  t.At(1, 1, 1, 1) = 12000;
  ASSERT_EQ(ApplySymmetry(t, SymmetryMode::Describe, services), 4);
  EXPECT_EQ(t.exponent, 3);
  EXPECT_EQ(t.independentValues[1], "12");
  EXPECT_EQ(t.independentLabels[1], "t1111=t2222...+-1*t1122=2*t1212");
  EXPECT_EQ(t.independentLabels[3], "t13=-t23");
  EXPECT_EQ(t.independentLabels[4], "t33...+-1*t12");
  EXPECT_EQ(t.At(2, 2, 2, 2), 0) << "Describe must not change components";
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(TableFixture, ApplyTextsDerivesDependentComponentsAndPartners) {
  // Hexagonal elastic constants: C66 = (C11 - C12) / 2.
  UseTable("21 3 0 1111=2222,1122=&-1111=-2*1212,1133=2233,3333,2323=1313\n");
  Select(21, 3);
  t.scale = 1e9L;
  const char* values[] = {"", "160", "90", "65", "180", "40"};
  for (int n = 1; n <= 5; ++n) t.independentValues[n] = values[n];
  ASSERT_EQ(ApplySymmetry(t, SymmetryMode::ApplyTexts, services), 5);
  EXPECT_NEAR(static_cast<double>(t.At(2, 2, 2, 2)), 160e9, 1e-3);
  EXPECT_NEAR(static_cast<double>(t.At(1, 2, 1, 2)), 35e9, 1e-3);
  EXPECT_NEAR(static_cast<double>(t.At(2, 1, 2, 1)), 35e9, 1e-3);  // partner
  EXPECT_NEAR(static_cast<double>(t.At(3, 3, 2, 2)), 65e9, 1e-3);
  EXPECT_NEAR(static_cast<double>(t.At(3, 1, 1, 3)), 40e9, 1e-3);
}

TEST_F(TableFixture, ApplyTextsEdgeCases) {
  UseTable("2 1 0 11=-11,22\n2 7 0 11,22,33\n");
  Select(2, 1);
  t.scale = 0.04L;  // decade 0.1
  t.independentValues[1] = "1.5";
  t.independentValues[2] = "2";
  ApplySymmetry(t, SymmetryMode::ApplyTexts, services);
  EXPECT_NEAR(static_cast<double>(t.At(1, 1)), -0.15, 1e-15) << "11=-11 negates T11";
  EXPECT_NEAR(static_cast<double>(t.At(2, 2)), 0.2, 1e-15);

  // A bad value text stops the walk: the relations before it stay applied, later ones do not.
  Select(2, 7);
  t.scale = 1;
  ResetComponents(t);
  t.independentValues[1] = "4";
  t.independentValues[2] = "abc";
  t.independentValues[3] = "9";
  try {
    ApplySymmetry(t, SymmetryMode::ApplyTexts, services);
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
  EXPECT_EQ(t.At(1, 1), 4);
  EXPECT_EQ(t.At(3, 3), 0);
}

TEST_F(TableFixture, EveryTermNamesAComponentByRankDigits) {
  // A trailing comma (an empty relation), a word, too many digits, a digit beyond 3: each would
  // name a component nobody meant, so the entry is refused, quoting at most 40 characters.
  const std::string word(200, 'g');
  for (const std::string& entry : std::vector<std::string>{"12312,", "12312,garbage,,,", "123121",
                                                           "12314", "12312= ", "12312,-" + word}) {
    UseTable("2 10 0 " + entry + "\n");
    Select(2, 10);
    try {
      ApplySymmetry(t, SymmetryMode::Describe, services);
      FAIL() << entry;
    } catch (const std::runtime_error& e) {
      const std::string text = e.what();
      EXPECT_NE(text.find("Damaged entry in tensor.tab, line 1"), std::string::npos) << text;
      EXPECT_LT(text.size(), 160u) << text;
    }
  }
  UseTable("2 10 0 12312,22222=&-2*111=3*2 2\n");
  EXPECT_EQ(ApplySymmetry(t, SymmetryMode::Describe, services), 2);
}

TEST_F(TableFixture, MessagesForMissingEntriesLeaveTextsAlone) {
  UseTable("2 1 0 11\n3 1 0 %\n");
  Select(2, 1);
  ApplySymmetry(t, SymmetryMode::Describe, services);
  EXPECT_EQ(t.independentLabels[1], "t11");
  Select(3, 1);
  EXPECT_EQ(ApplySymmetry(t, SymmetryMode::Describe, services), 0);
  Select(4, 1);
  EXPECT_EQ(ApplySymmetry(t, SymmetryMode::Describe, services), -1);
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0], "This tensor does not exist");
  EXPECT_EQ(messages.shown[1], "this tensor and class have no independent components entrance");
  EXPECT_EQ(t.independentLabels[1], "t11");
  EXPECT_EQ(t.independentCount, -1);
}

TEST_F(TableFixture, MissingTableAndDamagedEntriesChangeNothing) {
  services.programDirectory = dir.path();
  services.messages = &messages;
  Select(2, 1);
  t.At(1, 1) = 3;
  try {
    ApplySymmetry(t, SymmetryMode::UnitValues, services);
    FAIL();
  } catch (const std::runtime_error& e) {
    // The table and the folder searched are named, so the user's own file is not suspected.
    EXPECT_EQ(std::string(e.what()), "'" + (dir.path() / "tensor.tab").string() +
                                         "': File not found (the symmetry table is looked for in " +
                                         dir.path().string() + ")");
  }
  for (const char* damaged : {"2 1 0 11,4\n", "2 1 0 &11\n", "2 1 0 11=x*22\n"}) {
    UseTable(std::string("5 5 0 111\n") + damaged);
    try {
      ApplySymmetry(t, SymmetryMode::UnitValues, services);
      FAIL() << damaged;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
    EXPECT_EQ(t.At(1, 1), 3);
    EXPECT_EQ(t.At(2, 2), 0);
  }
  std::string many = "2 1 0 11";
  for (int i = 0; i < 21; ++i) many += ",11";
  UseTable(many + "\n");
  EXPECT_THROW(ApplySymmetry(t, SymmetryMode::CoefficientSums, services), std::runtime_error);
  EXPECT_EQ(ApplySymmetry(t, SymmetryMode::Describe, services), 22);
}

TEST_F(TableFixture, CoefficientSumsAreTheCoefficientsOfThePrediction) {
  // Hall-type antisymmetric pair: T213 = -T123. With weights W the prediction is
  // sum W[c] T[c] = (W123 - W213) * t123 + ...
  UseTable("2 12 1 123,132=-231\n21 3 0 1111=2222,1122=&-1111=-2*1212\n");
  Select(2, 12, true);
  for (int c = 0; c < kComponentCount; ++c) t.components[c] = 0;
  t.At(1, 2, 3) = 5;
  t.At(2, 1, 3) = 2;
  t.At(1, 3, 2) = 7;
  t.At(3, 1, 2) = 1;
  t.At(2, 3, 1) = 3;
  t.At(3, 2, 1) = 11;
  ASSERT_EQ(ApplySymmetry(t, SymmetryMode::CoefficientSums, services), 2);
  EXPECT_EQ(t.coefficientSums[1], 5 - 2);
  // t132 gives T132 = 1, T312 = -1, T231 = -1, T321 = 1.
  EXPECT_EQ(t.coefficientSums[2], 7 - 1 - 3 + 11);
  EXPECT_EQ(t.independentLabels[1], "123");
  EXPECT_EQ(t.independentValues[2], "132");
  EXPECT_EQ(t.At(1, 2, 3), 5) << "weights are restored";

  // With a sum term and a factor -2: T1212 = (T1111 - T1122) / 2, all eight orders of each.
  Select(21, 3);
  ResetComponents(t);
  t.At(1, 1, 1, 1) = 1;
  t.At(2, 2, 2, 2) = 10;
  t.At(1, 1, 2, 2) = 100;
  t.At(1, 2, 1, 2) = 1000;
  ASSERT_EQ(ApplySymmetry(t, SymmetryMode::CoefficientSums, services), 2);
  EXPECT_NEAR(static_cast<double>(t.coefficientSums[1]), 1 + 10 + 1000 * 0.5, 1e-12);
  EXPECT_NEAR(static_cast<double>(t.coefficientSums[2]), 100 - 1000 * 0.5, 1e-12);
}

}  // namespace
}  // namespace quillmere
