#include "tensor/number_text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <stdexcept>

namespace quillmere {
namespace {

TEST(FormatGeneral, FixedAndScientificForms) {
  EXPECT_EQ(FormatGeneral(12), "12");
  EXPECT_EQ(FormatGeneral(-0.25L), "-0.25");
  EXPECT_EQ(FormatGeneral(0.15L), "0.15");
  EXPECT_EQ(FormatGeneral(0.00001L), "0.00001");
  EXPECT_EQ(FormatGeneral(0.0000015L), "1.5E-6");
  EXPECT_EQ(FormatGeneral(123456789012345.0L), "123456789012345");
  EXPECT_EQ(FormatGeneral(1234567890123456.0L), "1.23456789012346E15");
  EXPECT_EQ(FormatGeneral(1.0L / 3.0L), "0.333333333333333");
  EXPECT_EQ(FormatGeneral(2.0L / 3.0L), "0.666666666666667");
  EXPECT_EQ(FormatGeneral(0), "0");
  EXPECT_EQ(FormatGeneral(3.5L, ','), "3,5");
  EXPECT_EQ(
      FormatGeneral(1e300L * 1e300L * 1e300L * 1e300L * 1e300L * 1e300L * 1e300L * 1e300L * 1e300L *
                    1e300L * 1e300L * 1e300L * 1e300L * 1e300L * 1e300L * 1e300L * 1e300L),
      "INF");
  // Rounding to 15 digits can carry into a new integer digit.
  EXPECT_EQ(FormatGeneral(9.9999999999999999L), "10");
}

TEST(ParseReal, AcceptsNumbersAndRejectsTheRest) {
  EXPECT_EQ(ParseReal(" 1.5 "), 1.5L);
  EXPECT_EQ(ParseReal("-2e3"), -2000.0L);
  EXPECT_EQ(ParseReal("+.5"), 0.5L);
  EXPECT_EQ(ParseReal("3,25", ','), 3.25L);
  EXPECT_EQ(ParseReal("1E-5000"), 0.0L);
  Real v = 0;
  // A number too large for the program's numbers is refused, never taken as an infinity.
  for (const char* bad : {"", "abc", "1.2.3", "1e", "--1", "1 2", "inf", "nan", "0x10", "1e5000",
                          "-1E+5000", "1e99999999999999999999", "1e400", "-1.8e308"})
    EXPECT_FALSE(TryParseReal(bad, v)) << "'" << bad << "'";
  // The drawing computes in double: its largest number is the largest a user may give; the
  // tensor file keeps what the extended numbers hold.
  EXPECT_TRUE(TryParseReal("-1.7976931348623157e308", v));
  EXPECT_EQ(static_cast<double>(v), -DBL_MAX);
  EXPECT_TRUE(TryParseExtendedReal("1e400", v));
  EXPECT_EQ(v, 1e400L);
  try {
    ParseReal("abc");
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
}

TEST(FormatGeneral, ReadsBackToFifteenDigits) {
  for (Real v : {3.14159265358979L, -1.0e-12L, 6.02214076e23L, 0.1L, 123.456L}) {
    Real back = ParseReal(FormatGeneral(v));
    EXPECT_NEAR(static_cast<double>(back / v), 1.0, 1e-14) << FormatGeneral(v);
  }
}

}  // namespace
}  // namespace quillmere
