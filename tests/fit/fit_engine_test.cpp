// The fit's notices, its refusals and what a refused run leaves behind, on small inline tables;
// and the Gauss-Jordan inversion.
#include "fit/fit_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "fit/fit_cells.h"
#include "fit/fit_result.h"
#include "support/test_support.h"
#include "tensor/symmetry_table.h"

namespace quillmere {
namespace {

using test::TextCells;

const IndexDirectionFlags kOneDirection{0, 1, 1, 1, 1};
const IndexDirectionFlags kHallDirections{0, 0, 0, 1, 1};

/// A table in a temporary folder and services that record what the user is told.
struct InlineTable {
  explicit InlineTable(const std::string& text) {
    dir.Write("tensor.tab", text);
    services.programDirectory = dir.path();
    services.messages = &messages;
  }
  test::TempDir dir;
  RecordingMessages messages;
  CoreServices services;
};

TensorState Tensor(int kind, int group = 2) {
  TensorState t;
  SetKind(t, kind);
  t.pointGroup = group;
  return t;
}

/// A tensor with recognisable contents, to see that a refused run puts it back.
TensorState Marked(int kind) {
  TensorState t = Tensor(kind);
  for (int q = 0; q < kComponentCount; ++q) t.components[q] = 0.5L + q;
  t.independentLabels[1] = "label before";
  t.independentValues[1] = "value before";
  return t;
}

void ExpectUnchanged(const TensorState& before, const TensorState& after) {
  for (int q = 0; q < kComponentCount; ++q)
    ASSERT_EQ(after.components[q], before.components[q]) << "component " << q;
  EXPECT_EQ(after.independentLabels[1], before.independentLabels[1]);
  EXPECT_EQ(after.independentValues[1], before.independentValues[1]);
}

TEST(FitRun, OneMeasurementForOneComponentIsExactWithoutDeviations) {
  InlineTable table("2 0 0 3\n");
  TensorState t = Tensor(0);
  FitWorkspace w(kOneDirection);
  TextCells cells(1);
  cells.AddTexts({"0", "0", "2"}, "5", "0.1");  // unnormalised, along z
  ASSERT_EQ(RunFit(w, t, cells, table.services), FitOutcome::Done);
  ASSERT_EQ(table.messages.shown.size(), 1u);
  EXPECT_EQ(table.messages.shown[0], kMsgNoDeviations);
  EXPECT_NEAR(static_cast<double>(w.x[1]), 5.0, 1e-15);
  EXPECT_EQ(w.sd[1], 0);
  EXPECT_EQ(w.m, 1);
  EXPECT_EQ(w.dof, 0);

  const FitResultTexts r = ApplyFitResult(t, w, table.services);
  ASSERT_TRUE(r.shown);
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[1][0], "t3");
  EXPECT_EQ(r.rows[1][1], "5.00000");
  EXPECT_EQ(r.rows[1][2], "0.00000");
  EXPECT_NEAR(static_cast<double>(t.At(3)), 5.0, 1e-15);
  EXPECT_FALSE(r.eigenShown) << "rank 1 has no eigen table";
}

TEST(FitRun, ErrorsNotAboveZeroCountAsOneWithOneNoticeEach) {
  InlineTable table("2 0 0 1,2,3\n");
  TensorState t = Tensor(0);
  TextCells bad(1), ones(1);
  const char* dys[] = {"0", "-2", "1", "1"};
  const char* ys[] = {"1", "2.5", "-3", "0.25"};
  const std::vector<std::string> dirs[] = {
      {"1", "0", "0"}, {"0", "1", "0"}, {"0", "0", "1"}, {"1", "1", "1"}};
  for (int k = 0; k < 4; ++k) {
    bad.AddTexts(dirs[k], ys[k], dys[k]);
    ones.AddTexts(dirs[k], ys[k], "1");
  }
  FitWorkspace a(kOneDirection), b(kOneDirection);
  ASSERT_EQ(RunFit(a, t, bad, table.services), FitOutcome::Done);
  EXPECT_EQ(std::count(table.messages.shown.begin(), table.messages.shown.end(),
                       std::string(kMsgBadErrors)),
            2);
  ASSERT_EQ(RunFit(b, t, ones, table.services), FitOutcome::Done);
  for (int c = 1; c <= 3; ++c)
    EXPECT_NEAR(static_cast<double>(a.x[c]), static_cast<double>(b.x[c]), 1e-18) << c;
  EXPECT_NEAR(static_cast<double>(a.chi2), static_cast<double>(b.chi2), 1e-18);
}

TEST(FitRun, RefusalsShowTheirNoticeAndPutTheTensorBack) {
  struct Case {
    const char* name;
    const char* table;
    int kind;
    IndexDirectionFlags flags;
    std::vector<std::vector<std::string>> directions;
    const char* message;
    FitOutcome outcome;
  };
  const Case cases[] = {
      // Uniaxial: T11 = T22 and T33. Along x only, T33 never enters: a zero diagonal element.
      {"underivable",
       "2 1 0 11=22,33\n",
       1,
       kOneDirection,
       {{"1", "0", "0"}, {"2", "0", "0"}},
       kMsgNotDerivable,
       FitOutcome::CloseRequested},
      // Both rows (a, a): the diagonal is fine, the second pivot is exactly zero.
      {"singular",
       "2 0 0 1,2\n",
       0,
       kOneDirection,
       {{"1", "1", "0"}, {"3", "3", "0"}},
       kMsgNotInvertible,
       FitOutcome::CloseRequested},
      {"too few",
       "2 0 0 1,2\n",
       0,
       kOneDirection,
       {{"1", "1", "0"}},
       kMsgTooFewData,
       FitOutcome::CloseRequested},
      // The third direction of the second measurement is missing.
      {"no direction",
       "2 12 1 121,131,231,122\n",
       12,
       kHallDirections,
       {{"1", "0", "0", "0", "1", "0", "0", "0", "1"},
        {"1", "0", "0", "0", "1", "0", "0", "0", "0"}},
       kMsgDirectionMissing,
       FitOutcome::Stopped},
      {"no entry",
       "3 0 0 1\n",
       0,
       kOneDirection,
       {{"1", "0", "0"}},
       "this tensor and class have no independent components entrance",
       FitOutcome::CloseRequested},
  };
  for (const Case& c : cases) {
    InlineTable table(c.table);
    TensorState t = Marked(c.kind);
    t.axial = c.kind == 12;
    const TensorState before = t;
    FitWorkspace w(c.flags);
    TextCells cells(DirectionCount(c.flags));
    for (const auto& d : c.directions) cells.AddTexts(d, "1", "1");
    EXPECT_EQ(RunFit(w, t, cells, table.services), c.outcome) << c.name;
    ASSERT_FALSE(table.messages.shown.empty()) << c.name;
    EXPECT_EQ(table.messages.shown.back(), c.message) << c.name;
    ExpectUnchanged(before, t);
  }
}

TEST(FitRun, FailuresThatThrowPutTheTensorBack) {
  {
    InlineTable table("2 0 0 1,2,3\n");
    TensorState t = Marked(0);
    const TensorState before = t;
    FitWorkspace w(kOneDirection);
    TextCells cells(1);
    cells.AddTexts({"1", "0", "0"}, "1", "1");
    cells.AddTexts({"0", "1,5x", "0"}, "1", "1");
    try {
      RunFit(w, t, cells, table.services);
      FAIL() << "a cell that is not a number must stop the run";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "'1,5x' is not a valid floating point value");
    }
    ExpectUnchanged(before, t);
  }
}

TEST(FitRun, ValueGridWithoutMeasurementsEndsInsteadOfLooping) {
  InlineTable table("2 0 0 1\n");
  TensorState t = Tensor(0);
  FitWorkspace w(kOneDirection);
  TextCells empty(1);
  EXPECT_THROW(RunFit(w, t, empty, table.services), std::runtime_error);
}

TEST(FitRun, EntryBeyondTheFitsArraysIsRefusedBeforeAnythingChanges) {
  std::string relations;
  for (int r = 0; r < 22; ++r) relations += (r ? "," : "") + std::string("11");
  InlineTable table("2 1 0 " + relations + "\n");
  TensorState t = Marked(1);
  const TensorState before = t;
  FitWorkspace w(kOneDirection);
  TextCells cells(1);
  cells.AddTexts({"1", "0", "0"}, "1", "1");
  EXPECT_EQ(RunFit(w, t, cells, table.services), FitOutcome::Stopped);
  ASSERT_EQ(table.messages.shown.size(), 1u);
  EXPECT_NE(table.messages.shown[0].find("at most 21"), std::string::npos)
      << table.messages.shown[0];
  EXPECT_NE(table.messages.shown[0].find("22"), std::string::npos) << table.messages.shown[0];
  ExpectUnchanged(before, t);
}

TEST(FitRun, FinishedRunLeavesTheTensorToTheResult) {
  InlineTable table("2 1 0 11=22,33\n");
  TensorState t = Marked(1);
  t.scale = 1e-6L;  // display unit 10^-6
  const TensorState before = t;
  FitWorkspace w(kOneDirection);
  TextCells cells(1);
  cells.AddTexts({"1", "0", "0"}, "2.1234567", "0.1");
  cells.AddTexts({"0", "0", "1"}, "-7", "0.1");
  cells.AddTexts({"0", "1", "0"}, "2.1234567", "0.1");
  ASSERT_EQ(RunFit(w, t, cells, table.services), FitOutcome::Done);
  ExpectUnchanged(before, t);  // only ApplyFitResult changes the tensor
  EXPECT_NEAR(static_cast<double>(t.independentInput[1]), 2.1234567, 1e-15);

  const FitResultTexts r = ApplyFitResult(t, w, table.services);
  ASSERT_EQ(r.rows.size(), 3u);
  EXPECT_EQ(r.rows[0][1], "10^-6");
  EXPECT_EQ(r.rows[1][0], "t11=t22");
  // The tensor takes the rounded values the table shows.
  EXPECT_EQ(r.rows[1][1], "2.12346");
  EXPECT_EQ(t.independentValues[1], "2.12346");
  EXPECT_NEAR(static_cast<double>(t.At(2, 2)), 2.12346e-6, 1e-20);
  EXPECT_NEAR(static_cast<double>(t.At(3, 3)), -7e-6, 1e-20);
  EXPECT_EQ(t.At(1, 2), 0) << "components the point group leaves zero are zero";
  EXPECT_NEAR(static_cast<double>(t.independentInput[1]), 2.1234567e-6, 1e-20);
  ASSERT_TRUE(r.eigenShown);
  EXPECT_EQ(r.eigen[0][0], kEigenHeading);
  // Uniaxial, already diagonal: largest 2.12346 and middle on the x and y axes, smallest -7 on z.
  EXPECT_EQ(r.eigen[2][0], "-7.00000");
  EXPECT_EQ(r.eigen[2][3], "1.00000");
}

TEST(FitResult, IsotropicTensorShowsItsTripleEigenvalueOnTheAxes) {
  InlineTable table("2 1 0 11=22=33\n");
  TensorState t = Tensor(1);
  FitWorkspace w(kOneDirection);
  TextCells cells(1);
  cells.AddTexts({"1", "0", "0"}, "4", "1");
  cells.AddTexts({"1", "1", "1"}, "4", "1");
  ASSERT_EQ(RunFit(w, t, cells, table.services), FitOutcome::Done);
  const FitResultTexts r = ApplyFitResult(t, w, table.services);
  ASSERT_TRUE(r.eigenShown);
  EXPECT_FALSE(r.eigenSystem.computed);
  for (int k = 1; k <= 3; ++k) {
    EXPECT_EQ(r.eigen[k][0], "4.00000");
    EXPECT_EQ(r.eigen[k][k], "1.00000");
  }
}

// ---- Inversion ----------------------------------------------------------------------------

FitMatrix FromRows(std::initializer_list<std::initializer_list<Real>> rows) {
  FitMatrix a{};
  int i = 1;
  for (const auto& row : rows) {
    int j = 1;
    for (Real v : row) a[i][j++] = v;
    ++i;
  }
  return a;
}

void ExpectInverse(const FitMatrix& original, const FitMatrix& inverse, int n, double tol) {
  for (int i = 1; i <= n; ++i)
    for (int j = 1; j <= n; ++j) {
      Real sum = 0;
      for (int k = 1; k <= n; ++k) sum += original[i][k] * inverse[k][j];
      EXPECT_NEAR(static_cast<double>(sum), i == j ? 1.0 : 0.0, tol) << i << "," << j;
    }
}

TEST(Inversion, LargestNormalMatrixOfTheFit) {
  test::Random random(3);
  FitMatrix a{};
  for (int k = 0; k < 40; ++k) {
    Real f[kFitSize];
    for (int i = 1; i <= kMaxFitComponents; ++i) f[i] = random.Uniform(-1, 1);
    for (int i = 1; i <= kMaxFitComponents; ++i)
      for (int j = 1; j <= kMaxFitComponents; ++j) a[i][j] += f[i] * f[j];
  }
  FitMatrix c = a;
  bool ok = true;
  InvertInPlace(c, kMaxFitComponents, ok);
  ASSERT_TRUE(ok);
  ExpectInverse(a, c, kMaxFitComponents, 1e-14);
}

TEST(Inversion, EqualMagnitudesPickTheLowestColumn) {
  // Row 1 ties between columns 1 and 2. Taking column 1 leaves row 2 with an exact zero in
  // column 2, and the partly transformed matrix shows which column was taken.
  FitMatrix c = FromRows({{2, 2}, {1, 1}});
  bool ok = true;
  InvertInPlace(c, 2, ok);
  EXPECT_FALSE(ok);
  EXPECT_EQ(c[1][1], 0.5L);
  EXPECT_EQ(c[1][2], -1.0L);
  EXPECT_EQ(c[2][1], 0.5L);
  EXPECT_EQ(c[2][2], 0.0L);
}

}  // namespace
}  // namespace quillmere
