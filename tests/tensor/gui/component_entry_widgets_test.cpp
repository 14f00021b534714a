// The component grids, choosers and New Tensor dialog, driven through their widgets as a user
// would: keys into cells, double clicks, clicks on radio buttons and labels.
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <fstream>
#include <map>

#include "core/user_messages.h"
#include "platform/widgets/barred_text.h"
#include "platform/widgets/spin_button.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/component_grids.h"
#include "tensor/gui/entry_widgets.h"
#include "tensor/gui/new_tensor_dialog.h"
#include "tensor/gui/symmetry_choosers.h"

using namespace quillmere;

namespace {

double D(Real x) {
  return static_cast<double>(x);
}

/// A drawing area with the controller on it, the shipped symmetry table, and hooks that count.
struct Harness {
  QWidget area;
  TensorState t;
  RecordingMessages messages;
  CoreServices services;
  bool componentsTyped = false;
  bool editingInPanel = false;
  int draws = 0;
  int quickDraws = 0;
  int refreshes = 0;
  int rebuildTimerStarts = 0;
  int saveNameInvalidations = 0;
  std::filesystem::path saveName;
  QString caption;
  std::unique_ptr<ComponentEntryController> c;

  explicit Harness(const std::filesystem::path& tableDirectory = QUILLMERE_SOURCE_DIR "/data") {
    services.programDirectory = tableDirectory;
    services.messages = &messages;
    area.resize(1000, 700);
    ComponentEntryHooks hooks;
    hooks.drawTensor = [this] { ++draws; };
    hooks.drawAtResolution = [this](int r) {
      QCOMPARE(r, 1);
      ++quickDraws;
    };
    hooks.refresh = [this] {
      ++refreshes;
      c->refreshEntryWidgets();
    };
    hooks.restartRebuildTimer = [this] { ++rebuildTimerStarts; };
    hooks.lastChosenOpenFile = [] { return std::string("/somewhere/quartz.ten"); };
    c = std::make_unique<ComponentEntryController>(
        &area, ComponentEntryContext{&t, &services, &componentsTyped, &editingInPanel},
        std::move(hooks));
    QObject::connect(c.get(), &ComponentEntryController::newTensorNamed,
                     [this](const std::filesystem::path& p) { saveName = p; });
    QObject::connect(c.get(), &ComponentEntryController::tensorNameRestored,
                     [this](const std::string& s) {
                       caption = QString::fromStdString(s);
                       ++saveNameInvalidations;
                     });
    area.show();
    area.activateWindow();
    if (!QTest::qWaitForWindowActive(&area)) qWarning("drawing area not active");
  }

  /// Types `text` into cell (column, row) of a grid and ends the edit with Return.
  static void Type(EntryGrid* grid, int column, int row, const QString& text) {
    grid->setFocus();
    grid->setCurrentCell(row, column);
    // The first key opens the cell's editor, which then has the focus for the others.
    QTest::keyClick(grid, text.at(0).toLatin1());
    QWidget* editor = QApplication::focusWidget();
    QVERIFY2(editor && editor != grid, "typing did not open an editor");
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
  }
  /// A click on a radio button's indicator (its centre may lie beyond a short caption).
  static void Click(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
  }
  static void DoubleClick(EntryGrid* grid) {
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
  }
};

}  // namespace

class ComponentEntryWidgetsTest : public QObject {
  Q_OBJECT
 private slots:
  void symmetricPairGridTakesTypedValueToBothComponents();
  void autoScaleShowsThousandsInBothGrids();
  void nonNumberKeepsGridOpenAndEarlierCells();
  void elasticLowerTriangleIsReadOnly();
  void kindSwitchKeepsArray();
  void pointGroupChosenBySystemThenGroupWithBar();
  void groupTheComponentsBreakIsNamedBeforeItIsSet();
  void missingTableEntryShowsMessageAndNoGrid();
  void choosersBlockTheGrids();
  void polarAxialSwitchRedescribesOpenGrid();
  void unitSpinButtonsRescaleAndRestartRebuild();
  void unitTextFieldTogglesEditing();
  void newTensorNoKeepsComponentsAndRestoreBringsKindBack();
  void newTensorFieldsEditFileNameAndUnit();
  void resetAskedYesClearsAndRedrawsQuickly();
};

void ComponentEntryWidgetsTest::symmetricPairGridTakesTypedValueToBothComponents() {
  Harness h;
  SetKind(h.t, 1);
  h.c->StringGrid1Click();
  ComponentGrid* g = h.c->stringGrid1();
  QVERIFY(g->isVisible());
  QCOMPARE(g->columnCount(), 7);
  QCOMPARE(g->rowCount(), 2);
  const QStringList headers = {"11", "22", "33", "23", "13", "12"};
  for (int col = 1; col <= 6; ++col) QCOMPARE(g->cellText(col, 0), headers[col - 1]);
  QCOMPARE(g->cellText(0, 0), QString("10^0"));
  QCOMPARE(g->geometry(), QRect(10, 32, 7 * 66 + 12, 2 * 26 + 10));

  Harness::Type(g, 4, 1, "5");
  QVERIFY(h.componentsTyped);
  Harness::DoubleClick(g);
  QVERIFY(!g->isVisible());
  QCOMPARE(D(h.t.At(2, 3)), 5.0);
  QCOMPARE(D(h.t.At(3, 2)), 5.0);
  QCOMPARE(h.draws, 1);
  QVERIFY(!h.componentsTyped);
}

void ComponentEntryWidgetsTest::autoScaleShowsThousandsInBothGrids() {
  Harness h;
  SetKind(h.t, 1);
  h.t.pointGroup = 2;
  h.t.At(1, 1) = 350;
  h.c->StringGrid1Click();
  QCOMPARE(h.c->stringGrid1()->cellText(0, 0), QString("10^3"));
  QCOMPARE(h.c->stringGrid1()->cellText(1, 1), QString("0.35"));
  QCOMPARE(D(h.t.scale), 350.0);
  QCOMPARE(h.draws, 1);  // the scale moved: the drawing follows
  h.c->IndependentComponents1Click();
  IndependentGrid* g2 = h.c->stringGrid2();
  QVERIFY(g2->isVisible());
  QCOMPARE(g2->cellText(0, 0), QString("10^3"));
  QCOMPARE(g2->cellText(0, 1), QString("t11"));
  QCOMPARE(g2->cellText(1, 1), QString("0.35"));
  QCOMPARE(g2->geometry(), QRect(72, 32, 275, 6 * 26 + 31));
}

void ComponentEntryWidgetsTest::nonNumberKeepsGridOpenAndEarlierCells() {
  Harness h;
  SetKind(h.t, 0);
  h.t.autoScale = false;
  h.t.At(3) = 7;
  h.c->StringGrid1Click();
  ComponentGrid* g = h.c->stringGrid1();
  Harness::Type(g, 1, 1, "1.5");
  Harness::Type(g, 2, 1, "abc");
  Harness::Type(g, 3, 1, "3");
  Harness::DoubleClick(g);
  QCOMPARE(h.messages.shown.size(), std::size_t{1});
  QCOMPARE(h.messages.shown[0],
           std::string("'abc' is not a valid floating point value (component t2)"));
  QVERIFY(g->isVisible());
  QCOMPARE(g->currentColumn(), 2);
  QCOMPARE(D(h.t.At(1)), 1.5);
  QCOMPARE(D(h.t.At(3)), 7.0);
  QCOMPARE(g->cellText(3, 1), QString("3"));  // what was typed after the bad cell is still there

  // Corrected, the same double click takes every cell over.
  Harness::Type(g, 2, 1, "2");
  Harness::DoubleClick(g);
  QVERIFY(!g->isVisible());
  QCOMPARE(D(h.t.At(2)), 2.0);
  QCOMPARE(D(h.t.At(3)), 3.0);
}

void ComponentEntryWidgetsTest::elasticLowerTriangleIsReadOnly() {
  Harness h;
  SetKind(h.t, 3);
  h.t.autoScale = false;
  h.c->StringGrid1Click();
  ComponentGrid* g = h.c->stringGrid1();
  QVERIFY(!(g->item(5, 4)->flags() & Qt::ItemIsEditable));
  QVERIFY(g->item(4, 5)->flags() & Qt::ItemIsEditable);
  Harness::Type(g, 5, 4, "8");  // column "13", row "23": T2313
  h.c->StringGrid1Click();      // closing by its command takes the typed value over too
  QCOMPARE(D(h.t.At(1, 3, 2, 3)), 8.0);
  QCOMPARE(D(h.t.At(2, 3, 1, 3)), 8.0);
  QCOMPARE(h.draws, 1);
}

void ComponentEntryWidgetsTest::kindSwitchKeepsArray() {
  Harness h;
  SetKind(h.t, 1);
  h.t.autoScale = false;
  h.t.At(1, 2) = 4;
  h.c->RadioGroup1Click();
  KindChooser* k = h.c->kindChooser();
  QVERIFY(k->isVisible());
  QCOMPARE(k->radioGroup()->title(), QString("Tensorsymmetry"));
  QCOMPARE(k->item(2)->text(), QString("(ij)"));
  QVERIFY(k->item(2)->isChecked());
  Harness::Click(k->item(10));  // "((ij)(kl))"
  QVERIFY(!k->isVisible());
  QCOMPARE(h.t.kind, 3);
  QCOMPARE(h.t.rank, 4);
  QCOMPARE(D(h.t.At(1, 2, 1, 1)), 4.0);  // T12 is now read as T1211
  QCOMPARE(h.draws, 1);                  // a new rank draws the same array differently
  h.c->StringGrid1Click();
  QCOMPARE(h.c->stringGrid1()->cellText(0, 6), QString("12"));
  QCOMPARE(h.c->stringGrid1()->cellText(1, 6), QString("4"));

  // "close" keeps the kind.
  h.c->StringGrid1Click();
  h.c->RadioGroup1Click();
  QTest::mouseClick(k->closeButton(), Qt::LeftButton);
  QVERIFY(!k->isVisible());
  QCOMPARE(h.t.kind, 3);
}

void ComponentEntryWidgetsTest::pointGroupChosenBySystemThenGroupWithBar() {
  Harness h;
  h.c->GroupBox2Click();
  CrystalSystemChooser* s = h.c->crystalSystemChooser();
  QVERIFY(s->isVisible());
  QVERIFY(s->noSymmetryButton()->isChecked());
  QVERIFY(!s->noSymmetryButton()->isVisible());
  Harness::Click(s->systemButton(4));  // tetragonal
  PointGroupBox* box = h.c->pointGroupBox(4);
  QVERIFY(box->isVisible());
  QCOMPARE(box->title(), QString("tetetragonal"));
  QVERIFY(!s->isVisible());     // the refresh closes the system box
  QCOMPARE(h.t.pointGroup, 2);  // no group picked yet
  BarredRadioButton* b = box->button(18);
  QCOMPARE(b->text(), QString("42m"));
  QVERIFY(b->barred());
  QVERIFY(!box->button(17)->barred());
  Harness::Click(b);
  QVERIFY(!box->isVisible());
  QCOMPARE(h.t.pointGroup, 18);

  // The bar is drawn over the "4" and nowhere over the "2".
  const QLine bar = b->barLine();
  QVERIFY(!bar.isNull());
  const QImage img = b->grab().toImage();
  const int dpr = static_cast<int>(img.devicePixelRatio());
  const QColor background = img.pixelColor(img.width() - 1, 0);
  int inked = 0;
  for (int x = bar.x1(); x <= bar.x2(); ++x)
    inked += img.pixelColor(x * dpr, bar.y1() * dpr) != background;
  QVERIFY2(inked >= (bar.x2() - bar.x1()) / 2, "bar not drawn");
  const int secondStart = bar.x2() + 2;
  QCOMPARE(img.pixelColor(secondStart * dpr + 2, bar.y1() * dpr), background);

  NewTensorDialog* d = h.c->newTensorDialog();
  QCOMPARE(d->pointSymmetryLabel->text(), QString("Point  Symmetry:  42m"));
  QCOMPARE(d->pointSymmetryLabel->barIndex(), 18);

  // Box captions as they stand.
  QCOMPARE(h.c->pointGroupBox(2)->title(), QString("othorhombic"));
}

void ComponentEntryWidgetsTest::missingTableEntryShowsMessageAndNoGrid() {
  QTemporaryDir dir;
  {
    std::ofstream(dir.filePath("tensor.tab").toStdString()) << "2 1 0 11,22,33,23,13,12\n"
                                                            << "3 3 1 %\n";
  }
  Harness h(dir.path().toStdString());
  SetKind(h.t, 1);
  h.t.pointGroup = 14;
  h.c->IndependentComponents1Click();
  QVERIFY(!h.c->stringGrid2()->isVisible());
  QCOMPARE(h.messages.shown.back(),
           std::string("this tensor and class have no independent components entrance"));
  SetKind(h.t, 3);
  h.t.pointGroup = 3;
  h.t.axial = true;
  h.c->IndependentComponents1Click();
  QVERIFY(!h.c->stringGrid2()->isVisible());
  QCOMPARE(h.messages.shown.back(), std::string("This tensor does not exist"));
}

void ComponentEntryWidgetsTest::choosersBlockTheGrids() {
  Harness h;
  SetKind(h.t, 1);
  h.c->StringGrid1Click();
  Harness::Type(h.c->stringGrid1(), 1, 1, "9");
  h.c->RadioGroup1Click();  // hides the grid, typed text is not taken over
  QVERIFY(!h.c->stringGrid1()->isVisible());
  h.c->StringGrid1Click();
  h.c->IndependentComponents1Click();
  QVERIFY(!h.c->stringGrid1()->isVisible());
  QVERIFY(!h.c->stringGrid2()->isVisible());
  QTest::mouseClick(h.c->kindChooser()->closeButton(), Qt::LeftButton);
  h.c->GroupBox2Click();
  h.c->StringGrid1Click();
  QVERIFY(!h.c->stringGrid1()->isVisible());
  QTest::mouseClick(h.c->crystalSystemChooser()->closeButton(), Qt::LeftButton);
  QVERIFY(!h.c->crystalSystemChooser()->isVisible());
  // A grid opened after the aborted entry shows the tensor, not the text typed before.
  h.c->StringGrid1Click();
  QCOMPARE(h.c->stringGrid1()->cellText(1, 1), QString("0"));
  h.c->StringGrid1Click();
  QCOMPARE(D(h.t.At(1, 1)), 0.0);
}

void ComponentEntryWidgetsTest::polarAxialSwitchRedescribesOpenGrid() {
  // An axial vector in 2/m has one component, along the 2-fold axis; a polar one none.
  Harness h;
  SetKind(h.t, 0);
  h.t.pointGroup = 3;
  h.t.axial = true;
  h.c->IndependentComponents1Click();
  IndependentGrid* g2 = h.c->stringGrid2();
  QVERIFY(g2->isVisible());
  QCOMPARE(g2->count(), 1);
  QCOMPARE(g2->cellText(0, 1), QString("t2"));
  Harness::Type(g2, 1, 1, "4");
  h.c->axial1Click();
  QVERIFY(!h.t.axial);
  QCOMPARE(h.messages.shown.back(), std::string("This tensor does not exist"));
  QVERIFY(!g2->isVisible());  // its rows belonged to the axial tensor
  QCOMPARE(D(h.t.At(2)), 0.0);
}

void ComponentEntryWidgetsTest::unitSpinButtonsRescaleAndRestartRebuild() {
  Harness h;
  SetKind(h.t, 1);
  h.t.At(1, 1) = 2;
  h.t.autoScale = false;
  h.c->StringGrid1Click();
  h.c->SpinButton5UpClick();
  h.c->SpinButton5UpClick();
  QCOMPARE(D(h.t.scale), 100.0);
  QCOMPARE(h.rebuildTimerStarts, 2);
  QCOMPARE(h.c->stringGrid1()->cellText(0, 0), QString("10^2"));
  QCOMPARE(h.c->stringGrid1()->cellText(1, 1), QString("0.02"));  // open grid follows
  h.c->SpinButton5DownClick();
  QCOMPARE(D(h.t.scale), 10.0);
  QCOMPARE(D(h.t.At(1, 1)), 2.0);  // components are absolute: only their display moves
}

void ComponentEntryWidgetsTest::unitTextFieldTogglesEditing() {
  Harness h;
  h.t.unitText = "pC/N";
  h.c->Edit1Change();
  EntryField* f = h.c->unitTextField();
  QVERIFY(f->isVisible());
  QVERIFY(h.editingInPanel);
  QCOMPARE(f->text(), QString("pC/N"));
  f->setText("C/m^2");
  QTest::keyClick(f, Qt::Key_Return);
  QVERIFY(!f->isVisible());
  QVERIFY(!h.editingInPanel);
  QCOMPARE(h.t.unitText, std::string("C/m^2"));
}

void ComponentEntryWidgetsTest::newTensorNoKeepsComponentsAndRestoreBringsKindBack() {
  Harness h;
  SetKind(h.t, 1);
  h.t.At(1, 1) = 3;
  h.t.unitText = "";
  h.messages.answers = {false};
  h.c->New1Click();
  QCOMPARE(h.messages.asked.back(), std::string("delete all components now?"));
  QCOMPARE(D(h.t.At(1, 1)), 3.0);
  NewTensorDialog* d = h.c->newTensorDialog();
  QVERIFY(d->isVisible());
  QCOMPARE(d->fileName(), QString("quartz.ten"));
  QCOMPARE(d->unitLabel->text(), QString("Unittext"));
  QCOMPARE(d->kindLabel->text(), QString("(ij)"));

  QTest::mouseClick(d->kindLabel, Qt::LeftButton);  // opens the kind chooser
  QVERIFY(h.c->kindChooser()->isVisible());
  Harness::Click(h.c->kindChooser()->item(11));  // "ijklm"
  QCOMPARE(h.t.kind, 10);
  QCOMPARE(h.t.rank, 5);
  QCOMPARE(d->kindLabel->text(), QString("ijklm"));
  QTest::mouseClick(d->typeLabel, Qt::LeftButton);
  QVERIFY(h.t.axial);
  QCOMPARE(d->typeLabel->text(), QString("axial"));

  QTest::mouseClick(d->restoreButton, Qt::LeftButton);
  QCOMPARE(h.t.kind, 1);
  QCOMPARE(h.t.rank, 2);
  QVERIFY(!h.t.axial);
  QCOMPARE(d->kindLabel->text(), QString("(ij)"));
  QCOMPARE(h.caption, QString("quartz.ten"));
  QCOMPARE(h.saveNameInvalidations, 1);
  QVERIFY(d->isVisible());
  QTest::mouseClick(d->cancelButton, Qt::LeftButton);
  QVERIFY(!d->isVisible());
  QCOMPARE(h.saveNameInvalidations, 2);
  QCOMPARE(D(h.t.At(1, 1)), 3.0);
}

void ComponentEntryWidgetsTest::newTensorFieldsEditFileNameAndUnit() {
  Harness h;
  h.messages.answers = {true};
  h.t.At(1) = 1;
  h.c->New1Click();
  QCOMPARE(D(h.t.At(1)), 0.0);
  NewTensorDialog* d = h.c->newTensorDialog();
  QTest::mouseClick(d->fileNameCaption, Qt::LeftButton);
  QVERIFY(d->fileNameField->isVisible());
  QVERIFY(h.editingInPanel);
  d->fileNameField->setText("garnet.ten");
  QTest::mouseDClick(d->fileNameField, Qt::LeftButton);
  QVERIFY(!d->fileNameField->isVisible());
  QVERIFY(!h.editingInPanel);
  QCOMPARE(d->fileName(), QString("garnet.ten"));

  QTest::mouseClick(d->unitLabel, Qt::LeftButton);
  d->unitField->setText("V/m");
  QTest::keyClick(d->unitField, Qt::Key_Return);
  QCOMPARE(h.t.unitText, std::string("V/m"));
  QCOMPARE(d->unitLabel->text(), QString("V/m"));

  QVERIFY(!d->spinButton->isVisible());
  QTest::mouseClick(d->tenLabel, Qt::LeftButton);
  QVERIFY(d->spinButton->isVisible());
}

void ComponentEntryWidgetsTest::resetAskedYesClearsAndRedrawsQuickly() {
  Harness h;
  SetKind(h.t, 7);
  h.t.autoScale = false;
  h.t.At(2, 1) = 6;
  h.c->StringGrid1Click();
  QCOMPARE(h.c->stringGrid1()->cellText(1, 2), QString("6"));
  h.messages.answers = {true};
  h.c->ResetTensor1Click();
  QCOMPARE(D(h.t.At(2, 1)), 0.0);
  QCOMPARE(h.quickDraws, 1);
  QCOMPARE(h.c->stringGrid1()->cellText(1, 2), QString("0"));  // the open grid follows
}

void ComponentEntryWidgetsTest::groupTheComponentsBreakIsNamedBeforeItIsSet() {
  Harness h;
  SetKind(h.t, 1);
  h.t.At(1, 1) = 1;
  h.t.At(2, 2) = 2;
  h.t.At(3, 3) = 3;
  const auto choose = [&h](int group) {
    h.c->GroupBox2Click();
    Harness::Click(h.c->crystalSystemChooser()->systemButton(4));  // tetragonal
    Harness::Click(h.c->pointGroupBox(4)->button(group));
  };
  choose(14);  // 4/mmm needs t11 = t22: answered No
  QCOMPARE(h.t.pointGroup, 2);
  QCOMPARE(h.messages.asked.size(), std::size_t(1));
  QVERIFY2(h.messages.asked[0].find("point group 4/mmm: t22 is 2 but the group gives 1") !=
               std::string::npos,
           h.messages.asked[0].c_str());
  QVERIFY(!h.c->pointGroupBox(4)->button(14)->isChecked());
  QCOMPARE(D(h.t.At(2, 2)), 2.0);
  h.messages.answers.push_back(true);
  choose(14);
  QCOMPARE(h.t.pointGroup, 14);
  QCOMPARE(D(h.t.At(2, 2)), 2.0);  // set, not yet applied
}

QTEST_MAIN(ComponentEntryWidgetsTest)
#include "component_entry_widgets_test.moc"
