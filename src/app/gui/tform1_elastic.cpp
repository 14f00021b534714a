// TForm1: Tools > Elastic Properties, and the elastic quantity drawn in place of the tensor's own
// value when the window's "Surface of" names one.
#include <QAction>
#include <QMenu>
#include <QScreen>
#include <QSignalBlocker>
#include <algorithm>

#include "app/gui/drawing_area_controller.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "elastic/elastic_surface.h"
#include "elastic/gui/elastic_window.h"

namespace quillmere {

void TForm1::ConnectElastic() {
  OnTriggered(menus_.ElasticProperties1, [this] { ElasticProperties1Click(); });
  // Only a ((ij)(kl)) tensor can be a stiffness or a compliance.
  connect(menus_.ToolsMenu, &QMenu::aboutToShow, this,
          [this] { menus_.ElasticProperties1->setEnabled(state_.tensor.kind == 3); });
}

void TForm1::ElasticProperties1Click() {
  if (!elasticWindow) {
    elasticWindow = new ElasticWindow(dialogs_, this);
    // Beside the main window, on its left where the screen has room, else at the screen's left
    // edge (the projection map opens on the right).
    const QRect frame = frameGeometry();
    int x = frame.left() - elasticWindow->width() - 8;
    if (const QScreen* s = screen()) x = std::max(x, s->availableGeometry().left());
    elasticWindow->move(x, frame.top());
    connect(elasticWindow, &ElasticWindow::surfaceChanged, this,
            [this] { Guarded([this] { drawing_->DrawTensor(); }); });
  }
  {
    const QSignalBlocker quiet(elasticWindow);
    elasticWindow->ShowTensor(state_.tensor);
  }
  elasticWindow->show();
  elasticWindow->raise();
  elasticWindow->activateWindow();
}

void TForm1::UpdateDrawnQuantity() {
  std::optional<ElasticQuantity> quantity;
  if (elasticWindow && elasticWindow->isVisible()) {
    // The window follows the tensor; its signal would only ask for the build under way.
    const QSignalBlocker quiet(elasticWindow);
    elasticWindow->ShowTensor(state_.tensor);
    quantity = elasticWindow->ChosenQuantity();
  }
  auto& drawn = state_.drawnQuantity;
  if (!quantity) {
    if (drawn) {
      drawn.reset();
      state_.evaluation.derivedValue = nullptr;
      state_.evaluation.derivedPolynomial.reset();
      state_.evaluation.derivedName.clear();
      RefreshPanelLabels(PanelTextsOf(state_.tensor));
    }
    return;
  }
  const double density = elasticWindow->Density();
  const int revision = elasticWindow->Revision();
  if (drawn && drawn->quantity == *quantity && drawn->density == density &&
      drawn->revision == revision && drawn->source.kind == state_.tensor.kind &&
      drawn->source.unitText == state_.tensor.unitText &&
      drawn->source.components == state_.tensor.components)
    return;
  QuantitySurface s =
      MakeQuantitySurface(state_.tensor, *elasticWindow->Constants(), *quantity, density);
  drawn =
      ProgramState::DrawnQuantity{*quantity, density, revision, state_.tensor, std::move(s.tensor)};
  state_.evaluation.derivedValue = std::move(s.evaluation.derivedValue);
  state_.evaluation.derivedPolynomial = s.evaluation.derivedPolynomial;
  state_.evaluation.derivedName = std::move(s.evaluation.derivedName);
  RefreshPanelLabels(PanelTextsOf(state_.DrawnTensor()));
}

void TForm1::ScaleDrawnQuantity(Real factor) {
  if (state_.drawnQuantity) state_.drawnQuantity->tensor.scale *= factor;
}

}  // namespace quillmere
