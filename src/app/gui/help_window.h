// The help window: the program's manual (HTML pages beside the program) in a browser of its
// own, so that help works offline and without a web browser. Links between the pages, back,
// forward, the contents page, and a find field that searches the page shown.
#pragma once

#include <QString>
#include <QWidget>

class QAction;
class QLineEdit;
class QTextBrowser;

namespace quillmere {

inline constexpr const char* kHelpWindowTitle = "Quillmere Help";

class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  /// Shows the page `path` (a local HTML file), remembered as the contents page. Returns false,
  /// showing nothing new, when the file does not exist.
  bool ShowContents(const QString& path);
  /// Finds the next (or previous) place of the find field's text in the page shown, wrapping
  /// round at the end; false when the text does not occur.
  bool FindNext(bool backward = false);

  QTextBrowser* browser = nullptr;
  QLineEdit* findField = nullptr;
  QAction* backAction = nullptr;
  QAction* forwardAction = nullptr;
  QAction* contentsAction = nullptr;

 private:
  QString contentsPath_;
};

}  // namespace quillmere
