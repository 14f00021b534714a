// The view controls of the main window: the drawing-utilities panel, the caption-style group,
// the mouse, wheel and keys of the drawing area and the view commands of the menus.
#include "surface/gui/view_controls_controller.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>

#include "core/scope_exit.h"
#include "platform/dialogs.h"
#include "surface/cross_section.h"
#include "surface/gui/drawing_utilities_panel.h"
#include "surface/view_settings.h"

namespace quillmere {

namespace {

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

ViewControlsController::ViewControlsController(QWidget* area, ViewControlsContext context,
                                               ViewControlsHooks hooks, QObject* parent)
    : QObject(parent), area_(area), ctx_(context), hooks_(std::move(hooks)), view_(*ctx_.view) {
  setObjectName(QStringLiteral("ViewControls"));
  utilities_ = new DrawingUtilitiesPanel(area);
  utilities_->setAutoFillBackground(true);
  utilities_->adjustSize();
  utilities_->move(4, 4);
  utilities_->hide();  // shown with the working window
  utilities_->ShowSwitches(view_.showGrid, view_.showAxes, view_.fillPatches, view_.showScale);
  CreateAxesStyleGroup();
  ConnectPanel();
}

void ViewControlsController::CreateAxesStyleGroup() {
  axesStyle_ = new QGroupBox(QStringLiteral("Change Axes Style"), area_);
  axesStyle_->setObjectName(QStringLiteral("AxesStyleGroup"));
  axesStyle_->setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(axesStyle_);
  const char* captions[3] = {"x, y, z", "a, b, c", "e1, e2, e3"};
  for (int style = 1; style <= 3; ++style) {
    auto* b = new QRadioButton(QString::fromLatin1(captions[style - 1]), axesStyle_);
    b->setObjectName(QStringLiteral("AxesStyle%1").arg(style));
    b->setChecked(view_.axesCaptionStyle == style);
    layout->addWidget(b);
    connect(b, &QRadioButton::toggled, this, [this, style](bool on) {
      if (on) view_.axesCaptionStyle = style;  // used at the next build
    });
  }
  auto* close = new QPushButton(QStringLiteral("close"), axesStyle_);
  close->setObjectName(QStringLiteral("AxesStyleClose"));
  layout->addWidget(close);
  connect(close, &QPushButton::clicked, axesStyle_, &QWidget::hide);
  axesStyle_->adjustSize();
  // Wide enough for its title, which the layout alone does not take into account.
  axesStyle_->resize(
      std::max(axesStyle_->width(),
               axesStyle_->fontMetrics().horizontalAdvance(axesStyle_->title()) + 24),
      axesStyle_->height());
  axesStyle_->hide();
}

void ViewControlsController::ConnectPanel() {
  DrawingUtilitiesPanel* p = utilities_;
  // Sliders: the value goes into the view at once; the panel restarts the timers.
  connect(p, &DrawingUtilitiesPanel::alphaChanged, this,
          [this](int pos) { view_.angleY = AngleYFromAlphaSlider(pos); });
  connect(p, &DrawingUtilitiesPanel::betaChanged, this,
          [this](int pos) { view_.angleX = AngleXFromBetaSlider(pos); });
  connect(p, &DrawingUtilitiesPanel::gammaChanged, this,
          [this](int pos) { view_.angleZ = AngleZFromGammaSlider(pos); });
  connect(p, &DrawingUtilitiesPanel::resolutionChanged, this,
          [this](int pos) { view_.resolution = pos; });
  connect(p, &DrawingUtilitiesPanel::perspectiveChanged, this,
          [this](int pos) { view_.eyeDistance = EyeDistanceFromPerspectiveSlider(pos); });
  connect(p, &DrawingUtilitiesPanel::redrawDue, this, [this] { Guarded(hooks_.reproject); });
  connect(p, &DrawingUtilitiesPanel::rebuildDue, this, [this] { Guarded(hooks_.draw); });

  // Spin buttons. A larger scale draws a smaller surface.
  connect(p, &DrawingUtilitiesPanel::sizeDown, this, [this] {
    Guarded([this] {
      view_.zoom *= 0.9L;
      hooks_.reproject();
    });
  });
  connect(p, &DrawingUtilitiesPanel::sizeUp, this, [this] {
    Guarded([this] {
      view_.zoom *= 1.2L;
      hooks_.reproject();
    });
  });
  connect(p, &DrawingUtilitiesPanel::fineScaleDown, this, [this] {
    ctx_.tensor->scale *= 1.1L;
    hooks_.scaleDrawnQuantity(1.1L);
    RestartRebuildTimer();
  });
  connect(p, &DrawingUtilitiesPanel::fineScaleUp, this, [this] {
    ctx_.tensor->scale *= 0.9L;
    hooks_.scaleDrawnQuantity(0.9L);
    RestartRebuildTimer();
  });
  connect(p, &DrawingUtilitiesPanel::unitDown, this, [this] {
    Guarded([this] {
      ctx_.tensor->scale /= 10;
      hooks_.scaleDrawnQuantity(0.1L);
      hooks_.refresh();
      RestartRebuildTimer();
    });
  });
  connect(p, &DrawingUtilitiesPanel::unitUp, this, [this] {
    Guarded([this] {
      ctx_.tensor->scale *= 10;
      hooks_.scaleDrawnQuantity(10);
      hooks_.refresh();
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
  connect(p, &DrawingUtilitiesPanel::backgroundClicked, this,
          [this] { Guarded([this] { DrawingUtilities1Click(); }); });
}

// ---- Mouse and keys -------------------------------------------------------------------------

void ViewControlsController::FormMouseDown(QMouseEvent* event) {
  if (event->modifiers() & Qt::AltModifier) return;
  const QPoint at = event->position().toPoint();
  // A drag continues from the view as it is now, whatever turned it since the last drag (keys,
  // sliders, angle boxes, Reset View).
  EndDrag(dragOffsets_, view_);
  BeginDrag(dragOrigin_, at.x(), at.y(), area_->width(), area_->height());
}

void ViewControlsController::FormMouseUp(QMouseEvent* event) {
  if (event->modifiers() & Qt::AltModifier) return;
  EndDrag(dragOffsets_, view_);
}

void ViewControlsController::FormMouseMove(QMouseEvent* event) {
  ViewSettings& view = view_;
  const QPoint at = event->position().toPoint();
  const int w = area_->width();
  const int h = area_->height();
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
      ZoomStep(view, dragOrigin_, at.y());
      lastZoomStep = now;
      changed = true;
    }
  }
  if (buttons & Qt::LeftButton) {
    DragTurn(view, dragOrigin_, dragOffsets_, at.x(), at.y(), w, h);
    ShowViewAngles();
    changed = true;
    zoomOnly = false;
  }
  if (keys & Qt::ControlModifier) {
    LightFromPointer(view, at.x(), at.y(), w, h);
    utilities_->ShowGammaPosition(GammaSliderFromAngleZ(view.angleZ));
    changed = true;
    zoomOnly = false;
  }
  if (!changed) {
    hooks_.pointerOver(at);
    return;
  }
  hooks_.pointerOver(std::nullopt);
  if (zoomOnly) {
    try {
      hooks_.reproject();
    } catch (...) {
      // A zoom step that cannot be projected keeps the last picture: the drag's next step tries
      // again, and a message for each step would stop the drag.
    }
  } else {
    hooks_.reproject();
  }
}

void ViewControlsController::FormMouseWheel(QWheelEvent* event) {
  const int eighths = event->angleDelta().y();
  if (eighths == 0) return;
  WheelZoom(view_, eighths);
  hooks_.reproject();
}

bool ViewControlsController::FormKeyPress(const QString& text) {
  if (text.size() != 1 || *ctx_.editingInPanel) return false;
  const QWidget* independentGrid = area_->findChild<QWidget*>(QStringLiteral("StringGrid2"));
  if (independentGrid && independentGrid->isVisible()) return false;
  const QChar c = text.front();
  if (c.unicode() > 0x7f || !TurnByKey(view_, static_cast<char>(c.unicode()))) return false;
  ShowViewAngles();
  hooks_.reproject();
  return true;
}

void ViewControlsController::ShowViewAngles() {
  const ViewSettings& v = view_;
  utilities_->ShowAnglePositions(AlphaSliderFromAngleY(v.angleY), BetaSliderFromAngleX(v.angleX),
                                 GammaSliderFromAngleZ(v.angleZ));
}

void ViewControlsController::RestartRebuildTimer() {
  utilities_->RestartRebuildTimer();
}

// ---- Switches -------------------------------------------------------------------------------

void ViewControlsController::AfterSwitch(ViewRedraw redraw) {
  MirrorSwitches();
  if (redraw == ViewRedraw::kReproject) hooks_.reproject();
  if (redraw == ViewRedraw::kRebuild) hooks_.rebuild(std::nullopt);
}

// The check boxes and the menu items show the view's switches after every change, so either
// control can be clicked next.
void ViewControlsController::MirrorSwitches() {
  utilities_->ShowSwitches(view_.showGrid, view_.showAxes, view_.fillPatches, view_.showScale);
  hooks_.viewStateChanged();
}

void ViewControlsController::SetGrid(bool on) {
  AfterSwitch(SetGridSwitch(view_, on));
}

void ViewControlsController::SetAxes(bool on) {
  AfterSwitch(SetAxesSwitch(view_, on));
}

void ViewControlsController::SetFill(bool on) {
  AfterSwitch(SetFillSwitch(view_, on));
}

void ViewControlsController::SetScale(bool on) {
  view_.showScale = on;
  MirrorSwitches();
  hooks_.reproject();
}

// ---- View menu ------------------------------------------------------------------------------

void ViewControlsController::Stereo1Click() {
  ViewSettings& v = view_;
  v.stereo = !v.stereo;
  if (v.stereo) utilities_->hide();
  hooks_.viewStateChanged();
  hooks_.reproject();
}

void ViewControlsController::Palette1Click() {
  view_.paletteMode = !view_.paletteMode;
  hooks_.viewStateChanged();
  hooks_.reproject();
}

void ViewControlsController::DrawingUtilities1Click() {
  ShowDrawingUtilities(utilities_->isHidden());
}

void ViewControlsController::ShowDrawingUtilities(bool shown) {
  utilities_->setVisible(shown);
  if (shown) utilities_->raise();
  hooks_.viewStateChanged();
}

void ViewControlsController::LockScale1Click() {
  ctx_.tensor->autoScale = !ctx_.tensor->autoScale;
}

void ViewControlsController::ResetView1Click() {
  ViewSettings& v = view_;
  ResetView(v);
  MirrorSwitches();
  if (auto* b = axesStyle_->findChild<QRadioButton*>(
          QStringLiteral("AxesStyle%1").arg(v.axesCaptionStyle)))
    b->setChecked(true);
  // Set as the user would: a slider that moves writes its whole-degree angle (so beta away
  // from -25 gives angleX = 115 degrees) and restarts its timer.
  utilities_->alphaSlider()->setValue(kStartAlphaSlider);
  utilities_->betaSlider()->setValue(kStartBetaSlider);
  utilities_->gammaSlider()->setValue(kStartGammaSlider);
  utilities_->resolutionSlider()->setValue(kStartResolutionSlider);
  // The eye distance is back at 50, so the perspective slider shows 7 again; left where it was
  // it would show a perspective that is not drawn.
  utilities_->perspectiveSlider()->setValue(kStartPerspectiveSlider);
  *ctx_.firstActivation = true;
  hooks_.rebuild(std::nullopt);
}

// ---- Colours, font, captions ----------------------------------------------------------------

void ViewControlsController::PositiveFillColor1Click() {
  if (auto c = ctx_.dialogs->ChooseColour(AsQColor(view_.positiveFill))) {
    view_.positiveFill = FromQColor(*c);
    *ctx_.firstActivation = true;
    hooks_.rebuild(std::nullopt);
  }
}

void ViewControlsController::NegativeFillColor1Click() {
  if (auto c = ctx_.dialogs->ChooseColour(AsQColor(view_.negativeFill))) {
    view_.negativeFill = FromQColor(*c);
    *ctx_.firstActivation = true;
    hooks_.rebuild(std::nullopt);
  }
}

void ViewControlsController::PositiveLineColor1Click() {
  if (auto c = ctx_.dialogs->ChooseColour(AsQColor(view_.positiveLine)))
    view_.positiveLine = FromQColor(*c);  // used at the next build
}

void ViewControlsController::NegativeLineColor1Click() {
  if (auto c = ctx_.dialogs->ChooseColour(AsQColor(view_.negativeLine)))
    view_.negativeLine = FromQColor(*c);
}

void ViewControlsController::BackgroundColor1Click() {
  if (auto c = ctx_.dialogs->ChooseColour(AsQColor(view_.background))) {
    view_.background = ChosenBackground(FromQColor(*c));
    hooks_.reproject();
  }
}

void ViewControlsController::AxesColor1Click() {
  if (auto c = ctx_.dialogs->ChooseColour(AsQColor(view_.axesColour))) {
    view_.axesColour = FromQColor(*c);
    RestartRebuildTimer();
  }
}

void ViewControlsController::TextStyle1Click() {
  ViewSettings& v = view_;
  const LabelFont current = v.useAxesFont ? v.axesFont : BuiltInLabelFont();
  if (auto f = ctx_.dialogs->ChooseFont(AsQFont(current))) {
    v.axesFont = FromQFont(*f, current.colour);
    v.useAxesFont = true;
    hooks_.reproject();
  }
}

void ViewControlsController::ChangeAxesCaption1Click() {
  const bool show = axesStyle_->isHidden();
  if (show) {
    const int x = utilities_->isVisible() ? utilities_->geometry().right() + 8 : 8;
    axesStyle_->move(x, 8);
    axesStyle_->raise();
  }
  axesStyle_->setVisible(show);
}

// ---- Cross-sections -------------------------------------------------------------------------

void ViewControlsController::Cross_section(int mode) {
  hooks_.showBusy(true);
  const ScopeExit notBusy([this] { hooks_.showBusy(false); });
  // The grid goes on for the band's outlines; the check box keeps the user's choice, which
  // DRAW takes back.
  if (!EnterCrossSection(view_, *ctx_.crossSectionMode, *ctx_.savedViewAngles, mode)) return;
  hooks_.rebuild(kSectionResolution);
}

}  // namespace quillmere
