#include "tensor/point_group_search.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/test_support.h"
#include "tensor/component_entry.h"
#include "tensor/number_text.h"
#include "tensor/symmetry_table.h"

namespace quillmere {
namespace {

/// A tensor of `kind` made under `group` by the shipped table from random independent values;
/// false when the group leaves no independent component.
bool MadeUnder(TensorState& t, int kind, int group, const CoreServices& services,
               test::Random& random) {
  SetKind(t, kind);
  t.pointGroup = group;
  t.scale = 1;
  ResetComponents(t);
  const int count = ApplySymmetry(t, SymmetryMode::Describe, services);
  if (count <= 0) return false;
  for (int n = 1; n <= count; ++n)
    t.independentValues[n] = FormatGeneral(random.Uniform(0.5, 2.0) * (n % 2 ? 1 : -1));
  ApplySymmetry(t, SymmetryMode::ApplyTexts, services);
  return true;
}

/// Every independent cell of the component grid multiplied by (1 + relative noise).
void AddNoise(TensorState& t, double relative, test::Random& random) {
  const FullGridShape shape = FullGridShapeOf(t.kind);
  for (int r = 1; r <= shape.rows; ++r)
    for (int c = 1; c <= shape.columns; ++c) {
      const FullGridCell cell = FullGridCellOf(t.kind, r, c);
      if (!cell.editable) continue;
      t.At(cell.indices) += relative * random.Gaussian();
      CopyToPartners(t, cell.indices.i[0], cell.indices.i[1], cell.indices.i[2], cell.indices.i[3]);
    }
}

int CountOf(int kind, int group, bool axial, const CoreServices& services) {
  TensorState t;
  SetKind(t, kind);
  t.pointGroup = group;
  t.axial = axial;
  return ApplySymmetry(t, SymmetryMode::Describe, services);
}

bool Contains(const std::vector<GroupMatch>& found, int group) {
  for (const GroupMatch& m : found)
    if (m.group == group) return true;
  return false;
}

// Elastic, piezoelectric and piezo-optic tensors (kinds "((ij)(kl))", "i(jk)", "(ij)(kl)")
// made under each of the 32 groups: the group is found, and the highest group found leaves as
// many independent components, so setting it keeps the tensor; with noise above the tolerance
// a group with relations is no longer found.
TEST(PointGroupSearch, FindsTheGroupEachTensorWasMadeUnder) {
  test::ShippedTable table;
  test::Random random(28);
  for (int kind : {3, 5, 6})
    for (int g = 1; g <= kPointGroupCount; ++g) {
      TensorState t;
      if (!MadeUnder(t, kind, g, table.services, random)) continue;
      const std::vector<GroupMatch> found = FindPointGroups(t, table.services);
      ASSERT_FALSE(found.empty()) << "kind " << kind << " group " << g;
      EXPECT_TRUE(Contains(found, g)) << "kind " << kind << " group " << g;
      const int highest = found.front().group;
      EXPECT_GE(PointGroupOrder(highest), PointGroupOrder(g)) << kind << " " << g;
      EXPECT_EQ(CountOf(kind, highest, false, table.services),
                CountOf(kind, g, false, table.services))
          << "kind " << kind << " made under " << g << ", highest found " << highest;

      TensorState quiet = t;
      AddNoise(quiet, 1e-9, random);
      EXPECT_TRUE(Contains(FindPointGroups(quiet, table.services), g)) << kind << " " << g;
      TensorState noisy = t;
      AddNoise(noisy, 1e-3, random);
      const int cells = CountOf(kind, 2, false, table.services);  // group 1: all independent
      if (CountOf(kind, g, false, table.services) < cells) {
        EXPECT_FALSE(Contains(FindPointGroups(noisy, table.services), g)) << kind << " " << g;
      }
      EXPECT_TRUE(Contains(FindPointGroups(noisy, table.services), 2));
      EXPECT_TRUE(Contains(FindPointGroups(noisy, table.services, 1e-2), g)) << kind << " " << g;
    }
}

TEST(PointGroupSearch, HighestSymmetryFirstWithDeviations) {
  test::ShippedTable table;
  TensorState t;
  SetKind(t, 1);
  t.At(1, 1) = t.At(2, 2) = t.At(3, 3) = 4;  // isotropic: every group
  std::vector<GroupMatch> found = FindPointGroups(t, table.services);
  ASSERT_EQ(found.size(), 32u);
  EXPECT_EQ(found.front().group, 28);  // m-3m, 48 operations
  EXPECT_EQ(found.back().group, 2);    // 1
  t.At(3, 3) = 4 * (1 + 1e-7L);
  found = FindPointGroups(t, table.services);
  EXPECT_EQ(found.front().group, 28);
  EXPECT_NEAR(double(found.front().deviation), 1e-7, 1e-9);
  t.At(3, 3) = 5;                                                   // uniaxial
  EXPECT_EQ(FindPointGroups(t, table.services).front().group, 21);  // 6/mmm
}

TEST(PointGroupSearch, NamesTheComponentsAGroupWouldChange) {
  test::ShippedTable table;
  TensorState t;
  SetKind(t, 3);
  // Copper's stiffnesses (GPa) with c1212 off by 0.5 and c1123 not zero.
  t.At(1, 1, 1, 1) = t.At(2, 2, 2, 2) = t.At(3, 3, 3, 3) = 168.4L;
  for (auto [i, j] : {std::pair{1, 2}, {1, 3}, {2, 3}}) {
    t.At(i, i, j, j) = 121.4L;
    CopyToPartners(t, i, i, j, j);
  }
  t.At(2, 3, 2, 3) = t.At(1, 3, 1, 3) = 75.4L;
  t.At(1, 2, 1, 2) = 75.9L;
  t.At(1, 1, 2, 3) = 2;
  for (auto [i, j, k, l] : {std::array{2, 3, 2, 3}, {1, 3, 1, 3}, {1, 2, 1, 2}, {1, 1, 2, 3}})
    CopyToPartners(t, i, j, k, l);
  const std::vector<ComponentDeviation> v = GroupViolations(t, 28, table.services);
  ASSERT_EQ(v.size(), 2u);
  EXPECT_EQ(v[0].label, "t1123");
  EXPECT_EQ(v[0].required, 0);
  EXPECT_EQ(v[1].label, "t1212");
  EXPECT_EQ(DescribeViolations(v, 168.4L, 1),
            "t1123 is 2 but the group gives 0 (deviation 0.0119 of the largest component); and "
            "1 more");
  EXPECT_TRUE(GroupViolations(t, 2, table.services).empty());
}

}  // namespace
}  // namespace quillmere
