#include "tensor/component_entry.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "support/test_support.h"
#include "tensor/symmetry_table.h"

namespace quillmere {
namespace {

using test::TempDir;

double D(Real x) {
  return static_cast<double>(x);
}

// Hexagonal 6/mmm elastic stiffness (Nye, Physical Properties of Crystals, 1957, ch. VIII):
// c11 = c22, c13 = c23, c44 = c55, c66 = (c11 - c12)/2; c12 comes first so that the relation
// of c11 can subtract it.
const char kHexagonalTable[] =
    "21 3 0 1122,1111=2222=&-1122=2*1212,1133=2233,3333,2323=1313\n"
    "2 1 0 11,22,33,23,13,12\n";

TEST(GridGeometry, FullGridSizesAndScrollBarAllowances) {
  // "(ij)": 7 columns with the header, 2 rows.
  GridRect r = FullGridRect(6, 1, 1000, 800);
  EXPECT_EQ(r.x, 10);
  EXPECT_EQ(r.y, 32);
  EXPECT_EQ(r.width, 7 * 66 + 12);
  EXPECT_EQ(r.height, 2 * 26 + 10);
  // "ijklm" in a window narrower than the grid: clipped, room for the horizontal bar.
  r = FullGridRect(27, 9, 1000, 800);
  EXPECT_EQ(r.width, 970);
  EXPECT_EQ(r.height, 10 * 26 + 10 + 15);
  // ...and also too low: clipped again, room for the vertical bar as well.
  r = FullGridRect(27, 9, 1000, 250);
  EXPECT_EQ(r.height, 220);
  EXPECT_EQ(r.width, 985);
}

TEST(GridGeometry, IndependentGridSizes) {
  GridRect r = IndependentGridRect(5, 800, 600);
  EXPECT_EQ(r.x, 72);
  EXPECT_EQ(r.width, 275);
  EXPECT_EQ(r.height, 5 * 26 + 31);
  r = IndependentGridRect(5, 250, 600);  // narrow: horizontal scroll bar
  EXPECT_EQ(r.width, 220);
  EXPECT_EQ(r.height, 5 * 26 + 46);
  r = IndependentGridRect(30, 800, 400);  // long list: clipped, vertical scroll bar
  EXPECT_EQ(r.height, 320);
  EXPECT_EQ(r.width, 290);
}

TEST(GridGeometry, GridsKeepInsideTheirRoom) {
  const GridRoom room{300, 250};
  // A grid that fits keeps its place and size.
  GridRect r = KeepGridInside(IndependentGridRect(5, 800, 600), {400, 500}, 10);
  EXPECT_EQ(r.x, 72);
  EXPECT_EQ(r.width, 275);
  // Too wide for its place: it moves left, whole, as far as it must.
  r = KeepGridInside(IndependentGridRect(5, 800, 600), room, 10);
  EXPECT_EQ(r.x, 25);
  EXPECT_EQ(r.width, 275);
  EXPECT_FALSE(r.horizontalBar);
  // Wider than the room from the leftmost place: clipped there, with room for the bar.
  r = KeepGridInside(FullGridRect(27, 9, 1000, 800), room, 10);
  EXPECT_EQ(r.x, 10);
  EXPECT_EQ(r.x + r.width, 300);
  EXPECT_TRUE(r.horizontalBar);
  // Too low as well: the height ends at the bottom of the room, the vertical bar takes its room
  // from the cells, and the horizontal bar is not counted twice.
  EXPECT_EQ(r.y + r.height, 250);
  EXPECT_TRUE(r.verticalBar);
  // A narrow grid clipped in height gets room for the vertical bar beside its cells.
  r = KeepGridInside(FullGridRect(2, 9, 1000, 800), {500, 200}, 10);
  EXPECT_EQ(r.height, 200 - 32);
  EXPECT_EQ(r.width, 3 * 66 + 12 + 15);
}

TEST(FullGrid, AutoScaleMovesExponentAndRewritesCells) {
  TensorState t;
  SetKind(t, 1);
  t.At(1, 1) = 350;
  t.At(2, 2) = -12;
  GridTexts cells;
  ShowFullGrid(t, cells, '.');
  EXPECT_NEAR(D(t.scale), 350.0, 1e-12);
  EXPECT_EQ(t.exponent, 3);
  EXPECT_EQ(cells(0, 0), "10^3");
  EXPECT_EQ(cells(1, 1), "0.35");
  EXPECT_EQ(cells(2, 1), "-0.012");

  // Locked scale: the grid shows the components under the scale as it is.
  t.autoScale = false;
  t.scale = 1;
  ShowFullGrid(t, cells, ',');
  EXPECT_EQ(cells(0, 0), "10^0");
  EXPECT_EQ(cells(1, 1), "350");
  EXPECT_NEAR(D(t.scale), 1.0, 0);
}

TEST(FullGrid, AllZeroTensorGetsScaleOne) {
  TensorState t;
  SetKind(t, 7);
  t.scale = 1e6L;
  GridTexts cells;
  ShowFullGrid(t, cells, '.');
  EXPECT_EQ(D(t.scale), 1.0);
  EXPECT_EQ(cells(0, 0), "10^0");
  TakeOverFullGrid(t, cells, '.');
  EXPECT_EQ(D(t.scale), 1.0);
}

TEST(FullGrid, AntisymmetricKindLayout) {
  EXPECT_EQ(FullGridShapeOf(12).columns, 9);
  EXPECT_EQ(FullGridShapeOf(12).rows, 3);
  EXPECT_EQ(FullGridShapeOf(11).columns, 0) << "unassigned code: no grid";
  int editable = 0;
  for (int r = 1; r <= 3; ++r)
    for (int c = 1; c <= 9; ++c) editable += FullGridCellOf(12, r, c).editable;
  EXPECT_EQ(editable, 9) << "three pairs i<j times three values of k";
  const FullGridCell cell = FullGridCellOf(12, 1, 6);  // i = 1, jk = 23
  EXPECT_EQ(cell.rowLabel, "1");
  EXPECT_EQ(cell.columnLabel, "23");
  EXPECT_TRUE(cell.editable);

  TensorState t;
  SetKind(t, 12);
  t.autoScale = false;
  GridTexts cells;
  ASSERT_TRUE(ShowFullGrid(t, cells, '.'));
  EXPECT_EQ(t.gridColumns, 9);
  cells(6, 1) = "2";    // T123
  cells(4, 2) = "99";   // T221 is diagonal in ij: shown only, never read
  cells(3, 2) = "-77";  // T213 mirrors T123: never read
  TakeOverFullGrid(t, cells, '.');
  EXPECT_NEAR(D(t.At(1, 2, 3)), 2.0, 0);
  EXPECT_NEAR(D(t.At(2, 1, 3)), -2.0, 0);
  EXPECT_NEAR(D(t.At(2, 2, 1)), 0.0, 0);
  ShowFullGrid(t, cells, '.');
  EXPECT_EQ(cells(3, 2), "-2");
}

struct IndependentFixture : ::testing::Test {
  TempDir dir;
  RecordingMessages messages;
  CoreServices services;
  TensorState t;
  IndependentFixture() {
    dir.Write("tensor.tab", kHexagonalTable);
    services.programDirectory = dir.path();
    services.messages = &messages;
    t.pointGroup = 21;
    SetKind(t, 3);
  }
};

TEST_F(IndependentFixture, EarlierBadTextDoesNotBlockCorrection) {
  IndependentTexts texts;
  DescribeIndependent(t, services, texts);
  texts.values = {"1", "abc", "1", "1", "1"};
  try {
    TakeOverIndependent(t, services, texts);
    ADD_FAILURE() << "a text that is no number was taken over";
  } catch (const std::runtime_error& e) {
    // The message names the component of the bad line, the first of its label.
    const std::string label = t.independentLabels[2];
    const std::string name = label.substr(0, label.find_first_of("=.+"));
    EXPECT_EQ(std::string(e.what()),
              "'abc' is not a valid floating point value (component " + name + ")");
  }
  EXPECT_NEAR(D(t.At(1, 1, 2, 2)), 1.0, 0) << "relation before the bad one applied";
  texts.values[1] = "3";
  ASSERT_EQ(TakeOverIndependent(t, services, texts), 5);
  EXPECT_NEAR(D(t.At(1, 1, 1, 1)), 3.0, 0);
  EXPECT_NEAR(D(t.At(1, 2, 1, 2)), 1.0, 1e-18);
}

TEST_F(IndependentFixture, TakeOverClearsWhatTheGroupForbids) {
  // Left over from a lower symmetry: components that no hexagonal relation reaches.
  t.At(1, 1, 2, 3) = 0.75L;
  t.At(2, 3, 1, 1) = 0.75L;
  t.At(3, 3, 1, 2) = -2;
  IndependentTexts texts;
  DescribeIndependent(t, services, texts);
  texts.values = {"1", "2", "3", "4", "5"};
  ASSERT_EQ(TakeOverIndependent(t, services, texts), 5);
  EXPECT_EQ(D(t.At(1, 1, 2, 3)), 0.0);
  EXPECT_EQ(D(t.At(2, 3, 1, 1)), 0.0);
  EXPECT_EQ(D(t.At(3, 3, 1, 2)), 0.0);
  EXPECT_NEAR(D(t.At(1, 1, 2, 2)), 1.0, 1e-18);
  EXPECT_NEAR(D(t.At(1, 1, 1, 1)), 2.0, 1e-18);
}

TEST(PanelTexts, BarredGroupAndDialogLine) {
  TensorState t;
  t.pointGroup = 18;
  t.scale = 350;
  t.axial = true;
  SetKind(t, 6);
  const TensorPanelTexts p = PanelTextsOf(t);
  EXPECT_EQ(p.pointSymmetry, "PS: 42m");
  EXPECT_TRUE(p.groupBarred);
  EXPECT_EQ(p.exponent, "3");
  EXPECT_EQ(p.cornerCaption, "10^3");
  EXPECT_EQ(p.kindCaption, "(ij)(kl)");
  EXPECT_EQ(p.kindListIndex, 9);
  EXPECT_EQ(p.polarity, "axial");
  EXPECT_EQ(p.axialMenuCaption, "change into &polar");
  EXPECT_EQ(p.dialogPointSymmetry, "Point  Symmetry:  42m");
  t.pointGroup = 14;
  EXPECT_EQ(PanelTextsOf(t).dialogPointSymmetry, "Point  Symmetry:  4/mmm");
  EXPECT_FALSE(PanelTextsOf(t).groupBarred);
}

TEST(NewTensorDialog, RestoreBringsBackKindWithRank) {
  TensorState t;
  SetKind(t, 1);
  t.unitText = "pC/N";
  t.scale = 0.04L;
  t.pointGroup = 7;
  const NewTensorSnapshot s = TakeNewTensorSnapshot(t, "/home/u/data/quartz.ten");
  EXPECT_EQ(s.fileName, "quartz.ten");
  SetKind(t, 10);
  t.axial = true;
  t.unitText.clear();
  t.scale = 5;
  t.pointGroup = 30;
  t.At(1, 1) = 2;
  RestoreNewTensorSnapshot(t, s);
  EXPECT_EQ(t.kind, 1);
  EXPECT_EQ(t.rank, 2);
  EXPECT_FALSE(t.axial);
  EXPECT_EQ(t.unitText, "pC/N");
  EXPECT_NEAR(D(t.scale), 0.04, 1e-18);
  EXPECT_EQ(t.pointGroup, 7);
  EXPECT_NEAR(D(t.At(1, 1)), 2.0, 0) << "components are not restored";
  EXPECT_EQ(NewTensorSaveName("/opt/quillmere", "new.ten"), "/opt/quillmere/new.ten");
  EXPECT_EQ(DialogUnitText(""), "Unittext");
}

}  // namespace
}  // namespace quillmere
