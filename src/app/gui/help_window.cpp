#include "app/gui/help_window.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace quillmere {

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QString::fromLatin1(kHelpWindowTitle));
  resize(760, 640);

  auto* bar = new QToolBar(this);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  backAction = bar->addAction(QStringLiteral("Back"));
  backAction->setShortcut(QKeySequence::Back);
  backAction->setEnabled(false);
  forwardAction = bar->addAction(QStringLiteral("Forward"));
  forwardAction->setShortcut(QKeySequence::Forward);
  forwardAction->setEnabled(false);
  contentsAction = bar->addAction(QStringLiteral("Contents"));
  bar->addSeparator();
  bar->addWidget(new QLabel(QStringLiteral(" Find: "), bar));
  findField = new QLineEdit(bar);
  findField->setObjectName(QStringLiteral("HelpFind"));
  findField->setClearButtonEnabled(true);
  findField->setMaximumWidth(220);
  bar->addWidget(findField);
  QAction* next = bar->addAction(QStringLiteral("Next"));
  next->setShortcut(QKeySequence::FindNext);
  QAction* previous = bar->addAction(QStringLiteral("Previous"));
  previous->setShortcut(QKeySequence::FindPrevious);
  auto* find = new QAction(this);
  find->setShortcut(QKeySequence::Find);
  addAction(find);

  browser = new QTextBrowser(this);
  browser->setObjectName(QStringLiteral("HelpBrowser"));
  // Pages of the manual open here; addresses on the web go to the desktop's browser.
  browser->setOpenLinks(true);
  browser->setOpenExternalLinks(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(browser, 1);

  connect(backAction, &QAction::triggered, browser, &QTextBrowser::backward);
  connect(forwardAction, &QAction::triggered, browser, &QTextBrowser::forward);
  connect(browser, &QTextBrowser::backwardAvailable, backAction, &QAction::setEnabled);
  connect(browser, &QTextBrowser::forwardAvailable, forwardAction, &QAction::setEnabled);
  connect(contentsAction, &QAction::triggered, this, [this] {
    if (!contentsPath_.isEmpty()) browser->setSource(QUrl::fromLocalFile(contentsPath_));
  });
  connect(findField, &QLineEdit::returnPressed, this, [this] { FindNext(); });
  connect(next, &QAction::triggered, this, [this] { FindNext(); });
  connect(previous, &QAction::triggered, this, [this] { FindNext(true); });
  connect(find, &QAction::triggered, this, [this] {
    findField->setFocus();
    findField->selectAll();
  });
}

bool HelpWindow::ShowContents(const QString& path) {
  if (!QFileInfo(path).isFile()) return false;
  contentsPath_ = QFileInfo(path).absoluteFilePath();
  browser->setSource(QUrl::fromLocalFile(contentsPath_));
  return true;
}

bool HelpWindow::FindNext(bool backward) {
  const QString text = findField->text();
  if (text.isEmpty()) return false;
  const QTextDocument::FindFlags flags =
      backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (browser->find(text, flags)) return true;
  // Wrap round: start again from the other end of the page.
  QTextCursor cursor = browser->textCursor();
  cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
  browser->setTextCursor(cursor);
  return browser->find(text, flags);
}

}  // namespace quillmere
