#include "surface/qt/picture_bytes.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cctype>
#include <stdexcept>

#include "core/file_names.h"
#include "files/atomic_file.h"
#include "surface/qt/emf_canvas.h"
#include "surface/qt/qpainter_canvas.h"

namespace quillmere {

namespace {

std::string Bytes(const QByteArray& a) {
  return std::string(a.constData(), static_cast<std::size_t>(a.size()));
}

}  // namespace

std::optional<VectorFormat> MetafileFormatOf(const std::filesystem::path& path) {
  const std::string ext = LowercaseExtension(path);
  if (ext == ".emf") return VectorFormat::Emf;
  if (ext == ".wmf") return VectorFormat::Wmf;
  if (ext == ".pdf") return VectorFormat::Pdf;
  return std::nullopt;
}

std::string PaintPictureBytes(VectorFormat format, int width, int height,
                              const std::function<void(Canvas&)>& paint, const std::string& stamp) {
  if (width < 1 || height < 1)
    throw std::runtime_error("A picture needs a width and height of at least 1 pixel");
  MetafileOptions surface;
  surface.stamp = stamp;
  switch (format) {
    case VectorFormat::Emf: {
      EmfCanvas canvas(width, height, surface);
      paint(canvas);
      return canvas.Finish();
    }
    case VectorFormat::Wmf: {
      WmfCanvas canvas(width, height, surface);
      paint(canvas);
      return canvas.Finish();
    }
    case VectorFormat::Pdf:
    case VectorFormat::Svg:
    case VectorFormat::Png:
      return PaintVectorPictureBytes(format, width, height, paint, stamp, "Representation surface");
  }
  throw std::logic_error("unknown picture format");
}

std::string PaintVectorPictureBytes(VectorFormat format, int width, int height,
                                    const std::function<void(VectorCanvas&)>& paint,
                                    const std::string& stamp, const std::string& title) {
  if (width < 1 || height < 1)
    throw std::runtime_error("A picture needs a width and height of at least 1 pixel");
  // PDF and SVG pages measure the picture at 96 pixels to the inch, as the screen and the
  // metafiles do, whatever is drawn on them.
  switch (format) {
    case VectorFormat::Pdf: {
      QByteArray data;
      {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kMetafileUnitsPerInch);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(width * 72.0 / kMetafileUnitsPerInch,
                                                       height * 72.0 / kMetafileUnitsPerInch),
                                                QPageSize::Point, QString(), QPageSize::ExactMatch),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        pdf.setTitle(
            QString::fromStdString(title) +
            (stamp.empty() ? QString() : QStringLiteral(": ") + QString::fromLatin1(stamp)));
        pdf.setCreator(QStringLiteral("Quillmere"));
        QPainter painter;
        if (!painter.begin(&pdf)) throw std::runtime_error("The PDF writer did not start");
        QPainterCanvas canvas(painter, width, height);
        paint(canvas);
        if (!painter.end()) throw std::runtime_error("The PDF writer failed");
      }
      return Bytes(data);
    }
    case VectorFormat::Svg: {
      QByteArray data;
      {
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(QSize(width, height));
        svg.setViewBox(QRect(0, 0, width, height));
        svg.setResolution(kMetafileUnitsPerInch);
        svg.setTitle(QString::fromStdString(title));
        svg.setDescription(
            QStringLiteral("Drawn by Quillmere") +
            (stamp.empty() ? QString() : QStringLiteral(". ") + QString::fromLatin1(stamp)));
        QPainter painter;
        if (!painter.begin(&svg)) throw std::runtime_error("The SVG generator did not start");
        QPainterCanvas canvas(painter, width, height);
        paint(canvas);
        if (!painter.end()) throw std::runtime_error("The SVG generator failed");
      }
      return Bytes(data);
    }
    case VectorFormat::Png: {
      QImage image = MakePictureImage(width, height);
      if (image.isNull()) throw std::runtime_error("Not enough memory for the picture");
      {
        QPainter painter(&image);
        QPainterCanvas canvas(painter, width, height);
        paint(canvas);
      }
      return ImageBytes(image, "PNG", stamp);
    }
    case VectorFormat::Emf:
    case VectorFormat::Wmf: {
      // A drawing at fractional coordinates is recorded in fractions of a pixel.
      const MetafileOptions options{title, stamp, true};
      if (format == VectorFormat::Emf) {
        EmfCanvas canvas(width, height, options);
        paint(canvas);
        return canvas.Finish();
      }
      WmfCanvas canvas(width, height, options);
      paint(canvas);
      return canvas.Finish();
    }
  }
  throw std::logic_error("unknown picture format");
}

std::string ImageBytes(const QImage& image, const char* format, const std::string& stamp) {
  QImage stamped = image;
  if (!stamp.empty()) stamped.setText(QStringLiteral("Description"), QString::fromLatin1(stamp));
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  if (stamped.isNull() || !stamped.save(&buffer, format))
    throw std::runtime_error(std::string("The picture could not be encoded as ") + format);
  return Bytes(data);
}

void WritePictureBytes(const std::filesystem::path& path, const std::string& bytes) {
  WriteFileAtomically(path, [&](std::ostream& out) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  });
}

}  // namespace quillmere
