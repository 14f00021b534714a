// The picture commands of the main window: the three copies of the Edit menu, "Save P&icture as"
// and "&Print". The paints themselves are the core's (surface/metafile_paint.h); the controller
// supplies the sizes of the screen and the drawing area, the progress bar, the clipboard, the
// dialogs and the printer, and asks the window for the screen picture through hooks.
#pragma once

#include <QObject>
#include <QSize>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/picture_commands.h"
#include "surface/qt/picture_bytes.h"

class QImage;
class QPrinter;
class QProgressBar;

namespace quillmere {

struct ProgramState;
class Dialogs;

/// What the picture commands ask of the window around them. Every hook is set by the window.
struct PictureCommandsHooks {
  /// Paints the screen picture again and puts it on the clipboard; returns the picture.
  std::function<const QImage&()> paintOntoClipboard;
  /// The screen picture as last painted (SceneBitmap).
  std::function<const QImage&()> screenPicture;
  std::function<void(bool busy)> showBusy;
  std::function<void(const std::string&)> showStatus;
};

class PictureCommandsController : public QObject {
  Q_OBJECT
 public:
  /// `area` is the drawing area (its size and screen set the pictures' sizes); `progress` the
  /// progress bar over it, which the paints drive.
  PictureCommandsController(ProgramState& state, Dialogs& dialogs, QWidget* area,
                            QProgressBar* progress, PictureCommandsHooks hooks,
                            QObject* parent = nullptr);
  ~PictureCommandsController() override;

  /// "Copy as &WindowBitmap": a screen paint that also puts the picture on the clipboard.
  void CopyAsWindowBitmap1Click();
  /// The metafile copy: MetaPicture painted again at the metafile size (enhanced unless
  /// `enhanced` is false) and put on the clipboard with an SVG copy. The window is not
  /// repainted; the scene stays projected at the metafile's size until the next paint.
  void CopyMetafile(bool enhanced = true);
  /// An item of "Save P&icture as": the save dialog, then the picture written to the file.
  void SavePictureAs(PictureKind kind);
  /// "&Print" and the speed button "Print the picture"; Escape while it paints aborts the job.
  void Print1Click();
  /// MetaPicture: the bytes of the metafile last painted.
  const std::string& MetaPicture() const { return metaPicture_; }

 private:
  QSize ScreenSize() const;
  /// Paints the picture at the size a metafile copy gets; `painted`, when given, receives that
  /// size in pixels.
  std::string PaintAtMetafileSize(VectorFormat format, QSize* painted = nullptr);
  void StartProgress(int maximum);
  void EndProgress();

  ProgramState& state_;
  Dialogs& dialogs_;
  QWidget* area_;
  QProgressBar* progress_;
  PictureCommandsHooks hooks_;
  std::string metaPicture_;
  std::unique_ptr<QPrinter> printer_;  ///< kept between prints, with the user's choices
  std::filesystem::path lastPictureFolder_;
};

}  // namespace quillmere
