// The projection map as a picture: one or two discs of banded colour with contour lines, the
// extremes marked, the axis captions at the rim, a colour bar with the power of ten and the unit,
// and the two extreme values written below. Drawn on a VectorCanvas, so the same drawing goes to
// the screen, a PNG image, an SVG or a PDF vector picture.
//
// Units: pixels of the picture; the layout scales with the width.
#pragma once

#include "surface/surface_map.h"
#include "surface/surface_value.h"
#include "surface/vector_canvas.h"
#include "tensor/tensor_state.h"

namespace quillmere {

struct MapPictureOptions {
  MapProjection projection = MapProjection::EqualArea;
  MapHemisphere hemisphere = MapHemisphere::Upper;
  int captionStyle = 1;  ///< 1 x, y, z; 2 a, b, c; 3 e1, e2, e3
  char decimalSeparator = '.';
};

/// The height of a map picture `width` wide.
int MapPictureHeight(int width, MapHemisphere hemisphere);

/// Draws the map of `t` over the whole canvas on a white ground. With `vector`, the colour field
/// is drawn as fewer, larger rectangles (a few hundred per row at most), as a vector picture
/// wants it.
void PaintMap(VectorCanvas& canvas, const TensorState& t, const SurfaceEvaluation& e,
              const MapPictureOptions& options, bool vector);

}  // namespace quillmere
