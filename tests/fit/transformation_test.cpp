#include "fit/transformation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "support/test_support.h"
#include "surface/surface_value.h"

namespace quillmere {
namespace {

TensorState RandomTensor(test::Random& random, int rank) {
  TensorState t;
  t.rank = rank;
  int count = 1;
  for (int p = 0; p < rank; ++p) count *= 3;
  const int stride = kComponentCount / count;
  for (int q = 0; q < count; ++q) t.components[q * stride] = random.Uniform(-3, 3);
  return t;
}

/// Index digits 1..3 of compact position q of a rank-r tensor, first index slowest.
TensorIndices IndicesOf(int q, int rank) {
  TensorIndices x;
  for (int p = rank - 1; p >= 0; --p) {
    x.i[p] = q % 3 + 1;
    q /= 3;
  }
  return x;
}

int CountOf(int rank) {
  int n = 1;
  for (int p = 0; p < rank; ++p) n *= 3;
  return n;
}

/// The law written out as the plain r-fold sum over all index combinations.
Real NaiveComponent(const TensorState& t, const TransformMatrix& u, const TensorIndices& a) {
  Real sum = 0;
  for (int q = 0; q < CountOf(t.rank); ++q) {
    const TensorIndices b = IndicesOf(q, t.rank);
    Real term = t.At(b);
    for (int p = 0; p < t.rank; ++p) term *= u[a.i[p] - 1][b.i[p] - 1];
    sum += term;
  }
  return sum;
}

TEST(Transformation, MatchesTheFullSumForEveryRank) {
  test::Random random(5);
  for (int rank = 1; rank <= 5; ++rank) {
    const TensorState t = RandomTensor(random, rank);
    TransformMatrix u;
    for (auto& row : u)
      for (Real& x : row) x = random.Uniform(-1.5, 1.5);  // not orthogonal
    TensorState moved = t;
    TransformTensor(moved, u);
    for (int q = 0; q < CountOf(rank); ++q) {
      const TensorIndices a = IndicesOf(q, rank);
      EXPECT_NEAR(static_cast<double>(moved.At(a)), static_cast<double>(NaiveComponent(t, u, a)),
                  1e-12)
          << "rank " << rank << ", element " << q;
    }
  }
}

TEST(Transformation, IdentityScalingAndSingleAxisReversal) {
  test::Random random(9);
  for (int rank = 1; rank <= 5; ++rank) {
    for (bool axial : {false, true}) {
      TensorState t = RandomTensor(random, rank);
      t.axial = axial;  // no determinant factor: axial tensors follow the same law
      TensorState same = t;
      TransformTensor(same, IdentityMatrix());
      TransformMatrix twice = IdentityMatrix();
      for (int a = 0; a < 3; ++a) twice[a][a] = 2;
      TensorState scaled = t;
      TransformTensor(scaled, twice);
      for (int axis = 0; axis < 3; ++axis) {
        TransformMatrix flip = IdentityMatrix();
        flip[axis][axis] = -1;
        TensorState flipped = t;
        TransformTensor(flipped, flip);
        for (int q = 0; q < CountOf(rank); ++q) {
          const TensorIndices x = IndicesOf(q, rank);
          int onAxis = 0;
          for (int p = 0; p < rank; ++p) onAxis += x.i[p] == axis + 1;
          const double want = static_cast<double>(onAxis % 2 ? -t.At(x) : t.At(x));
          EXPECT_NEAR(static_cast<double>(flipped.At(x)), want, 1e-15)
              << "rank " << rank << " axis " << axis << " element " << q;
        }
      }
      for (int q = 0; q < CountOf(rank); ++q) {
        const TensorIndices x = IndicesOf(q, rank);
        EXPECT_NEAR(static_cast<double>(same.At(x)), static_cast<double>(t.At(x)), 1e-15);
        EXPECT_NEAR(static_cast<double>(scaled.At(x)),
                    static_cast<double>(t.At(x)) * std::pow(2.0, rank), 1e-13)
            << "2I scales a rank-" << rank << " tensor by 2^" << rank;
      }
      EXPECT_EQ(same.axial, axial);
    }
  }
}

TEST(Transformation, FirstMatrixIndexIsTheGridColumn) {
  // A shear with U[1][2] = 1 (column 1, row 2 of the grid) sends the rank-1 tensor (0, 1, 0)
  // to (1, 1, 0); the transposed matrix would leave it unchanged.
  TensorState t;
  t.rank = 1;
  t.At(2) = 1;
  TransformMatrix u = IdentityMatrix();
  u[0][1] = 1;
  TransformTensor(t, u);
  EXPECT_NEAR(static_cast<double>(t.At(1)), 1, 1e-18);
  EXPECT_NEAR(static_cast<double>(t.At(2)), 1, 1e-18);
  EXPECT_NEAR(static_cast<double>(t.At(3)), 0, 1e-18);
}

TEST(Transformation, RotationOfASecondRankTensor) {
  // Nye, Physical Properties of Crystals, ch. I: T'ij = aik ajl Tkl. A quarter turn about z
  // exchanges the principal values along x and y.
  TensorState t;
  t.rank = 2;
  t.At(1, 1) = 1;
  t.At(2, 2) = 2;
  t.At(3, 3) = 3;
  TensorState r = t;
  TransformTensor(r, RotationMatrix(2, 90));
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      const double want = i != j ? 0 : (i == 1 ? 2 : i == 2 ? 1 : 3);
      EXPECT_NEAR(static_cast<double>(r.At(i, j)), want, 1e-18) << i << j;
    }
  // 45 degrees about z: T'11 = (a + b)/2 and T'12 = (a - b)/2 for the active rotation.
  TensorState h = t;
  TransformTensor(h, RotationMatrix(2, 45));
  EXPECT_NEAR(static_cast<double>(h.At(1, 1)), 1.5, 1e-15);
  EXPECT_NEAR(static_cast<double>(h.At(2, 2)), 1.5, 1e-15);
  EXPECT_NEAR(static_cast<double>(h.At(1, 2)), -0.5, 1e-15);
  EXPECT_NEAR(static_cast<double>(h.At(2, 1)), -0.5, 1e-15);
  EXPECT_NEAR(static_cast<double>(h.At(3, 3)), 3, 1e-15);
}

TEST(Transformation, RotatedSurfaceIsTheTurnedSurface) {
  // For an orthogonal U, the value of T' along U x equals the value of T along x.
  test::Random random(17);
  SurfaceEvaluation e;
  for (int rank = 1; rank <= 5; ++rank) {
    const TensorState t = RandomTensor(random, rank);
    const TransformMatrix a = RotationMatrix(0, 37), b = RotationMatrix(1, -112),
                          c = RotationMatrix(2, 250);
    TensorState moved = t;
    TransformTensor(moved, a);
    TransformTensor(moved, b);
    TransformTensor(moved, c);
    for (int trial = 0; trial < 10; ++trial) {
      double x[3];
      random.UnitVector(x[0], x[1], x[2]);
      Real y[3] = {x[0], x[1], x[2]};
      for (const TransformMatrix* u : {&a, &b, &c}) {
        Real z[3];
        for (int i = 0; i < 3; ++i)
          z[i] = (*u)[i][0] * y[0] + (*u)[i][1] * y[1] + (*u)[i][2] * y[2];
        for (int i = 0; i < 3; ++i) y[i] = z[i];
      }
      // Directions are evaluated in single precision, so agreement is to about 1e-6.
      EXPECT_NEAR(static_cast<double>(SurfaceValue(moved, e, y[0], y[1], y[2])),
                  static_cast<double>(SurfaceValue(t, e, x[0], x[1], x[2])), 2e-5)
          << "rank " << rank;
    }
  }
}

TEST(Transformation, OnlyTheRankedElementsSurvive) {
  TensorState t;
  t.rank = 2;
  t.At(1, 2) = 4;
  t.At(1, 2, 3) = 7;  // left over from a tensor of higher rank
  TransformTensor(t, IdentityMatrix());
  EXPECT_NEAR(static_cast<double>(t.At(1, 2)), 4, 1e-18);
  EXPECT_NEAR(static_cast<double>(t.At(1, 2, 3)), 0, 1e-18);

  TensorState odd;
  odd.rank = 0;
  odd.At(1) = 5;
  TransformTensor(odd, RotationMatrix(2, 90));
  EXPECT_NEAR(static_cast<double>(odd.At(1)), 5, 1e-18) << "an unknown rank is left alone";
}

TEST(Transformation, ReadingTheGridStopsAtTheFirstBadCell) {
  TransformMatrix u = IdentityMatrix();
  std::string order;
  auto cell = [&](int column, int row) -> std::string {
    order += std::to_string(column) + std::to_string(row) + " ";
    if (column == 2 && row == 2) return "abc";
    return std::to_string(10 * column + row);
  };
  try {
    ReadTransformMatrix(u, cell);
    ADD_FAILURE() << "a text was read as a number";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
  EXPECT_EQ(order, "11 12 13 21 22 ");
  EXPECT_NEAR(static_cast<double>(u[0][2]), 13, 1e-18);
  EXPECT_NEAR(static_cast<double>(u[1][0]), 21, 1e-18);
  EXPECT_NEAR(static_cast<double>(u[1][1]), 1, 1e-18) << "the failing entry keeps its value";
  EXPECT_NEAR(static_cast<double>(u[2][2]), 1, 1e-18);

  ReadTransformMatrix(
      u, [](int, int) { return "0,5"; }, ',');
  EXPECT_NEAR(static_cast<double>(u[2][1]), 0.5, 1e-18);
}

}  // namespace
}  // namespace quillmere
