// Turning the surface in the main window: mouse, keys, switches, Reset View, colours and
// cross-sections, driven through the real window on the offscreen platform.
#include <QApplication>
#include <QMouseEvent>
#include <QSlider>
#include <QTest>

#include "app/gui/gui_test_support.h"
#include "app/gui/surface_area.h"
#include "surface/cross_section.h"
#include "surface/gui/drawing_utilities_panel.h"

namespace quillmere {

using test::StartedProgram;

namespace {

constexpr Real kPi = std::numbers::pi_v<Real>;

/// A mouse event on the drawing area with the given buttons held and keys pressed.
void Mouse(TForm1& form, QEvent::Type type, QPoint at, Qt::MouseButton button,
           Qt::MouseButtons held, Qt::KeyboardModifiers keys = Qt::NoModifier) {
  QWidget* area = form.DrawingArea();
  QMouseEvent e(type, QPointF(at), QPointF(area->mapToGlobal(at)), button, held, keys);
  QApplication::sendEvent(area, &e);
}

void Drag(TForm1& form, Qt::MouseButton button, const QList<QPoint>& path,
          Qt::KeyboardModifiers keys = Qt::NoModifier) {
  Mouse(form, QEvent::MouseButtonPress, path.front(), button, button, keys);
  for (const QPoint& p : path.mid(1)) Mouse(form, QEvent::MouseMove, p, Qt::NoButton, button, keys);
  Mouse(form, QEvent::MouseButtonRelease, path.back(), button, Qt::NoButton, keys);
}

void Key(TForm1& form, char c) {
  form.DrawingArea()->setFocus();
  QTest::keyClick(QApplication::focusWidget(), c);
}

}  // namespace

class ViewWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void dragBackToItsStartLeavesSliderRoundedAngles();
  void panFollowsOnlyThePointer();
  void altZoomDoublesAndStaysPositive();
  void keysTurnPastTheSliderEnds();
  void gridAndFillAreNeverBothOff();
  void resetViewKeepsExactStartAngleWhenBetaIsAtItsStart();
  void whiteBackgroundBecomesThePaletteColour();
  void drawReturnsFromSectionsToTheFirstSavedView();
  void dragContinuesFromKeysSlidersAndReset();

 private:
  std::unique_ptr<StartedProgram> p_;
  TForm1& form() { return p_->form(); }
  ViewSettings& view() { return p_->state().view; }
};

void ViewWindowTest::init() {
  p_ = std::make_unique<StartedProgram>();
  p_->Start();
  QVERIFY(p_->EndSplash());
  QVERIFY(form().viewControls().drawingUtilities()->isVisible());
}

void ViewWindowTest::cleanup() {
  p_->dialogs.answers.push_back(true);  // "Close application ?"
  form().close();
  p_.reset();
}

void ViewWindowTest::dragBackToItsStartLeavesSliderRoundedAngles() {
  Drag(form(), Qt::LeftButton, {{200, 150}, {260, 200}, {330, 120}, {200, 150}});
  // The start view shows beta -25 and gamma -25; the sliders moved away and back, and on their
  // way back wrote their whole-degree angles (115 and 245 degrees). Alpha never left 0.
  DrawingUtilitiesPanel* panel = form().viewControls().drawingUtilities();
  QCOMPARE(panel->betaSlider()->value(), -25);
  QCOMPARE(panel->gammaSlider()->value(), -25);
  QVERIFY2(std::fabs(view().angleX - 115 * kPi / 180) < 1e-15L, "angleX at 115 degrees");
  QVERIFY2(std::fabs(view().angleZ - 245 * kPi / 180) < 1e-15L, "angleZ at 245 degrees");
  QVERIFY2(std::fabs(view().angleY - kPi) < 1e-15L, "angleY unchanged");
  // The program's own slider moves start no delayed redraw.
  QVERIFY(!panel->redrawTimer()->isActive());
}

void ViewWindowTest::panFollowsOnlyThePointer() {
  Mouse(form(), QEvent::MouseButtonPress, {100, 100}, Qt::RightButton, Qt::RightButton);
  QCOMPARE(view().shiftX, 0.0L);  // a click without motion does not move the scene
  const int w = form().DrawingArea()->width();
  Mouse(form(), QEvent::MouseMove, {300, 50}, Qt::NoButton, Qt::RightButton);
  const Real sx = view().shiftX, sy = view().shiftY;
  QVERIFY2(std::fabs(sx - (300.0L / w - 0.5L) * 5) < 1e-15L, "shiftX under the pointer");
  Mouse(form(), QEvent::MouseMove, {20, 220}, Qt::NoButton, Qt::RightButton);
  Mouse(form(), QEvent::MouseMove, {300, 50}, Qt::NoButton, Qt::RightButton);
  QCOMPARE(view().shiftX, sx);
  QCOMPARE(view().shiftY, sy);
  Mouse(form(), QEvent::MouseButtonRelease, {300, 50}, Qt::RightButton, Qt::NoButton);
}

void ViewWindowTest::altZoomDoublesAndStaysPositive() {
  Drag(form(), Qt::LeftButton, {{150, 20}});  // mouse-down records Y0 = 20
  Mouse(form(), QEvent::MouseMove, {150, 220}, Qt::NoButton, Qt::NoButton, Qt::AltModifier);
  QVERIFY2(std::fabs(view().zoom - 1.6L) < 1e-15L, "200 px down doubles 0.8");
  form().viewControls().lastZoomStep -=
      std::chrono::milliseconds(kZoomStepInterval);  // the interval passes
  Mouse(form(), QEvent::MouseMove, {150, 20}, Qt::NoButton, Qt::NoButton, Qt::AltModifier);
  QVERIFY2(view().zoom > 0, "200 px up keeps the zoom positive");
  const Real shrunk = view().zoom;
  // Moves within 200 ms of a step take no step.
  Mouse(form(), QEvent::MouseMove, {150, 300}, Qt::NoButton, Qt::NoButton, Qt::AltModifier);
  QCOMPARE(view().zoom, shrunk);
  form().viewControls().lastZoomStep -=
      std::chrono::milliseconds(kZoomStepInterval);  // the interval passes
  Mouse(form(), QEvent::MouseMove, {150, 220}, Qt::NoButton, Qt::NoButton, Qt::AltModifier);
  QVERIFY2(std::fabs(view().zoom - 2 * shrunk) < 1e-15L, "zooms back");
}

void ViewWindowTest::keysTurnPastTheSliderEnds() {
  DrawingUtilitiesPanel* panel = form().viewControls().drawingUtilities();
  for (int i = 0; i < 40; ++i) Key(form(), 'e');
  QCOMPARE(panel->betaSlider()->value(), -90);
  QVERIFY2(view().angleX > kPi, "keys turn beyond what the beta slider shows");
  const Real before = view().angleX;
  Key(form(), 'e');
  QVERIFY2(std::fabs(view().angleX - before - 0.05L) < 1e-15L, "a free step past the end");
  Key(form(), 'q');
  QCOMPARE(view().angleX, before + 0.05L);
  // The echo of the pinned slider must not swallow the user's next slider move.
  panel->gammaSlider()->setValue(10);
  QVERIFY(panel->redrawTimer()->isActive());
  // Keys go to an open text field, not to the view.
  p_->state().editingInPanel = true;
  Key(form(), 's');
  QCOMPARE(view().angleZ, AngleZFromGammaSlider(10));
}

void ViewWindowTest::gridAndFillAreNeverBothOff() {
  DrawingUtilitiesPanel* panel = form().viewControls().drawingUtilities();
  Item(form(), "Fill1")->trigger();  // Fill off from the menu
  QVERIFY(!view().fillPatches);
  QVERIFY(!panel->fillBox()->isChecked());
  panel->gridBox()->click();  // Grid off from the panel turns Fill back on
  QVERIFY(!view().showGrid);
  QVERIFY(view().fillPatches);
  QVERIFY(Item(form(), "Fill1")->isChecked());
  QVERIFY(!Item(form(), "Grid1")->isChecked());
  panel->fillBox()->click();  // and the reverse
  QVERIFY(view().showGrid);
  QVERIFY(!view().fillPatches);
  QVERIFY(panel->gridBox()->isChecked());
  QVERIFY(Item(form(), "Grid1")->isChecked());
}

void ViewWindowTest::resetViewKeepsExactStartAngleWhenBetaIsAtItsStart() {
  view().angleX = 0.3L;
  view().zoom = 3;
  Item(form(), "ResetView1")->trigger();
  QCOMPARE(view().angleX, 2.0L);
  QCOMPARE(view().zoom, 0.8L);
  // With the slider elsewhere its change handling writes 115 degrees.
  form().viewControls().drawingUtilities()->betaSlider()->setValue(10);
  Item(form(), "ResetView1")->trigger();
  QVERIFY2(std::fabs(view().angleX - 115 * kPi / 180) < 1e-15L, "angleX from the slider");
}

void ViewWindowTest::whiteBackgroundBecomesThePaletteColour() {
  p_->dialogs.colourAnswers = {QColor(255, 255, 255), QColor(10, 20, 30), std::nullopt};
  Item(form(), "BackgroundColor1")->trigger();
  QVERIFY(view().background == Colour::Palette(255, 255, 254));
  Item(form(), "SpeedBackground")->trigger();
  QVERIFY(view().background == Colour::Exact(10, 20, 30));
  Item(form(), "BackgroundColor1")->trigger();  // cancelled: nothing changes
  QVERIFY(view().background == Colour::Exact(10, 20, 30));
  QCOMPARE(p_->dialogs.unscripted, 0);
}

void ViewWindowTest::drawReturnsFromSectionsToTheFirstSavedView() {
  view().angleX = 1.0L;
  view().angleY = 2.5L;
  view().angleZ = 4.0L;
  view().resolution = 3;
  Item(form(), "Grid1")->trigger();  // the user's grid off
  Item(form(), "CrossSectionX1")->trigger();
  QCOMPARE(p_->state().crossSectionMode, int(kSectionX));
  QCOMPARE(p_->state().scene.count, std::size_t{6 + 901});
  QVERIFY(view().showGrid);
  QCOMPARE(view().resolution, 3);
  Item(form(), "SpeedProjectionY")->trigger();
  QCOMPARE(view().angleY, kPi / 2);
  Child<QPushButton>(form(), "DRAWButton")->click();
  QCOMPARE(p_->state().crossSectionMode, int(kFullSurface));
  QCOMPARE(view().angleX, 1.0L);
  QCOMPARE(view().angleY, 2.5L);
  QCOMPARE(view().angleZ, 4.0L);
  QVERIFY(!view().showGrid);  // taken back from the check box

  // Opening a file ends a section without restoring the view.
  Item(form(), "CrossSectionZ1")->trigger();
  form().files().OpenFile(QString::fromStdString(p_->Example("quartz-elastic.ten").string()));
  QCOMPARE(p_->state().crossSectionMode, int(kFullSurface));
  QCOMPARE(view().angleX, -kPi);
}

void ViewWindowTest::dragContinuesFromKeysSlidersAndReset() {
  // A drag of one pixel turns the view by almost nothing from where it is now.
  const auto nudge = [this] { Drag(form(), Qt::LeftButton, {{200, 150}, {200, 151}}); };
  nudge();
  for (int i = 0; i < 6; ++i) Key(form(), 'e');
  Real before = view().angleX;
  nudge();
  QVERIFY2(std::fabs(view().angleX - before) < 0.02L, "the drag jumped back from the key turn");
  form().viewControls().drawingUtilities()->gammaSlider()->setValue(40);
  before = view().angleZ;
  nudge();
  QVERIFY2(std::fabs(view().angleZ - before) < 0.02L, "the drag jumped back from the slider");
  Item(form(), "ResetView1")->trigger();
  before = view().angleX;
  const Real z = view().angleZ;
  nudge();
  QVERIFY2(std::fabs(view().angleX - before) < 0.02L && std::fabs(view().angleZ - z) < 0.02L,
           "the drag jumped back from Reset View");
}

}  // namespace quillmere

QTEST_MAIN(quillmere::ViewWindowTest)
#include "view_window_test.moc"
