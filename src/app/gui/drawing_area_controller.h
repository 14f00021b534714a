// The drawing area of the main window: the widget that shows SceneBitmap, the progress bar and
// busy cover over it, the scene builder and the paint. DrawTensor rebuilds the scene from the
// tensor and re-projects it; SetUpSurface re-projects and paints. What the window does around a
// build (the elastic quantity before it, the panel's labels during it, the extremes after it) and
// around a paint (the activation refresh) it is asked through hooks.
#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "surface/display_palette.h"
#include "surface/renderer.h"
#include "surface/scene.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace quillmere {

struct ProgramState;
class SurfaceArea;

/// What the drawing area asks of the window around it. Every hook is set by the window.
struct DrawingAreaHooks {
  /// Before each build: the quantity drawn in place of the tensor is brought up to date.
  std::function<void()> beforeBuild;
  /// During a build: the tensor panel shows the power of ten and unit of what is drawn.
  std::function<void()> showDrawnUnit;
  /// After each build, before its paint: the extremes and their marks.
  std::function<void()> afterBuild;
  /// Before and after each paint: the window's activation refresh (FormActivate).
  std::function<void()> activate;
  /// A new picture was painted: what named a point of the previous one is cleared.
  std::function<void()> pictureChanged;
};

class DrawingAreaController : public QObject {
  Q_OBJECT
 public:
  /// Creates the drawing area (a child of `window`, whose central widget it becomes), its
  /// progress bar and busy cover.
  DrawingAreaController(ProgramState& state, QWidget* window, DrawingAreaHooks hooks,
                        QObject* parent = nullptr);

  /// The widget that shows SceneBitmap; panels of the window lie over it.
  SurfaceArea* area() const { return area_; }
  QProgressBar* progressBar() const { return progressBar_; }

  /// Rebuilds the scene from the tensor and re-projects it (SetUpSurface). The build lets
  /// window events run; a rebuild asked for during a build runs once after it. `resolution`,
  /// when given, replaces the view's for this build (a section builds at kSectionResolution).
  void DrawTensor(std::optional<int> resolution = std::nullopt);
  /// Re-projects the scene at the drawing area's size and repaints it (the resize handler).
  void SetUpSurface();
  /// SetUpSurface, and the picture painted also put on the clipboard.
  void PaintOntoClipboard();
  /// The busy cover (a small panel over the progress area).
  void ShowBusy(bool busy);
  /// The progress bar and the busy cover at the bottom left of the area at its present size.
  void PlaceProgressArea();
  /// Builds the display palette from the view's fill colours again.
  void RebuildPalette();
  /// True when the scale legend last painted shows another power of ten or unit text than the
  /// drawn tensor has now (and no build runs that will paint it again).
  bool LegendOutdated() const;
  /// The direction and value under the pointer at `at` (the area's coordinates), or an empty
  /// text when the pointer is beside the surface or the picture is not the scene as projected
  /// now (a build or a resize is pending).
  std::string PointerReadoutAt(QPoint at);

  /// SceneBitmap, the off-screen picture shown in the drawing area.
  QImage& SceneBitmap();
  /// The projection of the last painted picture.
  const ProjectionSummary& LastPicture() const { return lastPicture_; }
  /// The scene builder (busy while a build runs).
  SceneBuilder& Builder() { return builder_; }
  /// How often a build lets window events run (0: after every patch).
  std::chrono::milliseconds buildEventInterval{5};

 private:
  /// Paints the projected scene into SceneBitmap and shows it.
  void DrawOnCanvas();

  ProgramState& state_;
  DrawingAreaHooks hooks_;
  SurfaceArea* area_;
  QProgressBar* progressBar_;
  QLabel* busyCover_;
  SceneBuilder builder_;
  ProjectionSummary lastPicture_;
  /// The power of ten and unit text the scale legend of the last paint showed.
  std::optional<std::pair<int, std::string>> paintedUnit_;
  DisplayPalette displayPalette_{};
  bool copyToClipboard_ = false;  ///< set around the paint of "Copy as &WindowBitmap"
};

}  // namespace quillmere
