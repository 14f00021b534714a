// ComponentEntryController: the tensor information panel and the unit spin button beside it.
// The panel's labels start the kind chooser, the point-group chooser, polar/axial and the unit
// text; "10" and the exponent also show or hide the spin button for the unit's power of ten.
#include <algorithm>

#include "platform/widgets/spin_button.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/tensor_panel.h"

namespace quillmere {

void ComponentEntryController::CreateTensorPanel() {
  panel_ = new TensorPanel(area_);
  // Beneath every other panel of the drawing area: the grids and choosers open over it. The
  // window shows it with its working state.
  panel_->lower();
  panel_->hide();
  const auto onClick = [this](void (TensorPanel::*signal)(), std::function<void()> handler) {
    connect(panel_, signal, this, [this, handler = std::move(handler)] { RunGuarded(handler); });
  };
  onClick(&TensorPanel::kindClicked, [this] { RadioGroup1Click(); });
  onClick(&TensorPanel::groupClicked, [this] { GroupBox2Click(); });
  onClick(&TensorPanel::polarityClicked, [this] { axial1Click(); });
  onClick(&TensorPanel::unitTextClicked, [this] { Edit1Change(); });
  onClick(&TensorPanel::powerClicked, [this] {
    ToggleUnitSpinButton();
    Edit1Change();
  });
}

void ComponentEntryController::CreateUnitSpinButton() {
  spinButton5_ = new SpinButton("Change the dimension of the unit", area_, QSize(17, 11));
  spinButton5_->setObjectName(QStringLiteral("SpinButton5"));
  spinButton5_->hide();
  connect(spinButton5_, &SpinButton::upClicked, this,
          [this] { RunGuarded([this] { SpinButton5UpClick(); }); });
  connect(spinButton5_, &SpinButton::downClicked, this,
          [this] { RunGuarded([this] { SpinButton5DownClick(); }); });
}

void ComponentEntryController::RunGuarded(const std::function<void()>& handler) {
  if (hooks_.guarded)
    hooks_.guarded(handler);
  else
    Guarded(handler);
}

void ComponentEntryController::ToggleUnitSpinButton() {
  spinButton5_->setVisible(!spinButton5_->isVisible());
  if (!spinButton5_->isVisible()) return;
  PlaceUnitSpinButton();
  spinButton5_->raise();
}

void ComponentEntryController::PlaceUnitSpinButton() {
  const QPoint exponent = panel_->ExponentPosition();
  spinButton5_->adjustSize();
  spinButton5_->move(std::max(0, panel_->x() - spinButton5_->width() - 4), exponent.y());
}

}  // namespace quillmere
