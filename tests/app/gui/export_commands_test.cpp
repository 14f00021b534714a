// The export commands of the File menu, driven through their menu items: the file written, the
// dialog's proposals, the export window's caption, and the variant flags after every export.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>

#include "app/gui/gui_test_support.h"
#include "app/gui/surface_area.h"
#include "files/gui/tform3.h"

namespace quillmere {

using test::Q;
using test::ReadFile;
using test::StartedProgram;

namespace {

int CountOf(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

}  // namespace

class ExportCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void screenSceneHasAxesAndNamesTheExportWindow();
  void printableSceneAndStlFromTheMenu();
  void cancelWritesNothingAndClearsTheFlags();
};

void ExportCommandsTest::screenSceneHasAxesAndNamesTheExportWindow() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  const auto target = p.root() / "screen.wrl";
  p.dialogs.saveAnswers.push_back(Q(target));
  Item(p.form(), "CreateScreenWrl1")->trigger();

  const std::string scene = ReadFile(target);
  QVERIFY(scene.rfind("#VRML V2.0 utf8", 0) == 0);
  QVERIFY2(scene.find("AXIS") != std::string::npos, "the screen scene carries the axes");
  QVERIFY(scene.find("\r\n") != std::string::npos);
  QCOMPARE(p.program().exportWindow()->windowTitle(), QStringLiteral("Quillmere: screen.wrl"));
  QVERIFY(!p.state().evaluation.printableExport);
  QVERIFY(!p.state().exportSession.stlExport);
  // The status line names the scene's patches: 2k^2 at the view's resolution (k = 10 * 2).
  QCOMPARE(p.form().statusBar()->currentMessage(),
           QStringLiteral("VRML: 800 patches written to screen.wrl"));

  // The pointer readout: a direction and value over the surface, nothing beside it.
  SurfaceArea* area = Child<SurfaceArea>(p.form(), "SurfaceArea");
  const auto moveTo = [area](QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, area->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(area, &move);
  };
  moveTo(area->rect().center());
  QCOMPARE(Child<QLabel>(p.form(), "PointerReadout")->text(),
           QString());  // the start tensor is zero
  // A vector along x: two spheres that meet at the origin, the front one over the centre.
  p.state().tensor.At(1) = 1;
  Item(p.form(), "DRAW1")->trigger();
  moveTo(area->rect().center());
  QVERIFY2(
      Child<QLabel>(p.form(), "PointerReadout")->text().startsWith(QStringLiteral("Direction [")),
      qPrintable(Child<QLabel>(p.form(), "PointerReadout")->text()));
  moveTo(QPoint(1, area->height() - 2));
  QCOMPARE(Child<QLabel>(p.form(), "PointerReadout")->text(), QString());
}

void ExportCommandsTest::printableSceneAndStlFromTheMenu() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  const auto wrl = p.root() / "print.wrl";
  const auto stl = p.root() / "print.stl";
  p.dialogs.saveAnswers.push_back(Q(wrl));
  Item(p.form(), "Export3DPrintableWrl1")->trigger();
  p.dialogs.saveAnswers.push_back(Q(stl));
  Item(p.form(), "ExportStl1")->trigger();

  QVERIFY2(ReadFile(wrl).find("AXIS") == std::string::npos, "no axes in a printable scene");
  const std::string mesh = ReadFile(stl);
  QVERIFY(mesh.rfind("solid Quillmere STL", 0) == 0);
  QVERIFY(CountOf(mesh, "facet normal") > 100);
  // Each dialog proposes the path the previous export chose, and asks for its own extension.
  QCOMPARE(p.dialogs.saveRequests.size(), std::size_t{2});
  QCOMPARE(p.dialogs.saveRequests[1].proposedPath, Q(wrl));
  QCOMPARE(p.dialogs.saveRequests[1].defaultExtension, QStringLiteral("stl"));
  QVERIFY(!p.state().evaluation.printableExport);
  QVERIFY(!p.state().exportSession.stlExport);
}

void ExportCommandsTest::cancelWritesNothingAndClearsTheFlags() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  p.dialogs.saveAnswers.push_back(std::nullopt);
  Item(p.form(), "ExportStl1")->trigger();
  QVERIFY(!p.state().evaluation.printableExport);
  QVERIFY(!p.state().exportSession.stlExport);
  QVERIFY(p.state().exportSession.lastExportPath.empty());
  QVERIFY(p.dialogs.shown.empty());
}

}  // namespace quillmere

QTEST_MAIN(quillmere::ExportCommandsTest)
#include "export_commands_test.moc"
