// The main window at every size it allows: every panel and chooser inside the drawing area, the
// grids clear of DRAW, the legend inside the picture, the minimum size, the window icon and the
// message boxes' window buttons.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/gui/gui_test_support.h"
#include "app/gui/splash_picture.h"
#include "app/gui/surface_area.h"
#include "app/program_state.h"
#include "files/settings_file.h"
#include "fit/gui/fixed_direction_panel.h"
#include "fit/gui/transform_panel.h"
#include "platform/widgets/barred_text.h"
#include "surface/gui/drawing_utilities_panel.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/component_grids.h"
#include "tensor/gui/entry_widgets.h"
#include "tensor/gui/new_tensor_dialog.h"
#include "tensor/gui/symmetry_choosers.h"

namespace quillmere {

using test::StartedProgram;

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

struct Working {
  StartedProgram p;
  explicit Working(const std::string& windowLine = {}) {
    if (!windowLine.empty()) {
      std::filesystem::create_directories(p.settingsDirectory());
      p.Write("config/quillmere/halvik.ini",
              Replaced(DefaultSettingsText(p.programDirectory()), "525 409", windowLine));
    }
    p.Start();
    if (!p.EndSplash()) qFatal("the splash did not end");
  }
  TForm1& form() { return p.form(); }
  ComponentEntryController& entry() { return form().components(); }
  QRect area() { return QRect(QPoint(0, 0), form().DrawingArea()->size()); }
  /// Resizes the window and lets the panels follow.
  void Resize(QSize size) {
    form().resize(size);
    QCoreApplication::processEvents();
  }
};

/// `panel` lies wholly inside `area`.
bool Inside(QWidget* panel, const QRect& area) {
  return panel->isVisible() && area.contains(panel->geometry());
}

QString Where(QWidget* panel, const QRect& area) {
  const QRect g = panel->geometry();
  return QStringLiteral("%1 at %2,%3 %4x%5 in %6x%7")
      .arg(panel->objectName())
      .arg(g.x())
      .arg(g.y())
      .arg(g.width())
      .arg(g.height())
      .arg(area.width())
      .arg(area.height());
}

#define VERIFY_INSIDE(panel, area) QVERIFY2(Inside(panel, area), qPrintable(Where(panel, area)))

/// Opens every panel of the window in turn and checks that each lies inside the drawing area;
/// the grids also leave the DRAW button uncovered.
void CheckEveryPanel(Working& w) {
  TForm1& f = w.form();
  const QRect area = w.area();
  VERIFY_INSIDE(Child<QWidget>(f, "TensorPanel"), area);
  VERIFY_INSIDE(f.viewControls().drawingUtilities(), area);
  const QRect draw(Child<QPushButton>(f, "DRAWButton")->mapTo(f.DrawingArea(), QPoint(0, 0)),
                   Child<QPushButton>(f, "DRAWButton")->size());
  QVERIFY2(area.contains(draw), "DRAW outside the drawing area");
  QVERIFY2(!draw.intersects(f.viewControls().drawingUtilities()->geometry()),
           "the drawing utilities cover the tensor panel");

  // The kind chooser. "(ij)(kl)" in the triclinic group has a long independent list.
  f.state().tensor.pointGroup = 2;  // "1", triclinic
  Item(f, "TensorSymmetry1")->trigger();
  VERIFY_INSIDE(w.entry().kindChooser(), area);
  w.entry().kindChooser()->item(9)->click();
  QVERIFY(!w.entry().kindChooser()->isVisible());
  Item(f, "IndependentComponents1")->trigger();
  IndependentGrid* independent = w.entry().stringGrid2();
  VERIFY_INSIDE(independent, area);
  QVERIFY(independent->count() > 20);
  QVERIFY2(!independent->geometry().intersects(draw), qPrintable(Where(independent, area)));
  Item(f, "IndependentComponents1")->trigger();
  QVERIFY(!independent->isVisible());

  // "ijklm" (rank 5) has the largest full grid.
  Item(f, "TensorSymmetry1")->trigger();
  w.entry().kindChooser()->item(11)->click();
  QCOMPARE(f.state().tensor.rank, 5);

  Item(f, "Components1")->trigger();
  ComponentGrid* full = w.entry().stringGrid1();
  VERIFY_INSIDE(full, area);
  QVERIFY2(!full->geometry().intersects(draw), qPrintable(Where(full, area)));
  Item(f, "Components1")->trigger();
  QVERIFY(!full->isVisible());

  // The crystal systems and the tallest and widest point-group boxes.
  Item(f, "PointGroup1")->trigger();
  VERIFY_INSIDE(w.entry().crystalSystemChooser(), area);
  for (int system : {4, 5, 6}) {
    w.entry().crystalSystemChooser()->systemButton(system)->click();
    VERIFY_INSIDE(w.entry().pointGroupBox(system), area);
    QVERIFY(!w.entry().pointGroupBox(system)->geometry().intersects(
        w.entry().crystalSystemChooser()->geometry()));
  }
  w.entry().pointGroupBox(6)->button(32)->click();
  QVERIFY(!w.entry().crystalSystemChooser()->isVisible());

  // The unit field stays on the tensor panel.
  Item(f, "EditUnitText1")->trigger();
  EntryField* unit = w.entry().unitTextField();
  VERIFY_INSIDE(unit, area);
  QVERIFY2(Child<QWidget>(f, "TensorPanel")->geometry().contains(unit->geometry()),
           qPrintable(Where(unit, area)));
  QTest::keyClick(unit, Qt::Key_Return);
  QVERIFY(!unit->isVisible());

  // New Tensor, the components kept (the unit text just typed is discarded at the question).
  w.p.dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Discard);
  w.p.dialogs.answers.push_back(false);
  Item(f, "New1")->trigger();
  VERIFY_INSIDE(w.entry().newTensorDialog(), area);
  w.entry().newTensorDialog()->cancelButton->click();

  Item(f, "Transform1")->trigger();
  VERIFY_INSIDE(f.fitPanels().transformPanel(), area);
  f.fitPanels().transformPanel()->hide();
  Item(f, "FixedDirections1")->trigger();
  VERIFY_INSIDE(f.fitPanels().fixedDirectionPanel(), area);
  f.fitPanels().fixedDirectionPanel()->hide();
  Item(f, "ChangeAxesCaption1")->trigger();
  VERIFY_INSIDE(f.viewControls().axesStyleGroup(), area);
  f.viewControls().axesStyleGroup()->hide();
}

/// The lowest point of the legend's text, estimated as the renderer does, must lie inside the
/// picture.
void CheckLegend(Working& w) {
  const SceneList& scene = w.p.state().scene;
  QVERIFY(scene.legendCount > 0);
  const QImage& picture = w.form().drawing().SceneBitmap();
  const int height = static_cast<int>(picture.height() / picture.devicePixelRatio());
  int bottom = 0;
  for (std::size_t r = scene.count; r < scene.count + scene.legendCount; ++r)
    for (const ScreenPoint& s : scene.records[r].screen) bottom = std::max(bottom, s.y);
  // The unit text hangs below its anchor by its height: 24-point labels at zoom 0.8, scaled by
  // the width / 500, are about a sixteenth of the picture's width high.
  const int unitHeight = picture.width() / 16;
  QVERIFY2(
      bottom + unitHeight <= height,
      qPrintable(
          QStringLiteral("legend reaches %1 + %2 in %3").arg(bottom).arg(unitHeight).arg(height)));
  // Its base line still lies below the picture's centre, where it belongs.
  QVERIFY(scene.records[scene.count + scene.legendCount - 2].screen[0].y >
          static_cast<int>(1.4 * PictureSizeParameter(picture.width(), false)));
}

}  // namespace

class WindowSizesTest : public QObject {
  Q_OBJECT
 private slots:
  void everyPanelFitsAtTheMinimumTheDefaultAndALargeWindow();
  void theMinimumIsNoLargerThanTheDefaultAndHoldsTheWindow();
  void aStoredSizeBelowTheMinimumOpensAtTheMinimum();
  void theLegendStaysInsideThePicture();
  void windowsShowTheProgramIcon();
  void messageBoxesHaveNoMinimiseOrMaximiseButton();
};

void WindowSizesTest::everyPanelFitsAtTheMinimumTheDefaultAndALargeWindow() {
  Working w;
  for (const QSize size : {w.form().minimumSize(), QSize(525, 409), QSize(1600, 1000)}) {
    w.Resize(size);
    QCOMPARE(w.form().size(), size);
    CheckEveryPanel(w);
    if (QTest::currentTestFailed()) qWarning() << "at" << size;
  }
  // A panel open while the window shrinks comes back inside.
  Item(w.form(), "TensorSymmetry1")->trigger();
  w.p.dialogs.saveChangesAnswers.push_back(SaveChangesAnswer::Discard);
  Item(w.form(), "New1")->trigger();
  w.Resize(w.form().minimumSize());
  VERIFY_INSIDE(w.entry().kindChooser(), w.area());
  VERIFY_INSIDE(w.entry().newTensorDialog(), w.area());
}

void WindowSizesTest::theMinimumIsNoLargerThanTheDefaultAndHoldsTheWindow() {
  Working w;
  const QSize minimum = w.form().minimumSize();
  QVERIFY2(minimum.width() <= 525 && minimum.height() <= 409,
           qPrintable(QStringLiteral("%1x%2").arg(minimum.width()).arg(minimum.height())));
  // It is the smallest size at which the panels fit: one of them needs the whole width or
  // height of the area.
  const QSize need = w.form().RequiredDrawingArea();
  QCOMPARE(minimum - w.form().size() + w.form().DrawingArea()->size(), need);
  w.Resize(QSize(200, 150));
  QCOMPARE(w.form().size(), minimum);

  // Hiding the speed-button bar gives its height back.
  Item(w.form(), "Speedbuttons1")->trigger();
  QTRY_VERIFY(w.form().minimumSize().height() < minimum.height());
  Item(w.form(), "Speedbuttons1")->trigger();
  QTRY_COMPARE(w.form().minimumSize(), minimum);
  // The widest extreme values the tensor panel shows still leave the default size usable.
  const QString widest = QStringLiteral("max -2.345 [-0.577, -0.577, -0.577]");
  Child<QLabel>(w.form(), "ExtremesLabel")->setText(widest + QLatin1Char('\n') + widest);
  w.Resize(QSize(700, 500));
  QVERIFY2(w.form().minimumSize().width() <= 525,
           qPrintable(QString::number(w.form().minimumSize().width())));
}

void WindowSizesTest::aStoredSizeBelowTheMinimumOpensAtTheMinimum() {
  Working w("200 150");
  QCOMPARE(w.form().size(), w.form().minimumSize());
  // The settings file is rewritten only at the close.
  QVERIFY(test::ReadFile(w.p.settingsFile()).find("200 150") != std::string::npos);
}

void WindowSizesTest::theLegendStaysInsideThePicture() {
  Working w;
  w.p.state().tensor.unitText = "pm/V";
  Item(w.form(), "Scale1")->trigger();
  QVERIFY(w.p.state().view.showScale);
  for (const QSize size : {QSize(525, 409), w.form().minimumSize(), QSize(1600, 1000)}) {
    w.Resize(size);
    QTRY_COMPARE(w.form().drawing().SceneBitmap().width(), w.form().DrawingArea()->width());
    w.form().drawing().SetUpSurface();
    CheckLegend(w);
    if (QTest::currentTestFailed()) qWarning() << "at" << size;
  }
}

void WindowSizesTest::windowsShowTheProgramIcon() {
  Working w;
  const QIcon icon = w.form().windowIcon();
  QVERIFY(!icon.isNull());
  const QImage shown = icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32);
  QCOMPARE(shown, ProgramIconPicture(32));
  QCOMPARE(QApplication::windowIcon().cacheKey(), icon.cacheKey());
}

void WindowSizesTest::messageBoxesHaveNoMinimiseOrMaximiseButton() {
  Working w;
  QtDialogs dialogs(&w.form());
  QList<Qt::WindowFlags> seen;
  QList<Qt::TextFormat> formats;
  const auto inspectAndClose = [&seen, &formats] {
    QTimer::singleShot(50, [&seen, &formats] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      seen.push_back(box->windowFlags());
      formats.push_back(box->textFormat());
      box->done(QMessageBox::No);
    });
  };
  inspectAndClose();
  // Markup from a file or a server (release notes) is shown as text, never rendered.
  dialogs.ShowMessage("<img src=\"/etc/picture.png\"><a href=\"http://x\">an information</a>");
  inspectAndClose();
  dialogs.AskYesNo("a question ?");
  inspectAndClose();
  dialogs.ShowError("an error");
  inspectAndClose();
  dialogs.AskWarning("a warning ?");
  QCOMPARE(seen.size(), 4);
  QCOMPARE(formats, QList<Qt::TextFormat>(4, Qt::PlainText));
  for (const Qt::WindowFlags flags : seen) {
    QCOMPARE(flags & Qt::WindowType_Mask, Qt::Dialog);
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
  }
}

}  // namespace quillmere

QTEST_MAIN(quillmere::WindowSizesTest)
#include "window_sizes_test.moc"
