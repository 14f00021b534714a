// The fit window driven through the real program: the ten Tools > Fit items and the geometry
// each sets up, a fit typed into the grids and its result in the main window, the refusals and
// the close question, and the clipboard and file round trips.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUndoStack>
#include <cmath>

#include "app/gui/gui_test_support.h"
#include "fit/fit_layout.h"
#include "fit/gui/tform2.h"
#include "fit/measurement_csv.h"
#include "fit/property_kinds.h"
#include "platform/widgets/spin_button.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/component_grids.h"

namespace quillmere {

using test::StartedProgram;

namespace {

constexpr int kTriclinic = 2;  // point group -1: every component independent
constexpr int k4mmm = 14;
constexpr int k32 = 12;

QAction* ItemOf(TForm1& f, const char* handler) {
  const std::string h = handler;
  if (h == "Pyroelectricconstants1Click") return Item(f, "Pyroelectricconstants1");
  if (h == "DielectricConstants1Click") return Item(f, "DielectricConstants1");
  if (h == "ThermalExpansion1Click") return Item(f, "ThermalExpansion1");
  if (h == "MagneticSusceptibilities1Click") return Item(f, "MagneticSusceptibilities1");
  if (h == "OpticalActivity1Click") return Item(f, "OpticalActivity1");
  if (h == "FaradayEffect1Click") return Item(f, "FaradayEffect1");
  if (h == "Electrostriction1Click") return Item(f, "Electrostriction1");
  if (h == "Piezoelectrics1Click") return Item(f, "Piezoelectrics1");
  if (h == "Electrogyration1Click") return Item(f, "Electrogyration1");
  return Item(f, "Halleffect1");
}

/// Column 0 of direction rows, columns 1..3 of heading rows: what the user reads of the
/// geometry.
QStringList Headings(const TForm2& w) {
  QStringList out;
  for (int d = 0; d < w.directionCount(); ++d)
    for (int c = 1; c <= 3; ++c) out << w.StringGrid1->cellText(c, d);
  return out;
}

QStringList Labels(const TForm2& w) {
  QStringList out;
  for (int d = 0; d < w.directionCount(); ++d)
    out << w.StringGrid1->cellText(0, w.directionCount() + d);
  return out;
}

/// Puts a measurement's texts into its cells, as typing and leaving the cell would.
void Enter(TForm2& w, int k, const QStringList& cosines, const QString& y, const QString& dy) {
  while (w.measurementCount() <= k) w.Button1->click();
  const int D = w.directionCount();
  for (int i = 0; i < cosines.size(); ++i)
    w.StringGrid1->item(DirectionGridRow(D, k, i / 3 + 1), i % 3 + 1)->setText(cosines[i]);
  w.StringGrid2->item(k + 1, 0)->setText(y);
  w.StringGrid2->item(k + 1, 1)->setText(dy);
}

void FlushDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

/// Closes the open fit window with Yes.
void CloseFit(StartedProgram& p) {
  p.dialogs.answers.push_back(true);
  p.form().fitPanels().FitWindow()->close();
  FlushDeletes();
}

}  // namespace

class FitWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void everyItemSetsUpItsGeometry();
  void typedSeriesIsFittedAndReachesTheMainWindow();
  void refusalsAndTheCloseQuestionKeepTheData();
  void pastedBlockFitsARankThreeTensor();
  void exampleFileIsLoadedFittedAndSavedBack();
  void measurementsKeepTheirPowerOfTen();
  void escapeDropsOnlyTheTypingSinceTheGridWasEntered();
};

void FitWindowTest::everyItemSetsUpItsGeometry() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  p.state().tensor.pointGroup = kTriclinic;
  struct Expected {
    int directions;
    QStringList headings, labels;
  };
  const QStringList u1 = {"u11", "u12", "u13"};
  const std::map<std::string, Expected> special = {
      {"Electrostriction1Click", {2, u1 + QStringList{"u31", "u32", "u33"}, {"11", "3"}}},
      {"Electrogyration1Click", {2, u1 + QStringList{"u31", "u32", "u33"}, {"11", "3"}}},
      {"Piezoelectrics1Click", {2, u1 + QStringList{"u21", "u22", "u23"}, {"1", "22"}}},
      {"Halleffect1Click",
       {3, u1 + QStringList{"u21", "u22", "u23", "u31", "u32", "u33"}, {"1", "2", "3"}}},
  };
  for (const PropertyKind& kind : PropertyKinds()) {
    const QString name = QString::fromLatin1(kind.handler);
    QVERIFY2(!p.form().fitPanels().FitWindow(), qPrintable(name));
    ItemOf(p.form(), kind.handler)->trigger();
    TForm2* w = p.form().fitPanels().FitWindow();
    QVERIFY2(w && w->isVisible(), qPrintable(name));
    QCOMPARE(w->windowTitle(), QStringLiteral("TensorFit"));
    QVERIFY(!p.state().fitSession.fitWindowFree);

    const int rank = RankOfKind(kind.kindCode);
    Expected e{1, u1, {rank == 1 ? "1" : "11"}};
    if (special.count(kind.handler)) e = special.at(kind.handler);
    QCOMPARE(w->directionCount(), e.directions);
    QCOMPARE(w->StringGrid1->rowCount(), 2 * e.directions);
    QCOMPARE(Headings(*w), e.headings);
    QCOMPARE(Labels(*w), e.labels);
    QCOMPARE(w->StringGrid2->rowCount(), 2);
    QCOMPARE(w->StringGrid2->cellText(0, 0), QStringLiteral("y="));
    QCOMPARE(w->StringGrid2->cellText(1, 0), QStringLiteral("dy="));
    // Each value row is as tall as its measurement's direction rows.
    QCOMPARE(w->StringGrid2->rowHeight(1), e.directions * w->StringGrid1->rowHeight(1));
    QVERIFY(w->StringGrid3->isHidden());
    QVERIFY(w->StringGrid4->isHidden());

    // The tensor and both windows' unit displays follow the kind.
    const TensorState& t = p.state().tensor;
    QCOMPARE(t.kind, kind.kindCode);
    QCOMPARE(t.rank, rank);
    QCOMPARE(t.axial, kind.axial);
    QCOMPARE(t.pointGroup, kTriclinic);
    const QString exponent = QString::number(DecadeExponent(kind.scale));
    QCOMPARE(Child<ClickableLabel>(p.form(), "Label11")->text(), exponent);
    QCOMPARE(w->Label3->text(), exponent);
    QCOMPARE(Child<ClickableLabel>(p.form(), "Label12")->text().trimmed(),
             QString::fromUtf8(kind.unitText));
    QCOMPARE(w->Label1->text().trimmed(), QString::fromUtf8(kind.unitText));
    QCOMPARE(Child<ClickableLabel>(p.form(), "Label15")->text(),
             kind.axial ? QStringLiteral("axial") : QStringLiteral("polar"));
    QVERIFY(p.dialogs.shown.empty());

    CloseFit(p);
    QVERIFY2(!p.form().fitPanels().FitWindow(), qPrintable(name));
    QVERIFY(p.state().fitSession.fitWindowFree);
  }
  // The Hall effect and the dielectric constants as a user reads them.
  Item(p.form(), "Halleffect1")->trigger();
  QCOMPARE(Child<ClickableLabel>(p.form(), "Label14")->text(), QStringLiteral("[ij]k"));
  QCOMPARE(Child<ClickableLabel>(p.form(), "Label11")->text(), QStringLiteral("-12"));
  QCOMPARE(Child<ClickableLabel>(p.form(), "Label12")->text(), QStringLiteral("m³/C"));
  CloseFit(p);
  Item(p.form(), "DielectricConstants1")->trigger();
  QCOMPARE(p.state().tensor.exponent, 0);
  QCOMPARE(p.state().tensor.unitText, std::string());
  QCOMPARE(p.dialogs.unscripted, 0);
}

void FitWindowTest::typedSeriesIsFittedAndReachesTheMainWindow() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  p.state().tensor.pointGroup = k4mmm;
  Item(p.form(), "ThermalExpansion1")->trigger();
  Item(p.form(), "IndependentComponents1")->trigger();  // open while the fit runs: it must follow
  TForm2& w = *p.form().fitPanels().FitWindow();

  // alpha11 = alpha22 = 5.123456789, alpha33 = 12.25 (10^-6 1/K); no noise, so every residual
  // is 0. The value of alpha11 has more digits than the result shows.
  const QString a11 = "5.123456789", a33 = "12.25";
  const QString oblique = QString::number((5.123456789 + 12.25) / 2, 'g', 17);
  Enter(w, 0, {"1", "0", "0"}, a11, "0.1");
  Enter(w, 1, {"0", "1", "0"}, a11, "0.1");
  Enter(w, 2, {"0", "0", "2"}, a33, "0.1");  // directions need not be normalised
  Enter(w, 3, {"1", "0", "1"}, oblique, "0.1");
  const int steps = Child<QUndoStack>(p.form(), "UndoStack")->count();
  w.Button2->click();
  QCOMPARE(p.dialogs.errors, std::vector<std::string>{});
  // The fit taken over is one undo step, named for it.
  QCOMPARE(Child<QUndoStack>(p.form(), "UndoStack")->count(), steps + 1);
  QCOMPARE(Item(p.form(), "Undo1")->text(), QStringLiteral("&Undo Fit"));

  QVERIFY(w.StringGrid3->isVisible());
  QCOMPARE(w.StringGrid3->rowCount(), 3);
  QCOMPARE(w.StringGrid3->cellText(1, 0), QStringLiteral("10^-6"));
  QCOMPARE(w.StringGrid3->cellText(0, 0), QStringLiteral("1/K"));
  QCOMPARE(w.StringGrid3->cellText(1, 1), QStringLiteral("5.12346"));
  QCOMPARE(w.StringGrid3->cellText(1, 2), QStringLiteral("12.25000"));

  // The tensor holds the rounded texts, not the unrounded fit.
  const TensorState& t = p.state().tensor;
  QCOMPARE(t.independentValues[1], std::string("5.12346"));
  const long double a = t.At(1, 1, 1, 1, 1) * 1e6L, c = t.At(3, 3, 1, 1, 1) * 1e6L;
  QVERIFY2(std::fabs(a - 5.12346L) < 1e-12L, qPrintable(QString::number(double(a), 'g', 17)));
  QVERIFY2(std::fabs(c - 12.25L) < 1e-12L, qPrintable(QString::number(double(c), 'g', 17)));
  QCOMPARE(t.At(2, 2, 1, 1, 1), t.At(1, 1, 1, 1, 1));
  QCOMPARE(t.At(1, 2, 1, 1, 1), 0.0L);
  // The main window's open independent grid shows the same numbers.
  IndependentGrid* g2 = p.form().components().stringGrid2();
  QVERIFY(g2->isVisible());
  for (int r = 1; r <= 2; ++r)
    QVERIFY2(
        std::fabs(g2->cellText(1, r).toDouble() - w.StringGrid3->cellText(1, r).toDouble()) < 1e-12,
        qPrintable(g2->cellText(1, r) + " / " + w.StringGrid3->cellText(1, r)));

  // Eigen table: largest (alpha33 along z), smallest, middle; an exact fit has no deviations.
  QVERIFY(w.StringGrid4->isVisible());
  QCOMPARE(w.StringGrid4->cellText(0, 0), QStringLiteral("Eigenvalues // eij"));
  QCOMPARE(w.StringGrid4->cellText(0, 1), QStringLiteral("12.25000"));
  QCOMPARE(w.StringGrid4->cellText(3, 1), QStringLiteral("1.00000"));
  QCOMPARE(w.StringGrid4->cellText(0, 2), QStringLiteral("5.12346"));
  QCOMPARE(w.StringGrid3->cellText(2, 1), QStringLiteral("0.00000"));
  for (int k = 1; k <= 4; ++k)
    QCOMPARE(w.StringGrid2->cellText(TForm2::kResidualColumn, k), QStringLiteral("0.00000"));

  // Ctrl+C on the result table: the table as tab-separated lines.
  QApplication::clipboard()->clear();
  QTest::keyClick(w.StringGrid3, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(),
           QStringLiteral("1/K\t10^-6\tdy\n") + w.StringGrid3->cellText(0, 1) +
               "\t5.12346\t0.00000\n" + w.StringGrid3->cellText(0, 2) + "\t12.25000\t0.00000\n");

  // Editing the data clears the residuals; double clicks hide the tables.
  w.StringGrid2->item(1, 0)->setText("5.2");
  QCOMPARE(w.StringGrid2->cellText(TForm2::kResidualColumn, 1), QString());
  QCOMPARE(w.StringGrid2->cellText(TForm2::kResidualColumn, 4), QString());
  w.StringGrid3DblClick();
  w.StringGrid4DblClick();
  QVERIFY(w.StringGrid3->isHidden() && w.StringGrid4->isHidden());

  // A second run with a noisy series has deviations and residuals again.
  w.Button2->click();
  QVERIFY(w.StringGrid3->isVisible());
  QVERIFY(w.StringGrid3->cellText(2, 1) != QStringLiteral("0.00000"));
  QVERIFY(w.StringGrid2->cellText(TForm2::kResidualColumn, 1) != QString());
}

void FitWindowTest::refusalsAndTheCloseQuestionKeepTheData() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());

  // No point group: the notice, then the close question; No keeps the window.
  p.state().tensor.pointGroup = 0;
  p.dialogs.answers.push_back(false);
  Item(p.form(), "ThermalExpansion1")->trigger();
  QVERIFY(!p.dialogs.shown.empty());
  QCOMPARE(p.dialogs.shown.front(), std::string("Pointsymmetry not selected"));
  QCOMPARE(p.dialogs.asked, std::vector<std::string>{"Close Fit ?"});
  QVERIFY(p.form().fitPanels().FitWindow() && p.form().fitPanels().FitWindow()->isVisible());
  CloseFit(p);
  QVERIFY(!p.form().fitPanels().FitWindow());
  QCOMPARE(p.dialogs.asked.size(), std::size_t{2});

  // Yes at creation closes it at once and frees the menu.
  p.dialogs.answers.push_back(true);
  Item(p.form(), "ThermalExpansion1")->trigger();
  FlushDeletes();
  QVERIFY(!p.form().fitPanels().FitWindow());
  QVERIFY(p.state().fitSession.fitWindowFree);

  p.state().tensor.pointGroup = k4mmm;
  Item(p.form(), "ThermalExpansion1")->trigger();
  TForm2& w = *p.form().fitPanels().FitWindow();
  // REMOVE with one measurement changes nothing.
  w.Button3->click();
  QCOMPARE(w.measurementCount(), 1);
  QCOMPARE(w.StringGrid1->rowCount(), 2);
  Enter(w, 0, {"1", "0", "0"}, "5", "1");
  w.Button1->click();
  w.Button3->click();
  QCOMPARE(w.measurementCount(), 1);
  QCOMPARE(w.StringGrid2->cellText(0, 1), QStringLiteral("5"));

  // One measurement for two components: refused, close asked, No keeps every cell.
  const std::size_t askedBefore = p.dialogs.asked.size();
  p.dialogs.answers.push_back(false);
  w.Button2->click();
  QCOMPARE(p.dialogs.shown.back(),
           std::string("Number of data less than independent tensor components"));
  QCOMPARE(p.dialogs.asked.size(), askedBefore + 1);
  QCOMPARE(p.form().fitPanels().FitWindow(), &w);
  QCOMPARE(w.StringGrid1->cellText(1, 1), QStringLiteral("1"));
  QCOMPARE(w.StringGrid2->cellText(0, 1), QStringLiteral("5"));
  QCOMPARE(w.StringGrid2->cellText(1, 1), QStringLiteral("1"));
  QVERIFY(w.StringGrid3->isHidden());

  // A cell that is not a number: the conversion error, nothing else changes.
  Enter(w, 1, {"0", "0", "1"}, "x7", "1");
  w.Button2->click();
  QCOMPARE(p.dialogs.errors.back(),
           std::string("'x7' is not a valid floating point value (measurement 2, y)"));
  QCOMPARE(w.StringGrid2->currentRow(), 2);
  QCOMPARE(w.StringGrid2->currentColumn(), 0);
  QVERIFY(w.StringGrid3->isHidden());
  w.StringGrid2->item(2, 0)->setText("7");
  w.StringGrid1->item(DirectionGridRow(1, 1, 1), 2)->setText("0,0.5");
  w.Button2->click();
  QCOMPARE(p.dialogs.errors.back(),
           std::string("'0,0.5' is not a valid floating point value (measurement 2, u12)"));
  QCOMPARE(w.StringGrid1->currentRow(), DirectionGridRow(1, 1, 1));
  QCOMPARE(w.StringGrid1->currentColumn(), 2);
  w.StringGrid1->item(DirectionGridRow(1, 1, 1), 2)->setText("0");
  // The window is a tool window of the main window (kept above it), wholly on the screen.
  QVERIFY(w.windowFlags().testFlag(Qt::Tool));
  QVERIFY(w.screen()->availableGeometry().contains(w.frameGeometry()));

  // Another Fit item while the window is open changes nothing, not even the unit.
  const TensorState before = p.state().tensor;
  Item(p.form(), "Halleffect1")->trigger();
  QCOMPARE(p.form().fitPanels().FitWindow(), &w);
  QCOMPARE(p.state().tensor.kind, before.kind);
  QCOMPARE(p.state().tensor.unitText, before.unitText);
  QCOMPARE(p.state().tensor.scale, before.scale);
  QCOMPARE(p.state().fitSession.indexDirectionFlags, (IndexDirectionFlags{0, 1, 1, 1, 1}));
  QCOMPARE(w.directionCount(), 1);
  QCOMPARE(Child<ClickableLabel>(p.form(), "Label12")->text(), QStringLiteral("1/K"));

  // The unit's spin button changes the scale and both windows' exponents.
  w.SpinButton1->upButton()->click();
  QCOMPARE(p.state().tensor.exponent, -5);
  QCOMPARE(w.Label3->text(), QStringLiteral("-5"));
  QCOMPARE(Child<ClickableLabel>(p.form(), "Label11")->text(), QStringLiteral("-5"));
  w.SpinButton1->downButton()->click();
  QCOMPARE(w.Label3->text(), QStringLiteral("-6"));
  QCOMPARE(p.dialogs.unscripted, 0);
}

void FitWindowTest::pastedBlockFitsARankThreeTensor() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  p.state().tensor.pointGroup = k32;  // quartz: d11 and d14
  Item(p.form(), "Piezoelectrics1")->trigger();
  TForm2& w = *p.form().fitPanels().FitWindow();
  QCOMPARE(w.directionCount(), 2);

  // A block as a spreadsheet copies it: a heading line, tab-separated rows of u, v, y, dy.
  // t111 = 2.3, t123 = 0.35 (10^-12 C/N): y = t_ijk u_i v_j v_k.
  const QString block =
      "u1\tu2\tu3\tv1\tv2\tv3\ty\tdy\n"
      "1\t0\t0\t1\t0\t0\t2.3\t0.1\n"
      "1\t0\t0\t0\t1\t0\t-2.3\t0.1\n"
      "0\t1\t0\t1\t1\t0\t-2.3\t0.1\r\n"
      "1\t0\t0\t0\t1\t1\t-0.8\t0.1\n"
      "0\t1\t0\t1\t0\t1\t-0.35\t0.1\n";
  QApplication::clipboard()->setText(block);
  w.StringGrid1->setCurrentCell(0, 1);
  QTest::keyClick(w.StringGrid1, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(w.measurementCount(), 5);
  QCOMPARE(w.StringGrid1->cellText(3, DirectionGridRow(2, 3, 2)), QStringLiteral("1"));
  QCOMPARE(w.StringGrid2->cellText(0, 3), QStringLiteral("-2.3"));
  // The fit reads measurement k as it was pasted, whatever rows the grids keep it in; the
  // direction grid ends with the last measurement's last direction.
  QCOMPARE(w.StringGrid1->rowCount(), DirectionGridRow(2, 4, 2) + 1);
  const QStringList lines = block.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  QCOMPARE(w.MeasurementCount(), 5);
  for (int k = 0; k < 5; ++k) {
    const QStringList f = lines[k + 1].trimmed().split(QLatin1Char('\t'));
    for (int i = 0; i < 6; ++i)
      QCOMPARE(QString::fromStdString(w.Cosine(k, i / 3 + 1, i % 3)), f[i]);
    QCOMPARE(QString::fromStdString(w.Value(k, 0)), f[6]);
    QCOMPARE(QString::fromStdString(w.Value(k, 1)), f[7]);
  }
  w.Button2->click();
  QCOMPARE(p.dialogs.errors, std::vector<std::string>{});
  QVERIFY(w.StringGrid3->isVisible());
  QCOMPARE(w.StringGrid3->rowCount(), 3);
  QCOMPARE(w.StringGrid3->cellText(1, 1), QStringLiteral("2.30000"));
  QCOMPARE(w.StringGrid3->cellText(1, 2), QStringLiteral("0.35000"));
  QVERIFY(w.StringGrid4->isHidden());

  // A block of the wrong width is refused as a whole.
  QApplication::clipboard()->setText("1,0,0,2.3,0.1\n");
  w.StringGrid2->setCurrentCell(1, 0);
  QTest::keyClick(w.StringGrid2, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(w.measurementCount(), 5);
  QVERIFY(p.dialogs.shown.back().find("Nothing pasted: line 1 holds 5 fields") == 0);
  QCOMPARE(w.StringGrid2->cellText(0, 1), QStringLiteral("2.3"));
}

void FitWindowTest::exampleFileIsLoadedFittedAndSavedBack() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  p.state().tensor.pointGroup = 9;  // -3m
  QCOMPARE(QString::fromUtf8(PointGroups()[8].conventional), QStringLiteral("-3m"));
  Item(p.form(), "ThermalExpansion1")->trigger();
  TForm2& w = *p.form().fitPanels().FitWindow();

  // The README's walk-through: Load... the example, FIT.
  const auto example = p.Example("calcite-thermal-expansion.csv");
  p.dialogs.openAnswers.push_back(QString::fromStdString(example.string()));
  w.LoadButton->click();
  QCOMPARE(w.measurementCount(), 6);
  QCOMPARE(w.StringGrid1->cellText(3, DirectionGridRow(1, 5, 1)), QStringLiteral("2"));
  QCOMPARE(w.StringGrid2->cellText(0, 6), QStringLiteral("18.85"));
  w.Button2->click();
  QCOMPARE(w.StringGrid3->cellText(1, 1), QStringLiteral("-5.58858"));
  QCOMPARE(w.StringGrid3->cellText(1, 2), QStringLiteral("25.00439"));
  QCOMPARE(w.StringGrid3->cellText(2, 1), QStringLiteral("0.02481"));
  // Residuals: y minus the prediction of the unrounded fit, here of measurement 1 along x.
  const double r1 = w.StringGrid2->cellText(TForm2::kResidualColumn, 1).toDouble();
  QVERIFY2(std::fabs(r1 - (-5.62 + 5.58858)) < 2e-5,
           qPrintable(w.StringGrid2->cellText(TForm2::kResidualColumn, 1)));

  // Save... writes what the grids hold; a second window loads the same texts back.
  w.StringGrid2->item(2, 1)->setText("0.07");
  const auto saved = p.root() / "saved.csv";
  p.dialogs.saveAnswers.push_back(QString::fromStdString(saved.string()));
  w.SaveButton->click();
  QCOMPARE(p.dialogs.errors, std::vector<std::string>{});
  const MeasurementReading back = ReadMeasurementCsvFile(saved, 1);
  QCOMPARE(back.badLines, 0);
  QCOMPARE(back.table.Count(), 6);
  QCOMPARE(back.table.Field(1, 4), std::string("0.07"));
  QCOMPARE(back.table.Field(5, 2), std::string("2"));
  CloseFit(p);
  Item(p.form(), "ThermalExpansion1")->trigger();
  TForm2& again = *p.form().fitPanels().FitWindow();
  p.dialogs.openAnswers.push_back(QString::fromStdString(saved.string()));
  again.LoadButton->click();
  QCOMPARE(again.measurementCount(), 6);
  QCOMPARE(again.StringGrid2->cellText(1, 2), QStringLiteral("0.07"));
  QCOMPARE(p.dialogs.openRequests.back().proposedPath, QString());

  // A bad file is reported line by line and loads nothing; a cell that is not a number is
  // not saved, and the earlier file stays as it was.
  const auto bad = p.Write("bad.csv", "1,0,0,5,1\n1,0,zero,5,1\n0,1\n");
  p.dialogs.openAnswers.push_back(QString::fromStdString(bad.string()));
  again.LoadButton->click();
  QCOMPARE(again.measurementCount(), 6);
  const std::string notice = p.dialogs.shown.back();
  QVERIFY2(notice.find("nothing was loaded") != std::string::npos &&
               notice.find("line 2:") != std::string::npos &&
               notice.find("line 3:") != std::string::npos,
           notice.c_str());
  again.StringGrid2->item(3, 0)->setText("");
  const std::size_t saveRequests = p.dialogs.saveRequests.size();
  again.SaveButton->click();
  QCOMPARE(p.dialogs.saveRequests.size(), saveRequests);
  QCOMPARE(p.dialogs.shown.back(),
           std::string("Measurement 3: '' is not a number; nothing was saved"));
  QCOMPARE(ReadMeasurementCsvFile(saved, 1).table.Count(), 6);
  QCOMPARE(p.dialogs.unscripted, 0);
}

void FitWindowTest::escapeDropsOnlyTheTypingSinceTheGridWasEntered() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  p.state().tensor.pointGroup = kTriclinic;
  Item(p.form(), "ThermalExpansion1")->trigger();
  TForm2& w = *p.form().fitPanels().FitWindow();
  // The focus moves only within the active window (a tool window counts as active with its
  // main window, so the activation is checked directly).
  w.activateWindow();
  QCoreApplication::processEvents();
  QCOMPARE(QApplication::activeWindow(), &w);
  Enter(w, 0, {"1", "0", "0"}, "5", "1");  // typed before the grid is entered: kept
  w.Button1->setFocus();
  w.StringGrid2->setFocus();
  // A cell typed and left, then another opened and typed into: Escape in that cell drops both.
  w.StringGrid2->item(1, 1)->setText(QStringLiteral("3"));
  w.StringGrid2->setCurrentCell(1, 0);
  QTest::keyClick(w.StringGrid2, '8');
  QVERIFY(QApplication::focusWidget() != w.StringGrid2);  // the cell's editor
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  QCOMPARE(w.Value(0, 0), std::string("5"));
  QCOMPARE(w.Value(0, 1), std::string("1"));
  QVERIFY(!w.StringGrid2->hasFocus());
  // Escape in the direction grid itself, no cell open, likewise.
  w.StringGrid1->setFocus();
  w.StringGrid1->item(DirectionGridRow(w.directionCount(), 0, 1), 2)
      ->setText(QStringLiteral("0.5"));
  QTest::keyClick(w.StringGrid1, Qt::Key_Escape);
  QCOMPARE(w.Cosine(0, 1, 1), std::string("0"));
  QCOMPARE(w.Cosine(0, 1, 0), std::string("1"));
  QCOMPARE(w.measurementCount(), 1);
  CloseFit(p);
}

void FitWindowTest::measurementsKeepTheirPowerOfTen() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  p.state().tensor.pointGroup = k4mmm;
  Item(p.form(), "ThermalExpansion1")->trigger();
  TForm2& w = *p.form().fitPanels().FitWindow();
  Enter(w, 0, {"1", "0", "0"}, "5", "0.1");
  Enter(w, 1, {"0", "0", "1"}, "12", "0.1");
  w.Button2->click();
  const auto t11 = [&p] { return static_cast<double>(p.state().tensor.At(1, 1, 1, 1, 1)); };
  QCOMPARE(t11(), 5e-6);

  // The main window's unit changes; the measurements are still in 10^-6 and fit the same.
  Child<SpinButton>(p.form(), "SpinButton5")->upButton()->click();
  QCOMPARE(Child<ClickableLabel>(p.form(), "Label11")->text(), QStringLiteral("-5"));
  QCOMPARE(w.Label3->text(), QStringLiteral("-6"));
  w.Button2->click();
  QCOMPARE(t11(), 5e-6);
  QCOMPARE(Child<ClickableLabel>(p.form(), "Label11")->text(), QStringLiteral("-6"));

  // Saved with their unit, loaded back into another power of ten: the file's unit returns.
  const auto file = p.root() / "unit.csv";
  p.dialogs.saveAnswers.push_back(test::Q(file));
  w.SaveClick();
  QCOMPARE(test::ReadFile(file).substr(0, 17), std::string("# unit: 1E-6 1/K\n"));
  w.SpinButton1->downButton()->click();
  QCOMPARE(w.Label3->text(), QStringLiteral("-7"));
  p.dialogs.openAnswers.push_back(test::Q(file));
  w.LoadClick();
  QCOMPARE(w.Label3->text(), QStringLiteral("-6"));
  w.Button2->click();
  QCOMPARE(t11(), 5e-6);
  QCOMPARE(p.dialogs.errors, std::vector<std::string>{});
}

}  // namespace quillmere

QTEST_MAIN(quillmere::FitWindowTest)
#include "fit_window_test.moc"
