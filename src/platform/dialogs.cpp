#include "platform/dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <exception>
#include <memory>

namespace quillmere {

namespace {

const char kCaption[] = "Quillmere";

template <typename T>
std::optional<T> TakeFront(std::deque<std::optional<T>>& script, int& unscripted) {
  if (script.empty()) {
    ++unscripted;
    return std::nullopt;
  }
  const bool cancelled = !script.front().has_value();
  T value = cancelled ? T() : *script.front();
  script.pop_front();
  if (cancelled) return std::nullopt;
  return value;
}

QFileDialog* NewFileDialog(QWidget* parent, const FileDialogRequest& request) {
  auto* dialog = new QFileDialog(parent, request.title);
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setNameFilters(QtNameFilters(request.filter));
  if (!request.defaultExtension.isEmpty()) dialog->setDefaultSuffix(request.defaultExtension);
  if (!request.proposedPath.isEmpty()) {
    const QFileInfo proposed(request.proposedPath);
    if (proposed.dir().exists()) dialog->setDirectory(proposed.absolutePath());
    dialog->selectFile(proposed.fileName());
  }
  return dialog;
}

/// A message box is a dialog of the window it answers: a title and a close button, no minimise
/// or maximise button (window managers otherwise give an ownerless or plain box both).
void AsDialogBox(QMessageBox& box) {
  Qt::WindowFlags flags = box.windowFlags();
  flags &= ~(Qt::WindowMinMaxButtonsHint | Qt::WindowType_Mask);
  flags |= Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
  box.setWindowFlags(flags);
  // Room above the first line for the bar of a point-group symbol (m3̄m): the combining overline
  // rises above the font's ascent and would be cut off.
  if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
    label->setContentsMargins(0, 3, 0, 0);
}

int ExecMessageBox(QMessageBox::Icon icon, const QString& caption, const QString& text,
                   QMessageBox::StandardButtons buttons, QWidget* parent,
                   QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) {
  QMessageBox box(icon, caption, text, buttons, parent);
  // Texts come from files and from the update server: shown as they are, never as rich text,
  // so no markup can show a local picture or open a link.
  box.setTextFormat(Qt::PlainText);
  if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
  AsDialogBox(box);
  return box.exec();
}

}  // namespace

QStringList QtNameFilters(const std::string& filter) {
  const QStringList parts = FromUtf8(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i];
    QString patterns = parts[i + 1];
    // A description that already names its patterns, whole or with a bracket missing
    // ("Windows-Bitmap *.BMP)"), names them once: the mention is dropped and the patterns
    // follow in brackets.
    const qsizetype mention = description.indexOf(parts[i + 1]);
    if (mention > 0) {
      description.truncate(mention);
      description = description.trimmed();
      if (description.endsWith(QLatin1Char('('))) description.chop(1);
      description = description.trimmed();
    }
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    if (patterns == QLatin1String("*.*")) patterns = QStringLiteral("*");
    filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  if (filters.isEmpty()) filters << QStringLiteral("All files (*)");
  return filters;
}

std::string CreateFileQuestion(const QString& path) {
  return ToUtf8(QFileInfo(path).fileName()) + " does not exist.\nCreate the file?";
}

QString WithDefaultExtension(const QString& path, const QString& extension) {
  if (extension.isEmpty() || path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + QLatin1Char('.') + extension;
}

bool ReportErrors(Dialogs& dialogs, const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    dialogs.ShowError(e.what());
  } catch (...) {
    dialogs.ShowError("Unknown error");
  }
  return false;
}

// ---- Qt --------------------------------------------------------------------------------------

void QtDialogs::ShowMessage(const std::string& text) {
  ExecMessageBox(QMessageBox::Information, kCaption, FromUtf8(text), QMessageBox::Ok, parent_);
}

bool QtDialogs::AskYesNo(const std::string& text) {
  return ExecMessageBox(QMessageBox::Question, kCaption, FromUtf8(text),
                        QMessageBox::Yes | QMessageBox::No, parent_,
                        QMessageBox::Yes) == QMessageBox::Yes;
}

SaveChangesAnswer QtDialogs::AskSaveChanges(const std::string& text) {
  const int answer = ExecMessageBox(QMessageBox::Warning, kCaption, FromUtf8(text),
                                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                    parent_, QMessageBox::Save);
  if (answer == QMessageBox::Save) return SaveChangesAnswer::Save;
  if (answer == QMessageBox::Discard) return SaveChangesAnswer::Discard;
  return SaveChangesAnswer::Cancel;
}

void QtDialogs::ShowAbout(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, FromUtf8(title), FromUtf8(text), QMessageBox::Ok, parent_);
  // Plain text, so a path or an address from the build is shown as it is.
  box.setTextFormat(Qt::PlainText);
  box.setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
  AsDialogBox(box);
  box.exec();
}

bool QtDialogs::AskWarning(const std::string& text) {
  return ExecMessageBox(QMessageBox::Warning, QStringLiteral("Warning"), FromUtf8(text),
                        QMessageBox::Yes | QMessageBox::No, parent_,
                        QMessageBox::Yes) == QMessageBox::Yes;
}

void QtDialogs::ShowError(const std::string& text) {
  ExecMessageBox(QMessageBox::Critical, kCaption, FromUtf8(text), QMessageBox::Ok, parent_);
}

std::optional<QString> QtDialogs::OpenFileName(const FileDialogRequest& request) {
  std::unique_ptr<QFileDialog> dialog(NewFileDialog(parent_, request));
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return std::nullopt;
  return dialog->selectedFiles().first();
}

std::optional<QString> QtDialogs::SaveFileName(const FileDialogRequest& request) {
  std::unique_ptr<QFileDialog> dialog(NewFileDialog(parent_, request));
  dialog->setAcceptMode(QFileDialog::AcceptSave);
  dialog->setFileMode(QFileDialog::AnyFile);
  dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
  for (;;) {
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
      return std::nullopt;
    const QString chosen = dialog->selectedFiles().first();
    if (request.folderMustExist && !QFileInfo(chosen).absoluteDir().exists()) {
      ExecMessageBox(QMessageBox::Warning, kCaption,
                     QStringLiteral("The folder of \"%1\" does not exist.").arg(chosen),
                     QMessageBox::Ok, dialog.get());
      continue;
    }
    if (!request.createPrompt || QFileInfo::exists(chosen)) return chosen;
    if (ExecMessageBox(QMessageBox::Question, kCaption, FromUtf8(CreateFileQuestion(chosen)),
                       QMessageBox::Yes | QMessageBox::No, dialog.get(),
                       QMessageBox::Yes) == QMessageBox::Yes)
      return chosen;
  }
}

std::optional<QColor> QtDialogs::ChooseColour(const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, parent_);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

std::optional<QFont> QtDialogs::ChooseFont(const QFont& initial) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, initial, parent_);
  if (!ok) return std::nullopt;
  return chosen;
}

bool QtDialogs::ChoosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, parent_);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, true);
  return dialog.exec() == QDialog::Accepted;
}

// ---- Scripted --------------------------------------------------------------------------------

SaveChangesAnswer ScriptedDialogs::AskSaveChanges(const std::string& text) {
  asked.push_back(text);
  if (saveChangesAnswers.empty()) {
    ++unscripted;
    return SaveChangesAnswer::Cancel;
  }
  const SaveChangesAnswer answer = saveChangesAnswers.front();
  saveChangesAnswers.pop_front();
  return answer;
}

bool ScriptedDialogs::AskYesNo(const std::string& text) {
  asked.push_back(text);
  if (answers.empty()) {
    ++unscripted;
    return false;
  }
  const bool answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<QString> ScriptedDialogs::OpenFileName(const FileDialogRequest& request) {
  openRequests.push_back(request);
  return TakeFront(openAnswers, unscripted);
}

std::optional<QString> ScriptedDialogs::SaveFileName(const FileDialogRequest& request) {
  saveRequests.push_back(request);
  std::optional<QString> answer = TakeFront(saveAnswers, unscripted);
  if (answer) *answer = WithDefaultExtension(*answer, request.defaultExtension);
  if (answer && request.createPrompt && !QFileInfo::exists(*answer)) {
    createQuestions.push_back(CreateFileQuestion(*answer));
    const bool yes = createAnswers.empty() || createAnswers.front();
    if (!createAnswers.empty()) createAnswers.pop_front();
    if (!yes) return std::nullopt;
  }
  return answer;
}

std::optional<QColor> ScriptedDialogs::ChooseColour(const QColor&) {
  return TakeFront(colourAnswers, unscripted);
}

std::optional<QFont> ScriptedDialogs::ChooseFont(const QFont&) {
  return TakeFront(fontAnswers, unscripted);
}

bool ScriptedDialogs::ChoosePrinter(QPrinter& printer) {
  ++printRequests;
  printerFilesOffered.push_back(printer.outputFileName());
  const std::optional<QString> file = TakeFront(printAnswers, unscripted);
  if (!file) return false;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(*file);
  return true;
}

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
  return text.toUtf8().toStdString();
}

}  // namespace quillmere
