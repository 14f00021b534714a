// TForm1: the routing of the fit side — "Transform", "&Fixed Directions" and the ten items of
// Tools > Fit run the handlers of FitPanelsController, which opens the fit window beside this
// window.
#include <QAction>
#include <QScreen>
#include <algorithm>

#include "app/gui/drawing_area_controller.h"
#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "fit/gui/fit_panels_controller.h"
#include "tensor/gui/component_entry_controller.h"

namespace quillmere {

void TForm1::ConnectFitCommands() {
  FitPanelsHooks hooks;
  hooks.commitOpenGrids = [this] {
    componentEntry_->commitOpenGrid();
    return !componentEntry_->componentGridShown() && !componentEntry_->independentGridShown();
  };
  hooks.stringGrid1Click = [this] { componentEntry_->StringGrid1Click(); };
  hooks.refresh = [this] { Label11Click(); };
  hooks.drawTensor = [this] { drawing_->DrawTensor(); };
  hooks.toggleUnitEditor = [this] { componentEntry_->Edit1Change(); };
  hooks.recordStep = [this] { RecordStep(); };
  hooks.nameStep = [this](const QString& name) { stepName_ = name; };
  hooks.guarded = [this](const std::function<void()>& handler) { Guarded(handler); };
  hooks.tensorReplaced = [this] { emit tensorReplaced(); };
  hooks.placeBeside = [this](QWidget* w) {
    // Beside the main window, wholly on its screen: on its right when the screen has room,
    // else on its left, else as far right as the screen allows. The window manager's frame is
    // not known before the window is shown; it is taken to be the main window's.
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : frame;
    const QSize decoration = frame.size() - inner.size();
    const QSize size = w->size() + decoration.expandedTo(QSize(0, 0));
    int x = frame.right() + 8;
    if (x + size.width() > screen.right() + 1) x = frame.left() - 8 - size.width();
    if (x < screen.left()) x = screen.right() + 1 - size.width();
    x = std::clamp(x, screen.left(), std::max(screen.left(), screen.right() + 1 - size.width()));
    const int y = std::clamp(frame.top(), screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - size.height()));
    w->move(x, y);
  };
  auto* f = new FitPanelsController(
      surfaceArea, this,
      TransformPanelContext{&state_.tensor, &state_.transformMatrix, &state_.services},
      FixedDirectionPanelContext{&state_.evaluation, &state_.services, &state_.componentsTyped,
                                 &state_.editingInPanel},
      FitWindowContext{&state_.tensor, &state_.fitSession, &state_.services, &dialogs_},
      std::move(hooks), this);
  fitPanels_ = f;
  // The unit shown in the fit window follows every refresh of the tensor panel (the main
  // window's own unit editor and spin button included).
  connect(this, &TForm1::tensorPanelRefreshed, f, [f] { f->RefreshFitUnit(); });

  OnTriggered(menus_.Transform1, [f] { f->Transform1Click(); });
  OnTriggered(menus_.FixedDirections1, [f] { f->FixedDirections1Click(); });
  const std::pair<QAction*, void (FitPanelsController::*)()> items[] = {
      {menus_.Pyroelectricconstants1, &FitPanelsController::Pyroelectricconstants1Click},
      {menus_.DielectricConstants1, &FitPanelsController::DielectricConstants1Click},
      {menus_.ThermalExpansion1, &FitPanelsController::ThermalExpansion1Click},
      {menus_.MagneticSusceptibilities1, &FitPanelsController::MagneticSusceptibilities1Click},
      {menus_.OpticalActivity1, &FitPanelsController::OpticalActivity1Click},
      {menus_.FaradayEffect1, &FitPanelsController::FaradayEffect1Click},
      {menus_.Electrostriction1, &FitPanelsController::Electrostriction1Click},
      {menus_.Piezoelectrics1, &FitPanelsController::Piezoelectrics1Click},
      {menus_.Electrogyration1, &FitPanelsController::Electrogyration1Click},
      {menus_.Halleffect1, &FitPanelsController::Halleffect1Click},
  };
  for (const auto& [action, handler] : items) OnTriggered(action, [f, h = handler] { (f->*h)(); });
}

}  // namespace quillmere
