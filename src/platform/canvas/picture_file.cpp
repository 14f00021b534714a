#include "platform/canvas/picture_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>
#include <QSvgGenerator>
#include <cctype>
#include <stdexcept>

#include "files/atomic_file.h"
#include "platform/canvas/qpainter_canvas.h"

namespace quillmere {

namespace {

void Fail(const std::filesystem::path& path, const QString& reason) {
  throw std::runtime_error("Cannot write " + path.string() + ": " + reason.toStdString());
}

}  // namespace

PictureFormat PictureFormatOf(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == ".png") return PictureFormat::Png;
  if (ext == ".bmp") return PictureFormat::Bmp;
  if (ext == ".svg") return PictureFormat::Svg;
  throw std::runtime_error("The picture must be a .png, .bmp or .svg file, not '" + path.string() +
                           "'");
}

void WritePicture(const std::filesystem::path& path, PictureFormat format, int width, int height,
                  const std::function<void(Canvas&)>& paint) {
  if (width < 1 || height < 1)
    throw std::runtime_error("A picture needs a width and height of at least 1 pixel");
  // The picture is made in memory; only a complete one replaces the file, through the checked
  // writes of the atomic replacement.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);

  if (format == PictureFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setResolution(96);  // the font sizes in points as on the screen
    svg.setTitle(QStringLiteral("Representation surface"));
    svg.setDescription(QStringLiteral("Drawn by Quillmere"));
    QPainter painter;
    if (!painter.begin(&svg)) Fail(path, QStringLiteral("the SVG generator did not start"));
    QPainterCanvas canvas(painter, width, height);
    paint(canvas);
    if (!painter.end()) Fail(path, QStringLiteral("the SVG generator failed"));
  } else {
    QImage image = MakePictureImage(width, height);
    if (image.isNull()) Fail(path, QStringLiteral("not enough memory for the picture"));
    {
      QPainter painter(&image);
      QPainterCanvas canvas(painter, width, height);
      paint(canvas);
    }
    if (!image.save(&buffer, format == PictureFormat::Png ? "PNG" : "BMP"))
      Fail(path, QStringLiteral("the image writer failed"));
  }
  buffer.close();
  WriteFileAtomically(path,
                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace quillmere
