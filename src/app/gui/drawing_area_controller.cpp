// The drawing area of the main window: the build of the scene, its projection and its paint.
#include "app/gui/drawing_area_controller.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <algorithm>

#include "app/gui/surface_area.h"
#include "app/program_state.h"
#include "core/scope_exit.h"
#include "surface/pointer_readout.h"
#include "surface/qt/picture_bytes.h"
#include "surface/qt/picture_clipboard.h"
#include "surface/qt/qpainter_canvas.h"

namespace quillmere {

DrawingAreaController::DrawingAreaController(ProgramState& state, QWidget* window,
                                             DrawingAreaHooks hooks, QObject* parent)
    : QObject(parent), state_(state), hooks_(std::move(hooks)), builder_(state.scene) {
  setObjectName(QStringLiteral("DrawingArea"));
  area_ = new SurfaceArea(window);
  area_->setObjectName(QStringLiteral("SurfaceArea"));
  // SceneBitmap starts as a small picture of the background until the first paint.
  const Colour bg = state_.view.background;
  SceneBitmap() = MakePictureImage(16, 16);
  SceneBitmap().fill(QColor(bg.red, bg.green, bg.blue));

  progressBar_ = new QProgressBar(area_);
  progressBar_->setObjectName(QStringLiteral("ProgressBar"));
  progressBar_->setTextVisible(false);
  progressBar_->setMaximum(1);
  progressBar_->hide();
  busyCover_ = new QLabel(QStringLiteral("Busy"), area_);
  busyCover_->setObjectName(QStringLiteral("BusyCover"));
  busyCover_->setAlignment(Qt::AlignCenter);
  busyCover_->setAutoFillBackground(true);
  busyCover_->setFrameShape(QFrame::Panel);
  busyCover_->hide();
}

QImage& DrawingAreaController::SceneBitmap() {
  return area_->sceneBitmap();
}

void DrawingAreaController::PlaceProgressArea() {
  const int w = area_->width();
  const int h = area_->height();
  progressBar_->setGeometry(8, std::max(0, h - 22), std::min(200, std::max(0, w - 16)), 14);
  busyCover_->setGeometry(8, std::max(0, h - 44), 60, 20);
}

void DrawingAreaController::ShowBusy(bool busy) {
  busyCover_->setVisible(busy);
  if (busy) busyCover_->raise();
}

void DrawingAreaController::RebuildPalette() {
  displayPalette_ = BuildDisplayPalette(state_.view.positiveFill, state_.view.negativeFill);
}

bool DrawingAreaController::LegendOutdated() const {
  return paintedUnit_ && !builder_.busy() &&
         *paintedUnit_ != std::make_pair(DecadeExponent(state_.DrawnTensor().scale),
                                         state_.DrawnTensor().unitText);
}

std::string DrawingAreaController::PointerReadoutAt(QPoint at) {
  // Only a picture of the area's present size shows the scene as it is projected now; while a
  // build or a resize is pending nothing is named.
  const QImage& picture = SceneBitmap();
  const QSizeF logical = picture.deviceIndependentSize();
  if (builder_.busy() || picture.isNull() ||
      QSize(static_cast<int>(logical.width()), static_cast<int>(logical.height())) != area_->size())
    return {};
  const Real ratio = picture.devicePixelRatio();
  const TensorState& drawn = state_.DrawnTensor();
  // The pointer's position names the centre of its device pixel.
  const std::optional<PointedSurface> under = SurfaceUnderPoint(
      state_.scene, state_.view, PicturePlace{area_->width(), area_->height(), ratio},
      state_.crossSectionMode, drawn, state_.evaluation, (at.x() + 0.5L) * ratio,
      (at.y() + 0.5L) * ratio);
  return under ? PointerReadoutText(*under, DecadeExponent(drawn.scale), drawn.unitText,
                                    state_.services.decimalSeparator)
               : std::string();
}

void DrawingAreaController::DrawTensor(std::optional<int> resolution) {
  hooks_.beforeBuild();
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
  callbacks.refreshTensorDisplay = hooks_.showDrawnUnit;
  callbacks.progress = [this](int value, int maximum) {
    progressBar_->setMaximum(maximum);
    progressBar_->setValue(value);
  };
  progressBar_->show();
  progressBar_->raise();
  // A build asked for while one runs (from an event let through by it) is remembered by the
  // builder and runs once the running one has ended.
  const ScopeExit hideProgress([this] {
    if (!builder_.busy()) progressBar_->hide();
  });
  builder_.Build(inputs, callbacks, [this] {
    hooks_.afterBuild();
    SetUpSurface();
  });
}

void DrawingAreaController::SetUpSurface() {
  ShowBusy(true);
  const ScopeExit notBusy([this] { ShowBusy(false); });
  progressBar_->setMaximum(std::max(1, RenderProgressSteps(state_.scene, state_.view)));
  progressBar_->setValue(0);
  progressBar_->show();
  progressBar_->raise();
  DrawOnCanvas();
}

void DrawingAreaController::PaintOntoClipboard() {
  copyToClipboard_ = true;
  const ScopeExit off([this] { copyToClipboard_ = false; });
  SetUpSurface();
}

void DrawingAreaController::DrawOnCanvas() {
  hooks_.activate();
  QImage& bitmap = SceneBitmap();
  const QSize size = area_->size().expandedTo(QSize(1, 1));
  // The picture has the area's size in logical pixels and is painted at the screen's device
  // pixels, so that it is sharp on a scaled screen; W and H stay logical.
  const double ratio = area_->devicePixelRatioF();
  PaintAtPixelRatio(bitmap, size.width(), size.height(), ratio, [&](Canvas& canvas) {
    RenderOptions options;
    options.crossSectionMode = state_.crossSectionMode;
    options.decimalSeparator = state_.services.decimalSeparator;
    options.paint.progress = [this](int steps) { progressBar_->setValue(steps); };
    // Only a display of at most 256 colours matches palette colours to the display palette.
    const QScreen* screen = area_->screen();
    if (screen && screen->depth() <= 8) options.paint.palette = &displayPalette_;
    lastPicture_ = RenderPicture(state_.scene, state_.view, state_.DrawnTensor(), canvas, options);
  });
  paintedUnit_ =
      std::make_pair(DecadeExponent(state_.DrawnTensor().scale), state_.DrawnTensor().unitText);
  hooks_.activate();
  hooks_.pictureChanged();
  area_->update();
  if (copyToClipboard_) PutImageOnClipboard(bitmap);
  progressBar_->hide();
  progressBar_->setMaximum(1);
}

}  // namespace quillmere
