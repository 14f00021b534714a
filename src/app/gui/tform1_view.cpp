// TForm1: turning the surface — the drawing-utilities panel, the mouse and the rotation keys of
// the drawing area, the view switches, stereo, palette, colours, fonts, axis captions, Reset
// View and the cross-sections. The arithmetic is in surface/interaction.h and
// surface/cross_section.h; the handlers here read like the steps of each command.
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>

#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "platform/dialogs.h"
#include "platform/widgets/text_editors.h"
#include "surface/cross_section.h"
#include "surface/gui/drawing_utilities_panel.h"
#include "surface/interaction.h"
#include "surface/view_settings.h"

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
    form_->Guarded([&] { form_->FormKeyPress(key->text()); });
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

QColor AsQColor(const Colour& c) {
  return QColor(c.red, c.green, c.blue);
}

Colour FromQColor(const QColor& c) {
  return Colour::Exact(c.red(), c.green(), c.blue());
}

QFont AsQFont(const LabelFont& f) {
  QFont q(QString::fromStdString(f.family));
  if (f.size > 0) q.setPointSize(f.size);
  q.setBold(f.bold);
  q.setItalic(f.italic);
  q.setUnderline(f.underline);
  q.setStrikeOut(f.strikeOut);
  return q;
}

LabelFont FromQFont(const QFont& q, Colour colour) {
  LabelFont f;
  f.family = q.family().toStdString();
  f.size = q.pointSize() > 0 ? q.pointSize() : 12;
  f.colour = colour;
  f.bold = q.bold();
  f.italic = q.italic();
  f.underline = q.underline();
  f.strikeOut = q.strikeOut();
  return f;
}

}  // namespace

void TForm1::ConnectViewControls() {
  ViewSettings& view = state_.view;

  DrawingUtilities = new DrawingUtilitiesPanel(surfaceArea);
  DrawingUtilities->setAutoFillBackground(true);
  DrawingUtilities->adjustSize();
  DrawingUtilities->move(4, 4);
  DrawingUtilities->hide();  // shown with the working window
  DrawingUtilities->ShowSwitches(view.showGrid, view.showAxes, view.fillPatches, view.showScale);

  AxesStyleGroup = new QGroupBox(QStringLiteral("Change Axes Style"), surfaceArea);
  AxesStyleGroup->setObjectName(QStringLiteral("AxesStyleGroup"));
  AxesStyleGroup->setAutoFillBackground(true);
  {
    auto* layout = new QVBoxLayout(AxesStyleGroup);
    const char* captions[3] = {"x, y, z", "a, b, c", "e1, e2, e3"};
    for (int style = 1; style <= 3; ++style) {
      auto* b = new QRadioButton(QString::fromLatin1(captions[style - 1]), AxesStyleGroup);
      b->setObjectName(QStringLiteral("AxesStyle%1").arg(style));
      b->setChecked(view.axesCaptionStyle == style);
      layout->addWidget(b);
      connect(b, &QRadioButton::toggled, this, [this, style](bool on) {
        if (on) state_.view.axesCaptionStyle = style;  // used at the next build
      });
    }
    auto* close = new QPushButton(QStringLiteral("close"), AxesStyleGroup);
    close->setObjectName(QStringLiteral("AxesStyleClose"));
    layout->addWidget(close);
    connect(close, &QPushButton::clicked, this, [this] { AxesStyleGroup->hide(); });
  }
  AxesStyleGroup->adjustSize();
  // Wide enough for its title, which the layout alone does not take into account.
  AxesStyleGroup->resize(
      std::max(AxesStyleGroup->width(),
               AxesStyleGroup->fontMetrics().horizontalAdvance(AxesStyleGroup->title()) + 24),
      AxesStyleGroup->height());
  AxesStyleGroup->hide();

  connect(this, &TForm1::workingStateEntered, this, [this] {
    DrawingUtilities->setVisible(DrawingUtilities1->isChecked());
    DrawingUtilities->raise();
  });

  // Sliders: the value goes into the view at once; the panel restarts the timers.
  DrawingUtilitiesPanel* p = DrawingUtilities;
  connect(p, &DrawingUtilitiesPanel::alphaChanged, this,
          [this](int pos) { state_.view.angleY = AngleYFromAlphaSlider(pos); });
  connect(p, &DrawingUtilitiesPanel::betaChanged, this,
          [this](int pos) { state_.view.angleX = AngleXFromBetaSlider(pos); });
  connect(p, &DrawingUtilitiesPanel::gammaChanged, this,
          [this](int pos) { state_.view.angleZ = AngleZFromGammaSlider(pos); });
  connect(p, &DrawingUtilitiesPanel::resolutionChanged, this,
          [this](int pos) { state_.view.resolution = pos; });
  connect(p, &DrawingUtilitiesPanel::perspectiveChanged, this,
          [this](int pos) { state_.view.eyeDistance = EyeDistanceFromPerspectiveSlider(pos); });
  connect(p, &DrawingUtilitiesPanel::redrawDue, this,
          [this] { Guarded([this] { SetUpSurface(); }); });
  connect(p, &DrawingUtilitiesPanel::rebuildDue, this,
          [this] { Guarded([this] { DRAWClick(); }); });

  // Spin buttons. A larger scale draws a smaller surface.
  connect(p, &DrawingUtilitiesPanel::sizeDown, this, [this] {
    Guarded([this] {
      state_.view.zoom *= 0.9L;
      SetUpSurface();
    });
  });
  connect(p, &DrawingUtilitiesPanel::sizeUp, this, [this] {
    Guarded([this] {
      state_.view.zoom *= 1.2L;
      SetUpSurface();
    });
  });
  connect(p, &DrawingUtilitiesPanel::fineScaleDown, this, [this] {
    state_.tensor.scale *= 1.1L;
    ScaleDrawnQuantity(1.1L);
    RestartRebuildTimer();
  });
  connect(p, &DrawingUtilitiesPanel::fineScaleUp, this, [this] {
    state_.tensor.scale *= 0.9L;
    ScaleDrawnQuantity(0.9L);
    RestartRebuildTimer();
  });
  connect(p, &DrawingUtilitiesPanel::unitDown, this, [this] {
    Guarded([this] {
      state_.tensor.scale /= 10;
      ScaleDrawnQuantity(0.1L);
      Label11Click();
      RestartRebuildTimer();
    });
  });
  connect(p, &DrawingUtilitiesPanel::unitUp, this, [this] {
    Guarded([this] {
      state_.tensor.scale *= 10;
      ScaleDrawnQuantity(10);
      Label11Click();
      RestartRebuildTimer();
    });
  });

  // Switches: the panel's boxes and the View menu's items change both.
  connect(p, &DrawingUtilitiesPanel::gridClicked, this,
          [this](bool on) { Guarded([=, this] { SetGrid(on); }); });
  connect(p, &DrawingUtilitiesPanel::axesClicked, this,
          [this](bool on) { Guarded([=, this] { SetAxes(on); }); });
  connect(p, &DrawingUtilitiesPanel::fillClicked, this,
          [this](bool on) { Guarded([=, this] { SetFill(on); }); });
  connect(p, &DrawingUtilitiesPanel::scaleClicked, this,
          [this](bool on) { Guarded([=, this] { SetScale(on); }); });
  OnTriggered(Grid1, [this] { SetGrid(Grid1->isChecked()); });
  OnTriggered(Axes1, [this] { SetAxes(Axes1->isChecked()); });
  OnTriggered(Fill1, [this] { SetFill(Fill1->isChecked()); });
  OnTriggered(Scale1, [this] { SetScale(Scale1->isChecked()); });

  OnTriggered(Stereo1, [this] { Stereo1Click(); });
  OnTriggered(SpeedStereo, [this] { Stereo1Click(); });
  OnTriggered(SpeedNormal, [this] { Stereo1Click(); });
  OnTriggered(Palette1, [this] { Palette1Click(); });
  OnTriggered(DrawingUtilities1, [this] { DrawingUtilities1Click(); });
  OnTriggered(SpeedDrawUtilities, [this] { DrawingUtilities1Click(); });
  connect(p, &DrawingUtilitiesPanel::backgroundClicked, this,
          [this] { Guarded([this] { DrawingUtilities1Click(); }); });
  OnTriggered(Speedbuttons1, [this] { Speedbuttons1Click(); });
  new BackgroundClicks(speedButtonBar, [this] { Guarded([this] { Speedbuttons1Click(); }); });
  // The component-entry part may have connected "Lock Scale" already; two handlers on one
  // checkable item would toggle the flag twice.
  if (!LockScale1->isEnabled()) OnTriggered(LockScale1, [this] { LockScale1Click(); });
  OnTriggered(ResetView1, [this] { ResetView1Click(); });

  OnTriggered(PositiveFillColor1, [this] { PositiveFillColor1Click(); });
  OnTriggered(SpeedPositiveFill, [this] { PositiveFillColor1Click(); });
  OnTriggered(NegativeFillColor1, [this] { NegativeFillColor1Click(); });
  OnTriggered(SpeedNegativeFill, [this] { NegativeFillColor1Click(); });
  OnTriggered(PositiveLineColor1, [this] { PositiveLineColor1Click(); });
  OnTriggered(NegativeLineColor1, [this] { NegativeLineColor1Click(); });
  OnTriggered(BackgroundColor1, [this] { BackgroundColor1Click(); });
  OnTriggered(SpeedBackground, [this] { BackgroundColor1Click(); });
  OnTriggered(AxesColor1, [this] { AxesColor1Click(); });
  OnTriggered(SpeedAxesColour, [this] { AxesColor1Click(); });
  OnTriggered(TextStyle1, [this] { TextStyle1Click(); });
  OnTriggered(SpeedTextStyle, [this] { TextStyle1Click(); });
  OnTriggered(ChangeAxesCaption1, [this] { ChangeAxesCaption1Click(); });

  OnTriggered(CrossSectionX1, [this] { Cross_section(kSectionX); });
  OnTriggered(SpeedProjectionX, [this] { Cross_section(kSectionX); });
  OnTriggered(CrossSectionY1, [this] { Cross_section(kSectionY); });
  OnTriggered(SpeedProjectionY, [this] { Cross_section(kSectionY); });
  OnTriggered(CrossSectionZ1, [this] { Cross_section(kSectionZ); });
  OnTriggered(SpeedProjectionZ, [this] { Cross_section(kSectionZ); });

  // Mouse and keys of the drawing area. A right button pans, so it opens no context menu.
  surfaceArea->setContextMenuPolicy(Qt::PreventContextMenu);
  connect(surfaceArea, &SurfaceArea::mousePressed, this,
          [this](QMouseEvent* e) { Guarded([=, this] { FormMouseDown(e); }); });
  connect(surfaceArea, &SurfaceArea::mouseMoved, this,
          [this](QMouseEvent* e) { Guarded([=, this] { FormMouseMove(e); }); });
  connect(surfaceArea, &SurfaceArea::mouseReleased, this,
          [this](QMouseEvent* e) { Guarded([=, this] { FormMouseUp(e); }); });
  qApp->installEventFilter(new KeyPreview(this));
}

// ---- Mouse and keys -------------------------------------------------------------------------

void TForm1::FormMouseDown(QMouseEvent* event) {
  if (event->modifiers() & Qt::AltModifier) return;
  const QPoint at = event->position().toPoint();
  // A drag continues from the view as it is now, whatever turned it since the last drag (keys,
  // sliders, angle boxes, Reset View).
  EndDrag(dragOffsets, state_.view);
  BeginDrag(dragOrigin, at.x(), at.y(), surfaceArea->width(), surfaceArea->height());
}

void TForm1::FormMouseUp(QMouseEvent* event) {
  if (event->modifiers() & Qt::AltModifier) return;
  EndDrag(dragOffsets, state_.view);
}

void TForm1::FormMouseMove(QMouseEvent* event) {
  ViewSettings& view = state_.view;
  const QPoint at = event->position().toPoint();
  const int w = surfaceArea->width();
  const int h = surfaceArea->height();
  const Qt::MouseButtons buttons = event->buttons();
  const Qt::KeyboardModifiers keys = event->modifiers();
  // The four steps each end with a re-projection; one repaint after all of them shows the same
  // picture and keeps a move that pans and turns at once as fast as one that only turns.
  bool changed = false;
  bool zoomOnly = true;  // a failing re-projection after a zoom step alone is ignored

  if (buttons & Qt::RightButton) {
    PanTo(view, at.x(), at.y(), w);
    changed = true;
    zoomOnly = false;
  }
  if (keys & Qt::AltModifier) {
    // A zoom step waits 200 ms for the next; the waiting is done by leaving out the moves in
    // between, so the window is never blocked.
    const auto now = std::chrono::steady_clock::now();
    if (now - lastZoomStep >= std::chrono::milliseconds(kZoomStepInterval)) {
      ZoomStep(view, dragOrigin, at.y());
      lastZoomStep = now;
      changed = true;
    }
  }
  if (buttons & Qt::LeftButton) {
    DragTurn(view, dragOrigin, dragOffsets, at.x(), at.y(), w, h);
    ShowViewAngles();
    changed = true;
    zoomOnly = false;
  }
  if (keys & Qt::ControlModifier) {
    LightFromPointer(view, at.x(), at.y(), w, h);
    DrawingUtilities->ShowGammaPosition(GammaSliderFromAngleZ(view.angleZ));
    changed = true;
    zoomOnly = false;
  }
  if (!changed) {
    ShowPointerReadout(at);
    return;
  }
  pointerReadout->clear();
  if (zoomOnly) {
    try {
      SetUpSurface();
    } catch (...) {
      // A zoom step that cannot be projected keeps the last picture: the drag's next step tries
      // again, and a message for each step would stop the drag.
    }
  } else {
    SetUpSurface();
  }
}

bool TForm1::FormKeyPress(const QString& text) {
  if (text.size() != 1 || state_.editingInPanel) return false;
  const QWidget* independentGrid = findChild<QWidget*>(QStringLiteral("StringGrid2"));
  if (independentGrid && independentGrid->isVisible()) return false;
  const QChar c = text.front();
  if (c.unicode() > 0x7f || !TurnByKey(state_.view, static_cast<char>(c.unicode()))) return false;
  ShowViewAngles();
  SetUpSurface();
  return true;
}

void TForm1::ShowViewAngles() {
  const ViewSettings& v = state_.view;
  DrawingUtilities->ShowAnglePositions(AlphaSliderFromAngleY(v.angleY),
                                       BetaSliderFromAngleX(v.angleX),
                                       GammaSliderFromAngleZ(v.angleZ));
}

void TForm1::RestartRebuildTimer() {
  DrawingUtilities->RestartRebuildTimer();
}

// ---- Switches -------------------------------------------------------------------------------

namespace {

void Redraw(TForm1& form, ViewRedraw redraw) {
  if (redraw == ViewRedraw::kReproject) form.SetUpSurface();
  if (redraw == ViewRedraw::kRebuild) form.DrawTensor();
}

// The check boxes and the menu items show the view's switches after every change, so either
// control can be clicked next.
void MirrorSwitches(TForm1& form) {
  const ViewSettings& v = form.state().view;
  form.DrawingUtilities->ShowSwitches(v.showGrid, v.showAxes, v.fillPatches, v.showScale);
  form.Grid1->setChecked(v.showGrid);
  form.Axes1->setChecked(v.showAxes);
  form.Fill1->setChecked(v.fillPatches);
  form.Scale1->setChecked(v.showScale);
}

}  // namespace

void TForm1::SetGrid(bool on) {
  const ViewRedraw redraw = SetGridSwitch(state_.view, on);
  MirrorSwitches(*this);
  Redraw(*this, redraw);
}

void TForm1::SetAxes(bool on) {
  const ViewRedraw redraw = SetAxesSwitch(state_.view, on);
  MirrorSwitches(*this);
  Redraw(*this, redraw);
}

void TForm1::SetFill(bool on) {
  const ViewRedraw redraw = SetFillSwitch(state_.view, on);
  MirrorSwitches(*this);
  Redraw(*this, redraw);
}

void TForm1::SetScale(bool on) {
  state_.view.showScale = on;
  MirrorSwitches(*this);
  SetUpSurface();
}

// ---- View menu ------------------------------------------------------------------------------

void TForm1::Stereo1Click() {
  ViewSettings& v = state_.view;
  v.stereo = !v.stereo;
  Stereo1->setChecked(v.stereo);
  SpeedStereo->setVisible(!v.stereo);
  SpeedNormal->setVisible(v.stereo);
  if (v.stereo) {
    DrawingUtilities->hide();
    DrawingUtilities1->setChecked(false);
  }
  SetUpSurface();
}

void TForm1::Palette1Click() {
  state_.view.paletteMode = !state_.view.paletteMode;
  Palette1->setChecked(state_.view.paletteMode);
  SetUpSurface();
}

void TForm1::DrawingUtilities1Click() {
  const bool show = DrawingUtilities->isHidden();
  DrawingUtilities->setVisible(show);
  if (show) DrawingUtilities->raise();
  DrawingUtilities1->setChecked(show);
}

void TForm1::Speedbuttons1Click() {
  const bool show = speedButtonBar->isHidden();
  speedButtonBar->setVisible(show);
  statusBar()->setVisible(show);
  Speedbuttons1->setChecked(show);
  // The minimum follows the bars once the window has laid them out.
  QTimer::singleShot(0, this, [this] { UpdateMinimumSize(); });
}

void TForm1::LockScale1Click() {
  state_.tensor.autoScale = !state_.tensor.autoScale;
  LockScale1->setChecked(!state_.tensor.autoScale);
}

void TForm1::ResetView1Click() {
  ViewSettings& v = state_.view;
  ResetView(v);
  MirrorSwitches(*this);
  if (auto* b = AxesStyleGroup->findChild<QRadioButton*>(
          QStringLiteral("AxesStyle%1").arg(v.axesCaptionStyle)))
    b->setChecked(true);
  // Set as the user would: a slider that moves writes its whole-degree angle (so beta away
  // from -25 gives angleX = 115 degrees) and restarts its timer.
  DrawingUtilities->alphaSlider()->setValue(kStartAlphaSlider);
  DrawingUtilities->betaSlider()->setValue(kStartBetaSlider);
  DrawingUtilities->gammaSlider()->setValue(kStartGammaSlider);
  DrawingUtilities->resolutionSlider()->setValue(kStartResolutionSlider);
  // The eye distance is back at 50, so the perspective slider shows 7 again; left where it was
  // it would show a perspective that is not drawn.
  DrawingUtilities->perspectiveSlider()->setValue(kStartPerspectiveSlider);
  state_.firstActivation = true;
  DrawTensor();
}

// ---- Colours, font, captions ----------------------------------------------------------------

void TForm1::PositiveFillColor1Click() {
  if (auto c = dialogs_.ChooseColour(AsQColor(state_.view.positiveFill))) {
    state_.view.positiveFill = FromQColor(*c);
    state_.firstActivation = true;
    DrawTensor();
  }
}

void TForm1::NegativeFillColor1Click() {
  if (auto c = dialogs_.ChooseColour(AsQColor(state_.view.negativeFill))) {
    state_.view.negativeFill = FromQColor(*c);
    state_.firstActivation = true;
    DrawTensor();
  }
}

void TForm1::PositiveLineColor1Click() {
  if (auto c = dialogs_.ChooseColour(AsQColor(state_.view.positiveLine)))
    state_.view.positiveLine = FromQColor(*c);  // used at the next build
}

void TForm1::NegativeLineColor1Click() {
  if (auto c = dialogs_.ChooseColour(AsQColor(state_.view.negativeLine)))
    state_.view.negativeLine = FromQColor(*c);
}

void TForm1::BackgroundColor1Click() {
  if (auto c = dialogs_.ChooseColour(AsQColor(state_.view.background))) {
    state_.view.background = ChosenBackground(FromQColor(*c));
    SetUpSurface();
  }
}

void TForm1::AxesColor1Click() {
  if (auto c = dialogs_.ChooseColour(AsQColor(state_.view.axesColour))) {
    state_.view.axesColour = FromQColor(*c);
    RestartRebuildTimer();
  }
}

void TForm1::TextStyle1Click() {
  ViewSettings& v = state_.view;
  const LabelFont current = v.useAxesFont ? v.axesFont : BuiltInLabelFont();
  if (auto f = dialogs_.ChooseFont(AsQFont(current))) {
    v.axesFont = FromQFont(*f, current.colour);
    v.useAxesFont = true;
    SetUpSurface();
  }
}

void TForm1::ChangeAxesCaption1Click() {
  const bool show = AxesStyleGroup->isHidden();
  if (show) {
    const int x = DrawingUtilities->isVisible() ? DrawingUtilities->geometry().right() + 8 : 8;
    AxesStyleGroup->move(x, 8);
    AxesStyleGroup->raise();
  }
  AxesStyleGroup->setVisible(show);
}

// ---- Cross-sections -------------------------------------------------------------------------

void TForm1::Cross_section(int mode) {
  busyCover->show();
  busyCover->raise();
  struct HideBusy {
    QWidget* cover;
    ~HideBusy() { cover->hide(); }
  } hideBusy{busyCover};
  // The grid goes on for the band's outlines; the check box keeps the user's choice, which
  // DRAW takes back.
  if (!EnterCrossSection(state_.view, state_.crossSectionMode, state_.savedViewAngles, mode))
    return;
  DrawTensor(kSectionResolution);
}

}  // namespace quillmere
