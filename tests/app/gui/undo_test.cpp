// Undo and redo, the modified mark, the save question and Escape in the grids, driven through
// the main window's commands as a user gives them.
#include <QApplication>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QUndoStack>

#include "app/gui/gui_test_support.h"
#include "app/program_state.h"
#include "fit/gui/fixed_direction_panel.h"
#include "fit/gui/transform_panel.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/component_grids.h"
#include "tensor/point_group_symbols.h"

namespace quillmere {

using test::Q;
using test::StartedProgram;
using test::TypeIntoGrid;

namespace {

constexpr const char* kTetragonal = test::kTetragonalFile;

struct Window {
  StartedProgram p;
  std::filesystem::path file;
  Window() {
    p.Start();
    if (!p.EndSplash()) qFatal("the splash did not end");
    file = p.Write("t.ten", kTetragonal);
    p.form().files().OpenFile(Q(file));
    // The open is a step back to the start's tensor; the tests count from the file.
    Child<QUndoStack>(p.form(), "UndoStack")->clear();
  }
  TForm1& form() { return p.form(); }
  TensorState& t() { return p.state().tensor; }
  ComponentEntryController& entry() { return form().components(); }
};

/// What a step must bring back exactly.
struct Seen {
  int kind, pointGroup;
  bool axial;
  Real scale;
  std::string unit;
  std::array<Real, kComponentCount> components;
  std::string firstFlag;
  bool operator==(const Seen&) const = default;
};
Seen SeenIn(const ProgramState& s) {
  const TensorState& t = s.tensor;
  return {t.kind,
          t.pointGroup,
          t.axial,
          t.scale,
          t.unitText,
          t.components,
          s.evaluation.fixedDirections[0].flag};
}

}  // namespace

class UndoTest : public QObject {
  Q_OBJECT
 private slots:
  void everyKindOfStepUndoesAndRedoesExactly();
  void markAndSaveQuestionFollowTheChanges();
  void escapeLeavesTheTensorAsItWas();
};

void UndoTest::everyKindOfStepUndoesAndRedoesExactly() {
  Window w;
  ProgramState& s = w.p.state();
  QUndoStack* stack = Child<QUndoStack>(w.form(), "UndoStack");
  QVERIFY(!Item(w.form(), "Undo1")->isEnabled());  // opened at the start: nothing to undo
  std::vector<Seen> states{SeenIn(s)};
  std::vector<QString> names;
  const auto step = [&](const QString& name) {
    states.push_back(SeenIn(s));
    names.push_back(name);
    QCOMPARE(stack->count(), static_cast<int>(names.size()));
    QCOMPARE(Item(w.form(), "Undo1")->text(), QStringLiteral("&Undo ") + name);
  };

  // A committed grid. Opening it may choose another power of ten for the display: no step.
  Item(w.form(), "Components1")->trigger();
  QCOMPARE(stack->count(), 0);
  states[0] = SeenIn(s);
  TypeIntoGrid(w.entry().stringGrid1(), 1, 1, "7");
  Item(w.form(), "Components1")->trigger();
  const Real typed = w.t().At(1, 1);
  QVERIFY(typed != 3.5e-6L);
  step("Components");
  // Polar/axial and the unit text.
  Item(w.form(), "axial1")->trigger();
  step("Change into Axial");
  // A transform: a quarter turn about z swaps T11 and T22.
  s.transformMatrix = {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}};
  Item(w.form(), "Transform1")->trigger();
  QTest::mouseClick(w.form().fitPanels().transformPanel()->Button7, Qt::LeftButton);
  QCOMPARE(static_cast<double>(w.t().At(2, 2)), static_cast<double>(typed));
  step("Transform");
  // A fixed direction.
  Item(w.form(), "FixedDirections1")->trigger();
  TypeIntoGrid(w.form().fitPanels().fixedDirectionPanel()->StringGrid3, 1, 1, "yes");
  TypeIntoGrid(w.form().fitPanels().fixedDirectionPanel()->StringGrid3, 4, 1, "1");
  QTest::mouseClick(w.form().fitPanels().fixedDirectionPanel()->OKButton, Qt::LeftButton);
  QCOMPARE(s.evaluation.fixedDirections[0].flag, std::string("yes"));
  step("Fixed Directions");
  // New, then Open of another file: each undoes back to the tensor before.
  s.tensor.scale *= 1000;  // a change made without a command is a step of its own
  w.form().RecordStep();
  step("Power of Ten");
  w.p.dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Discard);
  w.p.dialogs.answers.push_back(true);  // "delete all components now?"
  Item(w.form(), "New1")->trigger();
  QCOMPARE(LargestAbsoluteComponent(w.t()), 0.0L);
  step("New");
  w.p.dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Discard);
  w.p.dialogs.openAnswers.push_back(Q(w.p.Example("quartz-piezoelectric.ten")));
  Item(w.form(), "Open1")->trigger();
  QCOMPARE(w.t().pointGroup, 12);
  step("Open");
  QVERIFY(w.p.dialogs.errors.empty());

  for (std::size_t k = names.size(); k-- > 0;) {
    QCOMPARE(Item(w.form(), "Undo1")->text(), QStringLiteral("&Undo ") + names[k]);
    Item(w.form(), "Undo1")->trigger();
    QVERIFY2(SeenIn(s) == states[k], qPrintable(names[k]));
  }
  QVERIFY(!Item(w.form(), "Undo1")->isEnabled());
  QCOMPARE(std::filesystem::path(s.currentSaveName).filename(), w.file.filename());
  for (std::size_t k = 0; k < names.size(); ++k) {
    QKeySequence keys(Qt::CTRL | Qt::Key_Y);
    QVERIFY(Item(w.form(), "Redo1")->shortcuts().contains(keys));
    Item(w.form(), "Redo1")->trigger();
    QVERIFY2(SeenIn(s) == states[k + 1], qPrintable(names[k]));
  }
  QVERIFY(!Item(w.form(), "Redo1")->isEnabled());
  // The panel shows what the undo stack put back.
  QCOMPARE(Child<BarredLabel>(w.form(), "Label23")->text(), QStringLiteral("PS: 32"));
  Item(w.form(), "Undo1")->trigger();
  QCOMPARE(Child<BarredLabel>(w.form(), "Label23")->text(),
           "PS: " + QString::fromStdString(PointGroupBarredSymbol(w.t().pointGroup).text));
}

void UndoTest::markAndSaveQuestionFollowTheChanges() {
  Window w;
  TForm1& f = w.form();
  QCOMPARE(f.windowTitle(), QStringLiteral("Quillmere: t.ten"));
  // Unmodified: Open asks nothing, the close keeps its own question.
  w.p.dialogs.openAnswers.push_back(Q(w.file));
  Item(f, "Open1")->trigger();
  QVERIFY(w.p.dialogs.asked.empty());
  w.p.dialogs.answers.push_back(false);
  f.close();
  QCOMPARE(w.p.dialogs.asked, std::vector<std::string>{"Close application ?"});
  w.p.dialogs.asked.clear();

  Item(f, "axial1")->trigger();
  QCOMPARE(f.windowTitle(), QStringLiteral("Quillmere: t.ten*"));
  // Cancel keeps everything: no open dialog, the tensor and its mark stay.
  w.p.dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Cancel);
  Item(f, "Open1")->trigger();
  QCOMPARE(w.p.dialogs.asked, std::vector<std::string>{"Save changes to t.ten?"});
  QCOMPARE(w.p.dialogs.openRequests.size(), std::size_t{1});
  QVERIFY(w.t().axial);
  // Closing a modified tensor asks the save question instead; Cancel keeps the window.
  w.p.dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Cancel);
  QVERIFY(!f.close());
  QCOMPARE(w.p.dialogs.asked.back(), std::string("Save changes to t.ten?"));
  QCOMPARE(w.p.dialogs.asked.size(), std::size_t{2});

  // Save: Save As (the file has no confirmed target yet) writes it, the mark goes, then Open.
  const auto saved = w.p.root() / "saved.ten";
  w.p.dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Save);
  w.p.dialogs.saveAnswers.push_back(Q(saved));
  w.p.dialogs.openAnswers.push_back(Q(w.file));
  Item(f, "Open1")->trigger();
  QVERIFY(w.p.dialogs.errors.empty());
  QVERIFY(std::filesystem::exists(saved));
  QCOMPARE(f.statusBar()->currentMessage(), QStringLiteral("Saved saved.ten"));
  QVERIFY(!w.t().axial);  // t.ten, opened after the save
  QCOMPARE(f.windowTitle(), QStringLiteral("Quillmere: t.ten"));

  // Discard: the change is dropped and the file opened.
  Item(f, "axial1")->trigger();
  w.p.dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Discard);
  w.p.dialogs.openAnswers.push_back(Q(saved));
  Item(f, "Open1")->trigger();
  QVERIFY(w.t().axial);  // saved.ten was written axial
  QCOMPARE(f.windowTitle(), QStringLiteral("Quillmere: saved.ten"));
  // An undo back to the saved state takes the mark away again.
  Item(f, "axial1")->trigger();
  QVERIFY(f.windowTitle().endsWith('*'));
  Item(f, "Undo1")->trigger();
  QCOMPARE(f.windowTitle(), QStringLiteral("Quillmere: saved.ten"));
  QCOMPARE(w.p.dialogs.unscripted, 0);
}

void UndoTest::escapeLeavesTheTensorAsItWas() {
  Window w;
  const TensorState before = w.t();
  // The full grid, the independent grid and the transform grid: typing, then Escape.
  Item(w.form(), "Components1")->trigger();
  ComponentGrid* g1 = w.entry().stringGrid1();
  TypeIntoGrid(g1, 1, 1, "9");
  QTest::keyClick(g1, Qt::Key_Escape);
  QVERIFY(!g1->isVisible());
  Item(w.form(), "IndependentComponents1")->trigger();
  IndependentGrid* g2 = w.entry().stringGrid2();
  QVERIFY(g2->isVisible());
  // Escape while the cell's editor is still open ends the grid too.
  g2->setCurrentCell(1, 1);
  QTest::keyClick(g2, '5');
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  QVERIFY(!g2->isVisible());
  Item(w.form(), "DRAW1")->trigger();  // nothing is left to take over
  Item(w.form(), "Transform1")->trigger();
  TypeIntoGrid(w.form().fitPanels().transformPanel()->StringGrid4, 1, 1, "2");
  QTest::keyClick(w.form().fitPanels().transformPanel()->StringGrid4, Qt::Key_Escape);
  QVERIFY(!w.form().fitPanels().transformPanel()->isVisible());
  // The fixed directions: a flag clicked, then Escape, puts the flag back.
  Item(w.form(), "FixedDirections1")->trigger();
  w.form().fitPanels().fixedDirectionPanel()->StringGrid3SelectCell(1, 2);
  QTest::keyClick(w.form().fitPanels().fixedDirectionPanel()->StringGrid3, Qt::Key_Escape);
  QVERIFY(!w.form().fitPanels().fixedDirectionPanel()->isVisible());
  QCOMPARE(w.p.state().evaluation.fixedDirections[1].flag, std::string("no"));
  QVERIFY(w.t().components == before.components);
  QCOMPARE(w.t().pointGroup, before.pointGroup);
  QVERIFY(!w.p.state().componentsTyped);
  QVERIFY(!w.form().windowTitle().endsWith('*'));
}

}  // namespace quillmere

QTEST_MAIN(quillmere::UndoTest)
#include "undo_test.moc"
