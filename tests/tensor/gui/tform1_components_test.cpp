// Component entry inside the running main window: menus, speed buttons and panel labels reach
// the grids and choosers, committed components reach the drawing, and the tensor panel follows.
#include <QApplication>
#include <QTest>
#include <cmath>
#include <map>

#include "app/gui/gui_test_support.h"
#include "app/program_state.h"
#include "platform/widgets/barred_text.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/component_grids.h"
#include "tensor/gui/entry_widgets.h"
#include "tensor/gui/new_tensor_dialog.h"
#include "tensor/gui/symmetry_choosers.h"

namespace quillmere {

using test::StartedProgram;
using test::TypeIntoGrid;

namespace {

void Click(QAbstractButton* b) {
  QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

/// The started, working main window.
struct Window {
  StartedProgram p;
  Window() {
    p.Start();
    if (!p.EndSplash()) qFatal("the splash did not end");
    p.form().activateWindow();
    if (!QTest::qWaitForWindowActive(&p.form())) qWarning("main window not active");
  }
  TForm1& form() { return p.form(); }
  ComponentEntryController& entry() { return p.form().components(); }
};

}  // namespace

class TForm1ComponentsTest : public QObject {
  Q_OBJECT
 private slots:
  void hexagonalElasticTypedIndependentlyIsDrawnAndShownInFull();
  void barredPointGroupOnThePanel();
  void drawCommitsTheOpenGrid();
  void newTensorPanelOkChoosesTheSaveTarget();
  void unitCommandsFollowOnThePanel();
};

void TForm1ComponentsTest::hexagonalElasticTypedIndependentlyIsDrawnAndShownInFull() {
  Window w;
  ComponentEntryController& c = w.entry();
  Item(w.form(), "TensorSymmetry1")->trigger();
  QVERIFY(c.kindChooser()->isVisible());
  Click(c.kindChooser()->item(10));  // "((ij)(kl))"
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label14")->text(), QString("((ij)(kl))"));
  Item(w.form(), "PointGroup1")->trigger();
  Click(c.crystalSystemChooser()->systemButton(5));  // hexagonal
  Click(c.pointGroupBox(5)->button(21));             // 6/mm
  QCOMPARE(w.p.state().tensor.pointGroup, 21);
  QCOMPARE(Child<BarredLabel>(w.form(), "Label23")->text(), QString("PS: 6/mmm"));

  const QImage before = w.form().drawing().SceneBitmap().copy();
  Item(w.form(), "SpeedIndependent")->trigger();
  IndependentGrid* g2 = c.stringGrid2();
  QVERIFY(g2->isVisible());
  // c66 = (c11 - c12)/2 in the hexagonal classes (Nye, Physical Properties of Crystals, 1957,
  // ch. VIII); values near those of magnesium, GPa.
  const std::map<std::string, QString> values = {
      {"1111", "59.7"}, {"1122", "26.2"}, {"1133", "21.7"}, {"3333", "61.7"}, {"2323", "16.4"}};
  QCOMPARE(g2->count(), 5);
  for (int r = 1; r <= g2->count(); ++r) {
    const auto it = values.find(g2->cellText(0, r).toStdString().substr(1, 4));
    QVERIFY(it != values.end());
    TypeIntoGrid(g2, 1, r, it->second);
  }
  QTest::mouseDClick(g2->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  QVERIFY(!g2->isVisible());
  QVERIFY2(w.form().drawing().SceneBitmap() != before, "the drawing did not change");
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label11")->text(), QString("2"));

  Item(w.form(), "Components1")->trigger();
  ComponentGrid* g1 = c.stringGrid1();
  QVERIFY(g1->isVisible());
  QCOMPARE(g1->cellText(0, 0), QString("10^2"));
  const double c66 = g1->cellText(6, 6).toDouble() * 100;
  QVERIFY2(std::fabs(c66 - 16.75) < 1e-9, qPrintable(g1->cellText(6, 6)));
}

void TForm1ComponentsTest::barredPointGroupOnThePanel() {
  Window w;
  ComponentEntryController& c = w.entry();
  QTest::mouseClick(Child<BarredLabel>(w.form(), "Label23"), Qt::LeftButton);
  QVERIFY(c.crystalSystemChooser()->isVisible());
  Click(c.crystalSystemChooser()->systemButton(4));  // tetragonal
  Click(c.pointGroupBox(4)->button(18));
  QCOMPARE(Child<BarredLabel>(w.form(), "Label23")->text(), QString("PS: 42m"));
  QVERIFY(Child<BarredLabel>(w.form(), "Label23")->barred());
  QVERIFY(!c.crystalSystemChooser()->isVisible());
  QVERIFY(!c.pointGroupBox(4)->isVisible());
}

void TForm1ComponentsTest::drawCommitsTheOpenGrid() {
  Window w;
  ComponentEntryController& c = w.entry();
  Item(w.form(), "Components1")->trigger();
  ComponentGrid* g1 = c.stringGrid1();
  QVERIFY(g1->isVisible());
  QCOMPARE(g1->columnCount(), 4);  // "(i)": three components
  TypeIntoGrid(g1, 3, 1, "2");
  QVERIFY(w.p.state().componentsTyped);
  Item(w.form(), "DRAW1")->trigger();
  QVERIFY(!g1->isVisible());
  QCOMPARE(static_cast<double>(w.p.state().tensor.At(3)), 2.0);
  QVERIFY(!w.p.state().componentsTyped);
}

void TForm1ComponentsTest::newTensorPanelOkChoosesTheSaveTarget() {
  Window w;
  ProgramState& s = w.p.state();
  ComponentEntryController& c = w.entry();
  s.tensor.At(1) = 4;
  // The change makes the tensor modified: New asks to save it first.
  w.p.dialogs.saveChangesAnswers = {SaveChangesAnswer::Discard};
  w.p.dialogs.answers = {false};
  Item(w.form(), "New1")->trigger();
  QCOMPARE(w.p.dialogs.asked.back(), std::string("delete all components now?"));
  QCOMPARE(static_cast<double>(s.tensor.At(1)), 4.0);
  NewTensorDialog* d = c.newTensorDialog();
  QVERIFY(d->isVisible());

  QTest::mouseClick(d->kindLabel, Qt::LeftButton);
  Click(c.kindChooser()->item(1));  // "ij"
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label14")->text(), QString("ij"));

  QTest::mouseClick(d->fileNameLabel, Qt::LeftButton);
  QVERIFY(s.editingInPanel);
  d->fileNameField->setText("quartz.ten");
  QTest::keyClick(d->fileNameField, Qt::Key_Return);
  QVERIFY(!s.editingInPanel);
  QTest::mouseClick(d->okButton, Qt::LeftButton);
  QVERIFY(!d->isVisible());
  QCOMPARE(s.currentSaveName, w.p.programDirectory() + "quartz.ten");
  QVERIFY(!s.saveNameValid);
  // The components were kept, so the tensor is still not saved anywhere: the mark stays.
  QCOMPARE(w.form().windowTitle(), QString("Quillmere: quartz.ten*"));
}

void TForm1ComponentsTest::unitCommandsFollowOnThePanel() {
  Window w;
  ProgramState& s = w.p.state();
  Item(w.form(), "axial1")->trigger();
  QVERIFY(s.tensor.axial);
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label15")->text(), QString("axial"));
  QCOMPARE(Item(w.form(), "axial1")->text(), QString("change into &polar"));
  QTest::mouseClick(Child<ClickableLabel>(w.form(), "Label15"), Qt::LeftButton);
  QVERIFY(!s.tensor.axial);

  Item(w.form(), "EditUnitText1")->trigger();
  EntryField* f = w.entry().unitTextField();
  QVERIFY(f->isVisible());
  QVERIFY(s.editingInPanel);
  f->setText("pC/N");
  Item(w.form(), "EditUnitText1")->trigger();
  QVERIFY(!f->isVisible());
  QVERIFY(!s.editingInPanel);
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label12")->text(), QString("pC/N"));
}

}  // namespace quillmere

QTEST_MAIN(quillmere::TForm1ComponentsTest)
#include "tform1_components_test.moc"
