// TForm1: the routing of component entry — the menu items and speed buttons of the component
// grids, the kind and point-group choosers, polar/axial, the unit text, the reset and the New
// Tensor panel, and the DRAW button of the tensor panel. The handlers, the tensor panel's labels
// and its unit spin button are ComponentEntryController's; this file only supplies what they need
// from the window.
#include "app/file_commands.h"
#include "app/gui/drawing_area_controller.h"
#include "app/gui/file_commands_controller.h"
#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "platform/dialogs.h"
#include "surface/gui/view_controls_controller.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/symmetry_choosers.h"
#include "tensor/gui/tensor_panel.h"

namespace quillmere {

void TForm1::ConnectComponentEntry() {
  ComponentEntryHooks hooks;
  hooks.drawTensor = [this] { drawing_->DrawTensor(); };
  hooks.drawAtResolution = [this](int resolution) { drawing_->DrawTensor(resolution); };
  hooks.refresh = [this] { Label11Click(); };
  hooks.restartRebuildTimer = [this] { viewControls_->RestartRebuildTimer(); };
  hooks.autoRescaled = [this] { AbsorbDisplayRescale(); };
  hooks.showError = [this](const std::string& text) { dialogs_.ShowError(text); };
  hooks.askYesNo = [this](const std::string& text) { return dialogs_.AskYesNo(text); };
  hooks.lastChosenOpenFile = [this] { return files_->LastOpenedFile(); };
  hooks.guarded = [this](const std::function<void()>& handler) { Guarded(handler); };
  hooks.gridRoom = [this] { return GridRoomBesideTensorPanel(); };
  ComponentEntryController* c = new ComponentEntryController(
      surfaceArea,
      ComponentEntryContext{&state_.tensor, &state_.services, &state_.componentsTyped,
                            &state_.editingInPanel},
      std::move(hooks), this);
  componentEntry_ = c;
  // The name a new tensor is saved under is the file commands' business.
  connect(c, &ComponentEntryController::newTensorNamed, files_,
          &FileCommandsController::NameNewTensor);
  connect(c, &ComponentEntryController::tensorNameRestored, files_,
          &FileCommandsController::RestoreTensorName);

  // The DRAW button of the tensor panel.
  connect(c->tensorPanel(), &TensorPanel::drawClicked, this,
          [this] { Guarded([this] { DRAWClick(); }); });

  OnTriggered(menus_.Components1, [c] { c->StringGrid1Click(); });
  OnTriggered(menus_.IndependentComponents1, [c] { c->IndependentComponents1Click(); });
  OnTriggered(menus_.SpeedIndependent, [c] { c->IndependentComponents1Click(); });

  OnTriggered(menus_.TensorSymmetry1, [c] { c->RadioGroup1Click(); });
  OnTriggered(menus_.SpeedTensorSymmetry, [c] { c->RadioGroup1Click(); });

  OnTriggered(menus_.PointGroup1, [c] { c->GroupBox2Click(); });
  OnTriggered(menus_.SpeedPointGroup, [c] { c->GroupBox2Click(); });

  OnTriggered(menus_.axial1, [c] { c->axial1Click(); });

  OnTriggered(menus_.EditUnitText1, [c] { c->Edit1Change(); });

  for (QAction* clear : {menus_.ResetTensor1, menus_.SpeedClear})
    OnTriggered(clear, [this, c] {
      stepName_ = QStringLiteral("Clear Components");
      c->ResetTensor1Click();
    });
  // New sets the tensor aside: a modified one asks to be saved first.
  for (QAction* create : {menus_.New1, menus_.SpeedNew})
    OnTriggered(create, [this, c] {
      if (!MaySetTensorAside()) return;
      stepName_ = QStringLiteral("New");
      c->New1Click();
    });

  connect(this, &TForm1::tensorPanelRefreshed, c,
          [this, c] { Guarded([c] { c->refreshEntryWidgets(); }); });
  connect(this, &TForm1::tensorFileOpened, c, [c] { c->kindChooser()->hide(); });
  connect(this, &TForm1::tensorReplaced, c, [c] { c->dropTypedText(); });
}

}  // namespace quillmere
