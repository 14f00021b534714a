// ComponentEntryController: clearing the components, and the New Tensor panel that starts with
// it — New, the file name and unit fields, the power of ten, OK, Cancel and Restore.
#include <QPushButton>

#include "core/user_messages.h"
#include "platform/widgets/spin_button.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/entry_widgets.h"
#include "tensor/gui/new_tensor_dialog.h"

namespace quillmere {

namespace {

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

// ---- Reset ----------------------------------------------------------------------------------

void ComponentEntryController::ResetTensor1Click() {
  if (!AskYesNo("delete all components now?")) return;
  ResetComponents(t_);
  // Text typed into an open grid belonged to the components just deleted.
  dropTypedText();
  // An empty surface needs no detail: one quick build at resolution 1.
  if (hooks_.drawAtResolution)
    hooks_.drawAtResolution(1);
  else
    DrawTensor();
  Guarded([this] { RedisplayOpenGrids(); });
}

// ---- New Tensor dialog --------------------------------------------------------------------

void ComponentEntryController::New1Click() {
  snapshot_ =
      TakeNewTensorSnapshot(t_, hooks_.lastChosenOpenFile ? hooks_.lastChosenOpenFile() : "");
  ResetTensor1Click();
  dialog_->fileNameField->setText(Q(snapshot_.fileName));
  dialog_->setFileName(snapshot_.fileName.empty() ? "Filename" : Q(snapshot_.fileName));
  dialog_->setUnitText(Q(DialogUnitText(t_.unitText)));
  dialog_->showCopies(PanelTextsOf(t_));
  dialog_->adjustSize();
  PlaceNewTensorDialog();
  dialog_->show();
  dialog_->raise();
}

void ComponentEntryController::Button4Click() {
  EntryField* f = dialog_->fileNameField;
  f->show();
  f->raise();
  f->setFocus();
  SetEditing(true);
}

void ComponentEntryController::Edit2DblClick() {
  EntryField* f = dialog_->fileNameField;
  if (!f->isVisible()) return;
  f->hide();
  dialog_->setFileName(f->text().isEmpty() ? "Filename" : f->text());
  SetEditing(false);
}

void ComponentEntryController::Label35Click() {
  EntryField* f = dialog_->unitField;
  f->setText(Q(t_.unitText));
  f->show();
  f->raise();
  f->setFocus();
  SetEditing(true);
}

void ComponentEntryController::Edit3DblClick() {
  EntryField* f = dialog_->unitField;
  if (!f->isVisible()) return;
  f->hide();
  t_.unitText = f->text().toStdString();
  dialog_->setUnitText(Q(DialogUnitText(t_.unitText)));
  SetEditing(false);
  Refresh();
}

void ComponentEntryController::Label36Click() {
  dialog_->spinButton->setVisible(!dialog_->spinButton->isVisible());
}

void ComponentEntryController::Button2Click() {
  Edit2DblClick();
  Edit3DblClick();
  const std::filesystem::path name =
      NewTensorSaveName(ctx_.services ? ctx_.services->programDirectory : std::filesystem::path(),
                        dialog_->fileNameField->text().toStdString());
  emit newTensorNamed(name);
  dialog_->hide();
}

void ComponentEntryController::Button5Click() {
  const DrawnState before = Drawn();
  RestoreNewTensorSnapshot(t_, snapshot_);
  dialog_->fileNameField->setText(Q(snapshot_.fileName));
  dialog_->setFileName(Q(snapshot_.fileName));
  emit tensorNameRestored(snapshot_.fileName);
  dialog_->setUnitText(Q(DialogUnitText(t_.unitText)));
  Refresh();
  // A restored scale or rank changes the drawing of the (unrestored) components.
  if (Drawn().scale != before.scale || Drawn().rank != before.rank) DrawTensor();
}

void ComponentEntryController::Button3Click() {
  Button5Click();
  dialog_->fileNameField->hide();
  dialog_->unitField->hide();
  dialog_->hide();
  SetEditing(false);
}

}  // namespace quillmere
