// TForm1: the pointer readout at the status line's right end. The drawing area reports where
// the pointer moves; the surface library names the direction and value under it.
#include <QLabel>

#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "platform/dialogs.h"
#include "surface/pointer_readout.h"

namespace quillmere {

void TForm1::ShowPointerReadout(QPoint at) {
  // Only a picture of the area's present size shows the scene as it is projected now; while a
  // build or a resize is pending nothing is named.
  const QImage& picture = SceneBitmap();
  const QSizeF logical = picture.deviceIndependentSize();
  if (builder_.busy() || picture.isNull() ||
      QSize(static_cast<int>(logical.width()), static_cast<int>(logical.height())) !=
          surfaceArea->size()) {
    pointerReadout->clear();
    return;
  }
  const Real ratio = picture.devicePixelRatio();
  const TensorState& drawn = state_.DrawnTensor();
  // The pointer's position names the centre of its device pixel.
  const std::optional<PointedSurface> under = SurfaceUnderPoint(
      state_.scene, state_.view, PicturePlace{surfaceArea->width(), surfaceArea->height(), ratio},
      state_.crossSectionMode, drawn, state_.evaluation, (at.x() + 0.5L) * ratio,
      (at.y() + 0.5L) * ratio);
  pointerReadout->setText(
      under ? FromUtf8(PointerReadoutText(*under, DecadeExponent(drawn.scale), drawn.unitText,
                                          state_.services.decimalSeparator))
            : QString());
}

}  // namespace quillmere
