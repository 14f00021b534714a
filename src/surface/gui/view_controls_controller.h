// The view controls of the main window: the drawing-utilities panel, the caption-style group,
// the mouse, wheel and rotation keys of the drawing area, the view switches, stereo, palette,
// colours, font, axis captions, Lock Scale, Reset View and the cross-sections. The arithmetic is
// in surface/interaction.h and surface/cross_section.h; the handlers read like the steps of each
// command. The controller owns its two panels (children of the drawing area) and edits the view
// it is given; redraws and the window's menu check marks go through hooks.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

#include "surface/interaction.h"
#include "tensor/tensor_state.h"

class QGroupBox;
class QMouseEvent;
class QWheelEvent;
class QWidget;

namespace quillmere {

class Dialogs;
class DrawingUtilitiesPanel;
struct SavedViewAngles;

/// What the controller edits; all of it lives as long as the program.
struct ViewControlsContext {
  ViewSettings* view = nullptr;
  TensorState* tensor = nullptr;  ///< its scale and its automatic scale (Lock Scale)
  int* crossSectionMode = nullptr;
  SavedViewAngles* savedViewAngles = nullptr;  ///< the view before a cross-section
  /// Set when the colours change: the next activation refresh builds the display palette again.
  bool* firstActivation = nullptr;
  const bool* editingInPanel = nullptr;  ///< true while an edit field takes typed text
  Dialogs* dialogs = nullptr;
};

/// What the controller asks of the window around it. Every hook is set by the window.
struct ViewControlsHooks {
  std::function<void()> reproject;                             ///< SetUpSurface
  std::function<void(std::optional<int> resolution)> rebuild;  ///< DrawTensor
  std::function<void()> draw;                                  ///< the DRAW command
  std::function<void()> refresh;                               ///< Label11Click
  std::function<void(Real factor)> scaleDrawnQuantity;         ///< as the tensor's scale
  std::function<void(bool busy)> showBusy;
  /// Runs a handler started by one of the controller's own widgets under the window's error
  /// report (and undo step).
  std::function<void(const std::function<void()>&)> guarded;
  /// The view's switches, stereo, palette or the utilities panel's visibility changed: the
  /// window's menu items and speed buttons show them again.
  std::function<void()> viewStateChanged;
  /// The pointer moved over the drawing area without changing the view (its place), or moved
  /// the view (nothing): the readout of the point under it is shown or cleared.
  std::function<void(std::optional<QPoint>)> pointerOver;
};

class ViewControlsController : public QObject {
  Q_OBJECT
 public:
  /// Creates the drawing-utilities panel and the caption-style group as hidden children of
  /// `area`, the drawing area (mouse positions are in its coordinates, its size is W x H).
  ViewControlsController(QWidget* area, ViewControlsContext context, ViewControlsHooks hooks,
                         QObject* parent = nullptr);

  /// The drawing-utilities panel on the left of the drawing area.
  DrawingUtilitiesPanel* drawingUtilities() const { return utilities_; }
  /// "Change Axes Style": the three caption styles and a close button.
  QGroupBox* axesStyleGroup() const { return axesStyle_; }

  /// Mouse events of the drawing area.
  void FormMouseDown(QMouseEvent* event);
  void FormMouseMove(QMouseEvent* event);
  void FormMouseUp(QMouseEvent* event);
  /// A turn of the wheel over the drawing area: zoom steps as with Alt and the mouse.
  void FormMouseWheel(QWheelEvent* event);
  /// The rotation keys s, d, e, x, a, f; true when the key turned the view.
  bool FormKeyPress(const QString& text);
  /// Sets the beta, gamma and alpha sliders to the positions of the current angles, without
  /// starting their timer.
  void ShowViewAngles();
  /// Stops the rebuild timer and starts it again: DRAW runs 1000 ms after the last call.
  void RestartRebuildTimer();
  /// The view switches, from the panel's boxes or the View menu's items.
  void SetGrid(bool on);
  void SetAxes(bool on);
  void SetFill(bool on);
  void SetScale(bool on);
  void Stereo1Click();
  void Palette1Click();
  /// Shows or hides the drawing-utilities panel.
  void DrawingUtilities1Click();
  /// Shows the panel when `shown` (the working window's start), else leaves it hidden.
  void ShowDrawingUtilities(bool shown);
  /// Lock Scale: switches the tensor's automatic scale off or on again.
  void LockScale1Click();
  void ResetView1Click();
  void PositiveFillColor1Click();
  void NegativeFillColor1Click();
  void PositiveLineColor1Click();
  void NegativeLineColor1Click();
  void BackgroundColor1Click();
  void AxesColor1Click();
  void TextStyle1Click();
  void ChangeAxesCaption1Click();
  /// A cross-section on axis 1 (X), 2 (Y) or 3 (Z).
  void Cross_section(int mode);

  /// When the last Alt zoom step was taken (steps are at least kZoomStepInterval apart).
  std::chrono::steady_clock::time_point lastZoomStep;

 private:
  void CreateAxesStyleGroup();
  void ConnectPanel();
  /// Redraws as much as a switch needs, after the panel's boxes and the menu show it.
  void AfterSwitch(ViewRedraw redraw);
  /// The panel's check boxes show the view's switches, and the window its menu's.
  void MirrorSwitches();
  void Guarded(const std::function<void()>& handler) { hooks_.guarded(handler); }

  QWidget* area_;
  ViewControlsContext ctx_;
  ViewControlsHooks hooks_;
  ViewSettings& view_;
  DrawingUtilitiesPanel* utilities_ = nullptr;
  QGroupBox* axesStyle_ = nullptr;
  /// DragOrigin and DragOffsets of the mouse turn.
  DragOrigin dragOrigin_;
  DragOffsets dragOffsets_;
};

}  // namespace quillmere
