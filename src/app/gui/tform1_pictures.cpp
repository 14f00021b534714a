// TForm1: picture output — the three copies of the Edit menu, "Save P&icture as" and "&Print"
// with its speed button. The paints themselves are the core's (surface/metafile_paint.h); this
// file supplies the sizes of the screen and the window, the progress bar, the clipboard, the
// dialogs and the printer.
#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>

#include "app/file_commands.h"
#include "app/gui/drawn_stamp.h"
#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "core/scope_exit.h"
#include "platform/dialogs.h"
#include "surface/metafile_paint.h"
#include "surface/qt/canvas_recording.h"
#include "surface/qt/picture_bytes.h"
#include "surface/qt/picture_clipboard.h"
#include "surface/qt/qpainter_canvas.h"

namespace quillmere {

namespace {

/// Watches the whole application for the Escape key while a page is painted for the printer.
class EscapeWatcher : public QObject {
 public:
  bool pressed = false;

 protected:
  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      pressed = true;
      return true;
    }
    return QObject::eventFilter(receiver, event);
  }
};

VectorFormat FormatOf(PictureKind kind) {
  switch (kind) {
    case PictureKind::Emf:
      return VectorFormat::Emf;
    case PictureKind::Wmf:
      return VectorFormat::Wmf;
    case PictureKind::Svg:
      return VectorFormat::Svg;
    case PictureKind::Pdf:
      return VectorFormat::Pdf;
    default:
      return VectorFormat::Png;
  }
}

/// The pixel size of an encoded picture, read from its header.
QSize PixelSizeOf(const std::string& bytes) {
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  return QImageReader(&buffer).size();
}

}  // namespace

void TForm1::ConnectPictureCommands() {
  OnTriggered(CopyAsWindowBitmap1, [this] { CopyAsWindowBitmap1Click(); });
  OnTriggered(CopyAsEnhancedMetafile1, [this] { CopyMetafile(); });
  OnTriggered(CopyAsStandardMetafile1, [this] {
    enhancedMetafile = false;
    const ScopeExit enhancedAgain([this] { enhancedMetafile = true; });
    CopyMetafile();
  });
  OnTriggered(SaveBmp1, [this] { SavePictureAs(PictureKind::Bmp); });
  OnTriggered(SaveEmf1, [this] { SavePictureAs(PictureKind::Emf); });
  OnTriggered(SaveWmf1, [this] { SavePictureAs(PictureKind::Wmf); });
  OnTriggered(SavePng1, [this] { SavePictureAs(PictureKind::Png); });
  OnTriggered(SaveSvg1, [this] { SavePictureAs(PictureKind::Svg); });
  OnTriggered(SavePdf1, [this] { SavePictureAs(PictureKind::Pdf); });
  OnTriggered(Print1, [this] { Print1Click(); });
  OnTriggered(SpeedPrint, [this] { Print1Click(); });
}

void TForm1::CopyAsWindowBitmap1Click() {
  copyBitmapToClipboard = true;
  const ScopeExit off([this] { copyBitmapToClipboard = false; });
  SetUpSurface();
  ShowStatus("Picture copied to the clipboard as a bitmap of " +
             std::to_string(SceneBitmap().width()) + " x " +
             std::to_string(SceneBitmap().height()) + " pixels");
}

QSize TForm1::ScreenSize() const {
  const QScreen* s = screen();
  return s ? s->size() : QSize(1024, 768);
}

std::string TForm1::PaintAtMetafileSize(VectorFormat format) {
  const QSize screenSize = ScreenSize();
  const QSize window = surfaceArea->size();
  const MetafileSize size =
      MetafilePictureSize(screenSize.width(), screenSize.height(), window.width(), window.height());
  progressBar->setMaximum(std::max(1, MetafileProgressMaximum(state_.scene, state_.view)));
  progressBar->setValue(0);
  progressBar->show();
  progressBar->raise();
  const ScopeExit hideProgress([this] {
    progressBar->hide();
    progressBar->setMaximum(1);
  });
  MetafilePaintOptions options;
  options.crossSectionMode = state_.crossSectionMode;
  options.decimalSeparator = state_.services.decimalSeparator;
  options.progress = [this](int done) { progressBar->setValue(done); };
  return PaintPictureBytes(
      format, size.width, size.height,
      [&](Canvas& canvas) {
        PaintMetafile(state_.scene, state_.view, state_.DrawnTensor(), canvas, size, options);
      },
      DrawnStamp(state_));
}

void TForm1::CopyMetafile() {
  ShowBusy(true);
  const ScopeExit notBusy([this] { ShowBusy(false); });
  std::string picture =
      PaintAtMetafileSize(enhancedMetafile ? VectorFormat::Emf : VectorFormat::Wmf);
  const std::string svg = PaintAtMetafileSize(VectorFormat::Svg);
  metaPicture_ = std::move(picture);
  PutMetafileOnClipboard(metaPicture_, enhancedMetafile, svg);
  ShowStatus(std::string("Picture copied to the clipboard as ") +
             (enhancedMetafile ? "an enhanced" : "a standard") + " metafile of " +
             std::to_string(metaPicture_.size()) + " bytes, with an SVG copy");
}

void TForm1::SavePictureAs(PictureKind kind) {
  const PictureDialogTexts texts = PictureDialogTextsOf(kind);
  QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  if (pictures.isEmpty() || !QFileInfo(pictures).isDir())
    pictures = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
  // The tensor file's name: the one Save As chose, else the one last opened.
  const std::string& tensorFile =
      state_.currentSaveName.empty() ? state_.openDialogFileName : state_.currentSaveName;
  FileDialogRequest request;
  request.title = QStringLiteral("Save As");
  request.filter = texts.filter;
  request.defaultExtension = QString::fromLatin1(texts.extension);
  request.proposedPath = FromUtf8(
      ProposePicturePath(tensorFile, lastPictureFolder_, ToUtf8(pictures).c_str(), texts.extension)
          .string());
  const std::optional<QString> chosen = dialogs_.SaveFileName(request);
  if (!chosen) return;
  const std::filesystem::path path(ToUtf8(QFileInfo(*chosen).absoluteFilePath()));

  std::string bytes;
  switch (kind) {
    case PictureKind::Bmp:
      bytes = ImageBytes(SceneBitmap(), "BMP");
      break;
    case PictureKind::Emf:
    case PictureKind::Wmf: {
      // The metafile copy (which also leaves the picture on the clipboard), then its bytes.
      enhancedMetafile = kind == PictureKind::Emf;
      const ScopeExit enhancedAgain([this] { enhancedMetafile = true; });
      CopyMetafile();
      bytes = metaPicture_;
      break;
    }
    default: {
      ShowBusy(true);
      const ScopeExit notBusy([this] { ShowBusy(false); });
      bytes = PaintAtMetafileSize(FormatOf(kind));
    }
  }
  WritePictureBytes(path, bytes);
  lastPictureFolder_ = path.parent_path();
  std::string format = texts.extension;
  for (char& c : format) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  // A picture of pixels is named by its size; the vector pictures by their bytes.
  const QSize pixels = kind == PictureKind::Bmp   ? SceneBitmap().size()
                       : kind == PictureKind::Png ? PixelSizeOf(bytes)
                                                  : QSize();
  ShowStatus(pixels.isValid() ? WrittenMessage(format + " picture",
                                               std::to_string(pixels.width()) + " x " +
                                                   std::to_string(pixels.height()) + " pixels",
                                               path)
                              : WrittenMessage(format + " picture", path));
}

void TForm1::Print1Click() {
  // One printer for the whole run: the print dialog offers the printer, page and output file
  // chosen last time.
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrinter& printer = *printer_;
  if (!dialogs_.ChoosePrinter(printer)) return;

  ShowBusy(true);
  progressBar->setMaximum(std::max(1, RenderProgressSteps(state_.scene, state_.view)));
  progressBar->setValue(0);
  progressBar->show();
  progressBar->raise();
  const ScopeExit done([this] {
    progressBar->hide();
    progressBar->setMaximum(1);
    ShowBusy(false);
  });

  // The page is painted while window events run; Escape stops the job before anything is
  // sent, and the printer is started only for a page that was painted to its end.
  CanvasRecording page(printer.width(), printer.height());
  EscapeWatcher escape;
  QCoreApplication::instance()->installEventFilter(&escape);
  {
    const ScopeExit unwatch([&] { QCoreApplication::instance()->removeEventFilter(&escape); });
    PrintPageOptions options;
    options.crossSectionMode = state_.crossSectionMode;
    options.decimalSeparator = state_.services.decimalSeparator;
    // The picture fills the printable area in the proportions of the drawing area.
    options.dotsPerInch = printer.resolution();
    options.windowWidth = surfaceArea->width();
    options.windowHeight = surfaceArea->height();
    options.progress = [this](int steps) {
      progressBar->setValue(steps);
      QCoreApplication::processEvents();
    };
    // The page is painted from a copy of the scene: the events let through may re-project or
    // rebuild the window's own scene in the meantime.
    SceneList scene = state_.scene;
    const ViewSettings view = state_.view;
    const TensorState tensor = state_.DrawnTensor();
    PaintPrintedPage(scene, view, tensor, page, options);
  }
  if (escape.pressed) {
    dialogs_.ShowMessage(kPrintAbortedMessage);
    return;
  }
  QPainter painter;
  if (!painter.begin(&printer)) throw std::runtime_error("The printer could not be started");
  QPainterCanvas canvas(painter, printer.width(), printer.height());
  page.Replay(canvas);
  if (!painter.end()) throw std::runtime_error("The page could not be sent to the printer");
  ShowStatus(printer.outputFileName().isEmpty()
                 ? "Printed on " + ToUtf8(printer.printerName())
                 : "Printed to " + ToUtf8(QFileInfo(printer.outputFileName()).fileName()));
}

}  // namespace quillmere
