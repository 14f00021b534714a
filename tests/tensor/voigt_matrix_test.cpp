#include "tensor/voigt_matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace quillmere {
namespace {

using VC = VoigtConvention;

/// A symmetric 6 x 6 matrix from its upper triangle given row by row.
VoigtMatrix Symmetric(std::initializer_list<Real> upper) {
  VoigtMatrix m(6, 6);
  auto v = upper.begin();
  for (int r = 1; r <= 6; ++r)
    for (int c = r; c <= 6; ++c) m(r, c) = m(c, r) = *v++;
  return m;
}

TensorState Entered(int kind, const VoigtMatrix& m, VC convention) {
  TensorState t;
  SetKind(t, kind);
  SetFromVoigtMatrix(t, m, convention);
  return t;
}

/// s_ijkl c_klmn summed over k, l: the symmetric identity (d_im d_jn + d_in d_jm) / 2 when s is
/// the inverse of c as fourth-rank tensors.
void ExpectInverse(const TensorState& s, const TensorState& c, Real tolerance) {
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      for (int m = 1; m <= 3; ++m)
        for (int n = 1; n <= 3; ++n) {
          Real sum = 0;
          for (int k = 1; k <= 3; ++k)
            for (int l = 1; l <= 3; ++l) sum += s.At(i, j, k, l) * c.At(k, l, m, n);
          const Real identity = ((i == m && j == n) + (i == n && j == m)) / 2.0L;
          EXPECT_NEAR(static_cast<double>(sum), static_cast<double>(identity), tolerance)
              << i << j << m << n;
        }
}

/// The value along n: t_ijkl n_i n_j n_k n_l (or t_ijk n_i n_j n_k for rank 3).
Real Along(const TensorState& t, const Real n[3]) {
  Real sum = 0;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      for (int k = 1; k <= 3; ++k) {
        if (t.rank == 3) {
          sum += t.At(i, j, k) * n[i - 1] * n[j - 1] * n[k - 1];
          continue;
        }
        for (int l = 1; l <= 3; ++l)
          sum += t.At(i, j, k, l) * n[i - 1] * n[j - 1] * n[k - 1] * n[l - 1];
      }
  return sum;
}

// Copper (cubic): c11 = 168.4, c12 = 121.4, c44 = 75.4 GPa (Simmons and Wang, Single Crystal
// Elastic Constants, 1971; also Kittel, Introduction to Solid State Physics, table 4.1). The
// compliance matrix of a cubic crystal is s11 = (c11 + c12) / D, s12 = -c12 / D with
// D = (c11 - c12)(c11 + 2 c12), and s44 = 1 / c44 (Nye, Physical Properties of Crystals, ch. VIII).
TEST(VoigtMatrix, CopperStiffnessAndComplianceAreInverseTensors) {
  const Real c11 = 168.4, c12 = 121.4, c44 = 75.4;
  const Real d = (c11 - c12) * (c11 + 2 * c12);
  const Real s11 = (c11 + c12) / d, s12 = -c12 / d, s44 = 1 / c44;
  const VoigtMatrix c =
      Symmetric({c11, c12, c12, 0, 0, 0, c11, c12, 0, 0, 0, c11, 0, 0, 0, c44, 0, 0, c44, 0, c44});
  const VoigtMatrix s =
      Symmetric({s11, s12, s12, 0, 0, 0, s11, s12, 0, 0, 0, s11, 0, 0, 0, s44, 0, 0, s44, 0, s44});
  EXPECT_NEAR(double(s11 * 1000), 14.99, 0.01);  // the published 1/TPa values
  EXPECT_NEAR(double(s44 * 1000), 13.26, 0.01);
  const TensorState ct = Entered(3, c, VC::Stiffness);
  const TensorState st = Entered(3, s, VC::Compliance);
  EXPECT_EQ(ct.At(2, 3, 3, 2), c44);
  ExpectInverse(st, ct, 1e-12);
  // Typed as it stands, the compliance matrix misses the inverse by the factor 4 in the shear.
  const TensorState wrong = Entered(3, s, VC::Stiffness);
  EXPECT_NEAR(double(2 * wrong.At(2, 3, 2, 3) * ct.At(2, 3, 2, 3)), 2.0, 1e-12);
  // Both conventions give the same matrix back.
  const VoigtMatrix back = ToVoigtMatrix(st, VC::Compliance);
  for (int r = 1; r <= 6; ++r)
    for (int k = 1; k <= 6; ++k) EXPECT_NEAR(double(back(r, k)), double(s(r, k)), 1e-15);
}

// Alpha quartz (trigonal 32): Bechmann, Phys. Rev. 110, 1060 (1958): c11 86.74, c12 6.99,
// c13 11.91, c14 17.91, c33 107.2, c44 57.94 GPa; s11 12.77, s12 -1.79, s13 -1.22, s14 -4.50,
// s33 9.60, s44 20.04 (1/TPa), with s66 = 2 (s11 - s12), s56 = 2 s14. Young's modulus 1 / s'(n)
// from pymatgen's ElasticTensor(c).compliance_tensor: 115.56 GPa along [111], 78.31 along [100].
TEST(VoigtMatrix, QuartzComplianceGivesPublishedYoungsModulus) {
  const Real c66 = (86.74 - 6.99) / 2;
  const VoigtMatrix c = Symmetric({86.74, 6.99, 11.91, 17.91, 0,     0, 86.74, 11.91, -17.91, 0,  0,
                                   107.2, 0,    0,     0,     57.94, 0, 0,     57.94, 17.91,  c66});
  const Real s11 = 12.77e-3, s12 = -1.79e-3, s14 = -4.50e-3;
  const VoigtMatrix s = Symmetric(
      {s11, s12, -1.22e-3, s14,      0, 0, s11,      -1.22e-3, -s14,           0, 0, 9.60e-3,
       0,   0,   0,        20.04e-3, 0, 0, 20.04e-3, 2 * s14,  2 * (s11 - s12)});
  const TensorState ct = Entered(3, c, VC::Stiffness);
  const TensorState st = Entered(3, s, VC::Compliance);
  ExpectInverse(st, ct, 3e-3);
  const Real n[3] = {1 / std::sqrt(3.0L), 1 / std::sqrt(3.0L), 1 / std::sqrt(3.0L)};
  EXPECT_NEAR(double(1 / Along(st, n)), 115.56, 0.1);
  const Real x[3] = {1, 0, 0};
  EXPECT_NEAR(double(1 / Along(st, x)), 78.31, 0.1);
  // The same matrix typed without its factors gives a far softer crystal.
  EXPECT_LT(double(1 / Along(Entered(3, s, VC::Stiffness), n)), 50.0);
}

// Piezoelectric moduli of BaTiO3 (4mm, polar axis x3): d15 = 392, d31 = -34.5, d33 = 85.6
// pC/N; Zgonik et al., Phys. Rev. B 50, 5941 (1994). The longitudinal modulus along [111] is
// (2 (d31 + d15) + d33) / (3 sqrt 3) = 154.1 pC/N.
TEST(VoigtMatrix, BariumTitanatePiezoelectricAlong111) {
  VoigtMatrix d(3, 6);
  d(1, 5) = d(2, 4) = 392;
  d(3, 1) = d(3, 2) = -34.5;
  d(3, 3) = 85.6;
  const Real n[3] = {1 / std::sqrt(3.0L), 1 / std::sqrt(3.0L), 1 / std::sqrt(3.0L)};
  EXPECT_NEAR(double(Along(Entered(5, d, VC::Compliance), n)), 154.1, 0.1);
  EXPECT_NEAR(double(Along(Entered(5, d, VC::Stiffness), n)), 305.0, 0.5);
}

// Quartz piezoelectric moduli d11 = 2.31, d14 = -0.727 pC/N (Bechmann 1958; d12 = -d11,
// d25 = -d14, d26 = -2 d11). The stress constants are e_iJ = d_iK c_KJ in matrix form (Nye,
// ch. VII), and the tensors obey e_ijk = d_ilm c_lmjk.
TEST(VoigtMatrix, QuartzStressConstantsFromModuliInBothConventions) {
  const Real c66 = (86.74 - 6.99) / 2;
  const VoigtMatrix c = Symmetric({86.74, 6.99, 11.91, 17.91, 0,     0, 86.74, 11.91, -17.91, 0,  0,
                                   107.2, 0,    0,     0,     57.94, 0, 0,     57.94, 17.91,  c66});
  VoigtMatrix d(3, 6);
  d(1, 1) = 2.31;
  d(1, 2) = -2.31;
  d(1, 4) = -0.727;
  d(2, 5) = 0.727;
  d(2, 6) = -2 * 2.31;
  VoigtMatrix e(3, 6);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 6; ++j)
      for (int k = 1; k <= 6; ++k) e(i, j) += d(i, k) * c(k, j);
  const TensorState dt = Entered(5, d, VC::Compliance);
  const TensorState ct = Entered(3, c, VC::Stiffness);
  const TensorState et = Entered(5, e, VC::Stiffness);
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      for (int k = 1; k <= 3; ++k) {
        Real sum = 0;
        for (int l = 1; l <= 3; ++l)
          for (int m = 1; m <= 3; ++m) sum += dt.At(i, l, m) * ct.At(l, m, j, k);
        EXPECT_NEAR(double(sum), double(et.At(i, j, k)), 1e-9) << i << j << k;
      }
}

TEST(VoigtMatrix, FactorsFollowTheKind) {
  // Second rank: a strain-like vector doubles its shear terms; the piezo-optic matrix only its
  // second pair; kinds without a symmetric pair have no factors.
  EXPECT_EQ(VoigtFactor(1, 1, 4, VC::Compliance), 2);
  EXPECT_EQ(VoigtFactor(6, 4, 4, VC::Compliance), 2);
  EXPECT_EQ(VoigtFactor(6, 4, 1, VC::Compliance), 1);
  EXPECT_EQ(VoigtFactor(2, 5, 3, VC::Compliance), 2);
  EXPECT_EQ(VoigtFactor(3, 4, 6, VC::Compliance), 4);
  EXPECT_FALSE(ConventionMatters(9));
  EXPECT_EQ(VoigtFactor(9, 9, 9, VC::Compliance), 1);
  EXPECT_EQ(VoigtRowLabel(3, 4), "4");
  EXPECT_EQ(VoigtColumnLabel(4, 2), "12");
}

TEST(VoigtMatrix, RefusesMatricesThatBreakTheKindsSymmetry) {
  TensorState t;
  SetKind(t, 3);
  t.At(1, 1, 1, 1) = 7;
  VoigtMatrix c =
      Symmetric({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21});
  c(4, 1) = 4.5;
  try {
    SetFromVoigtMatrix(t, c, VC::Stiffness);
    FAIL() << "an unsymmetric stiffness matrix was taken";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(),
                 "row 4, column 1: 4.5 differs from row 1, column 4: 4; the matrix must be "
                 "symmetric");
  }
  EXPECT_EQ(t.At(1, 1, 1, 1), 7) << "a refused matrix changed the tensor";
  c(4, 1) = 4 * (1 + 1e-9);  // rounding in a pasted matrix is no asymmetry
  EXPECT_NO_THROW(SetFromVoigtMatrix(t, c, VC::Stiffness));
  c(2, 2) = NAN;
  EXPECT_THROW(SetFromVoigtMatrix(t, c, VC::Stiffness), std::runtime_error);
  EXPECT_THROW(SetFromVoigtMatrix(t, VoigtMatrix(3, 6), VC::Stiffness), std::runtime_error);
  // The antisymmetric kind: a diagonal pair must be zero.
  TensorState hall;
  SetKind(hall, 12);
  VoigtMatrix h = EmptyVoigtMatrix(12);
  h(1, 4) = 1;   // t_121
  h(2, 1) = -1;  // t_211, its antisymmetric partner
  EXPECT_NO_THROW(SetFromVoigtMatrix(hall, h, VC::Stiffness));
  EXPECT_EQ(hall.At(2, 1, 1), -1);
  h(1, 1) = 1;  // t_111 of the antisymmetric pair 11
  EXPECT_THROW(SetFromVoigtMatrix(hall, h, VC::Stiffness), std::runtime_error);
}

TEST(VoigtMatrix, PastedTextInEveryLayout) {
  // Full, with commas, semicolons, brackets and a comment line.
  const std::string full =
      "# copper, GPa\n[168.4, 121.4, 121.4, 0, 0, 0]\n121.4;168.4;121.4;0;0;0\n"
      "121.4 121.4 168.4 0 0 0\n0\t0\t0\t75.4\t0\t0\n0 0 0 0 75.4 0\r\n0 0 0 0 0 75.4\n";
  const VoigtMatrix m = ShapeMatrixRows(3, ReadMatrixRows(full));
  EXPECT_EQ(m(2, 3), Real(121.4L));
  EXPECT_EQ(m(6, 6), Real(75.4L));
  const std::string upper =
      "168.4 121.4 121.4 0 0 0\n168.4 121.4 0 0 0\n168.4 0 0 0\n"
      "75.4 0 0\n75.4 0\n75.4\n";
  EXPECT_EQ(ShapeMatrixRows(3, ReadMatrixRows(upper)).values, m.values);
  const std::string lower = "1\n2 3\n4 5 6\n7 8 9 10\n11 12 13 14 15\n16 17 18 19 20 21\n";
  EXPECT_EQ(ShapeMatrixRows(3, ReadMatrixRows(lower))(1, 6), 16);
  // A 3 x 6 piezoelectric block pasted for the 6 x 3 "(ij)k" form is taken transposed.
  const VoigtMatrix r =
      ShapeMatrixRows(2, ReadMatrixRows("1 2 3 4 5 6\n7 8 9 10 11 12\n13 14 15 16 17 18\n"));
  EXPECT_EQ(r.rows, 6);
  EXPECT_EQ(r(4, 2), 10);
}

TEST(VoigtMatrix, DamagedTextNamesTheLine) {
  const auto message = [](int kind, const std::string& text) {
    try {
      ShapeMatrixRows(kind, ReadMatrixRows(text));
    } catch (const std::runtime_error& e) {
      return std::string(e.what());
    }
    return std::string("accepted");
  };
  EXPECT_EQ(message(3, "1 2 3 4 5 6\n\n1 2 x 4 5 6\n"), "line 3: 'x' is not a number");
  EXPECT_EQ(message(3,
                    "1 2 3 4 5 6\n1 2 3 4 5 6\n1 2 3 4 5\n1 2 3 4 5 6\n1 2 3 4 5 6\n"
                    "1 2 3 4 5 6\n"),
            "line 3: 6 numbers expected, found 5");
  EXPECT_EQ(message(5, "1 2 3 4 5 6\n1 2 3 4 5 6\n"),
            "2 rows found; 3 rows of 6 numbers are needed");
  EXPECT_EQ(message(1, ""), "No numbers found; 1 row of 6 numbers are needed");
}

TEST(VoigtMatrix, ConventionFromTheUnitText) {
  EXPECT_EQ(ConventionFromUnit("GPa"), VC::Stiffness);
  EXPECT_EQ(ConventionFromUnit("C/m^2"), VC::Stiffness);
  EXPECT_EQ(ConventionFromUnit("1/TPa"), VC::Compliance);
  EXPECT_EQ(ConventionFromUnit("GPa^-1"), VC::Compliance);
  EXPECT_EQ(ConventionFromUnit("m^2/N"), VC::Compliance);
  EXPECT_EQ(ConventionFromUnit("pC/N"), VC::Compliance);
  EXPECT_EQ(ConventionFromUnit("pm / V"), VC::Compliance);
  EXPECT_EQ(ConventionFromUnit("1/K"), VC::Compliance);
  EXPECT_EQ(ConventionFromUnit(""), std::nullopt);
  EXPECT_EQ(ConventionFromUnit("W/(m K)"), std::nullopt);
}

}  // namespace
}  // namespace quillmere
