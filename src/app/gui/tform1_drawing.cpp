// TForm1: the drawing — the rebuild of the scene (DrawTensor), the re-projection and paint into
// SceneBitmap (SetUpSurface, DrawOnCanvas), the DRAW command and the tensor panel's refresh.
#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>

#include "app/file_commands.h"
#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "core/scope_exit.h"
#include "platform/dialogs.h"
#include "surface/cross_section.h"
#include "surface/qt/picture_clipboard.h"
#include "surface/qt/qpainter_canvas.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/tensor_panel.h"

namespace quillmere {

void TForm1::ConnectDrawingCommands() {
  OnTriggered(DRAW1, [this] { DRAWClick(); });
  OnTriggered(SpeedDraw, [this] { DRAWClick(); });
}

void TForm1::DrawTensor(std::optional<int> resolution) {
  UpdateDrawnQuantity();
  SceneInputs inputs;
  inputs.tensor = &state_.DrawnTensor();
  inputs.evaluation = &state_.evaluation;
  inputs.view = &state_.view;
  inputs.crossSectionMode = state_.crossSectionMode;
  // The resolution travels with the request, so that a build asked for while another runs is
  // made at the resolution it was asked for; a section is always built finely.
  inputs.resolution = resolution;
  if (!inputs.resolution && state_.crossSectionMode != kFullSurface)
    inputs.resolution = kSectionResolution;

  BuildCallbacks callbacks;
  callbacks.processEvents = [] { QCoreApplication::processEvents(); };
  callbacks.eventInterval = buildEventInterval;
  // The panel's power of ten and unit are those of what is drawn.
  callbacks.refreshTensorDisplay = [this] {
    RefreshPanelLabels(PanelTextsOf(state_.DrawnTensor()));
  };
  callbacks.progress = [this](int value, int maximum) {
    progressBar->setMaximum(maximum);
    progressBar->setValue(value);
  };
  progressBar->show();
  progressBar->raise();
  // A build asked for while one runs (from an event let through by it) is remembered by the
  // builder and runs once the running one has ended.
  const ScopeExit hideProgress([this] {
    if (!builder_.busy()) progressBar->hide();
  });
  builder_.Build(inputs, callbacks, [this] {
    ShowExtremesAfterBuild();
    SetUpSurface();
  });
}

void TForm1::SetUpSurface() {
  ShowBusy(true);
  const ScopeExit notBusy([this] { ShowBusy(false); });
  progressBar->setMaximum(std::max(1, RenderProgressSteps(state_.scene, state_.view)));
  progressBar->setValue(0);
  progressBar->show();
  progressBar->raise();
  DrawOnCanvas();
}

void TForm1::DrawOnCanvas() {
  FormActivate();
  QImage& bitmap = SceneBitmap();
  const QSize size = surfaceArea->size().expandedTo(QSize(1, 1));
  // The picture has the area's size in logical pixels and is painted at the screen's device
  // pixels, so that it is sharp on a scaled screen; W and H stay logical.
  const double ratio = surfaceArea->devicePixelRatioF();
  PaintAtPixelRatio(bitmap, size.width(), size.height(), ratio, [&](Canvas& canvas) {
    RenderOptions options;
    options.crossSectionMode = state_.crossSectionMode;
    options.decimalSeparator = state_.services.decimalSeparator;
    options.paint.progress = [this](int steps) { progressBar->setValue(steps); };
    // Only a display of at most 256 colours matches palette colours to the display palette.
    const QScreen* screen = this->screen();
    if (screen && screen->depth() <= 8) options.paint.palette = &displayPalette_;
    lastPicture_ = RenderPicture(state_.scene, state_.view, state_.DrawnTensor(), canvas, options);
  });
  paintedUnit_ =
      std::make_pair(DecadeExponent(state_.DrawnTensor().scale), state_.DrawnTensor().unitText);
  FormActivate();
  if (pointerReadout) pointerReadout->clear();  // it named a point of the previous picture
  surfaceArea->update();
  if (copyBitmapToClipboard_) PutImageOnClipboard(bitmap);
  progressBar->hide();
  progressBar->setMaximum(1);
}

void TForm1::DRAWClick() {
  if (componentEntry_->commitOpenGrid()) return;
  DrawShownTensor();
}

void TForm1::DrawShownTensor() {
  ShowBusy(true);
  state_.view.showGrid = Grid1->isChecked();
  if (state_.crossSectionMode != kFullSurface)
    LeaveCrossSection(state_.view, state_.crossSectionMode, state_.savedViewAngles);
  TensorPanelWidget()->ShowDrawing(true);
  const ScopeExit idle([this] {
    TensorPanelWidget()->ShowDrawing(false);
    ShowBusy(false);
  });
  FormActivate();
  const int before = builder_.completedBuilds();
  DrawTensor();
  // A surface with corners that are not numbers (a component that overflowed, a scale of
  // zero) is the invalid floating-point operation of this build.
  if (builder_.completedBuilds() != before && lastPicture_.undrawable > 0)
    dialogs_.ShowMessage(kMathErrorMessage);
}

void TForm1::RefreshPanelLabels(const TensorPanelTexts& texts) {
  TensorPanelWidget()->ShowTexts(texts);
  PlaceOverlays();
}

void TForm1::Label11Click() {
  const TensorPanelTexts texts = PanelTextsOf(state_.tensor);
  RefreshPanelLabels(texts);
  axial1->setText(FromUtf8(texts.axialMenuCaption));
  // The readouts describe what is drawn: the extremes in the present power of ten, and the
  // scale legend painted again when its power of ten or unit text no longer match.
  ShowDrawnExtremes();
  if (paintedUnit_ && !builder_.busy() &&
      *paintedUnit_ !=
          std::make_pair(DecadeExponent(state_.DrawnTensor().scale), state_.DrawnTensor().unitText))
    SetUpSurface();
  emit tensorPanelRefreshed(texts);
}

}  // namespace quillmere
