// What a newcomer reaches for in the main window: Exit, the help window and its manual, About,
// Homepage, the desktop's shortcuts, the mouse wheel, dropping a file, an empty Reopen list, and
// letter keys typed into editors.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "app/gui/gui_test_support.h"
#include "app/gui/help_window.h"
#include "app/program_state.h"
#include "core/program_version.h"
#include "surface/gui/drawing_utilities_panel.h"
#include "surface/interaction.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/component_grids.h"

namespace quillmere {

using test::Q;
using test::StartedProgram;

namespace {

/// The started, working, active main window.
struct Working {
  StartedProgram p;
  Working() {
    p.Start();
    if (!p.EndSplash()) qFatal("the splash did not end");
    form().activateWindow();
    if (!QTest::qWaitForWindowActive(&form())) qWarning("main window not active");
  }
  TForm1& form() { return p.form(); }
};

void Wheel(QWidget* area, int eighths) {
  const QPointF at(area->width() / 2.0, area->height() / 2.0);
  QWheelEvent event(at, area->mapToGlobal(at), QPoint(), QPoint(0, eighths), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(area, &event);
}

std::unique_ptr<QMimeData> FileDrag(const QString& path) {
  auto data = std::make_unique<QMimeData>();
  data->setUrls({QUrl::fromLocalFile(path)});
  return data;
}

}  // namespace

class DesktopConventionsTest : public QObject {
  Q_OBJECT
 private slots:
  void helpOpensTheManualWithLinksBackForwardAndFind();
  void missingManualIsReportedByName();
  void exitAboutAndHomepageAreReachable();
  void shortcutsTriggerTheirCommands();
  void wheelZoomsInStepsAndStopsAtTheFloor();
  void droppedTensorFileOpensAsFileOpen();
  void reopenWithoutRecentFilesShowsOneDisabledItem();
  void everyItemAndSpeedButtonIsFoundByItsOwnName();
  void lettersTypedIntoTheComponentGridDoNotTurnTheView();
  void angleBoxesStayInViewWhileTyped();
  void unreadableCommandLineFileEndsAsANormalStart();
};

void DesktopConventionsTest::helpOpensTheManualWithLinksBackForwardAndFind() {
  Working w;
  // The manual of the source tree stands in for the copy beside the program.
  w.p.state().programDirectory = (test::SourceDirectory() / "docs" / "manual").string() + "/";
  QTest::keyClick(&w.form(), Qt::Key_F1);
  HelpWindow* help = w.form().findChild<HelpWindow*>();
  QVERIFY(help);
  QVERIFY(QTest::qWaitForWindowExposed(help));
  QCOMPARE(help->windowTitle(), QStringLiteral("Quillmere Help"));
  QCOMPARE(help->browser->source().fileName(), QStringLiteral("Quillmerehelp.html"));
  QVERIFY(help->browser->toPlainText().contains(QStringLiteral("What you can do")));
  QVERIFY(!help->backAction->isEnabled());

  help->browser->setSource(QUrl(QStringLiteral("notation.html#factors")));
  QCOMPARE(help->browser->source().fileName(), QStringLiteral("notation.html"));
  QVERIFY(help->browser->toPlainText().contains(QStringLiteral("Voigt")));
  QVERIFY(help->backAction->isEnabled());
  help->backAction->trigger();
  QCOMPARE(help->browser->source().fileName(), QStringLiteral("Quillmerehelp.html"));
  QVERIFY(help->forwardAction->isEnabled());
  help->forwardAction->trigger();
  QCOMPARE(help->browser->source().fileName(), QStringLiteral("notation.html"));
  help->contentsAction->trigger();
  QCOMPARE(help->browser->source().fileName(), QStringLiteral("Quillmerehelp.html"));

  // Find wraps round the page and tells a text that is not there.
  help->findField->setText(QStringLiteral("Voigt"));
  QVERIFY(help->FindNext());
  const int first = help->browser->textCursor().position();
  while (help->FindNext() && help->browser->textCursor().position() > first) {
  }
  QCOMPARE(help->browser->textCursor().position(), first);
  help->findField->setText(QStringLiteral("no such words anywhere"));
  QVERIFY(!help->FindNext());

  // The speed button and the menu item reach the same window.
  help->hide();
  Item(w.form(), "SpeedHelp")->trigger();
  QVERIFY(help->isVisible());
  QCOMPARE(w.p.dialogs.shown.size(), std::size_t{0});
}

void DesktopConventionsTest::missingManualIsReportedByName() {
  Working w;
  Item(w.form(), "Contents1")->trigger();
  QCOMPARE(w.p.dialogs.shown.size(), std::size_t{1});
  QVERIFY(w.p.dialogs.shown[0].find(w.p.programDirectory() + "Quillmerehelp.html") !=
          std::string::npos);
  QVERIFY(!w.form().findChild<HelpWindow*>() || !w.form().findChild<HelpWindow*>()->isVisible());
}

void DesktopConventionsTest::exitAboutAndHomepageAreReachable() {
  Working w;
  TForm1& form = w.form();
  QVERIFY(Item(form, "About1")->isEnabled());
  Item(form, "About1")->trigger();
  // The About box, not the splash: it names the version and the table it read.
  QVERIFY(!Child<ClickableLabel>(form, "Image1")->isVisible());
  QCOMPARE(w.p.dialogs.abouts.size(), std::size_t{1});
  QVERIFY(w.p.dialogs.abouts[0].find(std::string("Quillmere ") + kProgramVersionText) !=
          std::string::npos);
  QVERIFY(w.p.dialogs.abouts[0].find("tensor.tab (768 entries)") != std::string::npos);

  // No address was configured for this build: the item says so instead of doing nothing.
  QVERIFY(!Item(form, "Homepage1")->isEnabled());
  QVERIFY(Item(form, "Homepage1")->toolTip().contains(QStringLiteral("No home page")));

  QVERIFY(Item(form, "Close1")->isEnabled());
  w.p.dialogs.answers.push_back(false);
  Item(form, "Close1")->trigger();
  QCOMPARE(w.p.dialogs.asked.back(), std::string("Close application ?"));
  QVERIFY(form.isVisible());
}

void DesktopConventionsTest::shortcutsTriggerTheirCommands() {
  Working w;
  TForm1& form = w.form();
  ScriptedDialogs& d = w.p.dialogs;

  QTest::keyClick(&form, Qt::Key_O, Qt::ControlModifier);
  QCOMPARE(d.openRequests.size(), std::size_t{1});
  QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);  // no name yet: asks as Save As
  QCOMPARE(d.saveRequests.size(), std::size_t{1});
  QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(d.saveRequests.size(), std::size_t{2});
  QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
  QCOMPARE(d.asked.back(), std::string("delete all components now?"));
  QTest::keyClick(&form, Qt::Key_Q, Qt::ControlModifier);
  QCOMPARE(d.asked.back(), std::string("Close application ?"));
  QVERIFY(form.isVisible());

  const int builds = form.drawing().Builder().completedBuilds();
  QTest::keyClick(&form, Qt::Key_F5);
  QVERIFY(
      QTest::qWaitFor([&] { return form.drawing().Builder().completedBuilds() > builds; }, 5000));

  // Print reaches whatever handler the item has; here only the key's way to the item counts.
  QObject::disconnect(Item(form, "Print1"), &QAction::triggered, nullptr, nullptr);
  Item(form, "Print1")->setEnabled(true);
  int printed = 0;
  QObject::connect(Item(form, "Print1"), &QAction::triggered, [&printed] { ++printed; });
  QTest::keyClick(&form, Qt::Key_P, Qt::ControlModifier);
  QCOMPARE(printed, 1);

  // The keys are shown in the menus beside the captions.
  QCOMPARE(Item(form, "Open1")->shortcut(), QKeySequence(QKeySequence::Open));
  QCOMPARE(Item(form, "Contents1")->shortcut(), QKeySequence(QKeySequence::HelpContents));
  QCOMPARE(Item(form, "DRAW1")->shortcut(), QKeySequence(Qt::Key_F5));
  QCOMPARE(Item(form, "SaveAs1")->shortcut().toString(), QStringLiteral("Ctrl+Shift+S"));
  QCOMPARE(Item(form, "Close1")->shortcut().toString(), QStringLiteral("Ctrl+Q"));
  QCOMPARE(Item(form, "Open1")->text(), QStringLiteral("&Open"));
  QCOMPARE(d.unscripted, 5);  // open, two saves and both questions, all cancelled
}

void DesktopConventionsTest::wheelZoomsInStepsAndStopsAtTheFloor() {
  Working w;
  QWidget* area = w.form().DrawingArea();
  Real& zoom = w.p.state().view.zoom;
  const QImage before = w.form().drawing().SceneBitmap().copy();
  Wheel(area, 120);
  QVERIFY(std::fabs(static_cast<double>(zoom) - 0.8 * 1.2) < 1e-12);
  QVERIFY(w.form().drawing().SceneBitmap() != before);
  Wheel(area, -120);
  QVERIFY(std::fabs(static_cast<double>(zoom) - 0.8 * 1.2 * 0.8) < 1e-12);
  // Far back: the floor of the Alt zoom holds, and one notch forward grows again from it.
  for (int k = 0; k < 60; ++k) Wheel(area, -120);
  QCOMPARE(static_cast<double>(zoom), static_cast<double>(kMinimumZoom));
  Wheel(area, -2400);
  QCOMPARE(static_cast<double>(zoom), static_cast<double>(kMinimumZoom));
  Wheel(area, 120);
  QVERIFY(zoom > kMinimumZoom);
}

void DesktopConventionsTest::droppedTensorFileOpensAsFileOpen() {
  Working w;
  TForm1& form = w.form();
  const auto file = w.p.Example("quartz-piezoelectric.ten");
  const auto data = FileDrag(Q(file));
  const QPoint at(form.width() / 2, form.height() / 2);
  QDragEnterEvent enter(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &drop);
  QCOMPARE(form.windowTitle(), QStringLiteral("Quillmere: quartz-piezoelectric.ten"));
  QCOMPARE(w.p.state().tensor.kind, 5);
  QVERIFY(test::ReadFile(w.p.settingsFile()).find(file.string()) != std::string::npos);

  // A folder is no file to open; a bad file reports and changes nothing.
  const auto folderData = FileDrag(Q(w.p.root()));
  QDragEnterEvent folder(at, Qt::CopyAction, folderData.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &folder);
  QVERIFY(!folder.isAccepted());
  const auto bad = w.p.Write("bad.ten", "Quillmere-Datafile\r\nnonsense\r\n");
  const auto badData = FileDrag(Q(bad));
  QDragEnterEvent badEnter(at, Qt::CopyAction, badData.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &badEnter);
  QDropEvent badDrop(at, Qt::CopyAction, badData.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &badDrop);
  QCOMPARE(w.p.dialogs.errors.size(), std::size_t{1});
  QCOMPARE(form.windowTitle(), QStringLiteral("Quillmere: quartz-piezoelectric.ten"));
}

void DesktopConventionsTest::reopenWithoutRecentFilesShowsOneDisabledItem() {
  Working w;
  TForm1& form = w.form();
  emit Child<QMenu>(form, "Reopen1")->aboutToShow();
  QVERIFY(Item(form, "NoRecentFiles")->isVisible());
  QVERIFY(!Item(form, "NoRecentFiles")->isEnabled());
  QCOMPARE(Item(form, "NoRecentFiles")->text(), QStringLiteral("(no recent files)"));
  for (int k = 1; k <= 5; ++k)
    QVERIFY(!Item(form, QStringLiteral("N%1%2").arg(k).arg(1))->isVisible());

  form.files().OpenFile(Q(w.p.Example("quartz-piezoelectric.ten")));
  emit Child<QMenu>(form, "Reopen1")->aboutToShow();
  QVERIFY(!Item(form, "NoRecentFiles")->isVisible());
  QVERIFY(Item(form, "N11")->isVisible());
}

void DesktopConventionsTest::everyItemAndSpeedButtonIsFoundByItsOwnName() {
  Working w;
  TForm1& form = w.form();
  // Every item of the menus (submenus included) and every speed button.
  QList<QAction*> items;
  QList<QWidget*> holders{static_cast<QWidget*>(form.menuBar()),
                          Child<QToolBar>(form, "SpeedButtonBar")};
  while (!holders.isEmpty()) {
    for (QAction* a : holders.takeFirst()->actions()) {
      if (a->isSeparator()) continue;
      if (QMenu* sub = a->menu<QMenu*>())
        holders << sub;
      else
        items << a;
    }
  }
  QVERIFY(items.size() >= 90);
  QStringList names;
  for (QAction* a : items) {
    QVERIFY2(!a->objectName().isEmpty(), qPrintable(a->text()));
    QCOMPARE(form.findChildren<QAction*>(a->objectName()), QList<QAction*>{a});
    names << a->objectName();
  }
  QVERIFY(names.contains(QStringLiteral("Open1")) && names.contains(QStringLiteral("SpeedDraw")));
}

void DesktopConventionsTest::lettersTypedIntoTheComponentGridDoNotTurnTheView() {
  Working w;
  TForm1& form = w.form();
  const ViewSettings before = w.p.state().view;
  Item(form, "Components1")->trigger();
  auto* grid = form.findChild<ComponentGrid*>(QStringLiteral("StringGrid1"));
  QVERIFY(grid && grid->isVisible());
  grid->setFocus();
  grid->setCurrentCell(1, 1);
  QTest::keyClick(grid, Qt::Key_1);
  // The cell's editor is the viewport's visible child.
  QWidget* editor = nullptr;
  for (QWidget* child : grid->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child->isVisible()) editor = child;
  QVERIFY(editor);
  QTest::keyClicks(editor, QStringLiteral("e-12 sdxaf"));
  const ViewSettings& after = w.p.state().view;
  QCOMPARE(static_cast<double>(after.angleX), static_cast<double>(before.angleX));
  QCOMPARE(static_cast<double>(after.angleY), static_cast<double>(before.angleY));
  QCOMPARE(static_cast<double>(after.angleZ), static_cast<double>(before.angleZ));

  // With the focus on the drawing, the same letter turns the view.
  QTest::keyClick(editor, Qt::Key_Escape);
  Item(form, "Components1")->trigger();
  form.DrawingArea()->setFocus();
  QTest::keyClick(form.DrawingArea(), Qt::Key_D);
  QVERIFY(w.p.state().view.angleZ != before.angleZ);
}

void DesktopConventionsTest::angleBoxesStayInViewWhileTyped() {
  Working w;
  DrawingUtilitiesPanel* panel = w.form().viewControls().drawingUtilities();
  QVERIFY(panel->isVisible());
  QTest::mouseClick(panel->betaCaption(), Qt::LeftButton);
  QVERIFY(panel->isVisible());
  QVERIFY(panel->betaEntry()->isVisible());
  // A click in a box applies the three angles shown; typing after it applies nothing yet.
  QTest::mouseClick(panel->betaEntry(), Qt::LeftButton);
  const Real angleX = w.p.state().view.angleX;
  panel->betaEntry()->selectAll();
  QTest::keyClicks(panel->betaEntry(), QStringLiteral("40"));
  QCoreApplication::processEvents();
  QVERIFY(panel->isVisible());
  QVERIFY(panel->betaEntry()->isVisible());
  QCOMPARE(static_cast<double>(w.p.state().view.angleX), static_cast<double>(angleX));
  QTest::keyClick(panel->betaEntry(), Qt::Key_Return);
  QVERIFY(panel->betaEntry()->isHidden());
  QCOMPARE(panel->betaSlider()->value(), 40);
  QVERIFY(w.p.state().view.angleX != angleX);
  QVERIFY(panel->isVisible());
}

void DesktopConventionsTest::unreadableCommandLineFileEndsAsANormalStart() {
  StartedProgram p;
  const auto bad = p.Write("junk.ten", "Quillmere-Datafile\r\n1 14 0 abc 2 K\r\n");
  p.Start({Q(bad)});
  QVERIFY(p.EndSplash());
  TForm1& form = p.form();
  QCOMPARE(p.dialogs.errors.size(), std::size_t{1});
  QCOMPARE(p.dialogs.errors[0], "'" + bad.string() + "': Invalid numeric input (line 2)");
  // The default tensor, with a complete panel and a drawn picture.
  QCOMPARE(form.windowTitle(), QStringLiteral("Quillmere Ver. 1.5"));
  QCOMPARE(Child<ClickableLabel>(form, "Label14")->text(), QStringLiteral("(i)"));
  QCOMPARE(Child<ClickableLabel>(form, "Label11")->text(), QStringLiteral("0"));
  QVERIFY(Child<ClickableLabel>(form, "Label12")->text() != QStringLiteral("unitText"));
  QVERIFY(Child<BarredLabel>(form, "Label23")->text().startsWith(QStringLiteral("PS: 1")));
  QVERIFY(form.drawing().Builder().completedBuilds() > 0);
  QCOMPARE(form.drawing().SceneBitmap().size(), form.DrawingArea()->size());
}

}  // namespace quillmere

QTEST_MAIN(quillmere::DesktopConventionsTest)
#include "desktop_conventions_test.moc"
