// The extremes in the desktop program: the tensor panel's two lines, the labelled arrows of
// View > "Show extremes", and the "Projection map" window that follows DRAW and saves its map.
#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "app/gui/gui_test_support.h"
#include "surface/gui/projection_map_window.h"

namespace quillmere {

using test::StartedProgram;

class ExtremesWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void thePanelNamesTheExtremesAndTheArrowsFollowTheMenu();
  void theMapWindowFollowsDrawAndSavesItsPicture();
};

namespace {

int LabelledRecords(const SceneList& scene, const std::string& label) {
  int n = 0;
  for (std::size_t i = 0; i < scene.count; ++i) n += scene.records[i].label == label;
  return n;
}

}  // namespace

void ExtremesWindowTest::thePanelNamesTheExtremesAndTheArrowsFollowTheMenu() {
  StartedProgram p;
  p.Start({QString::fromStdString(p.Example("quartz-piezoelectric.ten").string())});
  QVERIFY(p.EndSplash());
  TForm1& form = p.form();
  QCOMPARE(Child<QLabel>(form, "ExtremesLabel")->text(),
           QStringLiteral("max 2.3 [1.000, 0.000, 0.000]\nmin -2.3 [0.500, 0.866, 0.000]"));
  QVERIFY(Item(form, "ProjectionMap1")->isEnabled());
  QCOMPARE(LabelledRecords(p.state().scene, "max"), 0);

  // On: two arrows of three records each, the shaft labelled; the max shaft ends on the surface
  // at drawing (-1, 0, 0), the value 2.3 over the scale 2.3.
  const std::size_t plain = p.state().scene.count;
  Item(form, "ShowExtremes1")->trigger();
  QCOMPARE(LabelledRecords(p.state().scene, "max"), 1);
  QCOMPARE(LabelledRecords(p.state().scene, "min"), 1);
  QCOMPARE(p.state().scene.count, plain + 6);
  for (std::size_t i = 0; i < p.state().scene.count; ++i) {
    const ScenePolygon& r = p.state().scene.records[i];
    if (r.label != "max") continue;
    QVERIFY(std::fabs(static_cast<double>(r.corners[2][0] + 1)) < 1e-6);
    QVERIFY(std::fabs(static_cast<double>(r.corners[0][0] + 1.45)) < 1e-6);
  }
  // Off again: a plain surface.
  Item(form, "ShowExtremes1")->trigger();
  QCOMPARE(p.state().scene.count, plain);

  // A surface that cancels everywhere (d123 = d132 = -d213 = -d231): the panel says so, and
  // the menu draws no arrows.
  for (Real& c : p.state().tensor.components) c = 0;
  p.state().tensor.At(1, 2, 3) = p.state().tensor.At(1, 3, 2) = 1;
  p.state().tensor.At(2, 1, 3) = p.state().tensor.At(2, 3, 1) = -1;
  Item(form, "ShowExtremes1")->trigger();
  QCOMPARE(Child<QLabel>(form, "ExtremesLabel")->text(),
           QStringLiteral("The value is 0 in every direction"));
  QCOMPARE(LabelledRecords(p.state().scene, "max"), 0);
  Item(form, "ShowExtremes1")->trigger();
}

void ExtremesWindowTest::theMapWindowFollowsDrawAndSavesItsPicture() {
  StartedProgram p;
  p.Start({QString::fromStdString(p.Example("quartz-piezoelectric.ten").string())});
  QVERIFY(p.EndSplash());
  TForm1& form = p.form();
  Item(form, "ProjectionMap1")->trigger();
  ProjectionMapWindow* map = form.findChild<ProjectionMapWindow*>();
  QVERIFY(map && map->isVisible());
  QCOMPARE(map->windowTitle(), QStringLiteral("Projection map"));
  QImage before = map->Picture(400);
  QCOMPARE(before.size(), QSize(400, 360));
  map->hemisphereBox->setCurrentIndex(2);
  QCOMPARE(map->Picture(400).size(), QSize(400, 300));
  map->hemisphereBox->setCurrentIndex(0);

  // DRAW with the opposite tensor: the map turns its colours round.
  for (Real& c : p.state().tensor.components) c = -c;
  form.DRAWClick();
  QCOMPARE(Child<QLabel>(form, "ExtremesLabel")->text(),
           QStringLiteral("max 2.3 [0.500, 0.866, 0.000]\nmin -2.3 [1.000, 0.000, 0.000]"));
  const QImage after = map->Picture(400);
  // A pixel near the disc's rim on the +x side (centre 160, 168, radius 116): orange before,
  // purple after.
  const QColor was = before.pixelColor(160 + 100, 168), now = after.pixelColor(160 + 100, 168);
  QVERIFY2(was.red() > was.blue(), qPrintable(was.name()));
  QVERIFY2(now.blue() > now.red(), qPrintable(now.name()));

  // Save: a PDF through the save dialog; a name with an unknown extension is refused.
  const QString pdf = QString::fromStdString((p.root() / "map.pdf").string());
  p.dialogs.saveAnswers.push_back(pdf);
  map->SaveClick();
  QVERIFY(p.dialogs.errors.empty());
  QCOMPARE(test::ReadFile(p.root() / "map.pdf").substr(0, 5), std::string("%PDF-"));
  // The dialog offers the metafiles; a .wmf name gets the placeable standard metafile.
  QVERIFY(p.dialogs.saveRequests.back().filter.find(
              "(*.emf)|*.emf|Standard Metafile (*.wmf)|*.wmf") != std::string::npos);
  p.dialogs.saveAnswers.push_back(QString::fromStdString((p.root() / "map.wmf").string()));
  map->SaveClick();
  QCOMPARE(test::ReadFile(p.root() / "map.wmf").substr(0, 4), std::string("\xd7\xcd\xc6\x9a"));
  p.dialogs.saveAnswers.push_back(QString::fromStdString((p.root() / "map.gif").string()));
  map->SaveClick();
  QCOMPARE(p.dialogs.errors.size(), std::size_t{1});
  QVERIFY(!std::filesystem::exists(p.root() / "map.gif"));
}

}  // namespace quillmere

QTEST_MAIN(quillmere::ExtremesWindowTest)
#include "extremes_window_test.moc"
