// The tensor on screen and on disk is the one the user chose: opening and reopening replace
// what every open grid shows and draw the file, the fit window gives back the tensor it
// borrowed, numbers too large to hold are refused, and Save As proposes the shown tensor.
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <fstream>

#include "app/gui/gui_test_support.h"
#include "app/picture_commands.h"
#include "fit/gui/tform2.h"
#include "platform/widgets/spin_button.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/component_grids.h"
#include "tensor/gui/entry_widgets.h"
#include "tensor/gui/new_tensor_dialog.h"

namespace quillmere {

using test::Q;
using test::StartedProgram;
using test::TypeIntoGrid;

namespace {

/// The copper example with other values: the same kind and point group.
constexpr const char* kOtherCubic =
    "Quillmere-Datafile\r\n3 28 0  1.00000000000000E+0002 3 GPa\r\n"
    " 2.00000000000000E+0000\r\n 1.00000000000000E+0000\r\n 5.00000000000000E-0001\r\n";

struct Working {
  StartedProgram p;
  Working() {
    p.Start();
    p.EndSplash();
  }
  TForm1& form() { return p.form(); }
  ComponentEntryController& entry() { return form().components(); }
  const TensorState& tensor() { return p.state().tensor; }
  void Open(const std::filesystem::path& file) {
    p.dialogs.openAnswers.push_back(Q(file));
    form().files().Open1Click();
  }
  /// Reopen of the recent entry that is `file`.
  void Reopen(const std::filesystem::path& file) {
    form().files().OpenRecent1Click();
    for (int k = 0; k < 5; ++k)
      if (form().files().RecentFileNames()[static_cast<std::size_t>(k)] == file.string()) {
        form().files().ReopenClick(k + 1);
        return;
      }
    QFAIL("not in the recent list");
  }
};

}  // namespace

class ShownTensorTest : public QObject {
  Q_OBJECT
 private slots:
  void openAndReopenReplaceTheGridsAndDraw();
  void fitWindowClosedWithoutAFitGivesTheTensorBack();
  void overflowingNumberIsRefusedNamingTheComponent();
  void saveAsProposesTheShownTensorAndAsksBeforeCreating();
  void readoutsFollowThePowerOfTenAndUnit();
  void sectionAskedForDuringABuildIsBuiltFinely();
};

void ShownTensorTest::openAndReopenReplaceTheGridsAndDraw() {
  Working w;
  const auto copper = w.p.Example("copper-elastic.ten");
  const auto other = w.p.Write("other.ten", kOtherCubic);
  w.Open(other);
  const QString otherExtremes = Child<QLabel>(w.form(), "ExtremesLabel")->text();
  w.Open(copper);
  const QString copperExtremes = Child<QLabel>(w.form(), "ExtremesLabel")->text();
  QVERIFY(otherExtremes != copperExtremes);
  const long double copperC11 = w.tensor().At(1, 1, 1, 1);

  // Typing into the independent grid, then Reopen of the other file: the grid shows the file's
  // values and the typing is dropped, so the tensor (and a Save) is the file's.
  Item(w.form(), "IndependentComponents1")->trigger();
  IndependentGrid* g2 = w.entry().stringGrid2();
  QVERIFY(g2->isVisible());
  TypeIntoGrid(g2, 1, 1, "9");
  w.Reopen(other);
  QVERIFY(g2->isVisible());
  QCOMPARE(g2->cellText(1, 1), QStringLiteral("2"));
  QCOMPARE(static_cast<double>(w.tensor().At(1, 1, 1, 1)), 200.0);
  QCOMPARE(Child<QLabel>(w.form(), "ExtremesLabel")->text(), otherExtremes);
  Item(w.form(), "DRAW1")->trigger();
  QCOMPARE(static_cast<double>(w.tensor().At(1, 1, 1, 1)), 200.0);

  // The same with an edit still open, through Open.
  Item(w.form(), "IndependentComponents1")->trigger();
  QVERIFY(g2->isVisible());
  g2->setCurrentCell(1, 1);
  QTest::keyClicks(g2, "7");
  // DRAW took the grid over above, imposing the group: Open asks before it drops that.
  w.p.dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Discard);
  w.Open(copper);
  QCOMPARE(g2->cellText(1, 1), QString::number(static_cast<double>(copperC11 / 100), 'g', 15));
  Item(w.form(), "DRAW1")->trigger();
  QCOMPARE(w.tensor().At(1, 1, 1, 1), copperC11);

  // With the full grid open, Reopen draws the file at once.
  Item(w.form(), "Components1")->trigger();
  ComponentGrid* g1 = w.entry().stringGrid1();
  QVERIFY(g1->isVisible());
  w.p.dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Discard);
  w.Reopen(other);
  QVERIFY(g1->isVisible());
  QCOMPARE(g1->cellText(1, 1), QStringLiteral("2"));
  QCOMPARE(Child<QLabel>(w.form(), "ExtremesLabel")->text(), otherExtremes);
  QCOMPARE(w.p.dialogs.errors, std::vector<std::string>{});
}

void ShownTensorTest::fitWindowClosedWithoutAFitGivesTheTensorBack() {
  Working w;
  w.Open(w.p.Example("copper-elastic.ten"));
  const TensorState before = w.tensor();
  const QString kind = Child<ClickableLabel>(w.form(), "Label14")->text(),
                exponent = Child<ClickableLabel>(w.form(), "Label11")->text();
  const QImage picture = w.form().drawing().SceneBitmap().copy();
  const int steps = Child<QUndoStack>(w.form(), "UndoStack")->count();

  Item(w.form(), "DielectricConstants1")->trigger();
  QVERIFY(w.form().fitPanels().FitWindow());
  QCOMPARE(w.tensor().rank, 2);
  w.form().RecordStep();  // the borrowed tensor is no undo step
  QCOMPARE(Child<QUndoStack>(w.form(), "UndoStack")->count(), steps);
  w.p.dialogs.answers.push_back(true);  // "Close Fit ?"
  w.form().fitPanels().FitWindow()->close();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(!w.form().fitPanels().FitWindow());
  w.form().RecordStep();
  QCOMPARE(Child<QUndoStack>(w.form(), "UndoStack")->count(), steps);
  QVERIFY(!w.form().TensorModified());

  QCOMPARE(w.tensor().kind, before.kind);
  QCOMPARE(w.tensor().rank, before.rank);
  QCOMPARE(w.tensor().pointGroup, before.pointGroup);
  QCOMPARE(w.tensor().axial, before.axial);
  QCOMPARE(w.tensor().scale, before.scale);
  QCOMPARE(w.tensor().unitText, before.unitText);
  QVERIFY(w.tensor().components == before.components);
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label14")->text(), kind);
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label11")->text(), exponent);
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label12")->text(), QStringLiteral("GPa"));
  QCOMPARE(w.form().drawing().SceneBitmap(), picture);
}

void ShownTensorTest::overflowingNumberIsRefusedNamingTheComponent() {
  Working w;
  w.Open(w.p.Example("copper-elastic.ten"));
  const TensorState before = w.tensor();
  Item(w.form(), "Components1")->trigger();
  ComponentGrid* g1 = w.entry().stringGrid1();
  TypeIntoGrid(g1, 2, 1, "1e5000");
  Item(w.form(), "DRAW1")->trigger();
  QCOMPARE(w.p.dialogs.errors.size(), std::size_t{1});
  QCOMPARE(w.p.dialogs.errors.back(),
           std::string("'1e5000' is not a valid floating point value (component t1122)"));
  QVERIFY(g1->isVisible());  // the grid stays open on the bad cell
  QCOMPARE(g1->currentRow(), 1);
  QCOMPARE(g1->currentColumn(), 2);
  QCOMPARE(w.tensor().At(1, 1, 2, 2), before.At(1, 1, 2, 2));

  Item(w.form(), "IndependentComponents1")->trigger();
  IndependentGrid* g2 = w.entry().stringGrid2();
  QVERIFY(g2->isVisible());
  TypeIntoGrid(g2, 1, 2, "-1E+5000");
  Item(w.form(), "DRAW1")->trigger();
  QCOMPARE(w.p.dialogs.errors.size(), std::size_t{2});
  QVERIFY2(w.p.dialogs.errors.back().find("'-1E+5000' is not a valid floating point value") == 0,
           w.p.dialogs.errors.back().c_str());
  QVERIFY(w.tensor().components == before.components);
}

void ShownTensorTest::saveAsProposesTheShownTensorAndAsksBeforeCreating() {
  Working w;
  const auto f2 = w.p.Write("f2.ten", kOtherCubic);
  const auto f5 = w.p.Write("f5.ten", kOtherCubic);
  w.Open(f5);
  w.Open(f2);
  w.Reopen(f5);
  QCOMPARE(w.form().windowTitle(), QStringLiteral("Quillmere: f5.ten"));
  w.p.dialogs.saveAnswers.push_back(std::nullopt);
  Item(w.form(), "SaveAs1")->trigger();
  QCOMPARE(w.p.dialogs.saveRequests.back().proposedPath, Q(f5));
  QVERIFY(w.p.dialogs.saveRequests.back().createPrompt);
  // Pictures are proposed under the shown tensor's name too.
  w.p.dialogs.saveAnswers.push_back(std::nullopt);
  Item(w.form(), "SavePng1")->trigger();
  QCOMPARE(QFileInfo(w.p.dialogs.saveRequests.back().proposedPath).fileName(),
           QStringLiteral("f5.PNG"));

  // New with a folder typed into its panel: Save As proposes that folder.
  const auto folder = w.p.root() / "elsewhere";
  std::filesystem::create_directories(folder);
  w.p.dialogs.answers.push_back(true);  // "delete all components now?"
  Item(w.form(), "New1")->trigger();
  NewTensorDialog* d = w.entry().newTensorDialog();
  d->fileNameField->setText(Q(folder / "fresh.ten"));
  d->okButton->click();
  w.p.dialogs.saveAnswers.push_back(Q(folder / "fresh.ten"));
  w.p.dialogs.createAnswers.push_back(false);  // do not create it
  Item(w.form(), "SaveAs1")->trigger();
  QCOMPARE(w.p.dialogs.saveRequests.back().proposedPath, Q(folder / "fresh.ten"));
  QCOMPARE(w.p.dialogs.createQuestions.back(),
           std::string("fresh.ten does not exist.\nCreate the file?"));
  QVERIFY(!std::filesystem::exists(folder / "fresh.ten"));
  w.p.dialogs.saveAnswers.push_back(Q(folder / "fresh.ten"));
  Item(w.form(), "SaveAs1")->trigger();  // Yes
  QVERIFY(std::filesystem::exists(folder / "fresh.ten"));

  // Each save filter names its type once.
  for (PictureKind kind : {PictureKind::Bmp, PictureKind::Emf, PictureKind::Wmf, PictureKind::Png,
                           PictureKind::Svg, PictureKind::Pdf}) {
    const QString first = QtNameFilters(PictureDialogTextsOf(kind).filter).first();
    QCOMPARE(first.count(QStringLiteral("*.")), 1);
    QVERIFY2(first.endsWith(QLatin1Char(')')) && first.count(QLatin1Char('(')) == 1,
             qPrintable(first));
  }
  QCOMPARE(QtNameFilters("Tensor data file (*.ten)|*.ten|All files|*.*"),
           (QStringList{"Tensor data file (*.ten)", "All files (*)"}));
}

void ShownTensorTest::readoutsFollowThePowerOfTenAndUnit() {
  Working w;
  w.Open(w.p.Example("copper-elastic.ten"));
  w.form().viewControls().SetScale(true);
  const QString extremes = Child<QLabel>(w.form(), "ExtremesLabel")->text();
  QVERIFY2(extremes.startsWith(QStringLiteral("max 2.")), qPrintable(extremes));
  // One step of the power of ten: the panel's numbers are read in the new power at once.
  Child<SpinButton>(w.form(), "SpinButton5")->upButton()->click();
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label11")->text(), QStringLiteral("3"));
  QVERIFY2(Child<QLabel>(w.form(), "ExtremesLabel")->text().startsWith(QStringLiteral("max 0.2")),
           qPrintable(Child<QLabel>(w.form(), "ExtremesLabel")->text()));
  // A new unit text: the legend drawn shows it without a DRAW.
  const QImage before = w.form().drawing().SceneBitmap().copy();
  Item(w.form(), "EditUnitText1")->trigger();
  w.entry().unitTextField()->setText(QStringLiteral("MPa-long-unit"));
  Item(w.form(), "EditUnitText1")->trigger();
  QCOMPARE(w.tensor().unitText, std::string("MPa-long-unit"));
  QVERIFY(w.form().drawing().SceneBitmap() != before);
}

void ShownTensorTest::sectionAskedForDuringABuildIsBuiltFinely() {
  Working w;
  w.Open(w.p.Example("copper-elastic.ten"));
  w.form().drawing().buildEventInterval = std::chrono::milliseconds(0);  // events after every patch
  // The section is asked for from an event that the running build lets through.
  QTimer::singleShot(0, &w.form(), [&w] { w.form().viewControls().Cross_section(1); });
  w.form().drawing().DrawTensor();
  QCOMPARE(w.p.state().crossSectionMode, 1);
  QCOMPARE(w.p.state().scene.count, std::size_t{6 + 901});
  QVERIFY(w.p.state().view.resolution < 50);
}

}  // namespace quillmere

QTEST_MAIN(quillmere::ShownTensorTest)
#include "shown_tensor_test.moc"
