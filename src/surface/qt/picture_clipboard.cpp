#include "surface/qt/picture_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "surface/qt/picture_bytes.h"

namespace quillmere {

namespace {

QByteArray Data(const std::string& bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

}  // namespace

void PutImageOnClipboard(const QImage& image) {
  auto* data = new QMimeData;
  data->setImageData(image);
  data->setData(QStringLiteral("image/png"), Data(ImageBytes(image, "PNG")));
  data->setData(QStringLiteral("image/bmp"), Data(ImageBytes(image, "BMP")));
  QGuiApplication::clipboard()->setMimeData(data);
}

void PutMetafileOnClipboard(const std::string& metafile, bool enhanced, const std::string& svg) {
  auto* data = new QMimeData;
  const QByteArray bytes = Data(metafile);
  if (enhanced) {
    data->setData(QStringLiteral("image/emf"), bytes);
    data->setData(QStringLiteral("image/x-emf"), bytes);
  } else {
    data->setData(QStringLiteral("image/wmf"), bytes);
    data->setData(QStringLiteral("image/x-wmf"), bytes);
  }
  data->setData(QStringLiteral("image/svg+xml"), Data(svg));
  QGuiApplication::clipboard()->setMimeData(data);
}

}  // namespace quillmere
