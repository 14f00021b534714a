// TForm1: Exit, the help window, About, the home page, the desktop's shortcuts and tensor files
// dropped on the window.
#include <QAction>
#include <QDesktopServices>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "app/about_text.h"
#include "app/file_commands.h"
#include "app/gui/file_commands_controller.h"
#include "app/gui/help_window.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "platform/dialogs.h"

#ifndef QUILLMERE_HOMEPAGE
#define QUILLMERE_HOMEPAGE ""
#endif

namespace quillmere {

namespace {

/// The one local file a drag carries, or an empty text.
QString DroppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return QFileInfo(path).isDir() ? QString() : path;
}

/// Takes drags of one local file over the window and opens it when dropped.
class FileDrops : public QObject {
 public:
  explicit FileDrops(TForm1* form) : QObject(form), form_(form) {
    form->setAcceptDrops(true);
    form->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != form_) return false;
    switch (event->type()) {
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!form_->InSplash() && !DroppedFile(drag->mimeData()).isEmpty())
          drag->acceptProposedAction();
        else
          drag->ignore();
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DroppedFile(drop->mimeData());
        if (form_->InSplash() || path.isEmpty()) return true;
        drop->acceptProposedAction();
        form_->Guarded([&] {
          if (form_->MaySetTensorAside()) form_->files().OpenFile(path);
        });
        return true;
      }
      default:
        return false;
    }
  }

 private:
  TForm1* form_;
};

}  // namespace

void TForm1::ConnectHelpAndShortcuts() {
  OnTriggered(menus_.Close1, [this] { Close1Click(); });
  OnTriggered(menus_.Contents1, [this] { Contents1Click(); });
  OnTriggered(menus_.SpeedHelp, [this] { Contents1Click(); });
  OnTriggered(menus_.About1, [this] { About1Click(); });

  homepageAddress = QString::fromUtf8(QUILLMERE_HOMEPAGE);
  if (homepageAddress.isEmpty()) {
    menus_.Homepage1->setEnabled(false);
    menus_.Homepage1->setToolTip(
        QStringLiteral("No home page: this build was configured without one, so there is "
                       "nothing to open"));
    menus_.HelpMenu->setToolTipsVisible(true);
  } else {
    OnTriggered(menus_.Homepage1, [this] { Homepage1Click(); });
    menus_.Homepage1->setToolTip(homepageAddress);
  }

  // The desktop's usual keys, shown in the menus beside the items' own accelerators.
  menus_.New1->setShortcut(QKeySequence::New);
  menus_.Open1->setShortcut(QKeySequence::Open);
  menus_.Save1->setShortcut(QKeySequence::Save);
  menus_.SaveAs1->setShortcut(QKeySequence(QKeySequence::SaveAs).isEmpty()
                                  ? QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)
                                  : QKeySequence(QKeySequence::SaveAs));
  menus_.Print1->setShortcut(QKeySequence::Print);
  menus_.Close1->setShortcut(QKeySequence(QKeySequence::Quit).isEmpty()
                                 ? QKeySequence(Qt::CTRL | Qt::Key_Q)
                                 : QKeySequence(QKeySequence::Quit));
  menus_.Contents1->setShortcut(QKeySequence::HelpContents);
  menus_.DRAW1->setShortcut(QKeySequence(Qt::Key_F5));
  // The speed buttons share the handlers but not the keys, so each key has one owner.

  new FileDrops(this);
}

void TForm1::Contents1Click() {
  const QString path = FromUtf8(state_.programDirectory) + QString::fromLatin1(kHelpFileName);
  if (!helpWindow) helpWindow = new HelpWindow(this);
  if (!helpWindow->ShowContents(path)) {
    dialogs_.ShowMessage("The manual " + ToUtf8(path) + " is not installed.");
    return;
  }
  helpWindow->show();
  helpWindow->raise();
  helpWindow->activateWindow();
}

void TForm1::About1Click() {
  dialogs_.ShowAbout("About Quillmere", AboutText(qVersion(), state_.services.SymmetryTablePath(),
                                                  ToUtf8(homepageAddress)));
}

void TForm1::Homepage1Click() {
  if (!homepageAddress.isEmpty()) QDesktopServices::openUrl(QUrl(homepageAddress));
}

}  // namespace quillmere
