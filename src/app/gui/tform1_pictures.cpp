// TForm1: the routing of the picture commands — the three copies of the Edit menu, "Save P&icture
// as" and "&Print" run the handlers of PictureCommandsController.
#include "app/gui/drawing_area_controller.h"
#include "app/gui/picture_commands_controller.h"
#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "core/scope_exit.h"

namespace quillmere {

void TForm1::ConnectPictureCommands() {
  PictureCommandsHooks hooks;
  hooks.paintOntoClipboard = [this]() -> const QImage& {
    drawing_->PaintOntoClipboard();
    return drawing_->SceneBitmap();
  };
  hooks.screenPicture = [this]() -> const QImage& { return drawing_->SceneBitmap(); };
  hooks.showBusy = [this](bool busy) { drawing_->ShowBusy(busy); };
  hooks.showStatus = [this](const std::string& text) { ShowStatus(text); };
  auto* p = new PictureCommandsController(state_, dialogs_, surfaceArea, drawing_->progressBar(),
                                          std::move(hooks), this);
  pictures_ = p;

  OnTriggered(menus_.CopyAsWindowBitmap1, [p] { p->CopyAsWindowBitmap1Click(); });
  OnTriggered(menus_.CopyAsEnhancedMetafile1, [p] { p->CopyMetafile(true); });
  OnTriggered(menus_.CopyAsStandardMetafile1, [p] { p->CopyMetafile(false); });
  OnTriggered(menus_.SaveBmp1, [p] { p->SavePictureAs(PictureKind::Bmp); });
  OnTriggered(menus_.SaveEmf1, [p] { p->SavePictureAs(PictureKind::Emf); });
  OnTriggered(menus_.SaveWmf1, [p] { p->SavePictureAs(PictureKind::Wmf); });
  OnTriggered(menus_.SavePng1, [p] { p->SavePictureAs(PictureKind::Png); });
  OnTriggered(menus_.SaveSvg1, [p] { p->SavePictureAs(PictureKind::Svg); });
  OnTriggered(menus_.SavePdf1, [p] { p->SavePictureAs(PictureKind::Pdf); });
  OnTriggered(menus_.Print1, [p] { p->Print1Click(); });
  OnTriggered(menus_.SpeedPrint, [p] { p->Print1Click(); });
}

}  // namespace quillmere
