// The projection map's files: the picture drawn by PaintMap (map_drawing.h) through the shared
// picture writers (PNG, SVG, PDF, EMF and WMF at 96 pixels to the inch, as the representation
// surface's pictures), or the values as a CSV table.
#pragma once

#include <QByteArray>
#include <filesystem>

#include "surface/map_drawing.h"

namespace quillmere {

enum class MapFormat { Png, Svg, Pdf, Emf, Wmf, Csv };

/// The format named by a file's extension (.png, .svg, .pdf, .emf, .wmf, .csv, any case); throws
/// std::runtime_error naming the accepted ones otherwise.
MapFormat MapFormatOf(const std::filesystem::path& path);

/// The complete file contents of a map `width` pixels wide (for CSV: an N x N grid per disc).
/// Needs a QGuiApplication for the fonts, except for CSV.
QByteArray MapFileBytes(MapFormat format, int width, const TensorState& t,
                        const SurfaceEvaluation& e, const MapPictureOptions& options);

/// Writes MapFileBytes to `path` through the atomic replacement: complete or not at all.
void WriteMapFile(const std::filesystem::path& path, MapFormat format, int width,
                  const TensorState& t, const SurfaceEvaluation& e,
                  const MapPictureOptions& options);

}  // namespace quillmere
