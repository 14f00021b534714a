// Pictures painted at a size of their own and kept as the bytes of a file: the two Windows
// metafiles, PDF, SVG and PNG. The bytes go onto the clipboard or into a file; a file is
// written through the program's atomic replace, so it is complete or not there at all.
// Needs a QGuiApplication (fonts).
#pragma once

#include <QImage>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "surface/vector_canvas.h"

namespace quillmere {

enum class VectorFormat { Emf, Wmf, Pdf, Svg, Png };

/// The format named by a file's extension among .emf, .wmf and .pdf (any case), or nothing.
std::optional<VectorFormat> MetafileFormatOf(const std::filesystem::path& path);

/// Paints `paint` on a canvas of width x height pixels (96 to the inch) in `format` and returns
/// the file's bytes. PDF is one page of the picture's size; SVG and PDF are vector pictures,
/// PNG an image. Throws std::runtime_error when the picture cannot be made.
/// `stamp` (the conventions stamp; empty: none) goes where the format has room for text: the
/// EMF header's description, a WMF comment record, the SVG description, the PDF title, a PNG
/// text chunk.
std::string PaintPictureBytes(VectorFormat format, int width, int height,
                              const std::function<void(Canvas&)>& paint,
                              const std::string& stamp = {});

/// The same for a drawing that needs a VectorCanvas, with `title` (the picture's name) for the
/// SVG title, the PDF title and the metafiles' description or comment, before the stamp. The
/// metafiles record it in fractions of a pixel.
std::string PaintVectorPictureBytes(VectorFormat format, int width, int height,
                                    const std::function<void(VectorCanvas&)>& paint,
                                    const std::string& stamp, const std::string& title);

/// The image as a file of `format` ("BMP", "PNG"), pixel for pixel; a PNG carries `stamp`, when
/// given, in a "Description" text chunk.
std::string ImageBytes(const QImage& image, const char* format, const std::string& stamp = {});

/// Writes `bytes` to `path` through the atomic replace. Throws std::runtime_error naming the
/// file and the reason; an earlier file of that name is then left as it was.
void WritePictureBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace quillmere
