// The dialogs of the desktop program behind one interface: information boxes, Yes/No questions,
// the runtime error box of the top-level handler, the open and save file dialogs, and the colour
// and font dialogs. The program uses Qt's (QtDialogs); tests hand in ScriptedDialogs, which
// answer from a script and record what was shown.
//
// Error policy of the windows: every handler runs inside ReportErrors (or under the
// application's top-level handler, platform/application.h), so a std::exception thrown by the
// core ends the handler and its what() is shown with ShowError; nothing propagates through Qt.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/user_messages.h"

class QPrinter;
class QWidget;

namespace quillmere {

/// What a file dialog is asked for. The filter is written as pairs "description|patterns",
/// separated by '|', as the program's texts give them ("Tensor data file (*.ten)|*.ten|All
/// files|*.*").
struct FileDialogRequest {
  QString title;
  std::string filter;
  QString defaultExtension;     ///< without the dot; appended to a name typed without one
  QString proposedPath;         ///< file name (and folder) shown when the dialog opens
  bool overwritePrompt = true;  ///< save dialog: ask before replacing an existing file
  bool folderMustExist = true;  ///< save dialog: refuse a name in a folder that does not exist
  /// Save dialog: ask before creating a file that does not exist yet (CreateFileQuestion); No
  /// returns to the dialog.
  bool createPrompt = false;
};

/// The question before a save dialog creates `path`: "<name> does not exist. Create the file?"
std::string CreateFileQuestion(const QString& path);

/// Texts between the core (UTF-8 std::string) and Qt.
QString FromUtf8(const std::string& text);
std::string ToUtf8(const QString& text);

/// The Qt name filters ("Tensor data file (*.ten)", "All files (*)") of a filter in pair form.
/// "*.*" becomes "*", so that files without an extension are offered too.
QStringList QtNameFilters(const std::string& filter);

/// Appends ".ext" to a chosen file name that has no extension of its own.
QString WithDefaultExtension(const QString& path, const QString& extension);

/// The answers to "Save changes to name.ten?".
enum class SaveChangesAnswer { Save, Discard, Cancel };

class Dialogs : public UserMessages {
 public:
  // UserMessages: ShowMessage is an information box with one OK button, AskYesNo a confirmation
  // box with Yes and No.

  /// A confirmation box captioned "Warning" with Yes and No; true for Yes. Recorders may treat it
  /// as any other question.
  virtual bool AskWarning(const std::string& text) { return AskYesNo(text); }
  /// The top-level handler's box for a failure: the runtime's text and one OK button.
  virtual void ShowError(const std::string& text) = 0;
  /// The question before unsaved changes are set aside, with Save, Discard and Cancel.
  virtual SaveChangesAnswer AskSaveChanges(const std::string& text) = 0;
  /// The About box: a title and plain lines of text (links shown as text).
  virtual void ShowAbout(const std::string& title, const std::string& text) = 0;
  /// The chosen file's full path, or nothing when the dialog is cancelled.
  virtual std::optional<QString> OpenFileName(const FileDialogRequest& request) = 0;
  virtual std::optional<QString> SaveFileName(const FileDialogRequest& request) = 0;
  /// The chosen colour, or nothing when cancelled.
  virtual std::optional<QColor> ChooseColour(const QColor& initial) = 0;
  /// The chosen font, or nothing when cancelled.
  virtual std::optional<QFont> ChooseFont(const QFont& initial) = 0;
  /// The print dialog for `printer`, with page range and selection offered; false when
  /// cancelled.
  virtual bool ChoosePrinter(QPrinter& printer) = 0;
};

/// Runs `handler`; a std::exception it throws is shown with dialogs.ShowError. Returns false
/// when the handler failed.
bool ReportErrors(Dialogs& dialogs, const std::function<void()>& handler);

/// Qt's message boxes and dialogs, parented to `parent` (may be null) and captioned "Quillmere".
class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }

  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  bool AskWarning(const std::string& text) override;
  void ShowError(const std::string& text) override;
  SaveChangesAnswer AskSaveChanges(const std::string& text) override;
  void ShowAbout(const std::string& title, const std::string& text) override;
  std::optional<QString> OpenFileName(const FileDialogRequest& request) override;
  std::optional<QString> SaveFileName(const FileDialogRequest& request) override;
  std::optional<QColor> ChooseColour(const QColor& initial) override;
  std::optional<QFont> ChooseFont(const QFont& initial) override;
  bool ChoosePrinter(QPrinter& printer) override;

 private:
  QWidget* parent_;
};

/// Answers from scripts and records every request, for tests. A dialog whose script is empty is
/// answered as cancelled (a question as No) and counted in `unscripted`, so a test can tell an
/// unexpected dialog from an expected cancel.
class ScriptedDialogs : public Dialogs {
 public:
  void ShowMessage(const std::string& text) override { shown.push_back(text); }
  bool AskYesNo(const std::string& text) override;
  void ShowError(const std::string& text) override { errors.push_back(text); }
  /// Recorded in `asked`; an empty script answers Cancel and counts as unscripted.
  SaveChangesAnswer AskSaveChanges(const std::string& text) override;
  void ShowAbout(const std::string& title, const std::string& text) override {
    abouts.push_back(title + "\n" + text);
  }
  std::optional<QString> OpenFileName(const FileDialogRequest& request) override;
  std::optional<QString> SaveFileName(const FileDialogRequest& request) override;
  std::optional<QColor> ChooseColour(const QColor& initial) override;
  std::optional<QFont> ChooseFont(const QFont& initial) override;
  /// Prints into the scripted PDF file (Qt's print-to-PDF), or cancels.
  bool ChoosePrinter(QPrinter& printer) override;

  // Scripts, answered front first; an empty optional is a cancel.
  std::deque<bool> answers;
  std::deque<std::optional<QString>> openAnswers;
  std::deque<std::optional<QString>> saveAnswers;
  std::deque<std::optional<QColor>> colourAnswers;
  std::deque<std::optional<QFont>> fontAnswers;
  std::deque<std::optional<QString>> printAnswers;  ///< the PDF file to print into
  /// Answers to the question before a save dialog creates a new file (asked only when the
  /// request wants it and the file does not exist); an empty script answers Yes, No cancels.
  std::deque<bool> createAnswers;
  std::deque<SaveChangesAnswer> saveChangesAnswers;

  // Records.
  std::vector<std::string> shown;
  std::vector<std::string> asked;
  std::vector<std::string> createQuestions;
  std::vector<std::string> errors;
  std::vector<std::string> abouts;
  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;
  int printRequests = 0;
  /// The output file each print dialog was opened with (empty for none).
  std::vector<QString> printerFilesOffered;
  int unscripted = 0;
};

}  // namespace quillmere
