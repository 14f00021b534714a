#include "tensor/symmetry_check.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/test_support.h"
#include "tensor/symmetry_table.h"

namespace quillmere {
namespace {

/// Symmetric second rank (kind 1): a tetragonal entry with t11 = t22, and a triclinic one.
struct SecondRank : ::testing::Test {
  test::TempDir dir;
  RecordingMessages messages;
  CoreServices services;
  TensorState t;

  SecondRank() {
    dir.Write("tensor.tab", "14 1 0 11=22,33\n2 1 0 11,22,33,23,13,12\n5 1 0 %\n");
    services.programDirectory = dir.path();
    services.messages = &messages;
    SetKind(t, 1);
    t.pointGroup = 14;
  }
  void Set(int i, int j, Real v) { t.At(i, j) = t.At(j, i) = v; }
};

TEST_F(SecondRank, ComponentsThatTheGroupAllows) {
  Set(1, 1, 2.5e-6L);
  Set(2, 2, 2.5e-6L);
  Set(3, 3, -7.125e-6L);
  EXPECT_TRUE(WalkReproducesComponents(t, services));
  // Rounding in the last digits is no difference.
  Set(2, 2, 2.5e-6L * (1 + 1e-15L));
  EXPECT_TRUE(WalkReproducesComponents(t, services));
  // Any tensor obeys the triclinic group.
  Set(2, 3, 1);
  t.pointGroup = 2;
  EXPECT_TRUE(WalkReproducesComponents(t, services));
  TensorState zero;
  SetKind(zero, 1);
  zero.pointGroup = 14;
  EXPECT_TRUE(WalkReproducesComponents(zero, services));
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SecondRank, ComponentsThatTheGroupForbids) {
  Set(1, 1, 1);
  Set(2, 2, 1);
  Set(3, 3, 2);
  Set(2, 3, 0.25L);  // no relation reaches t23
  const TensorState before = t;
  EXPECT_FALSE(WalkReproducesComponents(t, services));
  for (int c = 0; c < kComponentCount; ++c) ASSERT_EQ(t.components[c], before.components[c]);

  Set(2, 3, 0);
  Set(2, 2, 1.001L);  // a dependent component off its relation
  EXPECT_FALSE(WalkReproducesComponents(t, services));

  t.pointGroup = 5;  // "does not exist"
  EXPECT_FALSE(WalkReproducesComponents(t, services));
  t.pointGroup = 7;  // no entry at all
  EXPECT_FALSE(WalkReproducesComponents(t, services));
  EXPECT_TRUE(messages.shown.empty()) << messages.shown.front();

  services.programDirectory = dir.path() / "elsewhere";
  EXPECT_THROW(WalkReproducesComponents(t, services), std::runtime_error);
}

}  // namespace
}  // namespace quillmere
