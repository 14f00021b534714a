#include "tensor/tensor_state.h"

#include <gtest/gtest.h>

#include <set>

#include "tensor/point_group_symbols.h"

namespace quillmere {
namespace {

TEST(TensorKinds, OfferingOrderCodesRanksAndGrids) {
  const int codes[] = {0, 7, 1, 8, 2, 5, 12, 9, 4, 6, 3, 10};
  const int ranks[] = {1, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5};
  for (int i = 0; i < kKindCount; ++i) {
    EXPECT_EQ(TensorKinds()[i].code, codes[i]) << "list index " << i;
    EXPECT_EQ(TensorKinds()[i].rank, ranks[i]) << "list index " << i;
    EXPECT_EQ(KindListIndex(codes[i]), i);
  }
  EXPECT_EQ(FindKind(11), nullptr);
  EXPECT_EQ(RankOfKind(11), 0);

  TensorState t;
  ComponentGridShape(t, 10);
  EXPECT_EQ(t.gridColumns, 27);
  EXPECT_EQ(t.gridRows, 9);
  ComponentGridShape(t, 12);  // no shape: keeps the previous one
  EXPECT_EQ(t.gridColumns, 27);
  EXPECT_EQ(t.gridRows, 9);
}

TEST(PointGroups, NamesAndBars) {
  std::set<int> barred;
  for (const PointGroupInfo& g : PointGroups()) {
    bool bar = false;
    DisplayedGroupName(g.storedName, &bar);
    if (bar) barred.insert(g.number);
  }
  EXPECT_EQ(barred, (std::set<int>{1, 9, 11, 18, 20, 25, 27, 31}));
  bool bar = false;
  EXPECT_EQ(DisplayedGroupName("4b2", &bar), "42");
  EXPECT_TRUE(bar);
  EXPECT_EQ(PointGroupName(0), " ");
  EXPECT_EQ(PointGroupName(14), "4/mm");
  EXPECT_EQ(GroupNameWithOverline(18),
            "4\xCC\x85"
            "2");
}

TEST(PointGroups, FullSymbolsWithTheirBars) {
  // The cubic groups carry their bar in the middle, where the stored names have none.
  EXPECT_EQ(PointGroupSymbol(28), "m3\xCC\x85m");
  EXPECT_EQ(PointGroupSymbol(29), "m3\xCC\x85");
  EXPECT_EQ(PointGroupSymbol(18),
            "4\xCC\x85"
            "2m");
  EXPECT_EQ(PointGroupSymbol(21), "6/mmm");
  EXPECT_EQ(PointGroupSymbol(0), " ");
  const BarredSymbol m3m = PointGroupBarredSymbol(28);
  EXPECT_EQ(m3m.text, "m3m");
  EXPECT_EQ(m3m.barIndex, 1);
  EXPECT_EQ(PointGroupBarredSymbol(6).text, "mmm");
  EXPECT_EQ(PointGroupBarredSymbol(6).barIndex, -1);
  // Every group is found again from each of its spellings, and from no other group's.
  std::set<std::string> symbols;
  for (const PointGroupInfo& g : PointGroups()) {
    EXPECT_EQ(PointGroupOfSymbol(g.conventional), g.number) << g.conventional;
    EXPECT_EQ(PointGroupOfSymbol(PointGroupSymbol(g.number)), g.number) << g.conventional;
    EXPECT_TRUE(symbols.insert(PointGroupSymbol(g.number)).second) << g.conventional;
    // A stored name that is another group's symbol ("23") names that group.
    const int stored = PointGroupOfSymbol(g.storedName);
    EXPECT_TRUE(stored == g.number ||
                PointGroups()[stored - 1].conventional == std::string(g.storedName))
        << g.storedName;
  }
  EXPECT_EQ(PointGroupOfSymbol("6/mm"), 21);
  EXPECT_EQ(PointGroupOfSymbol("m3\xCC\x84m"), 28);  // a macron for the bar
  EXPECT_EQ(PointGroupOfSymbol("4b2"), 18);
  EXPECT_EQ(PointGroupOfSymbol("5mm"), 0);
}

TEST(NumberHelpers, PowerSignAndDecades) {
  EXPECT_EQ(Power(-2, 3), -8);
  EXPECT_EQ(Power(-2, 2), 4);
  EXPECT_EQ(Power(0, 0), 1);
  EXPECT_EQ(Power(0, 2.5L), 0);
  EXPECT_NEAR(static_cast<double>(Power(2, 0.5L)), 1.4142135623730951, 1e-15);
  EXPECT_EQ(Sign(0), 1);
  EXPECT_EQ(Sign(-1e-300L), -1);

  TensorState t;
  EXPECT_NEAR(static_cast<double>(DecadeOf(t, 0.04L)), 0.1, 1e-18);
  EXPECT_EQ(t.exponent, -1);
  EXPECT_NEAR(static_cast<double>(DecadeOf(t, 350)), 1000, 1e-12);
  EXPECT_EQ(t.exponent, 3);
  EXPECT_EQ(DecadeOf(t, 0), 1);
  EXPECT_EQ(t.exponent, 0);
  // log10(sqrt(10)) = 0.5 exactly in principle: halves go to the even neighbour, 0.
  EXPECT_EQ(RoundHalfEven(0.5L), 0);
  EXPECT_EQ(RoundHalfEven(1.5L), 2);
  EXPECT_EQ(RoundHalfEven(-2.5L), -2);
  EXPECT_EQ(DecadeExponent(1e-12L), -12);
}

TEST(IndexNotation, PairsTriplesAndGridCells) {
  int i, j, k;
  VoigtPair(4, i, j);
  EXPECT_EQ(i * 10 + j, 23);
  IndexPair(4, i, j);
  EXPECT_EQ(i * 10 + j, 21);
  IndexTriple(27, i, j, k);
  EXPECT_EQ(i * 100 + j * 10 + k, 333);
  IndexTriple(10, i, j, k);
  EXPECT_EQ(i * 100 + j * 10 + k, 112);
  VoigtPair(7, i, j);
  EXPECT_EQ(i * 10 + j, 11);

  GridCell c = ComponentGridCell(10, 2, 3);
  EXPECT_EQ(c.columnLabel, "131");
  EXPECT_EQ(c.rowLabel, "12");
  const int expected[5] = {1, 2, 1, 3, 1};
  for (int p = 0; p < 5; ++p) EXPECT_EQ(c.indices.i[p], expected[p]) << "position " << p;

  const char* voigtLabels[] = {"11", "22", "33", "23", "13", "12"};
  for (int col = 1; col <= 6; ++col)
    EXPECT_EQ(ComponentGridCell(1, 1, col).columnLabel, voigtLabels[col - 1]);
  c = ComponentGridCell(2, 4, 1);  // (ij)k: rows are Voigt pairs
  EXPECT_EQ(c.rowLabel, "23");
  EXPECT_EQ(c.columnLabel, "1");
}

TEST(Components, StorageOrderAndRankTwoPosition) {
  TensorState t;
  t.At(2, 3) = 7;
  EXPECT_EQ(t.components[ComponentOffset(2, 3, 1, 1, 1)], 7);
  EXPECT_EQ(ComponentOffset(2, 3, 1, 1, 1), 1 * 81 + 2 * 27);
  int nonzero = 0;
  for (Real v : t.components) nonzero += v != 0;
  EXPECT_EQ(nonzero, 1);
  ResetComponents(t);
  EXPECT_EQ(LargestAbsoluteComponent(t), 0);
}

TEST(Components, CopyToPartnersOfElasticAndAntisymmetricKinds) {
  TensorState t;
  SetKind(t, 3);
  t.At(1, 2, 1, 3) = 5;
  CopyToPartners(t, 1, 2, 1, 3);
  const int partners[][4] = {{2, 1, 1, 3}, {1, 2, 3, 1}, {2, 1, 3, 1}, {1, 3, 1, 2},
                             {3, 1, 1, 2}, {1, 3, 2, 1}, {3, 1, 2, 1}};
  for (const auto& p : partners) EXPECT_EQ(t.At(p[0], p[1], p[2], p[3]), 5);
  int nonzero = 0;
  for (Real v : t.components) nonzero += v != 0;
  EXPECT_EQ(nonzero, 8);

  TensorState h;
  SetKind(h, 12);
  h.At(1, 2, 3) = 2;
  CopyToPartners(h, 1, 2, 3, 1);
  EXPECT_EQ(h.At(2, 1, 3), -2);
  h.At(1, 1, 3) = 4;  // a diagonal component of an antisymmetric pair negates itself
  CopyToPartners(h, 1, 1, 3, 1);
  EXPECT_EQ(h.At(1, 1, 3), -4);
}

TEST(Components, AddPartnersCountsEachElasticOrderOnce) {
  // Distinct values per position reveal which partners were added, and how often.
  TensorState t;
  SetKind(t, 3);
  for (int c = 0; c < kComponentCount; ++c) t.components[c] = c + 1;
  auto sumOthers = [&](int i, int j, int k, int l, std::set<int> offsets) {
    Real expected = 0;
    offsets.erase(ComponentOffset(i, j, k, l));
    for (int o : offsets) expected += o + 1;
    Real acc = 0;
    AddPartners(t, i, j, k, l, acc);
    EXPECT_EQ(acc, expected) << i << j << k << l;
  };
  sumOthers(1, 1, 1, 1, {});
  sumOthers(1, 1, 2, 2, {ComponentOffset(1, 1, 2, 2), ComponentOffset(2, 2, 1, 1)});
  sumOthers(1, 2, 1, 2,
            {ComponentOffset(1, 2, 1, 2), ComponentOffset(2, 1, 1, 2), ComponentOffset(1, 2, 2, 1),
             ComponentOffset(2, 1, 2, 1)});
  sumOthers(1, 2, 1, 3,
            {ComponentOffset(1, 2, 1, 3), ComponentOffset(2, 1, 1, 3), ComponentOffset(1, 2, 3, 1),
             ComponentOffset(2, 1, 3, 1), ComponentOffset(1, 3, 1, 2), ComponentOffset(3, 1, 1, 2),
             ComponentOffset(1, 3, 2, 1), ComponentOffset(3, 1, 2, 1)});

  SetKind(t, 5);
  Real acc = 0;
  AddPartners(t, 1, 2, 3, 1, acc);
  EXPECT_EQ(acc, ComponentOffset(1, 3, 2) + 1);
  acc = 0;
  AddPartners(t, 1, 2, 2, 1, acc);
  EXPECT_EQ(acc, 0);
}

}  // namespace
}  // namespace quillmere
