// TForm1: undo and redo of every change of the tensor, the modified mark of the caption, the
// question before unsaved changes are set aside, and the status line.
//
// A step is found by comparison rather than announced by each handler: after every command of
// the window (OnTriggered, Guarded) and after every click or key anywhere in the program, the
// tensor is compared with the state of the last step; a difference becomes one step, named by
// what changed, or by the command that made it (RunStep). Undo and redo put a step's snapshot
// back and redraw. The view (turning, zoom, colours) is not part of a snapshot, so its changes
// are no steps.
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>

#include "app/file_commands.h"
#include "app/gui/drawing_area_controller.h"
#include "app/gui/file_commands_controller.h"
#include "app/gui/surface_area.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "fit/gui/fit_panels_controller.h"
#include "platform/dialogs.h"

namespace quillmere {

namespace {

constexpr int kStatusMessageTime = 10000;  // ms a status message stays

/// One change of the tensor: the snapshots before and after it.
class TensorStep : public QUndoCommand {
 public:
  TensorStep(TForm1* form, TensorSnapshot before, TensorSnapshot after, const QString& name)
      : QUndoCommand(name), form_(form), before_(std::move(before)), after_(std::move(after)) {
    withFile_ = before_.currentSaveName != after_.currentSaveName ||
                before_.saveNameValid != after_.saveNameValid;
  }
  void undo() override { form_->ShowSnapshot(before_, withFile_); }
  void redo() override {
    // The push of a step that has just happened: the tensor already is `after`.
    if (pushed_) form_->ShowSnapshot(after_, withFile_);
    pushed_ = true;
  }

 private:
  TForm1* form_;
  TensorSnapshot before_;
  TensorSnapshot after_;
  bool withFile_ = false;
  bool pushed_ = false;
};

/// Schedules a comparison after every mouse release and key release in the program, so that
/// changes made by widgets that reach the tensor without a window command (grids, choosers,
/// the New Tensor panel, the fit window) become steps too.
class StepWatch : public QObject {
 public:
  explicit StepWatch(TForm1* form) : QObject(form), form_(form) { qApp->installEventFilter(this); }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonRelease || type == QEvent::KeyRelease) && !scheduled_) {
      scheduled_ = true;
      QTimer::singleShot(0, this, [this] {
        scheduled_ = false;
        // A modal box belongs to a command still running; the command records its own step.
        if (!QApplication::activeModalWidget()) form_->RecordStep();
      });
    }
    return false;
  }

 private:
  TForm1* form_;
  bool scheduled_ = false;
};

}  // namespace

void TForm1::ConnectUndo() {
  undoStack = new QUndoStack(this);
  undoStack->setObjectName(QStringLiteral("UndoStack"));
  undoBaseline_ = TakeTensorSnapshot(state_);
  menus_.Undo1 = undoStack->createUndoAction(this, QStringLiteral("&Undo"));
  menus_.Undo1->setObjectName(QStringLiteral("Undo1"));
  menus_.Undo1->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z)});
  menus_.Redo1 = undoStack->createRedoAction(this, QStringLiteral("&Redo"));
  menus_.Redo1->setObjectName(QStringLiteral("Redo1"));
  menus_.Redo1->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  QAction* first =
      menus_.EditMenu->actions().isEmpty() ? nullptr : menus_.EditMenu->actions().front();
  menus_.EditMenu->insertAction(first, menus_.Undo1);
  menus_.EditMenu->insertAction(first, menus_.Redo1);
  menus_.EditMenu->insertSeparator(first);
  // The keys work while the menu bar is hidden too.
  addAction(menus_.Undo1);
  addAction(menus_.Redo1);
  connect(undoStack, &QUndoStack::cleanChanged, this, [this](bool) { ShowCaption(caption_); });
  new StepWatch(this);

  statusBar()->setObjectName(QStringLiteral("StatusLine"));
  statusBar()->setSizeGripEnabled(true);
  pointerReadout = new QLabel(statusBar());
  pointerReadout->setObjectName(QStringLiteral("PointerReadout"));
  // A long readout is cut at the window's edge rather than widening a narrow window.
  pointerReadout->setMinimumWidth(1);
  statusBar()->addPermanentWidget(pointerReadout);
  connect(surfaceArea, &SurfaceArea::pointerLeft, pointerReadout, &QLabel::clear);
}

void TForm1::RecordStep() {
  if (showingSnapshot_ || !undoStack) return;
  // The fixed-direction panel sets a flag at each click; its OK (or Escape) ends the one step.
  // An open fit window only borrows the tensor until a fit is taken over (closed without one,
  // the tensor before it comes back): the borrowed tensor is no step, the fit taken over is.
  if (fitPanels_ && fitPanels_->BorrowsTensor()) return;
  const QString name = stepName_;
  stepName_.clear();
  TensorSnapshot now = TakeTensorSnapshot(state_);
  if (inSplash_) {
    undoBaseline_ = std::move(now);
    return;
  }
  const std::string changed = ChangeName(undoBaseline_, now);
  if (changed.empty()) {
    // A new file name alone (Save As, the New Tensor panel) is no step, but later steps keep it.
    undoBaseline_ = std::move(now);
    return;
  }
  TensorSnapshot before = std::move(undoBaseline_);
  undoBaseline_ = now;
  undoStack->push(new TensorStep(this, std::move(before), std::move(now),
                                 name.isEmpty() ? FromUtf8(changed) : name));
}

void TForm1::RunStep(const QString& name, const std::function<void()>& handler) {
  // Changes made before the command are a step of their own.
  RecordStep();
  stepName_ = name;
  Guarded(handler);
  RecordStep();
}

void TForm1::ShowSnapshot(const TensorSnapshot& snapshot, bool withFile) {
  showingSnapshot_ = true;
  Guarded([&] {
    RestoreTensorSnapshot(state_, snapshot, withFile);
    undoBaseline_ = TakeTensorSnapshot(state_);
    if (withFile)
      ShowCaption(state_.currentSaveName.empty()
                      ? QString::fromLatin1(kMainWindowTitle)
                      : FromUtf8(CaptionForFile(state_.currentSaveName)));
    // Text typed into a grid belonged to the tensor before.
    emit tensorReplaced();
    Label11Click();
    drawing_->DrawTensor();
  });
  showingSnapshot_ = false;
}

void TForm1::AbsorbDisplayRescale() {
  if (showingSnapshot_) return;
  undoBaseline_.tensor.scale = state_.tensor.scale;
  undoBaseline_.tensor.exponent = state_.tensor.exponent;
}

bool TForm1::TensorModified() const {
  return undoStack && !undoStack->isClean();
}

void TForm1::MarkSaved() {
  RecordStep();
  if (undoStack) undoStack->setClean();
  ShowCaption(caption_);
}

void TForm1::ShowCaption(const QString& caption) {
  caption_ = caption;
  setWindowTitle(TensorModified() ? caption + QLatin1Char('*') : caption);
}

bool TForm1::MaySetTensorAside() {
  RecordStep();
  if (!TensorModified()) return true;
  switch (dialogs_.AskSaveChanges(SaveChangesQuestion(state_.currentSaveName))) {
    case SaveChangesAnswer::Save:
      files_->Save1Click();
      // A save dialog cancelled keeps the changes, and with them the tensor.
      return !TensorModified();
    case SaveChangesAnswer::Discard:
      return true;
    case SaveChangesAnswer::Cancel:
      break;
  }
  return false;
}

void TForm1::ShowStatus(const std::string& text) {
  statusBar()->showMessage(FromUtf8(text), kStatusMessageTime);
}

}  // namespace quillmere
