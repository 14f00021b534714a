// Eigenvalues and principal directions of second-rank tensors.
#include "fit/eigen3.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"

namespace quillmere {
namespace {

using Vector3 = std::array<Real, 3>;

Real Dot(const Vector3& a, const Vector3& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

/// m v = L v, |v| = 1 and the three directions orthonormal.
void ExpectEigensystem(const Matrix3& m, const EigenSystem3& e, double tol) {
  ASSERT_TRUE(e.computed);
  for (int k = 0; k < 3; ++k) {
    const Vector3& v = e.vectors[k];
    for (int i = 0; i < 3; ++i) {
      const Real mv = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
      EXPECT_NEAR(static_cast<double>(mv), static_cast<double>(e.values[k] * v[i]), tol)
          << "eigenvalue " << k << ", row " << i;
    }
    for (int j = 0; j < 3; ++j)
      EXPECT_NEAR(static_cast<double>(Dot(v, e.vectors[j])), k == j ? 1.0 : 0.0, tol)
          << "directions " << k << " and " << j;
  }
}

Matrix3 Rotated(const Matrix3& m, const Matrix3& r) {
  Matrix3 out{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        for (int l = 0; l < 3; ++l) out[i][j] += r[i][k] * m[k][l] * r[j][l];
  return out;
}

/// The rotation by `angle` radians about the unit axis n (Rodrigues).
Matrix3 Rotation(Vector3 n, Real angle) {
  const Real len = std::sqrt(Dot(n, n));
  for (Real& x : n) x /= len;
  const Real c = std::cos(angle), s = std::sin(angle);
  Matrix3 r;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r[i][j] = (1 - c) * n[i] * n[j] + (i == j ? c : 0);
  r[0][1] -= s * n[2];
  r[1][0] += s * n[2];
  r[0][2] += s * n[1];
  r[2][0] -= s * n[1];
  r[1][2] -= s * n[0];
  r[2][1] += s * n[0];
  return r;
}

// The second-difference matrix K = [2 -1 0; -1 2 -1; 0 -1 2] has the eigenvalues 2 - sqrt 2, 2
// and 2 + sqrt 2 with the eigenvectors (1, sqrt 2, 1)/2, (1, 0, -1)/sqrt 2 and (1, -sqrt 2, 1)/2
// (G. Strang, Introduction to Linear Algebra, 4th ed., section 6.1). Its eigenvalue 2 equals the
// middle diagonal element, yet the y axis is no principal direction.
TEST(SymmetricEigen3, SecondDifferenceMatrix) {
  const Matrix3 k = {{{2, -1, 0}, {-1, 2, -1}, {0, -1, 2}}};
  const EigenSystem3 e = SymmetricEigen3(k);
  const Real r2 = std::sqrt(2.0L);
  EXPECT_NEAR(static_cast<double>(e.values[0]), static_cast<double>(2 + r2), 1e-15);
  EXPECT_NEAR(static_cast<double>(e.values[1]), static_cast<double>(2 - r2), 1e-15);
  EXPECT_NEAR(static_cast<double>(e.values[2]), 2.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(std::fabs(e.vectors[0][1])), static_cast<double>(r2 / 2), 1e-15);
  EXPECT_NEAR(static_cast<double>(std::fabs(e.vectors[1][0])), 0.5, 1e-15);
  EXPECT_NEAR(static_cast<double>(std::fabs(e.vectors[2][0])), static_cast<double>(1 / r2), 1e-15);
  EXPECT_NEAR(static_cast<double>(e.vectors[2][1]), 0.0, 1e-15);
  ExpectEigensystem(k, e, 1e-15);
}

TEST(SymmetricEigen3, HugeEntriesGiveFiniteScaledAnswers) {
  // The second-difference matrix (eigenvalues 2 - sqrt 2, 2, 2 + sqrt 2) times 1e160 and
  // 1e4000: the cubic's coefficients reach the sixth power of the entries.
  for (const Real factor : {1e160L, 1e4000L}) {
    const Matrix3 m{
        {{2 * factor, -factor, 0}, {-factor, 2 * factor, -factor}, {0, -factor, 2 * factor}}};
    const EigenSystem3 e = SymmetricEigen3(m);
    ASSERT_TRUE(e.computed) << static_cast<double>(std::log10(factor));
    const Real want[3] = {2 + std::sqrt(2.0L), 2 - std::sqrt(2.0L), 2};
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(static_cast<double>(e.values[k] / factor), static_cast<double>(want[k]), 1e-12);
      EXPECT_NEAR(static_cast<double>(std::fabs(e.vectors[k][0]) + std::fabs(e.vectors[k][2])),
                  k == 2 ? std::sqrt(2.0) : 1.0, 1e-9);
    }
  }
}

TEST(SymmetricEigen3, IsotropicTensorHasNothingToCompute) {
  const Matrix3 m = {{{3, 0, 0}, {0, 3, 0}, {0, 0, 3}}};
  const EigenSystem3 e = SymmetricEigen3(m);
  EXPECT_FALSE(e.computed);
  EXPECT_NEAR(static_cast<double>(e.meanValue), 3.0, 1e-18);
}

TEST(SymmetricEigen3, DiagonalTensorsLieOnTheAxes) {
  const Matrix3 m = {{{1, 0, 0}, {0, 3, 0}, {0, 0, 2}}};
  const EigenSystem3 e = SymmetricEigen3(m);
  ASSERT_TRUE(e.computed);
  const Real values[3] = {3, 1, 2};
  const int axes[3] = {1, 0, 2};
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(static_cast<double>(e.values[k]), static_cast<double>(values[k]), 1e-15);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(e.vectors[k][i], i == axes[k] ? 1 : 0) << k << i;
  }

  // A double eigenvalue on the axes still gets two different axes.
  const Matrix3 uniaxial = {{{5, 0, 0}, {0, 5, 0}, {0, 0, 1}}};
  const EigenSystem3 u = SymmetricEigen3(uniaxial);
  ExpectEigensystem(uniaxial, u, 1e-15);
  for (int k = 0; k < 3; ++k)
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(u.vectors[k][i] == 0 || u.vectors[k][i] == 1);
}

// Calcite: thermal expansion 25.0e-6 /K along the triad axis and -5.6e-6 /K across it (Nye,
// Physical Properties of Crystals, ch. VI). Rotated to a general orientation, the single
// principal direction is the rotated triad axis, the other two lie across it.
TEST(SymmetricEigen3, RotatedUniaxialTensorFollowsTheRotatedAxes) {
  const Matrix3 calcite = {{{-5.6L, 0, 0}, {0, -5.6L, 0}, {0, 0, 25.0L}}};
  const Matrix3 r = Rotation({1, 2, 3}, 0.7L);
  const Matrix3 m = Rotated(calcite, r);
  const EigenSystem3 e = SymmetricEigen3(m);
  ExpectEigensystem(m, e, 1e-13);
  EXPECT_NEAR(static_cast<double>(e.values[0]), 25.0, 1e-13);
  EXPECT_NEAR(static_cast<double>(e.values[1]), -5.6, 1e-13);
  EXPECT_NEAR(static_cast<double>(e.values[2]), -5.6, 1e-13);
  const Vector3 axis = {r[0][2], r[1][2], r[2][2]};  // the rotated z axis
  EXPECT_NEAR(static_cast<double>(std::fabs(Dot(e.vectors[0], axis))), 1.0, 1e-13);
}

TEST(SymmetricEigen3, DirectionsWithoutAnXComponent) {
  // Turned about x: two principal directions lie in the yz plane, where the second and third
  // rows of m - L I are parallel.
  const Matrix3 m = {{{1, 0, 0}, {0, 3, 1}, {0, 1, 3}}};
  const EigenSystem3 e = SymmetricEigen3(m);
  ExpectEigensystem(m, e, 1e-15);
  EXPECT_NEAR(static_cast<double>(e.values[0]), 4.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(std::fabs(e.vectors[0][1])), std::sqrt(0.5), 1e-15);
  EXPECT_EQ(e.vectors[1][0], 1) << "eigenvalue 1 lies on the x axis";
}

TEST(SymmetricEigen3, RandomSymmetricTensorsInSolverOrder) {
  test::Random random(11);
  for (int n = 0; n < 50; ++n) {
    Matrix3 m;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j <= i; ++j) m[i][j] = m[j][i] = random.Uniform(-10, 10);
    const EigenSystem3 e = SymmetricEigen3(m);
    ExpectEigensystem(m, e, 1e-12);
    EXPECT_GE(e.values[0], e.values[2]);
    EXPECT_GE(e.values[2], e.values[1]);
  }
}

TEST(ScalarRoutines, ClampedArcCosineAndRealCubeRoot) {
  EXPECT_NEAR(static_cast<double>(ArcCosClamped(-0.5L)), 2 * M_PI / 3, 1e-15);
  EXPECT_EQ(ArcCosClamped(0.99995L), 0);
  EXPECT_NEAR(static_cast<double>(ArcCosClamped(-1.5L)), M_PI, 1e-15);
  EXPECT_NEAR(static_cast<double>(CubeRoot(-27)), -3.0, 1e-15);
}

}  // namespace
}  // namespace quillmere
