// The renderer's picture written to a file: PNG or BMP (a QImage at 96 dots per inch) or SVG
// (vector output through QSvgGenerator). Needs a QGuiApplication for the fonts. A file is
// written through a temporary file that replaces the target only when complete.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "surface/canvas.h"

namespace quillmere {

enum class PictureFormat { Png, Bmp, Svg };

/// The format named by a file's extension (.png, .bmp, .svg, any case); throws
/// std::runtime_error naming the accepted ones otherwise.
PictureFormat PictureFormatOf(const std::filesystem::path& path);

/// Paints a picture of width x height with `paint` and writes it to `path` in `format`.
/// Throws std::runtime_error with the reason when the file cannot be written; the previous file,
/// if any, is then kept.
/// `stamp` as PaintPictureBytes takes it (a BMP has no room for it).
void WritePicture(const std::filesystem::path& path, PictureFormat format, int width, int height,
                  const std::function<void(Canvas&)>& paint, const std::string& stamp = {});

}  // namespace quillmere
