// TForm1: the routing of the file commands — Open, Reopen, Save, Save As, the registration of
// tensor files and the three exports run the handlers of FileCommandsController, which tells
// the window through its hooks what to show and redraw.
#include "app/gui/drawing_area_controller.h"
#include "app/gui/file_commands_controller.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "files/file_association.h"

namespace quillmere {

void TForm1::ConnectFileCommands() {
  FileCommandsHooks hooks;
  hooks.maySetTensorAside = [this] { return MaySetTensorAside(); };
  hooks.recordStep = [this] { RecordStep(); };
  hooks.nameStep = [this](const QString& name) { stepName_ = name; };
  hooks.markSaved = [this] { MarkSaved(); };
  hooks.showCaption = [this](const QString& caption) { ShowCaption(caption); };
  hooks.showStatus = [this](const std::string& text) { ShowStatus(text); };
  hooks.tensorReplaced = [this] { emit tensorReplaced(); };
  hooks.refresh = [this] { Label11Click(); };
  hooks.tensorFileOpened = [this] { emit tensorFileOpened(); };
  hooks.drawTensor = [this] { drawing_->DrawTensor(); };
  hooks.drawShownTensor = [this] { DrawShownTensor(); };
  auto* f = new FileCommandsController(state_, dialogs_, menus_.Reopen1, menus_.ReopenItems,
                                       std::move(hooks), this);
  files_ = f;

  OnTriggered(menus_.Open1, [f] { f->Open1Click(); });
  OnTriggered(menus_.SpeedOpen, [f] { f->Open1Click(); });
  OnTriggered(menus_.Save1, [f] { f->Save1Click(); });
  OnTriggered(menus_.SpeedSave, [f] { f->Save1Click(); });
  OnTriggered(menus_.SaveAs1, [f] { f->SaveAs1Click(); });
  OnTriggered(menus_.Register1, [f] { f->Register1Click(); });
  if (f->RegisteredByInstallation()) {
    // The installation brought its own desktop entry and file type: nothing to register.
    menus_.Register1->setText(QStringLiteral("&Register *.ten files (installed: not needed)"));
    menus_.Register1->setToolTip(QString::fromUtf8(kInstalledNoRegistration));
    menus_.Register1->setStatusTip(QString::fromUtf8(kInstalledNoRegistration));
  }
  for (std::size_t k = 0; k < menus_.ReopenItems.size(); ++k)
    OnTriggered(menus_.ReopenItems[k], [f, k] { f->ReopenClick(static_cast<int>(k) + 1); });

  OnTriggered(menus_.CreateScreenWrl1, [f] { f->makeVRML(ExportVariant::ScreenVRML); });
  OnTriggered(menus_.Export3DPrintableWrl1, [f] { f->makeVRML(ExportVariant::PrintableVRML); });
  OnTriggered(menus_.ExportStl1, [f] { f->makeVRML(ExportVariant::Stl); });
}

}  // namespace quillmere
