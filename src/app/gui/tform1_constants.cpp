// TForm1: the routing of the constants commands — Tensor > Voigt Matrix..., Crystal > Find Point
// Group and File > Import... run the handlers of ConstantsCommandsController.
#include <QAction>
#include <QMenu>

#include "app/gui/constants_commands_controller.h"
#include "app/gui/drawing_area_controller.h"
#include "app/gui/tform1.h"
#include "tensor/gui/component_entry_controller.h"

namespace quillmere {

namespace {

/// The window's action inserted after `after` in `menu`.
QAction* ItemAfter(QMenu* menu, QAction* after, const char* caption, const char* name) {
  QAction* a = new QAction(QString::fromUtf8(caption), menu);
  a->setObjectName(QString::fromUtf8(name));
  const QList<QAction*> actions = menu->actions();
  const qsizetype at = actions.indexOf(after);
  if (at >= 0 && at + 1 < actions.size())
    menu->insertAction(actions[at + 1], a);
  else
    menu->addAction(a);
  return a;
}

}  // namespace

void TForm1::ConnectConstantsCommands() {
  ConstantsCommandsHooks hooks;
  hooks.commitOpenGrid = [this] { componentEntry_->commitOpenGrid(); };
  hooks.maySetTensorAside = [this] { return MaySetTensorAside(); };
  hooks.recordStep = [this] { RecordStep(); };
  hooks.nameStep = [this](const QString& name) { stepName_ = name; };
  hooks.showCaption = [this](const QString& caption) { ShowCaption(caption); };
  hooks.refresh = [this] { Label11Click(); };
  hooks.drawTensor = [this] { drawing_->DrawTensor(); };
  auto* c = new ConstantsCommandsController(state_, dialogs_, this, std::move(hooks), this);

  menus_.VoigtMatrix1 = ItemAfter(menus_.TensorMenu, menus_.IndependentComponents1,
                                  "Voigt &Matrix...", "VoigtMatrix1");
  menus_.FindPointGroup1 =
      ItemAfter(menus_.CrystalMenu, menus_.PointGroup1, "&Find Point Group", "FindPointGroup1");
  menus_.Import1 = ItemAfter(menus_.FileMenu, menus_.SaveAs1, "&Import...", "Import1");
  OnTriggered(menus_.VoigtMatrix1, [c] { c->VoigtMatrix1Click(); });
  OnTriggered(menus_.FindPointGroup1, [c] { c->FindPointGroup1Click(); });
  OnTriggered(menus_.Import1, [c] { c->Import1Click(); });
}

}  // namespace quillmere
