// TForm1: the DRAW command and the tensor panel's refresh; the build, projection and paint are
// the drawing area's (DrawingAreaController).
#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressBar>
#include <QScreen>

#include "app/file_commands.h"
#include "app/gui/drawing_area_controller.h"
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
  OnTriggered(menus_.DRAW1, [this] { DRAWClick(); });
  OnTriggered(menus_.SpeedDraw, [this] { DRAWClick(); });
}

void TForm1::DRAWClick() {
  if (componentEntry_->commitOpenGrid()) return;
  DrawShownTensor();
}

void TForm1::DrawShownTensor() {
  drawing_->ShowBusy(true);
  state_.view.showGrid = menus_.Grid1->isChecked();
  if (state_.crossSectionMode != kFullSurface)
    LeaveCrossSection(state_.view, state_.crossSectionMode, state_.savedViewAngles);
  TensorPanelWidget()->ShowDrawing(true);
  const ScopeExit idle([this] {
    TensorPanelWidget()->ShowDrawing(false);
    drawing_->ShowBusy(false);
  });
  FormActivate();
  const int before = drawing_->Builder().completedBuilds();
  drawing_->DrawTensor();
  // A surface with corners that are not numbers (a component that overflowed, a scale of
  // zero) is the invalid floating-point operation of this build.
  if (drawing_->Builder().completedBuilds() != before && drawing_->LastPicture().undrawable > 0)
    dialogs_.ShowMessage(kMathErrorMessage);
}

void TForm1::RefreshPanelLabels(const TensorPanelTexts& texts) {
  TensorPanelWidget()->ShowTexts(texts);
  PlaceOverlays();
}

void TForm1::Label11Click() {
  const TensorPanelTexts texts = PanelTextsOf(state_.tensor);
  RefreshPanelLabels(texts);
  menus_.axial1->setText(FromUtf8(texts.axialMenuCaption));
  // The readouts describe what is drawn: the extremes in the present power of ten, and the
  // scale legend painted again when its power of ten or unit text no longer match.
  ShowDrawnExtremes();
  if (drawing_->LegendOutdated()) drawing_->SetUpSurface();
  emit tensorPanelRefreshed(texts);
}

}  // namespace quillmere
