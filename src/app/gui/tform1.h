// TForm1, the main window: the splash, the menu bar, the speed-button bar, the drawing area with
// its panels, and the routing from each menu item, speed button and panel to the handler that
// carries it out.
//
// The window keeps the layout, the menus and the routing; the areas of the window are
// controllers that own their widgets and talk back through hooks and signals:
//   DrawingAreaController      the drawing area: build, projection and paint of the surface
//   FileCommandsController     Open, Reopen, Save, Save As, registration, the exports
//   PictureCommandsController  the copies, "Save P&icture as", "&Print"
//   ConstantsCommandsController  Voigt Matrix..., Find Point Group, Import...
//   ComponentEntryController   the tensor panel, the component grids, choosers and New Tensor
//   ViewControlsController     the drawing-utilities panel, mouse, keys and the view commands
//   FitPanelsController        the transformation and fixed-direction panels, Tools > Fit
// The class itself is written in several files, one per concern:
//   tform1.cpp            frame, splash, first activation, start-up timer, close
//   tform1_menus.cpp      the menu bar and the speed-button bar
//   tform1_drawing.cpp    DRAW and Label11Click, the tensor panel's refresh
//   tform1_undo.cpp       undo and redo, the modified mark, the save question, the status line
//   tform1_update.cpp     "Check for &updates" and what the update check moves in the windows
//   tform1_<area>.cpp     the routing of each area and the hooks it is given
//
// Every menu item and speed button exists from the start, named after the member that holds it
// ("Open1", "SpeedDraw"); an item is disabled until OnTriggered() connects it. Handlers run under
// ReportErrors: an exception ends the handler and its text is shown in the error box.
//
// Coordinates of panels over the picture are those of DrawingArea(), the widget that shows
// SceneBitmap; its width and height are the W and H of the drawing routines.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/edit_history.h"
#include "app/gui/main_menus.h"
#include "surface/extremes.h"
#include "tensor/component_entry.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;
class QUndoStack;

namespace quillmere {

struct ProgramState;
struct StartWindow;
class Dialogs;
class UpdateCheck;
class UpdateDisplay;
class TFormupdate;
class SurfaceArea;
class ClickableLabel;
class ComponentEntryController;
class DrawingAreaController;
class FileCommandsController;
class PictureCommandsController;
class ViewControlsController;
class FitPanelsController;
class TensorPanel;
class ElasticWindow;
class HelpWindow;
class ProjectionMapWindow;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  /// FormCreate: masks floating-point traps, creates SceneBitmap and every control, and leaves
  /// the window in its splash state (borderless, 343 x 343, no menus, the splash picture).
  TForm1(ProgramState& state, Dialogs& dialogs, UpdateCheck& updateCheck, TFormupdate& updateWindow,
         QWidget* parent = nullptr);
  ~TForm1() override;

  ProgramState& state() { return state_; }

  /// Runs `handler` under ReportErrors, then records the undo step it made.
  bool Guarded(const std::function<void()>& handler);

  /// The program's arguments without the program name (the command line of the start-up).
  void SetCommandLine(const QStringList& arguments) { commandLine_ = arguments; }

  // ---- The areas ----------------------------------------------------------------------------
  /// The drawing area: the build, projection and paint of the surface, SceneBitmap.
  DrawingAreaController& drawing() { return *drawing_; }
  FileCommandsController& files() { return *files_; }
  PictureCommandsController& pictures() { return *pictures_; }
  ComponentEntryController& components() { return *componentEntry_; }
  ViewControlsController& viewControls() { return *viewControls_; }
  FitPanelsController& fitPanels() { return *fitPanels_; }

  // ---- Start-up and lifecycle (tform1.cpp, tform1_help.cpp) ---------------------------------
  /// The activation refresh: while the first-activation flag is set, builds the display palette,
  /// sets TransformMatrix to the identity and starts the 100 ms start-up timer; then clears the
  /// flag. Runs at every activation of the window and from DRAW and DrawOnCanvas.
  void FormActivate();
  /// SIGTERM: writes a recovery copy when the tensor has unsaved changes, then closes through the
  /// normal end (settings written) without asking.
  void CloseOnTermination();
  /// A click on the splash picture (Image1) hides it; during the splash it ends the splash.
  void Image1Click();
  /// About: shows or hides the splash picture over the working window.
  void Image3Click();
  /// "&Exit": closes the window, through the question "Close application ?".
  void Close1Click();
  /// True while the splash is shown (the window still has its splash size and no menus).
  bool InSplash() const { return inSplash_; }
  /// "Check for &updates": the verbose check. When an installer was started the program ends
  /// through its normal exit (settings written); otherwise this window shows again.
  void Checkforupdates1Click();

  // ---- Undo and the modified mark (tform1_undo.cpp) ------------------------------------------
  /// Makes a change of the tensor since the last step one undo step, named by the running
  /// command or by what changed.
  void RecordStep();
  /// Undo and redo: puts a snapshot back (with its file when `withFile`) and redraws.
  void ShowSnapshot(const TensorSnapshot& snapshot, bool withFile);
  /// True from the first change after a load or save until a save or an undo back to it.
  bool TensorModified() const;
  /// Before the tensor is replaced or the window closed: "Save changes to name.ten?" when
  /// modified. False on Cancel or when the save did not happen.
  bool MaySetTensorAside();

  // ---- DRAW and the drawing area (tform1_drawing.cpp) ---------------------------------------
  /// The DRAW command (button, menu item, speed button).
  void DRAWClick();
  /// The drawing area, the widget the panels lie on.
  QWidget* DrawingArea();

  // ---- The window at every size (tform1_layout.cpp) -----------------------------------------
  /// The smallest drawing area in which every panel fits at its place.
  QSize RequiredDrawingArea();

 signals:
  /// The splash has ended and the working window is shown (panels of other parts show now).
  void workingStateEntered();
  /// Label11Click has refreshed the panel; the grids, choosers and the New dialog take their
  /// copies of the texts.
  void tensorPanelRefreshed(const TensorPanelTexts& texts);
  /// A tensor file has been opened (Open, Reopen, command line): the kind chooser closes.
  void tensorFileOpened();
  /// The tensor was replaced as a whole (a file opened, the fit window closed without a fit):
  /// text typed into a grid belonged to the tensor before and is dropped, so that every open
  /// grid shows the new values at the following refresh.
  void tensorReplaced();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // ---- Handlers the window routes to (tform1.cpp, tform1_help.cpp, tform1_drawing.cpp,
  // tform1_elastic.cpp, tform1_extremes.cpp) ---------------------------------------------------
  /// Enables `action` and runs `handler` (under ReportErrors) when it is triggered.
  void OnTriggered(QAction* action, std::function<void()> handler);
  /// The start-up timer (Timer3, 100 ms after the first activation): the update check for
  /// administrators, then the update window is hidden and the check marked done.
  void Timer3Timer();
  /// End of the splash (Timer1): the working window with its size from the settings, border,
  /// menus and bars; then the command-line file is opened, or the default tensor drawn.
  void Timer1Timer();
  /// After the splash: offers each recovery copy left by a copy ended by SIGTERM; a copy is
  /// opened on Yes and removed once answered.
  void OfferRecoveryCopies();
  /// "&Contents": opens the manual beside the program in the help window.
  void Contents1Click();
  /// Help > About: name, version, licence, Qt version, the symmetry table and the home page.
  void About1Click();
  /// "&Homepage": opens the product's page with the desktop's default action.
  void Homepage1Click();
  /// Refreshes every label of the tensor panel after a change of kind, point group,
  /// polar/axial, unit text or scale, and tells the other parts (tensorPanelRefreshed).
  void Label11Click();
  /// Tools > Elastic Properties: opens the window with the report of the current tensor.
  void ElasticProperties1Click();
  /// View > Projection map: opens the map of the drawn surface beside this window.
  void ProjectionMap1Click();
  Dialogs& dialogs() { return dialogs_; }

  // ---- Frame and splash (tform1.cpp) --------------------------------------------------------
  void CreateSpeedButtonBar();  // tform1_menus.cpp
  void PlaceOverlays();
  void FormClose(QCloseEvent* event);
  void CentreOnScreen();
  /// The stored window size, no larger than the available area of the window's screen.
  StartWindow ScreenFittedWindowSize() const;
  /// Writes the settings and closes the update window, which ends the program.
  void EndProgram();
  /// The tensor panel of the component entry.
  TensorPanel* TensorPanelWidget() const;

  // ---- Routing of the areas (tform1_<area>.cpp) ---------------------------------------------
  void ConnectFileCommands();
  void ConnectPictureCommands();
  void ConnectDrawingCommands();
  void ConnectViewControls();
  void ConnectComponentEntry();
  void ConnectConstantsCommands();
  void ConnectHelpAndShortcuts();
  void ConnectFitCommands();
  void ConnectExtremes();
  void ConnectElastic();
  void ConnectUpdateCommands();
  void ConnectUndo();
  /// The View menu's check marks and the stereo speed buttons show the view's switches.
  void ShowViewInMenus();
  void Speedbuttons1Click();

  // ---- Undo, caption and status line (tform1_undo.cpp) --------------------------------------
  void RunStep(const QString& name, const std::function<void()>& handler);
  /// A grid chose a power of ten for the display: no step, no modified mark.
  void AbsorbDisplayRescale();
  void MarkSaved();
  /// Sets the caption; a modified tensor adds the mark "*".
  void ShowCaption(const QString& caption);
  void ShowStatus(const std::string& text);
  /// The status line's right end: the direction and value under the pointer while it is over
  /// the drawn surface (tform1_pointer.cpp); empty elsewhere.
  void ShowPointerReadout(QPoint at);

  // ---- DRAW (tform1_drawing.cpp) ------------------------------------------------------------
  /// The DRAW command after its first step (an open grid is not taken over): the grid check
  /// box, the end of a cross-section, the rebuild and its report of an invalid surface.
  void DrawShownTensor();
  /// The cheap part of Label11Click for the build's refresh hook: the panel's own labels.
  void RefreshPanelLabels(const TensorPanelTexts& texts);

  // ---- Extremes and elastic properties (tform1_extremes.cpp, tform1_elastic.cpp) -----------
  /// After each build: the extremes on the tensor panel, their arrows in the scene when
  /// "Show extremes" is on, and the projection map when its window is open.
  void ShowExtremesAfterBuild();
  /// The extremes of the last build, written on the panel in the present power of ten.
  void ShowDrawnExtremes();
  /// Before each build: hands the tensor to the elastic window and sets or clears the quantity
  /// drawn in place of the tensor, as the window's "Surface of" says.
  void UpdateDrawnQuantity();
  /// Multiplies the scale of a drawn quantity, as the view's scale buttons do the tensor's.
  void ScaleDrawnQuantity(Real factor);
  /// A turn of the wheel over the drawing area zooms (tform1_help.cpp routes it).

  // ---- The window at every size (tform1_layout.cpp) -----------------------------------------
  /// Brings every shown panel inside the drawing area at its present size.
  void KeepPanelsInside();
  /// Sets the window's minimum size to RequiredDrawingArea() plus the menu and speed-button
  /// bars (never more than the screen offers).
  void UpdateMinimumSize();
  /// Where the grids may lie: the drawing area less a margin, left of the tensor panel.
  GridRoom GridRoomBesideTensorPanel() const;

  // ---- Update check (tform1_update.cpp) -----------------------------------------------------
  /// What the update check moves: the update window, this window and its splash timer.
  UpdateDisplay& updateDisplay();

  // ---- The window's parts -------------------------------------------------------------------
  SurfaceArea* surfaceArea = nullptr;
  /// The splash picture (Image1).
  ClickableLabel* Image1 = nullptr;
  /// One-shot timers: Timer1 ends the splash (7000 ms, or 10 ms after a click), Timer3 starts
  /// the update check 100 ms after the first activation.
  QTimer* Timer1 = nullptr;
  QTimer* Timer3 = nullptr;
  QToolBar* speedButtonBar = nullptr;
  QUndoStack* undoStack = nullptr;
  QLabel* pointerReadout = nullptr;
  /// The help window, created by the first Contents.
  HelpWindow* helpWindow = nullptr;
  /// The home page set at build time; while it is empty, Homepage is disabled.
  QString homepageAddress;
  ProjectionMapWindow* projectionMap = nullptr;
  ElasticWindow* elasticWindow = nullptr;

  DrawingAreaController* drawing_ = nullptr;
  FileCommandsController* files_ = nullptr;
  PictureCommandsController* pictures_ = nullptr;
  ComponentEntryController* componentEntry_ = nullptr;
  ViewControlsController* viewControls_ = nullptr;
  FitPanelsController* fitPanels_ = nullptr;

  /// The menu bar's menus and items and the speed buttons (tform1_menus.cpp).
  MainMenus menus_;

  // ---- State of the window ------------------------------------------------------------------
  ProgramState& state_;
  Dialogs& dialogs_;
  UpdateCheck& updateCheck_;
  TFormupdate& updateWindow_;
  std::unique_ptr<UpdateDisplay> updateDisplay_;
  QStringList commandLine_;
  bool inSplash_ = true;
  bool closing_ = false;
  bool resizePending_ = false;
  std::optional<SurfaceExtremes> drawnExtremes_;  ///< found after the last build
  TensorSnapshot undoBaseline_;                   ///< the tensor as the last undo step left it
  QString stepName_;  ///< the name of the step the running command makes
  bool showingSnapshot_ = false;
  QString caption_;  ///< the caption without the modified mark
};

}  // namespace quillmere
