// TForm1: the routing of the view controls — the View and Styles menus, their speed buttons, the
// mouse and keys of the drawing area run the handlers of ViewControlsController; the menu items
// show the view's switches as the controller reports them.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/gui/drawing_area_controller.h"
#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "platform/widgets/text_editors.h"
#include "surface/gui/drawing_utilities_panel.h"
#include "surface/gui/view_controls_controller.h"

namespace quillmere {

namespace {

/// The main window sees the keys before its controls: a filter on the application hands every
/// key press meant for a widget of `form` to FormKeyPress and lets it go on to the control.
class KeyPreview : public QObject {
 public:
  explicit KeyPreview(TForm1* form) : QObject(form), form_(form) {}

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !receiver->isWidgetType()) return false;
    auto* widget = static_cast<QWidget*>(receiver);
    if (widget->window() != form_) return false;
    // A key that no widget takes travels up to the parents and passes this filter again for
    // each of them; only its first receiver counts (the focus widget, or the window itself).
    QWidget* focus = QApplication::focusWidget();
    const bool first = widget == focus || (widget == form_ && (!focus || focus->window() != form_));
    if (!first) return false;
    // Letters typed into a grid, a field or a box are text, never rotation keys.
    if (widget == focus && TakesTypedText(focus)) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    form_->Guarded([&] { form_->viewControls().FormKeyPress(key->text()); });
    return false;
  }

 private:
  TForm1* form_;
};

/// Reports left clicks on a widget's own background (the speed-button bar).
class BackgroundClicks : public QObject {
 public:
  BackgroundClicks(QWidget* watched, std::function<void()> onClick)
      : QObject(watched), onClick_(std::move(onClick)) {
    watched->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
      onClick_();
    return false;
  }

 private:
  std::function<void()> onClick_;
};

}  // namespace

void TForm1::ConnectViewControls() {
  ViewControlsHooks hooks;
  hooks.reproject = [this] { drawing_->SetUpSurface(); };
  hooks.rebuild = [this](std::optional<int> resolution) { drawing_->DrawTensor(resolution); };
  hooks.draw = [this] { DRAWClick(); };
  hooks.refresh = [this] { Label11Click(); };
  hooks.scaleDrawnQuantity = [this](Real factor) { ScaleDrawnQuantity(factor); };
  hooks.showBusy = [this](bool busy) { drawing_->ShowBusy(busy); };
  hooks.guarded = [this](const std::function<void()>& handler) { Guarded(handler); };
  hooks.viewStateChanged = [this] { ShowViewInMenus(); };
  hooks.pointerOver = [this](std::optional<QPoint> at) {
    if (at)
      ShowPointerReadout(*at);
    else
      pointerReadout->clear();
  };
  auto* v = new ViewControlsController(
      surfaceArea,
      ViewControlsContext{&state_.view, &state_.tensor, &state_.crossSectionMode,
                          &state_.savedViewAngles, &state_.firstActivation, &state_.editingInPanel,
                          &dialogs_},
      std::move(hooks), this);
  viewControls_ = v;
  connect(this, &TForm1::workingStateEntered, this,
          [this, v] { v->ShowDrawingUtilities(menus_.DrawingUtilities1->isChecked()); });

  OnTriggered(menus_.Grid1, [this, v] { v->SetGrid(menus_.Grid1->isChecked()); });
  OnTriggered(menus_.Axes1, [this, v] { v->SetAxes(menus_.Axes1->isChecked()); });
  OnTriggered(menus_.Fill1, [this, v] { v->SetFill(menus_.Fill1->isChecked()); });
  OnTriggered(menus_.Scale1, [this, v] { v->SetScale(menus_.Scale1->isChecked()); });

  OnTriggered(menus_.Stereo1, [v] { v->Stereo1Click(); });
  OnTriggered(menus_.SpeedStereo, [v] { v->Stereo1Click(); });
  OnTriggered(menus_.SpeedNormal, [v] { v->Stereo1Click(); });
  OnTriggered(menus_.Palette1, [v] { v->Palette1Click(); });
  OnTriggered(menus_.DrawingUtilities1, [v] { v->DrawingUtilities1Click(); });
  OnTriggered(menus_.SpeedDrawUtilities, [v] { v->DrawingUtilities1Click(); });
  OnTriggered(menus_.Speedbuttons1, [this] { Speedbuttons1Click(); });
  new BackgroundClicks(speedButtonBar, [this] { Guarded([this] { Speedbuttons1Click(); }); });
  // The component-entry part may have connected "Lock Scale" already; two handlers on one
  // checkable item would toggle the flag twice.
  if (!menus_.LockScale1->isEnabled())
    OnTriggered(menus_.LockScale1, [this, v] {
      v->LockScale1Click();
      menus_.LockScale1->setChecked(!state_.tensor.autoScale);
    });
  OnTriggered(menus_.ResetView1, [v] { v->ResetView1Click(); });

  OnTriggered(menus_.PositiveFillColor1, [v] { v->PositiveFillColor1Click(); });
  OnTriggered(menus_.SpeedPositiveFill, [v] { v->PositiveFillColor1Click(); });
  OnTriggered(menus_.NegativeFillColor1, [v] { v->NegativeFillColor1Click(); });
  OnTriggered(menus_.SpeedNegativeFill, [v] { v->NegativeFillColor1Click(); });
  OnTriggered(menus_.PositiveLineColor1, [v] { v->PositiveLineColor1Click(); });
  OnTriggered(menus_.NegativeLineColor1, [v] { v->NegativeLineColor1Click(); });
  OnTriggered(menus_.BackgroundColor1, [v] { v->BackgroundColor1Click(); });
  OnTriggered(menus_.SpeedBackground, [v] { v->BackgroundColor1Click(); });
  OnTriggered(menus_.AxesColor1, [v] { v->AxesColor1Click(); });
  OnTriggered(menus_.SpeedAxesColour, [v] { v->AxesColor1Click(); });
  OnTriggered(menus_.TextStyle1, [v] { v->TextStyle1Click(); });
  OnTriggered(menus_.SpeedTextStyle, [v] { v->TextStyle1Click(); });
  OnTriggered(menus_.ChangeAxesCaption1, [v] { v->ChangeAxesCaption1Click(); });

  OnTriggered(menus_.CrossSectionX1, [v] { v->Cross_section(kSectionX); });
  OnTriggered(menus_.SpeedProjectionX, [v] { v->Cross_section(kSectionX); });
  OnTriggered(menus_.CrossSectionY1, [v] { v->Cross_section(kSectionY); });
  OnTriggered(menus_.SpeedProjectionY, [v] { v->Cross_section(kSectionY); });
  OnTriggered(menus_.CrossSectionZ1, [v] { v->Cross_section(kSectionZ); });
  OnTriggered(menus_.SpeedProjectionZ, [v] { v->Cross_section(kSectionZ); });

  // Mouse and keys of the drawing area. A right button pans, so it opens no context menu.
  surfaceArea->setContextMenuPolicy(Qt::PreventContextMenu);
  connect(surfaceArea, &SurfaceArea::mousePressed, this,
          [this, v](QMouseEvent* e) { Guarded([=] { v->FormMouseDown(e); }); });
  connect(surfaceArea, &SurfaceArea::mouseMoved, this,
          [this, v](QMouseEvent* e) { Guarded([=] { v->FormMouseMove(e); }); });
  connect(surfaceArea, &SurfaceArea::mouseReleased, this,
          [this, v](QMouseEvent* e) { Guarded([=] { v->FormMouseUp(e); }); });
  connect(surfaceArea, &SurfaceArea::wheelTurned, this,
          [this, v](QWheelEvent* e) { Guarded([=] { v->FormMouseWheel(e); }); });
  qApp->installEventFilter(new KeyPreview(this));
}

void TForm1::ShowViewInMenus() {
  const ViewSettings& v = state_.view;
  menus_.Grid1->setChecked(v.showGrid);
  menus_.Axes1->setChecked(v.showAxes);
  menus_.Fill1->setChecked(v.fillPatches);
  menus_.Scale1->setChecked(v.showScale);
  menus_.Stereo1->setChecked(v.stereo);
  menus_.SpeedStereo->setVisible(!v.stereo);
  menus_.SpeedNormal->setVisible(v.stereo);
  menus_.Palette1->setChecked(v.paletteMode);
  // During the splash the panel waits, hidden, for the working window; its item keeps the
  // choice it will be shown by.
  if (!inSplash_)
    menus_.DrawingUtilities1->setChecked(!viewControls_->drawingUtilities()->isHidden());
}

void TForm1::Speedbuttons1Click() {
  const bool show = speedButtonBar->isHidden();
  speedButtonBar->setVisible(show);
  statusBar()->setVisible(show);
  menus_.Speedbuttons1->setChecked(show);
  // The minimum follows the bars once the window has laid them out.
  QTimer::singleShot(0, this, [this] { UpdateMinimumSize(); });
}

}  // namespace quillmere
