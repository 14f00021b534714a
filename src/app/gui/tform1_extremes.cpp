// TForm1: the extremes of the surface on the tensor panel and as arrows in the scene, and the
// projection-map window beside the main window.
#include <QAction>
#include <QScreen>
#include <algorithm>

#include "app/gui/drawing_area_controller.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "platform/dialogs.h"
#include "surface/derived_surface.h"
#include "surface/extreme_marks.h"
#include "surface/gui/projection_map_window.h"
#include "tensor/gui/tensor_panel.h"

namespace quillmere {

void TForm1::ConnectExtremes() {
  OnTriggered(menus_.ProjectionMap1, [this] { ProjectionMap1Click(); });
  OnTriggered(menus_.ShowExtremes1, [this] { drawing_->DrawTensor(); });
}

void TForm1::ShowExtremesAfterBuild() {
  const SurfaceExtremes x = FindShownExtremes(state_.DrawnTensor(), state_.evaluation);
  const char separator = state_.services.decimalSeparator;
  drawnExtremes_ = x;
  ShowDrawnExtremes();
  if (menus_.ShowExtremes1->isChecked() && state_.crossSectionMode == kFullSurface)
    AppendExtremeMarks(state_.scene, x, state_.DrawnTensor(), state_.view);
  if (projectionMap && projectionMap->isVisible())
    projectionMap->ShowTensor(state_.DrawnTensor(), state_.evaluation, state_.view.axesCaptionStyle,
                              separator);
  PlaceOverlays();
}

void TForm1::ShowDrawnExtremes() {
  // The extremes of the surface drawn, in the power of ten the panel shows now; a surface that
  // is zero has none to name.
  if (!drawnExtremes_) return;
  if (drawnExtremes_->zero) {
    TensorPanelWidget()->ShowExtremes(FromUtf8(kMsgZeroSurface));
    return;
  }
  const int exponent = DecadeExponent(state_.DrawnTensor().scale);
  const char separator = state_.services.decimalSeparator;
  TensorPanelWidget()->ShowExtremes(
      FromUtf8(ExtremePanelText("max", drawnExtremes_->largest, exponent, separator) + "\n" +
               ExtremePanelText("min", drawnExtremes_->smallest, exponent, separator)));
}

void TForm1::ProjectionMap1Click() {
  if (!projectionMap) {
    projectionMap = new ProjectionMapWindow(dialogs_, this);
    // Beside the main window, on its right where the screen has room, else at the screen's
    // right edge.
    const QRect frame = frameGeometry();
    int x = frame.right() + 8;
    if (const QScreen* s = screen()) {
      const QRect room = s->availableGeometry();
      if (x + projectionMap->width() > room.right())
        x = std::max(room.left(), room.right() - projectionMap->width() - 8);
    }
    projectionMap->move(x, frame.top());
  }
  projectionMap->ShowTensor(state_.DrawnTensor(), state_.evaluation, state_.view.axesCaptionStyle,
                            state_.services.decimalSeparator);
  projectionMap->show();
  projectionMap->raise();
  projectionMap->activateWindow();
}

}  // namespace quillmere
