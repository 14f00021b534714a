// The shipped example files, read with the shipped table, give the published values they were
// made from.
#include <gtest/gtest.h>

#include <cmath>

#include "files/tensor_file.h"
#include "support/test_support.h"

namespace quillmere {
namespace {

TensorState ReadExample(const char* name, test::ShippedTable& table) {
  TensorState t;
  ReadTensorFile(t, test::SourceDirectory() / "examples" / name, table.services);
  EXPECT_TRUE(table.messages.shown.empty()) << name << ": " << table.messages.shown.front();
  return t;
}

void ExpectValue(double expected, Real actual, const char* what) {
  EXPECT_NEAR(static_cast<double>(actual), expected, std::fabs(expected) * 1e-12) << what;
}

// Nye, Physical Properties of Crystals, ch. VII: alpha-quartz (32) d11 = 2.3, d14 = -0.67
// (10^-12 C/N), with d12 = -d11, d26 = -2 d11, d25 = -d14. Voigt: d14 = 2 d123, d26 = 2 d212.
TEST(ExampleFiles, QuartzPiezoelectricModuli) {
  test::ShippedTable table;
  const TensorState t = ReadExample("quartz-piezoelectric.ten", table);
  EXPECT_EQ(t.kind, 5);
  EXPECT_EQ(t.pointGroup, 12);
  EXPECT_EQ(t.unitText, "C/N");
  ExpectValue(2.3e-12, t.At(1, 1, 1), "d11");
  ExpectValue(-2.3e-12, t.At(1, 2, 2), "d12 = -d11");
  ExpectValue(-0.67e-12, 2 * t.At(1, 2, 3), "d14");
  ExpectValue(-0.67e-12, 2 * t.At(1, 3, 2), "d14 from T132");
  ExpectValue(0.67e-12, 2 * t.At(2, 1, 3), "d25 = -d14");
  ExpectValue(-4.6e-12, 2 * t.At(2, 1, 2), "d26 = -2 d11");
  EXPECT_EQ(t.At(3, 3, 3), 0.0L) << "d33 vanishes in 32";
}

// Copper (m-3m): c11 = 168.4, c12 = 121.4, c44 = 75.4 GPa (Kittel, Introduction to Solid State
// Physics; Simmons & Wang). Bulk modulus (c11 + 2 c12) / 3 = 137.1 GPa.
TEST(ExampleFiles, CopperElasticStiffness) {
  test::ShippedTable table;
  const TensorState t = ReadExample("copper-elastic.ten", table);
  ExpectValue(168.4, t.At(3, 3, 3, 3), "c33 = c11");
  ExpectValue(121.4, t.At(2, 2, 3, 3), "c23 = c12");
  ExpectValue(75.4, t.At(1, 2, 2, 1), "c66 = c44");
  EXPECT_NEAR(static_cast<double>(t.At(1, 1, 1, 1) + 2 * t.At(1, 1, 2, 2)) / 3, 137.07, 0.01);
}

// Alpha-quartz stiffness (Bechmann 1958, as in Simmons & Wang): c11 = 86.74, c12 = 6.99,
// c14 = -17.91 GPa; in 32, c66 = (c11 - c12) / 2, c24 = -c14, c56 = c14.
TEST(ExampleFiles, QuartzElasticStiffness) {
  test::ShippedTable table;
  const TensorState t = ReadExample("quartz-elastic.ten", table);
  ExpectValue(39.875, t.At(1, 2, 1, 2), "c66");
  ExpectValue(17.91, t.At(2, 2, 2, 3), "c24");
  ExpectValue(-17.91, t.At(1, 3, 1, 2), "c56");
  ExpectValue(-17.91, t.At(3, 2, 1, 1), "c41 = c14");
}

// Calcite (-3m): alpha11 = -5.6, alpha33 = 25 (10^-6 1/K), Nye, ch. VI.
TEST(ExampleFiles, CalciteThermalExpansion) {
  test::ShippedTable table;
  const TensorState t = ReadExample("calcite-thermal-expansion.ten", table);
  ExpectValue(-5.6e-6, t.At(2, 2), "alpha22 = alpha11");
  ExpectValue(25e-6, t.At(3, 3), "alpha33");
  EXPECT_EQ(t.At(1, 3), 0.0L);
}

}  // namespace
}  // namespace quillmere
