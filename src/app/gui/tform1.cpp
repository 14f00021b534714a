// TForm1: the frame of the main window, the splash, the first activation, the start-up timer,
// about, help and the confirmed close.
#include "app/gui/tform1.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoStack>
#include <QUrl>

#include "app/file_commands.h"
#include "app/gui/drawing_area_controller.h"
#include "app/gui/file_commands_controller.h"
#include "app/gui/splash_picture.h"
#include "app/gui/surface_area.h"
#include "app/program_state.h"
#include "app/recovery.h"
#include "files/settings_file.h"
#include "platform/dialogs.h"
#include "platform/floating_point.h"
#include "platform/widgets/panel_labels.h"
#include "surface/qt/qpainter_canvas.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/tensor_panel.h"
#include "update/gui/tformupdate.h"
#include "update/update_check.h"

namespace quillmere {

namespace {

constexpr int kSplashSize = 343;
constexpr int kSplashEndDelay = 7000;    // ms, when the update check finds the version current
constexpr int kSplashClickDelay = 10;    // ms
constexpr int kStartupTimerDelay = 100;  // ms

}  // namespace

TForm1::TForm1(ProgramState& state, Dialogs& dialogs, UpdateCheck& updateCheck,
               TFormupdate& updateWindow, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::FramelessWindowHint),
      state_(state),
      dialogs_(dialogs),
      updateCheck_(updateCheck),
      updateWindow_(updateWindow) {
  MaskFloatingPointTraps();
  setObjectName(QStringLiteral("TForm1"));
  ShowCaption(QString::fromLatin1(kMainWindowTitle));

  DrawingAreaHooks drawingHooks;
  drawingHooks.beforeBuild = [this] { UpdateDrawnQuantity(); };
  drawingHooks.showDrawnUnit = [this] { RefreshPanelLabels(PanelTextsOf(state_.DrawnTensor())); };
  drawingHooks.afterBuild = [this] { ShowExtremesAfterBuild(); };
  drawingHooks.activate = [this] { FormActivate(); };
  // The readout named a point of the previous picture.
  drawingHooks.pictureChanged = [this] {
    if (pointerReadout) pointerReadout->clear();
  };
  drawing_ = new DrawingAreaController(state_, this, std::move(drawingHooks), this);
  surfaceArea = drawing_->area();
  setCentralWidget(surfaceArea);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setSingleShot(true);
  Timer1->setInterval(kSplashEndDelay);
  connect(Timer1, &QTimer::timeout, this, [this] { Guarded([this] { Timer1Timer(); }); });
  Timer3 = new QTimer(this);
  Timer3->setObjectName(QStringLiteral("Timer3"));
  Timer3->setSingleShot(true);
  Timer3->setInterval(kStartupTimerDelay);
  connect(Timer3, &QTimer::timeout, this, [this] { Guarded([this] { Timer3Timer(); }); });

  CreateSpeedButtonBar();
  CreateMainMenus(menus_, menuBar(), speedButtonBar, state_.view);
  ConnectFileCommands();
  ConnectDrawingCommands();
  ConnectPictureCommands();
  ConnectViewControls();
  ConnectComponentEntry();
  ConnectConstantsCommands();
  ConnectHelpAndShortcuts();
  ConnectExtremes();
  ConnectElastic();
  ConnectFitCommands();
  ConnectUpdateCommands();
  ConnectUndo();

  connect(surfaceArea, &SurfaceArea::resized, this, [this] {
    PlaceOverlays();
    // Re-project once the resizing has settled, not at every intermediate size.
    if (resizePending_) return;
    resizePending_ = true;
    QTimer::singleShot(0, this, [this] {
      resizePending_ = false;
      Guarded([this] { drawing_->SetUpSurface(); });
    });
  });

  // The splash: borderless, no menus or bars, the picture over the whole client area.
  menuBar()->hide();
  speedButtonBar->hide();
  statusBar()->hide();
  Image1 = new ClickableLabel(QString(), this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(QPixmap::fromImage(SplashPicture(kSplashSize, devicePixelRatioF())));
  Image1->setGeometry(0, 0, kSplashSize, kSplashSize);
  Image1->setCursor(Qt::PointingHandCursor);
  connect(Image1, &ClickableLabel::clicked, this, [this] { Guarded([this] { Image1Click(); }); });
  resize(kSplashSize, kSplashSize);
  CentreOnScreen();
  Image1->raise();
}

TForm1::~TForm1() {
  // The undo stack is a child and outlives the members: its last signals must not reach them.
  if (undoStack) undoStack->disconnect(this);
}

QWidget* TForm1::DrawingArea() {
  return surfaceArea;
}

TensorPanel* TForm1::TensorPanelWidget() const {
  return componentEntry_->tensorPanel();
}

bool TForm1::Guarded(const std::function<void()>& handler) {
  const bool done = ReportErrors(dialogs_, handler);
  RecordStep();
  return done;
}

void TForm1::OnTriggered(QAction* action, std::function<void()> handler) {
  action->setEnabled(true);
  connect(action, &QAction::triggered, this,
          [this, handler = std::move(handler)] { Guarded(handler); });
}

void TForm1::CentreOnScreen() {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  QRect frame = frameGeometry();
  frame.moveCenter(available.center());
  move(frame.topLeft());
}

void TForm1::PlaceOverlays() {
  if (!componentEntry_) return;
  const int w = surfaceArea->width();
  QWidget* panel = TensorPanelWidget();
  panel->adjustSize();
  panel->move(std::max(0, w - panel->width() - 8), 8);
  drawing_->PlaceProgressArea();
  if (inSplash_) return;
  UpdateMinimumSize();
  KeepPanelsInside();
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  PlaceOverlays();
  if (Image1 && Image1->isVisible() && !inSplash_)
    Image1->move((width() - kSplashSize) / 2, (height() - kSplashSize) / 2);
}

void TForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow())
    Guarded([this] { FormActivate(); });
}

// ---- Start-up -------------------------------------------------------------------------------

void TForm1::FormActivate() {
  if (!state_.firstActivation) return;
  state_.firstActivation = false;
  drawing_->RebuildPalette();
  state_.transformMatrix = IdentityMatrix();
  // The program directory's system attribute of the original has no counterpart here.
  Timer3->start();
}

void TForm1::Timer3Timer() {
  QCoreApplication::processEvents();
  Timer3->stop();
  if (state_.updateChecked) return;
  try {
    if (updateCheck_.IsAdmin()) {
      if (updateCheck_.CheckForUpdates(false, updateDisplay(), dialogs_)) {
        EndProgram();  // the installer runs
        return;
      }
      show();
    }
  } catch (...) {
    // A failed check starts the program as if there had been none.
  }
  updateWindow_.hide();
  state_.updateChecked = true;
}

void TForm1::Timer1Timer() {
  if (!inSplash_) return;  // the splash ends once
  inSplash_ = false;
  Image1->hide();
  Timer1->stop();
  hide();
  const StartWindow size = ScreenFittedWindowSize();
  setWindowFlags(Qt::Window);
  resize(size.width, size.height);
  menuBar()->show();
  speedButtonBar->setVisible(menus_.Speedbuttons1->isChecked());
  statusBar()->setVisible(menus_.Speedbuttons1->isChecked());
  TensorPanelWidget()->show();
  CentreOnScreen();
  show();
  // A stored size below the minimum opens at the minimum (the settings file keeps its text).
  PlaceOverlays();
  CentreOnScreen();
  emit workingStateEntered();

  // A file that cannot be read is reported, and the start goes on as one without a file, so the
  // window never stays with an empty panel and no picture.
  if (commandLine_.size() == 1 && Guarded([this] { files_->OpenFile(commandLine_.front()); })) {
    OfferRecoveryCopies();
    return;
  }
  drawing_->DrawTensor();
  Label11Click();
  OfferRecoveryCopies();
}

void TForm1::OfferRecoveryCopies() {
  if (state_.recoveryDirectory.empty()) return;
  for (const std::filesystem::path& copy : RecoveryCopies(state_.recoveryDirectory)) {
    if (dialogs_.AskYesNo(RecoveryQuestion(copy))) {
      // Read as a file without a name: Save then asks where the tensor goes.
      Guarded([&] {
        OpenTensorFile(state_, copy.string());
        Label11Click();
        emit tensorFileOpened();
        drawing_->DrawTensor();
      });
    }
    std::error_code ignored;
    std::filesystem::remove(copy, ignored);
  }
}

StartWindow TForm1::ScreenFittedWindowSize() const {
  const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
  const QSize available = where ? where->availableGeometry().size() : QSize();
  return UsableWindowSize(state_.startWindow, available.width(), available.height());
}

void TForm1::Image1Click() {
  Image1->hide();
  if (inSplash_) Timer1->start(kSplashClickDelay);
}

void TForm1::Image3Click() {
  if (inSplash_) return;
  Image1->move((width() - kSplashSize) / 2, (height() - kSplashSize) / 2);
  Image1->setVisible(!Image1->isVisible());
  Image1->raise();
}

void TForm1::Close1Click() {
  close();
}

// ---- Closing --------------------------------------------------------------------------------

void TForm1::closeEvent(QCloseEvent* event) {
  FormClose(event);
}

void TForm1::FormClose(QCloseEvent* event) {
  if (closing_) {
    event->accept();
    return;
  }
  // A modified tensor gets the save question in place of the plain one.
  RecordStep();
  const bool mayClose = TensorModified() ? MaySetTensorAside() : dialogs_.AskYesNo(kCloseQuestion);
  if (!mayClose) {
    event->ignore();
    return;
  }
  EndProgram();
  event->accept();
}

void TForm1::CloseOnTermination() {
  if (closing_) return;
  try {
    if (!state_.recoveryDirectory.empty() && HasUnsavedChanges(state_))
      WriteRecoveryCopy(state_, state_.recoveryDirectory);
  } catch (const std::exception&) {
    // Nothing more can be kept; the settings are still written on the way out.
  }
  EndProgram();
  close();
}

void TForm1::EndProgram() {
  closing_ = true;
  updateWindow_.close();  // ends the program once the running handler returns
  // During the splash the window has not yet taken its size; the size from the file stays.
  StartWindow size = ScreenFittedWindowSize();
  if (!inSplash_) {
    const QSize now = isMaximized() || isFullScreen() ? normalGeometry().size() : this->size();
    size.width = now.width();
    size.height = now.height();
  }
  SaveSettingsAtClose(state_.Settings(), size.width, size.height, state_.startWindow.reserved);
  // The platform's floating-point state comes back only once the close is confirmed, so a
  // declined "&Exit" leaves the program with its traps masked.
  RestoreFloatingPointDefaults();
}

}  // namespace quillmere
