// The projection map as a picture: one or two discs of banded colour with contour lines, the
// extremes marked, the axis captions at the rim, a colour bar with the power of ten and the unit,
// and the two extreme values written below. Painted with QPainter, so the same drawing goes to
// the screen, a PNG image, an SVG or a PDF vector picture.
//
// Units: pixels of the picture (points in a PDF); the layout scales with the width.
#pragma once

#include <QByteArray>
#include <QPainter>
#include <filesystem>
#include <string>

#include "surface/surface_map.h"
#include "surface/surface_value.h"
#include "tensor/tensor_state.h"

namespace quillmere {

struct MapPictureOptions {
  MapProjection projection = MapProjection::EqualArea;
  MapHemisphere hemisphere = MapHemisphere::Upper;
  int captionStyle = 1;  ///< 1 x, y, z; 2 a, b, c; 3 e1, e2, e3
  char decimalSeparator = '.';
};

enum class MapFormat { Png, Svg, Pdf, Csv };

/// The format named by a file's extension (.png, .svg, .pdf, .csv, any case); throws
/// std::runtime_error naming the accepted ones otherwise.
MapFormat MapFormatOf(const std::filesystem::path& path);

/// The height of a map picture `width` wide.
int MapPictureHeight(int width, MapHemisphere hemisphere);

/// Paints the map of `t` into the area from (0, 0) to (width, height) on a white ground. With
/// `vector`, the colour field is drawn as fewer, larger rectangles (a few hundred per row at
/// most), as a vector picture wants it.
void PaintMap(QPainter& painter, int width, int height, const TensorState& t,
              const SurfaceEvaluation& e, const MapPictureOptions& options, bool vector);

/// The complete file contents of a map `width` pixels wide (for CSV: an N x N grid per disc).
/// Needs a QGuiApplication for the fonts, except for CSV.
QByteArray MapFileBytes(MapFormat format, int width, const TensorState& t,
                        const SurfaceEvaluation& e, const MapPictureOptions& options);

/// Writes MapFileBytes to `path` through the atomic replacement: complete or not at all.
void WriteMapFile(const std::filesystem::path& path, MapFormat format, int width,
                  const TensorState& t, const SurfaceEvaluation& e,
                  const MapPictureOptions& options);

}  // namespace quillmere
