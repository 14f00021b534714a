#include "fit/transformation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include <sstream>

#include "files/tensor_file.h"
#include "support/test_support.h"
#include "surface/surface_value.h"

namespace quillmere {
namespace {

int CountOf(int rank) {
  return static_cast<int>(std::pow(3, rank));
}

/// Index digits 1..3 of compact position q of a rank-r tensor, first index slowest.
TensorIndices IndicesOf(int q, int rank) {
  TensorIndices x;
  for (int p = rank - 1; p >= 0; --p, q /= 3) x.i[p] = q % 3 + 1;
  return x;
}

TensorState RandomTensor(test::Random& random, int rank) {
  TensorState t;
  t.rank = rank;
  for (int q = 0; q < CountOf(rank); ++q) t.At(IndicesOf(q, rank)) = random.Uniform(-3, 3);
  return t;
}

double At(const TensorState& t, const TensorIndices& x) {
  return static_cast<double>(t.At(x));
}

TEST(Transformation, MatchesTheFullSumForEveryRank) {
  test::Random random(5);
  for (int rank = 1; rank <= 5; ++rank) {
    const TensorState t = RandomTensor(random, rank);
    TransformMatrix u;
    for (auto& row : u)
      for (Real& x : row) x = random.Uniform(-1.5, 1.5);  // not orthogonal
    TensorState moved = t;
    moved.At(3, 3, 3, 3, 3) += rank < 5 ? 7 : 0;  // beyond the rank: must not take part
    TransformTensor(moved, u);
    for (int q = 0; q < CountOf(rank); ++q) {
      const TensorIndices a = IndicesOf(q, rank);
      Real want = 0;  // the r-fold sum of the law, written out
      for (int s = 0; s < CountOf(rank); ++s) {
        const TensorIndices b = IndicesOf(s, rank);
        Real term = t.At(b);
        for (int p = 0; p < rank; ++p) term *= u[a.i[p] - 1][b.i[p] - 1];
        want += term;
      }
      EXPECT_NEAR(At(moved, a), static_cast<double>(want), 1e-12) << "rank " << rank << " " << q;
    }
    if (rank < 5) {
      EXPECT_NEAR(static_cast<double>(moved.At(3, 3, 3, 3, 3)), 0, 1e-18) << "rank " << rank;
    }
  }
}

TEST(Transformation, IdentityScalingAndAxisReversal) {
  test::Random random(9);
  for (int rank = 1; rank <= 5; ++rank) {
    TensorState t = RandomTensor(random, rank);
    t.axial = rank % 2 == 0;  // no determinant factor: axial tensors follow the same law
    TensorState same = t, twice = t;
    TransformTensor(same, IdentityMatrix());
    TransformMatrix two = IdentityMatrix();
    for (int a = 0; a < 3; ++a) two[a][a] = 2;
    TransformTensor(twice, two);
    for (int axis = 0; axis < 3; ++axis) {
      TransformMatrix flip = IdentityMatrix();
      flip[axis][axis] = -1;
      TensorState flipped = t;
      TransformTensor(flipped, flip);
      for (int q = 0; q < CountOf(rank); ++q) {
        const TensorIndices x = IndicesOf(q, rank);
        int onAxis = 0;
        for (int p = 0; p < rank; ++p) onAxis += x.i[p] == axis + 1;
        EXPECT_NEAR(At(flipped, x), onAxis % 2 ? -At(t, x) : At(t, x), 1e-15)
            << "rank " << rank << ", -1 on axis " << axis;
      }
    }
    for (int q = 0; q < CountOf(rank); ++q) {
      const TensorIndices x = IndicesOf(q, rank);
      EXPECT_NEAR(At(same, x), At(t, x), 1e-15);
      EXPECT_NEAR(At(twice, x), At(t, x) * std::pow(2.0, rank), 1e-13) << "2I, rank " << rank;
    }
  }
}

TEST(Transformation, RotationsAndTheGridColumnAsFirstIndex) {
  // Nye, Physical Properties of Crystals, ch. I: T'ij = aik ajl Tkl. A quarter turn about z
  // exchanges the principal values along x and y: diag(1, 2, 3) -> diag(2, 1, 3).
  TensorState t;
  t.rank = 2;
  t.At(1, 1) = 1;
  t.At(2, 2) = 2;
  t.At(3, 3) = 3;
  TransformTensor(t, RotationMatrix(2, 90));
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j)
      EXPECT_NEAR(static_cast<double>(t.At(i, j)),
                  i != j   ? 0
                  : i == 1 ? 2
                  : i == 2 ? 1
                           : 3,
                  1e-18)
          << i << j;
  // U[1][2] = 1 (grid column 1, row 2) sends the vector (0, 1, 0) to (1, 1, 0); the transposed
  // matrix would leave it alone.
  TensorState v;
  v.rank = 1;
  v.At(2) = 1;
  TransformMatrix shear = IdentityMatrix();
  shear[0][1] = 1;
  TransformTensor(v, shear);
  EXPECT_NEAR(static_cast<double>(v.At(1)), 1, 1e-18);
  EXPECT_NEAR(static_cast<double>(v.At(2)), 1, 1e-18);
}

TEST(Transformation, RotatedSurfaceIsTheTurnedSurface) {
  // For an orthogonal U, the value of T' along U x equals the value of T along x.
  test::Random random(17);
  const TransformMatrix u = RotationMatrix(0, 37);
  const TransformMatrix w = RotationMatrix(2, -250);
  for (int rank = 1; rank <= 5; ++rank) {
    const TensorState t = RandomTensor(random, rank);
    TensorState moved = t;
    TransformTensor(moved, u);
    TransformTensor(moved, w);
    for (int trial = 0; trial < 10; ++trial) {
      double x[3];
      random.UnitVector(x[0], x[1], x[2]);
      Real ux[3], wux[3];
      for (int i = 0; i < 3; ++i) ux[i] = u[i][0] * x[0] + u[i][1] * x[1] + u[i][2] * x[2];
      for (int i = 0; i < 3; ++i) wux[i] = w[i][0] * ux[0] + w[i][1] * ux[1] + w[i][2] * ux[2];
      // Directions are evaluated in single precision, so they agree to about 1e-6.
      EXPECT_NEAR(static_cast<double>(SurfaceValue(moved, {}, wux[0], wux[1], wux[2])),
                  static_cast<double>(SurfaceValue(t, {}, x[0], x[1], x[2])), 2e-5)
          << "rank " << rank;
    }
  }
}

TEST(Transformation, ReadingTheGridStopsAtTheFirstBadCell) {
  TransformMatrix u = IdentityMatrix();
  std::string order;
  auto cell = [&](int column, int row) {
    order += std::to_string(column) + std::to_string(row) + " ";
    return column == 2 && row == 2 ? std::string("abc") : std::to_string(10 * column + row);
  };
  try {
    ReadTransformMatrix(u, cell);
    ADD_FAILURE() << "a text was read as a number";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "'abc' is not a valid floating point value");
  }
  EXPECT_EQ(order, "11 12 13 21 22 ");
  EXPECT_NEAR(static_cast<double>(u[1][0]), 21, 1e-18) << "read before the bad cell";
  EXPECT_NEAR(static_cast<double>(u[1][1]), 1, 1e-18) << "the bad cell's entry is kept";
}

// A tetragonal (4/mmm) second-rank tensor: T11 = T22 = 3.5, T33 = -0.25, in units of 1e-6.
constexpr const char* kTetragonal =
    "Quillmere-Datafile\r\n1 14 0  1.00000000000000E-0006 2 1/K\r\n"
    " 3.50000000000000E+0000\r\n-2.50000000000000E-0001\r\n";

/// Writes `t` and reads the file back: what a Save and an Open give.
TensorState SavedAndOpened(TensorState t, const CoreServices& s) {
  std::ostringstream out;
  WriteTensorFile(t, out, s);
  std::istringstream in(out.str());
  TensorState back;
  ReadTensorFile(back, in, s);
  return back;
}

TEST(Transformation, TransformedTensorSurvivesSaveAndOpen) {
  test::ShippedTable table;
  const CoreServices& s = table.services;
  TensorState t;
  std::istringstream in(kTetragonal);
  ReadTensorFile(t, in, s);

  // A quarter turn about z keeps the group; twice the identity keeps it too, and the value
  // texts follow the new components (14, not the 3.5 read from the file).
  TransformTensor(t, RotationMatrix(2, 90));
  TransformMatrix twice{};
  for (int a = 0; a < 3; ++a) twice[a][a] = 2;
  TransformTensor(t, twice);
  TransformedSymmetry kept = KeepTransformedTensor(t, s);
  EXPECT_FALSE(kept.groupChanged);
  EXPECT_EQ(t.pointGroup, 14);
  EXPECT_EQ(t.independentValues[1], "14");
  EXPECT_EQ(t.independentValues[2], "-1");
  EXPECT_NEAR(At(SavedAndOpened(t, s), TensorIndices{{1, 1, 1, 1, 1}}), 14e-6, 1e-20);

  // 30 degrees about x breaks it: group "1" (number 2), and Save then Open give back every
  // component.
  TransformTensor(t, RotationMatrix(0, 30));
  const TensorState turned = t;
  kept = KeepTransformedTensor(t, s);
  EXPECT_TRUE(kept.groupChanged);
  EXPECT_EQ(kept.oldGroup, 14);
  EXPECT_EQ(t.pointGroup, kPointGroupOne);
  const TensorState back = SavedAndOpened(t, s);
  EXPECT_EQ(back.pointGroup, kPointGroupOne);
  for (int q = 0; q < kComponentCount; ++q)
    EXPECT_NEAR(static_cast<double>(back.components[q]), static_cast<double>(turned.components[q]),
                1e-19)
        << "component " << q;
  EXPECT_GT(std::fabs(At(back, TensorIndices{{2, 3, 1, 1, 1}})), 1e-6);
  EXPECT_TRUE(table.messages.shown.empty());
}

}  // namespace
}  // namespace quillmere
