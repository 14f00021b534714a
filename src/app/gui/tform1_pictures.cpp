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

  OnTriggered(CopyAsWindowBitmap1, [p] { p->CopyAsWindowBitmap1Click(); });
  OnTriggered(CopyAsEnhancedMetafile1, [p] { p->CopyMetafile(true); });
  OnTriggered(CopyAsStandardMetafile1, [p] { p->CopyMetafile(false); });
  OnTriggered(SaveBmp1, [p] { p->SavePictureAs(PictureKind::Bmp); });
  OnTriggered(SaveEmf1, [p] { p->SavePictureAs(PictureKind::Emf); });
  OnTriggered(SaveWmf1, [p] { p->SavePictureAs(PictureKind::Wmf); });
  OnTriggered(SavePng1, [p] { p->SavePictureAs(PictureKind::Png); });
  OnTriggered(SaveSvg1, [p] { p->SavePictureAs(PictureKind::Svg); });
  OnTriggered(SavePdf1, [p] { p->SavePictureAs(PictureKind::Pdf); });
  OnTriggered(Print1, [p] { p->Print1Click(); });
  OnTriggered(SpeedPrint, [p] { p->Print1Click(); });
}

}  // namespace quillmere
