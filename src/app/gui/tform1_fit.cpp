// TForm1: the ten items of Tools > Fit. Each prepares the tensor for its property kind (kind,
// axial, unit text, scale and the measuring geometry), refreshes the window and opens the fit
// window beside it; while a fit window is open the items change nothing.
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "core/scope_exit.h"
#include "fit/gui/tform2.h"
#include "fit/property_kinds.h"
#include "platform/dialogs.h"
#include "tensor/gui/component_entry_controller.h"

namespace quillmere {

namespace {

/// The row of the property table whose menu handler is `handler`.
const PropertyKind& KindOfHandler(const char* handler) {
  for (const PropertyKind& k : PropertyKinds())
    if (std::string(k.handler) == handler) return k;
  throw std::logic_error(std::string("no property kind for ") + handler);
}

}  // namespace

void TForm1::ConnectFitCommands() {
  const std::pair<QAction*, void (TForm1::*)()> items[] = {
      {Pyroelectricconstants1, &TForm1::Pyroelectricconstants1Click},
      {DielectricConstants1, &TForm1::DielectricConstants1Click},
      {ThermalExpansion1, &TForm1::ThermalExpansion1Click},
      {MagneticSusceptibilities1, &TForm1::MagneticSusceptibilities1Click},
      {OpticalActivity1, &TForm1::OpticalActivity1Click},
      {FaradayEffect1, &TForm1::FaradayEffect1Click},
      {Electrostriction1, &TForm1::Electrostriction1Click},
      {Piezoelectrics1, &TForm1::Piezoelectrics1Click},
      {Electrogyration1, &TForm1::Electrogyration1Click},
      {Halleffect1, &TForm1::Halleffect1Click},
  };
  for (const auto& [action, handler] : items)
    OnTriggered(action, [this, h = handler] { (this->*h)(); });
}

void TForm1::Pyroelectricconstants1Click() {
  OpenFit(KindOfHandler("Pyroelectricconstants1Click"));
}
void TForm1::DielectricConstants1Click() {
  OpenFit(KindOfHandler("DielectricConstants1Click"));
}
void TForm1::ThermalExpansion1Click() {
  OpenFit(KindOfHandler("ThermalExpansion1Click"));
}
void TForm1::MagneticSusceptibilities1Click() {
  OpenFit(KindOfHandler("MagneticSusceptibilities1Click"));
}
void TForm1::OpticalActivity1Click() {
  OpenFit(KindOfHandler("OpticalActivity1Click"));
}
void TForm1::FaradayEffect1Click() {
  OpenFit(KindOfHandler("FaradayEffect1Click"));
}
void TForm1::Electrostriction1Click() {
  OpenFit(KindOfHandler("Electrostriction1Click"));
}
void TForm1::Piezoelectrics1Click() {
  OpenFit(KindOfHandler("Piezoelectrics1Click"));
}
void TForm1::Electrogyration1Click() {
  OpenFit(KindOfHandler("Electrogyration1Click"));
}
void TForm1::Halleffect1Click() {
  OpenFit(KindOfHandler("Halleffect1Click"));
}

TForm2* TForm1::FitWindow() const {
  return static_cast<TForm2*>(fitWindow_.data());
}

void TForm1::OpenFit(const PropertyKind& kind) {
  // OpenFitForKind: nothing while a window is open; otherwise the geometry and the tensor's
  // kind, axial flag, unit and scale, then the window's refresh and the new fit window.
  // Changes made before belong to a step of their own; from here until a fit is taken over
  // the window only borrows the tensor, which is no step.
  RecordStep();
  const TensorState before = state_.tensor;
  openingFit_ = true;
  const ScopeExit opened([this] { openingFit_ = false; });
  if (!OpenFitForKind(state_.tensor, state_.fitSession, kind)) {
    // The open window may lie hidden behind others: it comes to the front, unchanged.
    if (TForm2* open = FitWindow()) {
      open->showNormal();
      open->raise();
      open->activateWindow();
    }
    return;
  }
  Label11Click();

  FitWindowHooks hooks;
  hooks.refresh = [this] { Label11Click(); };
  hooks.fitTaken = [this] { stepName_ = QStringLiteral("Fit"); };
  hooks.toggleUnitEditor = [this] {
    if (componentEntry) componentEntry->Edit1Change();
  };
  hooks.place = [this](QWidget* w) {
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
  auto* window = new TForm2(state_.tensor, state_.fitSession, state_.services, dialogs_,
                            std::move(hooks), this);
  fitWindow_ = window;
  // The unit shown in the fit window follows every refresh of the tensor panel (the main
  // window's own unit editor and spin button included).
  connect(this, &TForm1::tensorPanelRefreshed, window, [window] { window->RefreshUnit(); });
  // A fit taken over is one undo step.
  connect(window->Button2, &QPushButton::clicked, this, [this] { RecordStep(); });
  // Closed before any fit reached the tensor, the window only borrowed it: the tensor the main
  // window showed before comes back, with its kind, symmetry, unit, components and drawing.
  connect(window, &TForm2::fitClosed, this, [this, window, before] {
    if (window->fitApplied()) return;
    Guarded([this, &before] {
      state_.tensor = before;
      emit tensorReplaced();
      Label11Click();
      DrawTensor();
    });
  });
  window->FormCreate();
}

}  // namespace quillmere
