// The fit side of the main window: the transformation and fixed-direction panels and the ten
// items of Tools > Fit with the fit window they open.
#include "fit/gui/fit_panels_controller.h"

#include <QPushButton>
#include <algorithm>
#include <stdexcept>
#include <string>

#include "core/scope_exit.h"
#include "fit/gui/tform2.h"
#include "fit/property_kinds.h"

namespace quillmere {

namespace {

/// Centred at the top of the drawing area, clear of the tensor panel where there is room.
void PlaceAtTop(QWidget* panel, QWidget* area) {
  panel->adjustSize();
  const int x = std::max(0, (area->width() - panel->width()) / 2);
  panel->move(x, 8);
}

/// The row of the property table whose menu handler is `handler`.
const PropertyKind& KindOfHandler(const char* handler) {
  for (const PropertyKind& k : PropertyKinds())
    if (std::string(k.handler) == handler) return k;
  throw std::logic_error(std::string("no property kind for ") + handler);
}

}  // namespace

FitPanelsController::FitPanelsController(QWidget* area, QWidget* window,
                                         TransformPanelContext transform,
                                         FixedDirectionPanelContext directions,
                                         FitWindowContext fit, FitPanelsHooks hooks,
                                         QObject* parent)
    : QObject(parent), area_(area), window_(window), fit_(fit), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("FitPanels"));
  TransformPanelHooks transformHooks;
  transformHooks.commitOpenGrids = hooks_.commitOpenGrids;
  transformHooks.stringGrid1Click = hooks_.stringGrid1Click;
  transformHooks.refresh = hooks_.refresh;
  transformHooks.drawTensor = hooks_.drawTensor;
  groupBox4_ = new TransformPanel(area, transform, std::move(transformHooks));
  // "Apply" is one undo step of its own, named after the command.
  connect(groupBox4_->Button7, &QPushButton::clicked, this, [this] {
    hooks_.recordStep();
    hooks_.nameStep(QStringLiteral("Transform"));
    Guarded([this] { groupBox4_->Button7Click(); });
    hooks_.recordStep();
  });
  connect(groupBox4_->Button8, &QPushButton::clicked, this,
          [this] { Guarded([this] { groupBox4_->Button8Click(); }); });

  FixedDirectionPanelHooks directionHooks;
  directionHooks.drawTensor = hooks_.drawTensor;
  panel6_ = new FixedDirectionPanel(area, directions, std::move(directionHooks));
  connect(panel6_->OKButton, &QPushButton::clicked, this,
          [this] { Guarded([this] { panel6_->StringGrid3DblClick(); }); });
  connect(panel6_->StringGrid3, &EntryGrid::gridDoubleClicked, this,
          [this] { Guarded([this] { panel6_->StringGrid3DblClick(); }); });
  connect(panel6_->Button6, &QPushButton::clicked, this,
          [this] { Guarded([this] { panel6_->Button6Click(); }); });
}

void FitPanelsController::Transform1Click() {
  PlaceAtTop(groupBox4_, area_);
  groupBox4_->ransform1Click();
}

void FitPanelsController::FixedDirections1Click() {
  PlaceAtTop(panel6_, area_);
  panel6_->FixedDirections1Click();
}

void FitPanelsController::Pyroelectricconstants1Click() {
  OpenFit(KindOfHandler("Pyroelectricconstants1Click"));
}
void FitPanelsController::DielectricConstants1Click() {
  OpenFit(KindOfHandler("DielectricConstants1Click"));
}
void FitPanelsController::ThermalExpansion1Click() {
  OpenFit(KindOfHandler("ThermalExpansion1Click"));
}
void FitPanelsController::MagneticSusceptibilities1Click() {
  OpenFit(KindOfHandler("MagneticSusceptibilities1Click"));
}
void FitPanelsController::OpticalActivity1Click() {
  OpenFit(KindOfHandler("OpticalActivity1Click"));
}
void FitPanelsController::FaradayEffect1Click() {
  OpenFit(KindOfHandler("FaradayEffect1Click"));
}
void FitPanelsController::Electrostriction1Click() {
  OpenFit(KindOfHandler("Electrostriction1Click"));
}
void FitPanelsController::Piezoelectrics1Click() {
  OpenFit(KindOfHandler("Piezoelectrics1Click"));
}
void FitPanelsController::Electrogyration1Click() {
  OpenFit(KindOfHandler("Electrogyration1Click"));
}
void FitPanelsController::Halleffect1Click() {
  OpenFit(KindOfHandler("Halleffect1Click"));
}

TForm2* FitPanelsController::FitWindow() const {
  return fitWindow_.data();
}

bool FitPanelsController::BorrowsTensor() const {
  if (panel6_->isVisible() || openingFit_) return true;
  const TForm2* fit = FitWindow();
  return fit && !fit->fitApplied();
}

void FitPanelsController::RefreshFitUnit() {
  if (TForm2* fit = FitWindow()) fit->RefreshUnit();
}

void FitPanelsController::OpenFit(const PropertyKind& kind) {
  // OpenFitForKind: nothing while a window is open; otherwise the geometry and the tensor's
  // kind, axial flag, unit and scale, then the window's refresh and the new fit window.
  // Changes made before belong to a step of their own; from here until a fit is taken over
  // the window only borrows the tensor, which is no step.
  hooks_.recordStep();
  const TensorState before = *fit_.tensor;
  openingFit_ = true;
  const ScopeExit opened([this] { openingFit_ = false; });
  if (!OpenFitForKind(*fit_.tensor, *fit_.session, kind)) {
    // The open window may lie hidden behind others: it comes to the front, unchanged.
    if (TForm2* open = FitWindow()) {
      open->showNormal();
      open->raise();
      open->activateWindow();
    }
    return;
  }
  hooks_.refresh();

  FitWindowHooks hooks;
  hooks.refresh = hooks_.refresh;
  hooks.fitTaken = [this] { hooks_.nameStep(QStringLiteral("Fit")); };
  hooks.toggleUnitEditor = hooks_.toggleUnitEditor;
  hooks.place = hooks_.placeBeside;
  auto* window = new TForm2(*fit_.tensor, *fit_.session, *fit_.services, *fit_.dialogs,
                            std::move(hooks), window_);
  fitWindow_ = window;
  // A fit taken over is one undo step.
  connect(window->Button2, &QPushButton::clicked, this, [this] { hooks_.recordStep(); });
  // Closed before any fit reached the tensor, the window only borrowed it: the tensor the main
  // window showed before comes back, with its kind, symmetry, unit, components and drawing.
  connect(window, &TForm2::fitClosed, this, [this, window, before] {
    if (window->fitApplied()) return;
    Guarded([this, &before] {
      *fit_.tensor = before;
      hooks_.tensorReplaced();
      hooks_.refresh();
      hooks_.drawTensor();
    });
  });
  window->FormCreate();
}

}  // namespace quillmere
