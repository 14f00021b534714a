#include "surface/gui/projection_map_window.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "surface/qt/qpainter_canvas.h"

namespace quillmere {

/// The drawing area: the map as large as fits, centred.
class MapView : public QWidget {
 public:
  explicit MapView(ProjectionMapWindow& window) : QWidget(&window), window_(window) {
    setMinimumSize(320, 300);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    window_.PaintView(painter, width(), height());
  }

 private:
  ProjectionMapWindow& window_;
};

ProjectionMapWindow::ProjectionMapWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
  setObjectName(QStringLiteral("ProjectionMapWindow"));
  setWindowTitle(QStringLiteral("Projection map"));
  projectionBox = new QComboBox(this);
  projectionBox->addItem(QStringLiteral("Equal-area (Lambert)"));
  projectionBox->addItem(QStringLiteral("Stereographic"));
  hemisphereBox = new QComboBox(this);
  hemisphereBox->addItem(QStringLiteral("Upper hemisphere"));
  hemisphereBox->addItem(QStringLiteral("Lower hemisphere"));
  hemisphereBox->addItem(QStringLiteral("Both hemispheres"));
  copyButton = new QPushButton(QStringLiteral("&Copy"), this);
  copyButton->setToolTip(QStringLiteral("Copy the map to the clipboard"));
  saveButton = new QPushButton(QStringLiteral("&Save..."), this);
  saveButton->setToolTip(QStringLiteral("Save the map as PNG, SVG, PDF, EMF, WMF or CSV"));
  mapView = new MapView(*this);

  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel(QStringLiteral("Projection:"), this));
  controls->addWidget(projectionBox);
  controls->addSpacing(8);
  controls->addWidget(hemisphereBox);
  controls->addStretch(1);
  controls->addWidget(copyButton);
  controls->addWidget(saveButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(mapView, 1);
  resize(560, 560);

  auto changed = [this] {
    cacheValid_ = false;
    mapView->update();
  };
  connect(projectionBox, &QComboBox::currentIndexChanged, this, changed);
  connect(hemisphereBox, &QComboBox::currentIndexChanged, this, changed);
  connect(copyButton, &QPushButton::clicked, this, [this] { CopyClick(); });
  connect(saveButton, &QPushButton::clicked, this, [this] { SaveClick(); });
}

void ProjectionMapWindow::ShowTensor(const TensorState& t, const SurfaceEvaluation& e,
                                     int captionStyle, char decimalSeparator) {
  tensor_ = t;
  evaluation_ = e;
  captionStyle_ = captionStyle;
  decimalSeparator_ = decimalSeparator;
  haveTensor_ = true;
  cacheValid_ = false;
  mapView->update();
}

MapPictureOptions ProjectionMapWindow::Options() const {
  MapPictureOptions o;
  o.projection =
      projectionBox->currentIndex() == 1 ? MapProjection::Stereographic : MapProjection::EqualArea;
  o.hemisphere = hemisphereBox->currentIndex() == 1   ? MapHemisphere::Lower
                 : hemisphereBox->currentIndex() == 2 ? MapHemisphere::Both
                                                      : MapHemisphere::Upper;
  o.captionStyle = captionStyle_;
  o.decimalSeparator = decimalSeparator_;
  return o;
}

QImage ProjectionMapWindow::Picture(int width) const {
  const MapPictureOptions o = Options();
  QImage image(width, MapPictureHeight(width, o.hemisphere), QImage::Format_RGB32);
  image.fill(Qt::white);
  if (haveTensor_) {
    QPainter painter(&image);
    QPainterCanvas canvas(painter, image.width(), image.height());
    PaintMap(canvas, tensor_, evaluation_, o, false);
  }
  return image;
}

void ProjectionMapWindow::PaintView(QPainter& painter, int width, int height) {
  if (!haveTensor_) return;
  const MapPictureOptions o = Options();
  // The largest picture of the map's proportions that fits.
  const double ratio = MapPictureHeight(1000, o.hemisphere) / 1000.0;
  const int w = std::max(200, std::min(width, static_cast<int>(height / ratio)));
  if (!cacheValid_ || cacheSize_ != QSize(width, height) || cache_.width() != w) {
    cache_ = Picture(w);
    cacheSize_ = QSize(width, height);
    cacheValid_ = true;
  }
  painter.drawImage(QPoint((width - cache_.width()) / 2, (height - cache_.height()) / 2), cache_);
}

void ProjectionMapWindow::CopyClick() {
  QGuiApplication::clipboard()->setImage(Picture(800));
}

void ProjectionMapWindow::SaveClick() {
  FileDialogRequest request;
  request.title = QStringLiteral("Save the projection map");
  request.filter =
      "PNG image (*.png)|*.png|SVG picture (*.svg)|*.svg|PDF document (*.pdf)|*.pdf|"
      "Enhanced Metafile (*.emf)|*.emf|Standard Metafile (*.wmf)|*.wmf|CSV table (*.csv)|*.csv";
  request.defaultExtension = QStringLiteral("png");
  request.proposedPath = QStringLiteral("map.png");
  const std::optional<QString> name = dialogs_.SaveFileName(request);
  if (!name) return;
  const std::filesystem::path path = ToUtf8(*name);
  try {
    const MapFormat format = MapFormatOf(path);
    WriteMapFile(path, format, format == MapFormat::Csv ? 100 : 800, tensor_, evaluation_,
                 Options());
  } catch (const std::exception& e) {
    dialogs_.ShowError(e.what());
  }
}

}  // namespace quillmere
