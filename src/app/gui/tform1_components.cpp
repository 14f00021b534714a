// TForm1: component entry — the two component grids, the kind and point-group choosers,
// polar/axial, the unit text and its power of ten, the reset and the New Tensor panel, connected
// to the menu items, speed buttons and tensor-panel labels that start them. The handlers
// themselves are those of ComponentEntryController; this file only supplies what they need
// from the window.
#include <algorithm>

#include "app/file_commands.h"
#include "app/gui/file_commands_controller.h"
#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "platform/dialogs.h"
#include "platform/widgets/barred_text.h"
#include "platform/widgets/spin_button.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/entry_widgets.h"
#include "tensor/gui/symmetry_choosers.h"

namespace quillmere {

void TForm1::ConnectComponentEntry() {
  ComponentEntryHooks hooks;
  hooks.drawTensor = [this] { DrawTensor(); };
  hooks.drawAtResolution = [this](int resolution) { DrawTensor(resolution); };
  hooks.refresh = [this] { Label11Click(); };
  hooks.restartRebuildTimer = [this] { RestartRebuildTimer(); };
  hooks.autoRescaled = [this] { AbsorbDisplayRescale(); };
  hooks.showError = [this](const std::string& text) { dialogs_.ShowError(text); };
  hooks.askYesNo = [this](const std::string& text) { return dialogs_.AskYesNo(text); };
  hooks.lastChosenOpenFile = [this] { return files_->LastOpenedFile(); };
  hooks.unitFieldRect = [this] {
    // Over the unit line of the tensor panel ("10", exponent, unit text), as wide as the panel
    // allows, so that it never runs past the panel or the drawing area.
    const QPoint at = Label10->mapTo(surfaceArea, QPoint(0, 0));
    const int right = std::min(tensorPanel->geometry().right() - 3, surfaceArea->width() - 4);
    const int x = std::clamp(at.x(), 0, std::max(0, right - 60));
    return QRect(x, at.y() - 2, right + 1 - x, Label12->sizeHint().height() + 8);
  };
  hooks.gridRoom = [this] { return GridRoomBesideTensorPanel(); };
  ComponentEntryController* c = new ComponentEntryController(
      surfaceArea,
      ComponentEntryContext{&state_.tensor, &state_.services, &state_.componentsTyped,
                            &state_.editingInPanel},
      std::move(hooks), this);
  componentEntry = c;
  // The name a new tensor is saved under is the file commands' business.
  connect(c, &ComponentEntryController::newTensorNamed, files_,
          &FileCommandsController::NameNewTensor);
  connect(c, &ComponentEntryController::tensorNameRestored, files_,
          &FileCommandsController::RestoreTensorName);

  // The second unit spin button, beside the exponent of the tensor panel.
  SpinButton5 = new SpinButton("Change the dimension of the unit", surfaceArea, QSize(17, 11));
  SpinButton5->setObjectName(QStringLiteral("SpinButton5"));
  SpinButton5->hide();
  connect(SpinButton5, &SpinButton::upClicked, this,
          [this, c] { Guarded([c] { c->SpinButton5UpClick(); }); });
  connect(SpinButton5, &SpinButton::downClicked, this,
          [this, c] { Guarded([c] { c->SpinButton5DownClick(); }); });

  const auto onClick = [this](ClickableLabel* label, std::function<void()> handler) {
    connect(label, &ClickableLabel::clicked, this,
            [this, handler = std::move(handler)] { Guarded(handler); });
  };

  OnTriggered(Components1, [c] { c->StringGrid1Click(); });
  OnTriggered(IndependentComponents1, [c] { c->IndependentComponents1Click(); });
  OnTriggered(SpeedIndependent, [c] { c->IndependentComponents1Click(); });

  OnTriggered(TensorSymmetry1, [c] { c->RadioGroup1Click(); });
  OnTriggered(SpeedTensorSymmetry, [c] { c->RadioGroup1Click(); });
  onClick(LabelT, [c] { c->RadioGroup1Click(); });
  onClick(Label14, [c] { c->RadioGroup1Click(); });

  OnTriggered(PointGroup1, [c] { c->GroupBox2Click(); });
  OnTriggered(SpeedPointGroup, [c] { c->GroupBox2Click(); });
  onClick(Label23, [c] { c->GroupBox2Click(); });

  OnTriggered(axial1, [c] { c->axial1Click(); });
  onClick(Label15, [c] { c->axial1Click(); });

  OnTriggered(EditUnitText1, [c] { c->Edit1Change(); });
  onClick(Label12, [c] { c->Edit1Change(); });
  // "10" and the exponent stand for the unit as a whole: they open the unit text and show or
  // hide the spin button for its power of ten.
  const auto toggleSpinButton = [this] {
    SpinButton5->setVisible(!SpinButton5->isVisible());
    if (!SpinButton5->isVisible()) return;
    PlaceUnitSpinButton();
    SpinButton5->raise();
  };
  for (ClickableLabel* label : {Label10, Label11})
    onClick(label, [c, toggleSpinButton] {
      toggleSpinButton();
      c->Edit1Change();
    });

  for (QAction* clear : {ResetTensor1, SpeedClear})
    OnTriggered(clear, [this, c] {
      stepName_ = QStringLiteral("Clear Components");
      c->ResetTensor1Click();
    });
  // New sets the tensor aside: a modified one asks to be saved first.
  for (QAction* create : {New1, SpeedNew})
    OnTriggered(create, [this, c] {
      if (!MaySetTensorAside()) return;
      stepName_ = QStringLiteral("New");
      c->New1Click();
    });

  commitOpenComponentGrid = [c] { return c->commitOpenGrid(); };
  connect(this, &TForm1::tensorPanelRefreshed, c,
          [this, c] { Guarded([c] { c->refreshEntryWidgets(); }); });
  connect(this, &TForm1::tensorFileOpened, c, [c] { c->kindChooser()->hide(); });
  connect(this, &TForm1::tensorReplaced, c, [c] { c->dropTypedText(); });
}

}  // namespace quillmere
