// The result format, the direction rows of the fit's grids and the ten property kinds.
#include <gtest/gtest.h>

#include <string>

#include "fit/fit_layout.h"
#include "fit/fit_result.h"
#include "fit/property_kinds.h"

namespace quillmere {
namespace {

TEST(FitResultFormat, EightSignificantDigitsThenFiveDecimals) {
  const struct {
    Real value;
    const char* text;
  } cases[] = {
      {123.456789123L, "123.45679"},
      {0.000123456789L, "0.00012"},  // the eight digits rounded once more at the fifth decimal
      {1234567.891L, "1234567.90000"},
      {12345678.9L, "12345679.00000"},  // eight integer digits: still fixed
      {0.999999996L, "1.00000"},
      {-2.5L, "-2.50000"},
      {0.0000149999999L, "0.00002"},  // 1.5000000E-5 after the first rounding
      {-0.000004L, "0.00000"},        // no sign on a zero
      {0, "0.00000"},
      {123456789.0L, "1.2345679E8"},  // nine integer digits: exponent notation
      {-9.87654321e12L, "-9.8765432E12"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFitResult(c.value), c.text) << c.text;
  EXPECT_EQ(FormatFitResult(-3.25L, ','), "-3,25000");
}

TEST(FitLayout, DirectionLabelsOfTheMeasuringGeometries) {
  EXPECT_EQ(DirectionLabel({0, 1, 1, 1, 1}, 1, 1), 1);
  EXPECT_EQ(DirectionLabel({0, 1, 1, 1, 1}, 2, 1), 11);
  EXPECT_EQ(DirectionLabel({0, 1, 0, 1, 1}, 3, 1), 11);
  EXPECT_EQ(DirectionLabel({0, 1, 0, 1, 1}, 3, 2), 3);
  EXPECT_EQ(DirectionLabel({0, 0, 1, 1, 1}, 3, 1), 1);
  EXPECT_EQ(DirectionLabel({0, 0, 1, 1, 1}, 3, 2), 22);
  for (int d = 1; d <= 3; ++d) EXPECT_EQ(DirectionLabel({0, 0, 0, 1, 1}, 3, d), d);
}

TEST(FitLayout, HeadingsNameTheStartPositionOfEachDirection) {
  const IndexDirectionFlags piezo{0, 0, 1, 1, 1}, electrostriction{0, 1, 0, 1, 1};
  EXPECT_EQ(DirectionHeading(piezo, 1, 1), "u11");
  EXPECT_EQ(DirectionHeading(piezo, 1, 3), "u13");
  EXPECT_EQ(DirectionHeading(piezo, 2, 1), "u21");
  EXPECT_EQ(DirectionHeading(piezo, 2, 3), "u23");
  EXPECT_EQ(DirectionHeading(electrostriction, 2, 1), "u31");
  EXPECT_EQ(DirectionHeading(electrostriction, 2, 3), "u33");
}

TEST(PropertyKinds, HallEffectPreparesAnAxialThirdRankTensorWithThreeDirections) {
  TensorState t;
  t.pointGroup = 17;
  FitSession session;
  ASSERT_TRUE(OpenFitForKind(t, session, *FindPropertyKind("&Hall Effect")));
  EXPECT_EQ(t.kind, 12);
  EXPECT_EQ(t.rank, 3);
  EXPECT_TRUE(t.axial);
  EXPECT_EQ(t.exponent, -12);
  EXPECT_EQ(t.unitText, "m³/C");
  EXPECT_EQ(t.pointGroup, 17) << "the point group is not touched";
  EXPECT_EQ(FitWindowCreated(session), 3);
  EXPECT_FALSE(session.fitWindowFree);
}

TEST(PropertyKinds, NothingChangesWhileAFitWindowIsOpen) {
  TensorState t;
  FitSession session;
  ASSERT_TRUE(OpenFitForKind(t, session, *FindPropertyKind("piezoelectric")));
  FitWindowCreated(session);
  const TensorState before = t;
  EXPECT_FALSE(OpenFitForKind(t, session, *FindPropertyKind("Dielectric Constants")));
  EXPECT_EQ(t.kind, before.kind);
  EXPECT_EQ(t.unitText, "C/N");
  EXPECT_EQ(session.indexDirectionFlags, (IndexDirectionFlags{0, 0, 1, 1, 1}));

  FitWindowClosed(session);
  ASSERT_TRUE(OpenFitForKind(t, session, *FindPropertyKind("Dielectric Constants")));
  EXPECT_EQ(t.unitText, "");
  EXPECT_EQ(t.exponent, 0);
  EXPECT_EQ(t.rank, 2);
}

}  // namespace
}  // namespace quillmere
