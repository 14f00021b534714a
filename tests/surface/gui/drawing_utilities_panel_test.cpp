// The drawing-utilities panel on its own: the timer delay rule, program-set slider positions and
// the angle entry boxes.
#include <QSignalSpy>
#include <QTest>

#include "surface/gui/drawing_utilities_panel.h"

using quillmere::DrawingUtilitiesPanel;

class DrawingUtilitiesPanelTest : public QObject {
  Q_OBJECT
 private slots:
  void RepeatedSliderMovesGiveOneRedraw();
  void ProgramSetPositionsStartNoTimerAndStopAtTheEnds();
  void UserMoveAfterAnUnchangedEchoStillRedraws();
  void ResolutionAndPerspectiveRestartTheRebuildTimer();
  void AngleEntriesApplyInOrderGammaBetaAlpha();
};

void DrawingUtilitiesPanelTest::RepeatedSliderMovesGiveOneRedraw() {
  DrawingUtilitiesPanel panel;
  QCOMPARE(panel.redrawTimer()->interval(), DrawingUtilitiesPanel::kTimerDelay);
  QVERIFY(panel.redrawTimer()->isSingleShot());
  // The delay itself is the timer's; with it at zero the test sees the restarts without waiting:
  // moves made before the event loop runs again are one redraw, due after the last of them.
  panel.redrawTimer()->setInterval(0);
  QSignalSpy redraws(&panel, &DrawingUtilitiesPanel::redrawDue);
  QSignalSpy betas(&panel, &DrawingUtilitiesPanel::betaChanged);
  for (int p : {-20, -10, 0, 10}) {
    panel.betaSlider()->setValue(p);
    QVERIFY(panel.redrawTimer()->isActive());
  }
  panel.alphaSlider()->setValue(30);
  QCOMPARE(betas.count(), 4);
  QCOMPARE(betas.last().at(0).toInt(), 10);
  QCOMPARE(redraws.count(), 0);
  QVERIFY(redraws.wait());
  QCOMPARE(redraws.count(), 1);
  QCoreApplication::processEvents();
  QVERIFY(!panel.redrawTimer()->isActive());
  QCOMPARE(redraws.count(), 1);
}

void DrawingUtilitiesPanelTest::ProgramSetPositionsStartNoTimerAndStopAtTheEnds() {
  DrawingUtilitiesPanel panel;
  QSignalSpy alphas(&panel, &DrawingUtilitiesPanel::alphaChanged);
  QSignalSpy betas(&panel, &DrawingUtilitiesPanel::betaChanged);
  QSignalSpy gammas(&panel, &DrawingUtilitiesPanel::gammaChanged);
  QList<char> order;
  connect(&panel, &DrawingUtilitiesPanel::alphaChanged, this, [&] { order << 'a'; });
  connect(&panel, &DrawingUtilitiesPanel::betaChanged, this, [&] { order << 'b'; });
  connect(&panel, &DrawingUtilitiesPanel::gammaChanged, this, [&] { order << 'g'; });
  panel.ShowAnglePositions(140, -300, 12);
  QCOMPARE(panel.alphaSlider()->value(), 90);
  QCOMPARE(panel.betaSlider()->value(), -90);
  QCOMPARE(panel.gammaSlider()->value(), 12);
  QCOMPARE(order, (QList<char>{'b', 'g', 'a'}));
  QCOMPARE(alphas.last().at(0).toInt(), 90);
  QVERIFY(!panel.redrawTimer()->isActive());
  QVERIFY(!panel.sliderEcho());
  // Already at the ends: no change handling at all.
  panel.ShowAnglePositions(95, -91, 12);
  QCOMPARE(alphas.count() + betas.count() + gammas.count(), 3);
}

void DrawingUtilitiesPanelTest::UserMoveAfterAnUnchangedEchoStillRedraws() {
  DrawingUtilitiesPanel panel;
  // The positions the sliders already show: nothing moves, so no handler could clear the echo.
  panel.ShowAnglePositions(0, -25, -25);
  panel.ShowGammaPosition(-25);
  panel.gammaSlider()->setValue(5);
  QVERIFY(panel.redrawTimer()->isActive());
}

void DrawingUtilitiesPanelTest::ResolutionAndPerspectiveRestartTheRebuildTimer() {
  DrawingUtilitiesPanel panel;
  QSignalSpy resolutions(&panel, &DrawingUtilitiesPanel::resolutionChanged);
  QSignalSpy perspectives(&panel, &DrawingUtilitiesPanel::perspectiveChanged);
  panel.resolutionSlider()->setValue(12);
  QCOMPARE(resolutions.last().at(0).toInt(), 8);
  panel.perspectiveSlider()->setValue(0);
  QCOMPARE(perspectives.last().at(0).toInt(), 1);
  QVERIFY(panel.rebuildTimer()->isActive());
  QVERIFY(!panel.redrawTimer()->isActive());
  QCOMPARE(panel.rebuildTimer()->interval(), 1000);
  QVERIFY(panel.rebuildTimer()->isSingleShot());
}

void DrawingUtilitiesPanelTest::AngleEntriesApplyInOrderGammaBetaAlpha() {
  DrawingUtilitiesPanel panel;
  panel.show();
  QVERIFY(QTest::qWaitForWindowExposed(&panel));
  QVERIFY(panel.betaEntry()->isHidden());
  QCOMPARE(panel.alphaEntry()->text(), QString("0"));
  QCOMPARE(panel.betaEntry()->text(), QString("-25"));
  QTest::mouseClick(panel.betaCaption(), Qt::LeftButton);
  QVERIFY(panel.alphaEntry()->isVisible());
  QVERIFY(panel.betaEntry()->isVisible());
  QVERIFY(panel.gammaEntry()->isVisible());

  QList<QPair<char, int>> seen;
  connect(&panel, &DrawingUtilitiesPanel::alphaChanged, this,
          [&](int p) { seen << qMakePair('a', p); });
  connect(&panel, &DrawingUtilitiesPanel::betaChanged, this,
          [&](int p) { seen << qMakePair('b', p); });
  connect(&panel, &DrawingUtilitiesPanel::gammaChanged, this,
          [&](int p) { seen << qMakePair('g', p); });
  panel.alphaEntry()->setText("45");
  panel.betaEntry()->setText("1.5e3");  // not a whole number: slider stays at -25
  panel.gammaEntry()->setText("200");
  QTest::keyClick(panel.alphaEntry(), Qt::Key_Return);
  // Gamma moves (and clamps), then runs again explicitly; beta only runs explicitly; alpha moves
  // and runs again.
  const QList<QPair<char, int>> expected{{'g', 90}, {'g', 90}, {'b', -25}, {'a', 45}, {'a', 45}};
  QCOMPARE(seen, expected);
  QVERIFY(panel.alphaEntry()->isHidden());
  QVERIFY(panel.gammaEntry()->isHidden());
  QVERIFY(panel.redrawTimer()->isActive());

  // A click in a box applies all three and leaves the boxes open for more typing; a click on
  // the panel beside the boxes applies them again, closes them and keeps the panel.
  QTest::mouseClick(panel.gammaCaption(), Qt::LeftButton);
  seen.clear();
  panel.betaEntry()->setText("-40");
  QTest::mouseClick(panel.betaEntry(), Qt::LeftButton);
  QCoreApplication::processEvents();
  QVERIFY(panel.betaEntry()->isVisible());
  QCOMPARE(panel.betaSlider()->value(), -40);
  QCOMPARE(seen.size(), 4);  // beta moved, then the three explicit runs
  seen.clear();
  QTest::mouseDClick(panel.alphaEntry(), Qt::LeftButton);
  QVERIFY(panel.alphaEntry()->isVisible());
  QVERIFY(seen.size() >= 3);
  seen.clear();
  int hides = 0;
  connect(&panel, &DrawingUtilitiesPanel::backgroundClicked, this, [&] { ++hides; });
  QTest::mouseClick(&panel, Qt::LeftButton, {}, QPoint(panel.width() / 2, panel.height() - 4));
  QTRY_VERIFY(panel.betaEntry()->isHidden());
  QCOMPARE(seen.size(), 3);
  QCOMPARE(hides, 0);

  // The boxes lie over their sliders, inside the panel.
  QTest::mouseClick(panel.alphaCaption(), Qt::LeftButton);
  for (QWidget* box :
       {static_cast<QWidget*>(panel.alphaEntry()), static_cast<QWidget*>(panel.betaEntry()),
        static_cast<QWidget*>(panel.gammaEntry())})
    QVERIFY(panel.rect().contains(box->geometry()));
  QVERIFY(panel.alphaEntry()->geometry().intersects(panel.alphaSlider()->geometry()));
}

QTEST_MAIN(DrawingUtilitiesPanelTest)
#include "drawing_utilities_panel_test.moc"
