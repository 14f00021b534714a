// The picture commands of the main window: the copies of the Edit menu, "Save P&icture as" and
// "&Print".
#include "app/gui/picture_commands_controller.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include "app/file_commands.h"
#include "app/gui/drawn_stamp.h"
#include "app/program_state.h"
#include "core/scope_exit.h"
#include "platform/dialogs.h"
#include "surface/metafile_paint.h"
#include "surface/qt/canvas_recording.h"
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

}  // namespace

PictureCommandsController::PictureCommandsController(ProgramState& state, Dialogs& dialogs,
                                                     QWidget* area, QProgressBar* progress,
                                                     PictureCommandsHooks hooks, QObject* parent)
    : QObject(parent),
      state_(state),
      dialogs_(dialogs),
      area_(area),
      progress_(progress),
      hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("PictureCommands"));
}

PictureCommandsController::~PictureCommandsController() = default;

void PictureCommandsController::StartProgress(int maximum) {
  progress_->setMaximum(std::max(1, maximum));
  progress_->setValue(0);
  progress_->show();
  progress_->raise();
}

void PictureCommandsController::EndProgress() {
  progress_->hide();
  progress_->setMaximum(1);
}

void PictureCommandsController::CopyAsWindowBitmap1Click() {
  const QImage& picture = hooks_.paintOntoClipboard();
  hooks_.showStatus("Picture copied to the clipboard as a bitmap of " +
                    std::to_string(picture.width()) + " x " + std::to_string(picture.height()) +
                    " pixels");
}

QSize PictureCommandsController::ScreenSize() const {
  const QScreen* s = area_->screen();
  return s ? s->size() : QSize(1024, 768);
}

std::string PictureCommandsController::PaintAtMetafileSize(VectorFormat format, QSize* painted) {
  const QSize screenSize = ScreenSize();
  const QSize window = area_->size();
  const MetafileSize size =
      MetafilePictureSize(screenSize.width(), screenSize.height(), window.width(), window.height());
  if (painted) *painted = QSize(size.width, size.height);
  StartProgress(MetafileProgressMaximum(state_.scene, state_.view));
  const ScopeExit hideProgress([this] { EndProgress(); });
  MetafilePaintOptions options;
  options.crossSectionMode = state_.crossSectionMode;
  options.decimalSeparator = state_.services.decimalSeparator;
  options.progress = [this](int done) { progress_->setValue(done); };
  return PaintPictureBytes(
      format, size.width, size.height,
      [&](Canvas& canvas) {
        PaintMetafile(state_.scene, state_.view, state_.DrawnTensor(), canvas, size, options);
      },
      DrawnStamp(state_));
}

void PictureCommandsController::CopyMetafile(bool enhanced) {
  hooks_.showBusy(true);
  const ScopeExit notBusy([this] { hooks_.showBusy(false); });
  std::string picture = PaintAtMetafileSize(enhanced ? VectorFormat::Emf : VectorFormat::Wmf);
  const std::string svg = PaintAtMetafileSize(VectorFormat::Svg);
  metaPicture_ = std::move(picture);
  PutMetafileOnClipboard(metaPicture_, enhanced, svg);
  hooks_.showStatus(std::string("Picture copied to the clipboard as ") +
                    (enhanced ? "an enhanced" : "a standard") + " metafile of " +
                    std::to_string(metaPicture_.size()) + " bytes, with an SVG copy");
}

void PictureCommandsController::SavePictureAs(PictureKind kind) {
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
  QSize pixels;  // a picture of pixels is named by its size; the vector pictures by their bytes
  switch (kind) {
    case PictureKind::Bmp:
      bytes = ImageBytes(hooks_.screenPicture(), "BMP");
      pixels = hooks_.screenPicture().size();
      break;
    case PictureKind::Emf:
    case PictureKind::Wmf: {
      // The metafile copy (which also leaves the picture on the clipboard), then its bytes.
      CopyMetafile(kind == PictureKind::Emf);
      bytes = metaPicture_;
      break;
    }
    default: {
      hooks_.showBusy(true);
      const ScopeExit notBusy([this] { hooks_.showBusy(false); });
      bytes = PaintAtMetafileSize(FormatOf(kind), kind == PictureKind::Png ? &pixels : nullptr);
    }
  }
  WritePictureBytes(path, bytes);
  lastPictureFolder_ = path.parent_path();
  std::string format = texts.extension;
  for (char& c : format) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  hooks_.showStatus(pixels.isValid()
                        ? WrittenMessage(format + " picture",
                                         std::to_string(pixels.width()) + " x " +
                                             std::to_string(pixels.height()) + " pixels",
                                         path)
                        : WrittenMessage(format + " picture", path));
}

void PictureCommandsController::Print1Click() {
  // One printer for the whole run: the print dialog offers the printer, page and output file
  // chosen last time.
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrinter& printer = *printer_;
  if (!dialogs_.ChoosePrinter(printer)) return;

  hooks_.showBusy(true);
  StartProgress(RenderProgressSteps(state_.scene, state_.view));
  const ScopeExit done([this] {
    EndProgress();
    hooks_.showBusy(false);
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
    options.windowWidth = area_->width();
    options.windowHeight = area_->height();
    options.progress = [this](int steps) {
      progress_->setValue(steps);
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
  hooks_.showStatus(printer.outputFileName().isEmpty()
                        ? "Printed on " + ToUtf8(printer.printerName())
                        : "Printed to " + ToUtf8(QFileInfo(printer.outputFileName()).fileName()));
}

}  // namespace quillmere
