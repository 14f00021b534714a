// The transformation panel and the fixed-direction panel inside the running main window, driven
// through their menu items, grid cells and buttons.
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <string>

#include "app/gui/gui_test_support.h"
#include "app/program_state.h"
#include "fit/fit_engine.h"
#include "fit/gui/fixed_direction_panel.h"
#include "fit/gui/tform2.h"
#include "fit/gui/transform_panel.h"
#include "surface/surface_value.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/component_grids.h"

namespace quillmere {

using test::Q;
using test::StartedProgram;
using test::TypeIntoGrid;

namespace {

constexpr const char* kTetragonal = test::kTetragonalFile;

/// Types a whole matrix, U[a][b] into column a, row b.
void TypeMatrix(TransformPanel& panel, const char* cells[3][3]) {
  for (int a = 1; a <= 3; ++a)
    for (int b = 1; b <= 3; ++b) TypeIntoGrid(panel.StringGrid4, a, b, cells[a - 1][b - 1]);
}

struct Window {
  StartedProgram p;
  explicit Window(const char* tensorFile = kTetragonal) {
    p.Start();
    if (!p.EndSplash()) qFatal("the splash did not end");
    p.form().files().OpenFile(Q(p.Write("t.ten", tensorFile)));
  }
  TForm1& form() { return p.form(); }
  TensorState& t() { return p.state().tensor; }
  TransformPanel& transform() { return *p.form().fitPanels().transformPanel(); }
  FixedDirectionPanel& fixed() { return *p.form().fitPanels().fixedDirectionPanel(); }
  double At(int i, int j) { return static_cast<double>(t().At(TensorIndices{{i, j, 1, 1, 1}})); }
  int Builds() { return form().drawing().Builder().completedBuilds(); }
};

/// A general second-rank tensor in point group 1: T(i, j) = 10 i + j (times 1e-6).
void MakeGeneral(TensorState& t) {
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) t.At(TensorIndices{{i, j, 1, 1, 1}}) = (10 * i + j) * 1e-6L;
  t.pointGroup = 2;
}

}  // namespace

class TransformPanelsTest : public QObject {
  Q_OBJECT
 private slots:
  void matrixGridReadsColumnAsFirstIndex();
  void appliedMatrixStaysUntilThePaletteIsRebuilt();
  void badCellLeavesTheTensor();
  void symmetryBreakingTransformSurvivesSaveAndOpen();
  void fixedDirectionsFromThePanel();
  void toggledFlagsRedrawOnlyWhenTyped();
  void panelAndCommandLineWriteTheSameScene();
  void longNumbersAreShownWhole();
  void numbersBeyondTheDrawingRangeAreRefusedInEveryGrid();
};

void TransformPanelsTest::matrixGridReadsColumnAsFirstIndex() {
  Window w;
  MakeGeneral(w.t());
  Item(w.form(), "Transform1")->trigger();
  TransformPanel& panel = w.transform();
  QVERIFY(panel.isVisible());
  QVERIFY(Item(w.form(), "Transform1")->isEnabled());
  QCOMPARE(panel.title(), QStringLiteral("Transform Tensor by:"));
  QCOMPARE(panel.StringGrid4->cellText(0, 0), QStringLiteral("uij"));
  QCOMPARE(panel.StringGrid4->cellText(2, 0), QStringLiteral("2"));
  QCOMPARE(panel.StringGrid4->cellText(0, 3), QStringLiteral("3"));
  QCOMPARE(panel.StringGrid4->cellText(1, 1), QStringLiteral("1"));
  QCOMPARE(panel.StringGrid4->cellText(2, 1), QStringLiteral("0"));

  // The identity changes nothing.
  QTest::mouseClick(panel.Button7, Qt::LeftButton);
  QVERIFY(!panel.isVisible());
  QCOMPARE(w.At(2, 3), 23e-6);
  QVERIFY2(w.form().components().componentGridShown(), "Apply shows the full grid");
  w.form().components().StringGrid1Click();

  // Column 1 holds U[1][b]: typing (0 1 0) down column 1 and (1 0 0) down column 2 exchanges
  // the axes, with a third column (0 0 -1): U = [[0,1,0],[1,0,0],[0,0,-1]] read by column.
  // T'(a, c) = U(a, b) U(c, d) T(b, d): T'11 = T22, T'12 = T21, T'13 = -T23, T'33 = T33.
  Item(w.form(), "Transform1")->trigger();
  const char* swap[3][3] = {{"0", "1", "0"}, {"1", "0", "0"}, {"0", "0", "-1"}};
  TypeMatrix(panel, swap);
  QTest::mouseClick(panel.Button7, Qt::LeftButton);
  QCOMPARE(w.At(1, 1), 22e-6);
  QCOMPARE(w.At(1, 2), 21e-6);
  QCOMPARE(w.At(1, 3), -23e-6);
  QCOMPARE(w.At(3, 1), -32e-6);
  QCOMPARE(w.At(3, 3), 33e-6);
  w.form().components().StringGrid1Click();

  // A column read as a row gives the transpose: U[1][2] = 2 stands in column 1, row 2, so
  // T'1j picks up 2 T2j, not T'2j 2 T1j.
  MakeGeneral(w.t());
  Item(w.form(), "Transform1")->trigger();
  const char* shear[3][3] = {{"1", "2", "0"}, {"0", "1", "0"}, {"0", "0", "1"}};
  TypeMatrix(panel, shear);
  QTest::mouseClick(panel.Button7, Qt::LeftButton);
  // T'(1, 3) = U(1, b) T(b, 3) with U(1, 1) = 1, U(1, 2) = 2: 13 + 2 * 23 = 59.
  QVERIFY2(std::fabs(w.At(1, 3) - 59e-6) < 1e-18, qPrintable(QString::number(w.At(1, 3))));
  QVERIFY2(std::fabs(w.At(2, 3) - 23e-6) < 1e-18, qPrintable(QString::number(w.At(2, 3))));
}

void TransformPanelsTest::appliedMatrixStaysUntilThePaletteIsRebuilt() {
  Window w;
  TransformPanel& panel = w.transform();
  // Twice the identity scales a second-rank tensor by 4 and keeps its group.
  Item(w.form(), "Transform1")->trigger();
  const char* twice[3][3] = {{"2", "0", "0"}, {"0", "2", "0"}, {"0", "0", "2"}};
  TypeMatrix(panel, twice);
  QTest::mouseClick(panel.Button7, Qt::LeftButton);
  QCOMPARE(w.At(1, 1), 14e-6);
  QCOMPARE(w.t().pointGroup, 14);
  QVERIFY(w.p.dialogs.shown.empty());
  w.form().components().StringGrid1Click();

  // An axial first-rank tensor is turned like a polar one: -1 on the diagonal flips T2.
  TensorState& t = w.t();
  t.kind = 0;
  t.rank = 1;
  t.axial = true;
  t.pointGroup = 2;
  t.components = {};
  t.At(TensorIndices{{2, 1, 1, 1, 1}}) = 5;
  Item(w.form(), "Transform1")->trigger();
  QCOMPARE(panel.StringGrid4->cellText(2, 2), QStringLiteral("2"));  // the applied matrix
  const char* flip[3][3] = {{"1", "0", "0"}, {"0", "-1", "0"}, {"0", "0", "1"}};
  TypeMatrix(panel, flip);
  QTest::mouseClick(panel.Button7, Qt::LeftButton);
  QCOMPARE(static_cast<double>(t.At(TensorIndices{{2, 1, 1, 1, 1}})), -5.0);

  // A fill colour change marks the palette; the next redraw makes the matrix the identity.
  w.p.dialogs.colourAnswers.push_back(QColor(0, 0, 255));
  Item(w.form(), "PositiveFillColor1")->trigger();
  Item(w.form(), "DRAW1")->trigger();
  Item(w.form(), "Transform1")->trigger();
  QCOMPARE(panel.StringGrid4->cellText(2, 2), QStringLiteral("1"));
  QCOMPARE(panel.StringGrid4->cellText(1, 2), QStringLiteral("0"));
  QTest::mouseClick(panel.Button8, Qt::LeftButton);
  QVERIFY(!panel.isVisible());
}

void TransformPanelsTest::badCellLeavesTheTensor() {
  Window w;
  const std::array<Real, kComponentCount> before = w.t().components;
  Item(w.form(), "Transform1")->trigger();
  TypeIntoGrid(w.transform().StringGrid4, 2, 1, "abc");
  QTest::mouseClick(w.transform().Button7, Qt::LeftButton);
  QCOMPARE(w.p.dialogs.errors.size(), std::size_t{1});
  QCOMPARE(w.p.dialogs.errors[0], std::string("'abc' is not a valid floating point value"));
  QVERIFY(w.t().components == before);
  QVERIFY(w.transform().isVisible());
}

void TransformPanelsTest::symmetryBreakingTransformSurvivesSaveAndOpen() {
  Window w;
  // A quarter turn about z keeps the tetragonal group: the file keeps the header layout.
  Item(w.form(), "Transform1")->trigger();
  const char* z90[3][3] = {{"0", "1", "0"}, {"-1", "0", "0"}, {"0", "0", "1"}};
  TypeMatrix(w.transform(), z90);
  QTest::mouseClick(w.transform().Button7, Qt::LeftButton);
  QCOMPARE(w.t().pointGroup, 14);
  QVERIFY(w.p.dialogs.shown.empty());
  const auto kept = w.p.root() / "kept.ten";
  w.p.dialogs.saveAnswers.push_back(Q(kept));
  Item(w.form(), "SaveAs1")->trigger();
  QVERIFY(test::ReadFile(kept).rfind("Quillmere-Datafile\r\n1 14 0 ", 0) == 0);

  // 30 degrees about x: the group no longer holds; the tensor moves to group 1 with a notice.
  Item(w.form(), "Transform1")->trigger();
  const char* x30[3][3] = {
      {"1", "0", "0"}, {"0", "0.866025403784439", "0.5"}, {"0", "-0.5", "0.866025403784439"}};
  TypeMatrix(w.transform(), x30);
  QTest::mouseClick(w.transform().Button7, Qt::LeftButton);
  QCOMPARE(w.t().pointGroup, 2);
  QCOMPARE(w.p.dialogs.shown.size(), std::size_t{1});
  QVERIFY2(w.p.dialogs.shown[0].find("point group 1") != std::string::npos,
           w.p.dialogs.shown[0].c_str());
  const std::array<Real, kComponentCount> turned = w.t().components;
  QVERIFY(std::fabs(w.At(2, 3)) > 1e-6);
  w.form().components().StringGrid1Click();

  const auto saved = w.p.root() / "turned.ten";
  w.p.dialogs.saveAnswers.push_back(Q(saved));
  Item(w.form(), "SaveAs1")->trigger();
  w.form().files().OpenFile(Q(w.p.Write("other.ten", kTetragonal)));
  QVERIFY(std::fabs(w.At(2, 3)) < 1e-20);
  w.form().files().OpenFile(Q(saved));
  QCOMPARE(w.t().pointGroup, 2);
  for (int q = 0; q < kComponentCount; ++q)
    QVERIFY2(std::fabs(static_cast<double>(w.t().components[q] - turned[q])) < 1e-19,
             qPrintable(QString("component %1").arg(q)));
}

void TransformPanelsTest::fixedDirectionsFromThePanel() {
  Window w;
  FixedDirectionPanel& panel = w.fixed();
  Item(w.form(), "FixedDirections1")->trigger();
  QVERIFY(panel.isVisible());
  QVERIFY(w.p.state().editingInPanel);
  QCOMPARE(panel.StringGrid3->cellText(1, 0), QStringLiteral("fix=\"yes\""));
  QCOMPARE(panel.StringGrid3->cellText(0, 5), QStringLiteral("m"));
  QCOMPARE(panel.StringGrid3->cellText(1, 1), QStringLiteral("no"));

  // Position 1 fixed at (0, 0, 1): the surface value is T3j xj, here T33 z.
  TypeIntoGrid(panel.StringGrid3, 1, 1, "yes");
  TypeIntoGrid(panel.StringGrid3, 4, 1, "1");
  // (1, 1, 0) for position 3, beyond the rank; a zero row for position 2; "Yes" for 4.
  TypeIntoGrid(panel.StringGrid3, 1, 3, "yes");
  TypeIntoGrid(panel.StringGrid3, 2, 3, "1");
  TypeIntoGrid(panel.StringGrid3, 3, 3, "1");
  TypeIntoGrid(panel.StringGrid3, 1, 2, "yes");
  TypeIntoGrid(panel.StringGrid3, 1, 4, "Yes");
  TypeIntoGrid(panel.StringGrid3, 2, 4, "1");
  const int builds = w.Builds();
  QTest::mouseClick(panel.OKButton, Qt::LeftButton);
  QCOMPARE(w.p.dialogs.shown, std::vector<std::string>{"the direction for index2 is undefined"});
  QVERIFY(!panel.isVisible());
  QVERIFY(!w.p.state().editingInPanel);
  QVERIFY2(w.Builds() > builds, "typed cosines redraw");
  const SurfaceEvaluation& e = w.p.state().evaluation;
  QVERIFY(e.anyDirectionFixed);
  QCOMPARE(e.fixedDirections[1].flag, std::string("no"));
  QCOMPARE(e.fixedDirections[3].flag, std::string("Yes"));
  QCOMPARE(e.fixedDirections[2].u[0], 0.70710677f);
  const double v = static_cast<double>(SurfaceValue(w.t(), e, 0.6L, 0, 0.8L));
  QVERIFY2(std::fabs(v - (-0.25 * 0.8)) < 1e-6, qPrintable(QString::number(v)));

  // Reopened, the grid shows the stored records.
  Item(w.form(), "FixedDirections1")->trigger();
  QCOMPARE(panel.StringGrid3->cellText(1, 2), QStringLiteral("no"));
  QVERIFY(panel.StringGrid3->cellText(2, 3).startsWith(QStringLiteral("0.707106")));
}

void TransformPanelsTest::toggledFlagsRedrawOnlyWhenTyped() {
  Window w;
  FixedDirectionPanel& panel = w.fixed();
  Item(w.form(), "FixedDirections1")->trigger();
  // Selecting a flag cell toggles it at once, in the record too; a click on the selected cell
  // toggles it back.
  DirectionGrid* grid = panel.StringGrid3;
  const QRect cell = grid->visualRect(grid->model()->index(1, 1));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  QCOMPARE(grid->cellText(1, 1), QStringLiteral("yes"));
  QCOMPARE(w.p.state().evaluation.fixedDirections[0].flag, std::string("yes"));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  QCOMPARE(grid->cellText(1, 1), QStringLiteral("no"));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  QCOMPARE(grid->cellText(1, 1), QStringLiteral("yes"));

  // Without a typed key OK applies without redrawing; the zero row is refused.
  w.p.state().componentsTyped = false;
  int builds = w.Builds();
  QTest::mouseClick(panel.OKButton, Qt::LeftButton);
  QCOMPARE(w.Builds(), builds);
  QCOMPARE(w.p.dialogs.shown.size(), std::size_t{1});

  // "None Fixed" always redraws and frees every position.
  Item(w.form(), "FixedDirections1")->trigger();
  builds = w.Builds();
  QTest::mouseClick(panel.Button6, Qt::LeftButton);
  QVERIFY(w.Builds() > builds);
  QVERIFY(!panel.isVisible());
  for (const FixedDirection& d : w.p.state().evaluation.fixedDirections)
    QCOMPARE(d.flag, std::string("no"));
  QVERIFY(!w.p.state().evaluation.anyDirectionFixed);
}

void TransformPanelsTest::panelAndCommandLineWriteTheSameScene() {
  Window w;
  FixedDirectionPanel& panel = w.fixed();
  Item(w.form(), "FixedDirections1")->trigger();
  TypeIntoGrid(panel.StringGrid3, 1, 2, "yes");
  TypeIntoGrid(panel.StringGrid3, 2, 2, "1");
  TypeIntoGrid(panel.StringGrid3, 3, 2, "2");
  TypeIntoGrid(panel.StringGrid3, 4, 2, "2");
  QTest::mouseClick(panel.OKButton, Qt::LeftButton);
  const auto fromPanel = w.p.root() / "panel.wrl";
  w.p.dialogs.saveAnswers.push_back(Q(fromPanel));
  Item(w.form(), "CreateScreenWrl1")->trigger();

  const auto fromCli = w.p.root() / "cli.wrl";
  QProcess cli;
  cli.start(Q(test::BinDirectory() / "quillmere-cli"),
            {"export", Q(w.p.root() / "t.ten"), "-o", Q(fromCli), "--fix", "j=1,2,2"});
  QVERIFY(cli.waitForFinished(60000));
  QCOMPARE(cli.exitCode(), 0);
  const std::string a = test::ReadFile(fromPanel);
  QVERIFY(!a.empty());
  QVERIFY2(a == test::ReadFile(fromCli), "the panel's scene differs from --fix");
}

void TransformPanelsTest::longNumbersAreShownWhole() {
  Window w;
  // A larger font than the default, as on many desktops: every number still fits its column.
  QFont big = w.form().font();
  big.setPointSize(16);
  const auto expectWhole = [](const EntryGrid* g) {
    const QFontMetrics metrics(g->font());
    for (int r = 0; r < g->rowCount(); ++r)
      for (int c = 0; c < g->columnCount(); ++c)
        QVERIFY2(metrics.horizontalAdvance(g->cellText(c, r)) + 4 <= g->columnWidth(c),
                 qPrintable(g->objectName() + ": " + g->cellText(c, r)));
  };
  const Real h = 0.707106781186548L;
  w.p.state().transformMatrix = {{{h, -h, 0}, {h, h, 0}, {0, 0, 1}}};
  w.transform().StringGrid4->setFont(big);
  Item(w.form(), "Transform1")->trigger();
  QCOMPARE(w.transform().StringGrid4->cellText(1, 1), QStringLiteral("0.707106781186548"));
  expectWhole(w.transform().StringGrid4);
  QVERIFY(w.transform().StringGrid4->geometry().right() <= w.transform().width());

  float* u = w.p.state().evaluation.fixedDirections[0].u;
  u[0] = static_cast<float>(h);
  u[1] = -u[0];
  w.fixed().StringGrid3->setFont(big);
  Item(w.form(), "FixedDirections1")->trigger();
  expectWhole(w.fixed().StringGrid3);

  w.t().At(TensorIndices{{1, 1, 1, 1, 1}}) = 2.45678901234567e-6L;
  ComponentGrid* g1 = w.form().components().stringGrid1();
  g1->setFont(big);
  Item(w.form(), "Components1")->trigger();
  QVERIFY(g1->isVisible());
  expectWhole(g1);
}

void TransformPanelsTest::numbersBeyondTheDrawingRangeAreRefusedInEveryGrid() {
  // 1e400 fits the extended numbers but not the double the drawing computes in: each grid
  // refuses it as text that is no number, naming the cell where the grid has names.
  Window w;
  std::array<Real, kComponentCount> before = w.t().components;
  const std::string refusal = "'1e400' is not a valid floating point value";
  std::size_t errors = 0;
  // The independent grid keeps, as for any bad text, the relations walked before it.
  const auto refused = [&](const std::string& named, bool unchanged = true) {
    ++errors;
    QCOMPARE(w.p.dialogs.errors.size(), errors);
    QVERIFY2(w.p.dialogs.errors.back() == refusal + named, w.p.dialogs.errors.back().c_str());
    QVERIFY(!unchanged || w.t().components == before);
  };

  Item(w.form(), "Components1")->trigger();
  TypeIntoGrid(w.form().components().stringGrid1(), 1, 1, "1e400");
  Item(w.form(), "DRAW1")->trigger();
  refused(" (component t11)");
  TypeIntoGrid(w.form().components().stringGrid1(), 1, 1, "3.5");
  Item(w.form(), "DRAW1")->trigger();
  before = w.t().components;

  Item(w.form(), "IndependentComponents1")->trigger();
  TypeIntoGrid(w.form().components().stringGrid2(), 1, 1, "1e400");
  Item(w.form(), "DRAW1")->trigger();
  refused(" (component t11)", false);
  QVERIFY2(std::fabs(w.At(1, 1)) < 1e-3, qPrintable(QString::number(w.At(1, 1))));
  TypeIntoGrid(w.form().components().stringGrid2(), 1, 1, "3.5");
  Item(w.form(), "DRAW1")->trigger();
  before = w.t().components;

  Item(w.form(), "Transform1")->trigger();
  TypeIntoGrid(w.transform().StringGrid4, 2, 1, "1e400");
  QTest::mouseClick(w.transform().Button7, Qt::LeftButton);
  refused("");
  QTest::mouseClick(w.transform().Button8, Qt::LeftButton);

  Item(w.form(), "FixedDirections1")->trigger();
  TypeIntoGrid(w.fixed().StringGrid3, 1, 1, "yes");
  TypeIntoGrid(w.fixed().StringGrid3, 2, 1, "1e400");
  QTest::mouseClick(w.fixed().OKButton, Qt::LeftButton);
  refused("");

  Item(w.form(), "DielectricConstants1")->trigger();
  TForm2& fit = *w.form().fitPanels().FitWindow();
  while (fit.measurementCount() < 2) fit.Button1->click();
  for (int k = 0; k < 2; ++k) {
    for (int c = 1; c <= 3; ++c)
      fit.StringGrid1->item(DirectionGridRow(1, k, 1), c)->setText(c == k + 1 ? "1" : "0");
    fit.StringGrid2->item(k + 1, 0)->setText(k == 1 ? "1e400" : "1");
    fit.StringGrid2->item(k + 1, 1)->setText("1");
  }
  fit.Button2->click();
  ++errors;
  QCOMPARE(w.p.dialogs.errors.size(), errors);
  QVERIFY2(w.p.dialogs.errors.back() == refusal + " (measurement 2, y)",
           w.p.dialogs.errors.back().c_str());
  w.p.dialogs.answers.push_back(true);  // "Close Fit ?"
  fit.close();
}

}  // namespace quillmere

QTEST_MAIN(quillmere::TransformPanelsTest)
#include "transform_panels_test.moc"
