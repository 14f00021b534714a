#include "surface/qt/picture_file.h"

#include <QImage>
#include <QPainter>
#include <stdexcept>
#include <string>

#include "core/file_names.h"
#include "surface/qt/picture_bytes.h"
#include "surface/qt/qpainter_canvas.h"

namespace quillmere {

PictureFormat PictureFormatOf(const std::filesystem::path& path) {
  const std::string ext = LowercaseExtension(path);
  if (ext == ".png") return PictureFormat::Png;
  if (ext == ".bmp") return PictureFormat::Bmp;
  if (ext == ".svg") return PictureFormat::Svg;
  throw std::runtime_error("The picture must be a .png, .bmp or .svg file, not '" + path.string() +
                           "'");
}

void WritePicture(const std::filesystem::path& path, PictureFormat format, int width, int height,
                  const std::function<void(Canvas&)>& paint, const std::string& stamp) {
  // The picture is made in memory; only a complete one replaces the file, through the checked
  // writes of the atomic replacement.
  std::string bytes;
  try {
    if (format == PictureFormat::Bmp) {
      if (width < 1 || height < 1)
        throw std::runtime_error("A picture needs a width and height of at least 1 pixel");
      QImage image = MakePictureImage(width, height);
      if (image.isNull()) throw std::runtime_error("Not enough memory for the picture");
      {
        QPainter painter(&image);
        QPainterCanvas canvas(painter, width, height);
        paint(canvas);
      }
      bytes = ImageBytes(image, "BMP");
    } else {
      bytes =
          PaintPictureBytes(format == PictureFormat::Svg ? VectorFormat::Svg : VectorFormat::Png,
                            width, height, paint, stamp);
    }
  } catch (const std::runtime_error& e) {
    throw std::runtime_error("Cannot write " + path.string() + ": " + e.what());
  }
  WritePictureBytes(path, bytes);
}

}  // namespace quillmere
