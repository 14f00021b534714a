// TForm1: the pointer readout at the status line's right end. The drawing area names the
// direction and value under the pointer; the window shows it.
#include <QLabel>

#include "app/gui/drawing_area_controller.h"
#include "app/gui/tform1.h"
#include "platform/dialogs.h"

namespace quillmere {

void TForm1::ShowPointerReadout(QPoint at) {
  pointerReadout->setText(FromUtf8(drawing_->PointerReadoutAt(at)));
}

}  // namespace quillmere
