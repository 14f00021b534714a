// TForm1, the main window: the splash, the menu bar, the speed-button bar, the drawing area
// with the tensor information panel, the DRAW command and the file commands.
//
// The class is written in several files, one per concern, so that each can grow on its own:
//   tform1.cpp          frame, splash, first activation, start-up timer, about, help, close
//   tform1_menus.cpp    the menu bar and the speed-button bar
//   tform1_files.cpp    the routing of the file commands (FileCommandsController)
//   tform1_drawing.cpp  DrawTensor, SetUpSurface, DrawOnCanvas, DRAW, Label11Click
//   tform1_update.cpp   "Check for &updates" and what the update check moves in the windows
//   tform1_undo.cpp     undo and redo, the modified mark, the save question, the status line
// Other parts of the window (component grids and choosers, the drawing-utilities panel, picture
// output, the fit window, transformation and fixed directions) add files of their own
// (tform1_<part>.cpp), declare their handlers in the marked section below, and connect the menu
// items and speed buttons created here with OnTriggered().
//
// Every menu item and speed button exists from the start, named after its handler; an item is
// disabled until OnTriggered() connects it. Handlers run under ReportErrors: an exception ends
// the handler and its text is shown in the error box.
//
// Coordinates of panels over the picture are those of DrawingArea(), the widget that shows
// SceneBitmap; its width and height are the W and H of the drawing routines.
#pragma once

#include <QAction>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <QToolBar>
#include <QWheelEvent>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/edit_history.h"
#include "files/surface_export.h"
#include "surface/display_palette.h"
#include "surface/extremes.h"
#include "surface/interaction.h"
#include "surface/qt/picture_bytes.h"
#include "surface/renderer.h"
#include "surface/scene.h"
#include "tensor/component_entry.h"

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
class BarredLabel;
class ComponentEntryController;
class FileCommandsController;
class PictureCommandsController;
class VoigtMatrixDialog;
class SpinButton;
class DrawingUtilitiesPanel;
class ElasticWindow;
class HelpWindow;
class TransformPanel;
class FixedDirectionPanel;
class ProjectionMapWindow;
class TForm2;
struct PropertyKind;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  /// FormCreate: masks floating-point traps, creates SceneBitmap and every control, and leaves
  /// the window in its splash state (borderless, 343 x 343, no menus, the splash picture).
  TForm1(ProgramState& state, Dialogs& dialogs, UpdateCheck& updateCheck, TFormupdate& updateWindow,
         QWidget* parent = nullptr);
  ~TForm1() override;

  ProgramState& state() { return state_; }
  Dialogs& dialogs() { return dialogs_; }

  /// Enables `action` and runs `handler` (under ReportErrors) when it is triggered.
  void OnTriggered(QAction* action, std::function<void()> handler);
  /// Runs `handler` under ReportErrors.
  bool Guarded(const std::function<void()>& handler);

  /// The program's arguments without the program name (the command line of the start-up).
  void SetCommandLine(const QStringList& arguments) { commandLine_ = arguments; }

  // ---- Start-up and lifecycle (tform1.cpp) ------------------------------------------------
  /// The activation refresh: while the first-activation flag is set, builds the display palette,
  /// sets TransformMatrix to the identity and starts the 100 ms start-up timer; then clears the
  /// flag. Runs at every activation of the window and from DRAW and DrawOnCanvas.
  void FormActivate();
  /// The start-up timer (100 ms after the first activation): the update check for
  /// administrators, then the update window is hidden and the check marked done.
  void Timer3Timer();
  /// End of the splash: the working window with its size from the settings, border, menus and
  /// bars; then the command-line file is opened, or the default tensor drawn.
  void Timer1Timer();
  /// SIGTERM: writes a recovery copy when the tensor has unsaved changes, then closes through the
  /// normal end (settings written) without asking.
  void CloseOnTermination();
  /// After the splash: offers each recovery copy left by a copy ended by SIGTERM; a copy is
  /// opened on Yes and removed once answered.
  void OfferRecoveryCopies();
  /// A click on the splash picture hides it; during the splash it ends the splash at once.
  void Image1Click();
  /// About: shows or hides the splash picture over the working window.
  void Image3Click();
  /// "&Contents": opens the help file beside the program with the desktop's default action.
  void Contents1Click();
  /// Help > About: name, version, licence, Qt version, the symmetry table and the home page.
  void About1Click();
  /// "&Homepage": opens the product's page with the desktop's default action.
  void Homepage1Click();
  /// "&Exit": closes the window, through the question "Close application ?".
  void Close1Click();
  /// True while the splash is shown (the window still has its splash size and no menus).
  bool InSplash() const { return inSplash_; }
  /// The splash picture (Image1).
  ClickableLabel* Image1 = nullptr;
  /// One-shot timers: Timer1 ends the splash (7000 ms, or 10 ms after a click), Timer3 starts
  /// the update check 100 ms after the first activation.
  QTimer* Timer1 = nullptr;
  QTimer* Timer3 = nullptr;

  // ---- Undo, the modified mark and the status line (tform1_undo.cpp) -------------------------
  /// Creates the undo stack, Edit > Undo and Redo (Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y), the status line.
  void ConnectUndo();
  /// Makes a change of the tensor since the last step one undo step, named by the running
  /// command (RunStep) or by what changed.
  void RecordStep();
  void RunStep(const QString& name, const std::function<void()>& handler);
  /// Undo and redo: puts a snapshot back (with its file when `withFile`) and redraws.
  void ShowSnapshot(const TensorSnapshot& snapshot, bool withFile);
  /// A grid chose a power of ten for the display: no step, no modified mark.
  void AbsorbDisplayRescale();
  /// True from the first change after a load or save until a save or an undo back to it.
  bool TensorModified() const;
  void MarkSaved();
  /// Sets the caption; a modified tensor adds the mark "*".
  void ShowCaption(const QString& caption);
  /// Before the tensor is replaced or the window closed: "Save changes to name.ten?" when
  /// modified. False on Cancel or when the save did not happen.
  bool MaySetTensorAside();
  void ShowStatus(const std::string& text);
  /// The status line's right end: the direction and value under the pointer while it is over
  /// the drawn surface (tform1_pointer.cpp); empty elsewhere.
  void ShowPointerReadout(QPoint at);
  QLabel* pointerReadout = nullptr;
  QUndoStack* undoStack = nullptr;
  QAction* Undo1 = nullptr;
  QAction* Redo1 = nullptr;

  // ---- Update check (tform1_update.cpp) ---------------------------------------------------
  /// "Check for &updates": the verbose check. When an installer was started the program ends
  /// through its normal exit (settings written); otherwise this window shows again.
  void Checkforupdates1Click();
  /// What the update check moves: the update window, this window and its splash timer.
  UpdateDisplay& updateDisplay();

  // ---- Constants (tform1_constants.cpp) ---------------------------------------------------
  /// Tensor > Voigt Matrix...: the matrix form of the shown kind; OK sets every component.
  void VoigtMatrix1Click();
  /// Runs the matrix form; on OK the tensor becomes its result and is redrawn, and when the
  /// group was not kept the groups the numbers obey are offered.
  /// `importedFile`, when given, names the result (the title and Save As's proposal).
  void TakeMatrixFrom(VoigtMatrixDialog& dialog,
                      const QString& step = QStringLiteral("Voigt Matrix"),
                      const std::string& importedFile = {});
  /// Crystal > Find Point Group.
  void FindPointGroup1Click();
  /// Lists the groups the components obey and offers the highest; `always` also reports when
  /// there is nothing to offer.
  void OfferPointGroup(bool always);
  /// File > Import...
  void Import1Click();
  /// Import's steps after the dialog: a bare matrix opens the matrix form with its numbers, the
  /// other formats become the tensor at once; then the groups the numbers obey are offered.
  void ImportConstantsFile(const QString& path);

  // ---- File commands (routed in tform1_files.cpp) -----------------------------------------
  /// Open, Reopen, Save, Save As, the registration of tensor files and the exports.
  FileCommandsController& files() { return *files_; }

  // ---- Drawing (tform1_drawing.cpp) -------------------------------------------------------
  /// Rebuilds the scene from the tensor and re-projects it (SetUpSurface). The build lets
  /// window events run; a rebuild asked for during a build runs once after it. `resolution`,
  /// when given, replaces the view's for this build (a section builds at kSectionResolution).
  void DrawTensor(std::optional<int> resolution = std::nullopt);
  /// Re-projects the scene at the drawing area's size and repaints it (the resize handler).
  void SetUpSurface();
  /// Paints the projected scene into SceneBitmap and shows it.
  void DrawOnCanvas();
  /// The DRAW command (button, menu item, speed button).
  void DRAWClick();
  /// The DRAW command after its first step (an open grid is not taken over): the grid check
  /// box, the end of a cross-section, the rebuild and its report of an invalid surface.
  void DrawShownTensor();
  /// Refreshes every label of the tensor panel after a change of kind, point group,
  /// polar/axial, unit text or scale, and tells the other parts (tensorPanelRefreshed).
  void Label11Click();
  /// SceneBitmap, the off-screen picture shown in the drawing area.
  QImage& SceneBitmap();
  /// The projection of the last painted picture.
  const ProjectionSummary& LastPicture() const { return lastPicture_; }
  /// The display palette of the last first-activation refresh.
  const DisplayPalette& Palette() const { return displayPalette_; }
  /// The scene builder (busy while a build runs).
  SceneBuilder& Builder() { return builder_; }
  /// How often a build lets window events run (0: after every patch).
  std::chrono::milliseconds buildEventInterval{5};

  /// DRAW step 1: commits an open component grid and returns true (DRAW then stops). Set by
  /// the component grids; unset, DRAW goes on at once.
  std::function<bool()> commitOpenComponentGrid;

  // ---- Picture output (routed in tform1_pictures.cpp) --------------------------------------
  /// The copies of the Edit menu, "Save P&icture as" and "&Print".
  PictureCommandsController& pictures() { return *pictures_; }

  // ---- Window parts ---------------------------------------------------------------------
  QWidget* DrawingArea();
  SurfaceArea* surfaceArea = nullptr;
  /// The tensor information panel over the picture, and its labels: "T" and Label14 the kind,
  /// Label23 the point group ("PS: "), Label15 "polar"/"axial", "10", Label11 the exponent and
  /// Label12 the unit text.
  QWidget* tensorPanel = nullptr;
  ClickableLabel* LabelT = nullptr;
  ClickableLabel* Label14 = nullptr;
  BarredLabel* Label23 = nullptr;
  ClickableLabel* Label15 = nullptr;
  ClickableLabel* Label10 = nullptr;
  ClickableLabel* Label11 = nullptr;
  ClickableLabel* Label12 = nullptr;
  QPushButton* DRAWButton = nullptr;
  /// The busy cover (a small panel over the progress area) and the progress bar.
  QLabel* busyCover = nullptr;
  QProgressBar* progressBar = nullptr;
  QToolBar* speedButtonBar = nullptr;

  // Menus, in the order of the menu bar.
  QMenu* FileMenu = nullptr;
  QMenu* EditMenu = nullptr;
  QMenu* ViewMenu = nullptr;
  QMenu* StylesMenu = nullptr;
  QMenu* TensorMenu = nullptr;
  QMenu* CrystalMenu = nullptr;
  QMenu* ToolsMenu = nullptr;
  QMenu* HelpMenu = nullptr;

  // "&File"
  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QMenu* Reopen1 = nullptr;
  std::array<QAction*, 5> ReopenItems{};  ///< N11, N21, N31, N41, N51
  QAction* Save1 = nullptr;
  QAction* SaveAs1 = nullptr;
  QAction* CreateScreenWrl1 = nullptr;
  QAction* Export3DPrintableWrl1 = nullptr;
  QAction* ExportStl1 = nullptr;
  QMenu* SavePictureAs1 = nullptr;
  QAction* SaveBmp1 = nullptr;
  QAction* SaveEmf1 = nullptr;
  QAction* SaveWmf1 = nullptr;
  QAction* SavePng1 = nullptr;
  QAction* SaveSvg1 = nullptr;
  QAction* SavePdf1 = nullptr;
  QAction* Print1 = nullptr;
  QAction* Close1 = nullptr;  ///< "&Exit"
  // "&Edit"
  QAction* CopyAsWindowBitmap1 = nullptr;
  QAction* CopyAsEnhancedMetafile1 = nullptr;
  QAction* CopyAsStandardMetafile1 = nullptr;
  // "&View"
  QAction* DRAW1 = nullptr;
  QAction* Grid1 = nullptr;  ///< checkable, mirrors the grid check box
  QAction* Axes1 = nullptr;
  QAction* Fill1 = nullptr;
  QAction* Scale1 = nullptr;
  QAction* Stereo1 = nullptr;
  QAction* Palette1 = nullptr;  ///< "256color&Palette"
  QAction* DrawingUtilities1 = nullptr;
  QAction* Speedbuttons1 = nullptr;
  QAction* LockScale1 = nullptr;
  QAction* ResetView1 = nullptr;
  QAction* CrossSectionX1 = nullptr;
  QAction* CrossSectionY1 = nullptr;
  QAction* CrossSectionZ1 = nullptr;
  QAction* ProjectionMap1 = nullptr;  ///< opens the projection-map window
  QAction* ShowExtremes1 = nullptr;   ///< checkable: arrows at the largest and smallest value
  // "&Styles/Colors"
  QAction* PositiveFillColor1 = nullptr;
  QAction* NegativeFillColor1 = nullptr;
  QAction* PositiveLineColor1 = nullptr;
  QAction* NegativeLineColor1 = nullptr;
  QAction* BackgroundColor1 = nullptr;
  QAction* AxesColor1 = nullptr;
  QAction* TextStyle1 = nullptr;
  QAction* ChangeAxesCaption1 = nullptr;
  // "&Tensor"
  QAction* TensorSymmetry1 = nullptr;
  QAction* Components1 = nullptr;
  QAction* IndependentComponents1 = nullptr;
  QAction* axial1 = nullptr;  ///< "change into &axial" / "change into &polar"
  QAction* EditUnitText1 = nullptr;
  QAction* ResetTensor1 = nullptr;
  QAction* Transform1 = nullptr;
  QAction* FixedDirections1 = nullptr;
  // "&Crystal"
  QAction* PointGroup1 = nullptr;
  QAction* FindPointGroup1 = nullptr;
  QAction* VoigtMatrix1 = nullptr;
  QAction* Import1 = nullptr;
  // "&Tools"
  QMenu* Fit1 = nullptr;
  QAction* Pyroelectricconstants1 = nullptr;
  QAction* DielectricConstants1 = nullptr;
  QAction* ThermalExpansion1 = nullptr;
  QAction* MagneticSusceptibilities1 = nullptr;
  QAction* OpticalActivity1 = nullptr;
  QAction* FaradayEffect1 = nullptr;
  QAction* Electrostriction1 = nullptr;
  QAction* Piezoelectrics1 = nullptr;
  QAction* Electrogyration1 = nullptr;
  QAction* Halleffect1 = nullptr;
  QAction* Register1 = nullptr;  ///< "&Register *.ten files"
  QAction* Checkforupdates1 = nullptr;
  // "&Help"
  QAction* Contents1 = nullptr;
  QAction* Homepage1 = nullptr;
  QAction* About1 = nullptr;

  // Speed buttons (hints as tooltips).
  QAction* SpeedNew = nullptr;             ///< "New tensorfile"
  QAction* SpeedOpen = nullptr;            ///< "Load a tensorfile"
  QAction* SpeedSave = nullptr;            ///< "Save a tensorfile"
  QAction* SpeedPrint = nullptr;           ///< "Print the picture"
  QAction* SpeedDraw = nullptr;            ///< "Draw the tensor"
  QAction* SpeedTensorSymmetry = nullptr;  ///< "Tensorsymmetry"
  QAction* SpeedPointGroup = nullptr;      ///< "Pointgroup"
  QAction* SpeedIndependent = nullptr;     ///< "Independent components"
  QAction* SpeedClear = nullptr;           ///< "Clear components"
  QAction* SpeedDrawUtilities = nullptr;   ///< "Draw utilities"
  QAction* SpeedStereo = nullptr;          ///< "Stereoplot"
  QAction* SpeedNormal = nullptr;          ///< "Normal plot" (shown in stereo instead)
  QAction* SpeedPositiveFill = nullptr;    ///< "Positive fill color"
  QAction* SpeedNegativeFill = nullptr;    ///< "Negative fill color"
  QAction* SpeedBackground = nullptr;      ///< "Background color"
  QAction* SpeedAxesColour = nullptr;      ///< "Axes color"
  QAction* SpeedTextStyle = nullptr;       ///< "Text style"
  QAction* SpeedProjectionX = nullptr;     ///< "Projection on X"
  QAction* SpeedProjectionY = nullptr;     ///< "Projection on Y"
  QAction* SpeedProjectionZ = nullptr;     ///< "Projection on Z"
  QAction* SpeedHelp = nullptr;            ///< "Help"

  // ---- Handlers of other parts of the window ------------------------------------------------
  // (declared here by the files that implement them)

  // ---- View controls (tform1_view.cpp) ------------------------------------------------------
  /// Creates the drawing-utilities panel and the caption-style group and connects them, the
  /// mouse and keys of the drawing area, and the view commands of the menus and speed buttons.
  void ConnectViewControls();
  /// The drawing-utilities panel on the left of the drawing area.
  DrawingUtilitiesPanel* DrawingUtilities = nullptr;
  /// "Change Axes Style": the three caption styles and a close button.
  QGroupBox* AxesStyleGroup = nullptr;
  /// Mouse events of the drawing area (W and H are the area's size).
  void FormMouseDown(QMouseEvent* event);
  void FormMouseMove(QMouseEvent* event);
  void FormMouseUp(QMouseEvent* event);
  /// The rotation keys s, d, e, x, a, f; true when the key turned the view.
  bool FormKeyPress(const QString& text);
  /// Sets the beta, gamma and alpha sliders to the positions of the current angles, without
  /// starting their timer.
  void ShowViewAngles();
  /// Stops RebuildTimer and starts it again: the DRAW command runs 1000 ms after the last call.
  void RestartRebuildTimer();
  void SetGrid(bool on);
  void SetAxes(bool on);
  void SetFill(bool on);
  void SetScale(bool on);
  void Stereo1Click();
  void Palette1Click();
  void DrawingUtilities1Click();
  void Speedbuttons1Click();
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
  /// DragOrigin and DragOffsets of the mouse turn.
  DragOrigin dragOrigin;
  DragOffsets dragOffsets;
  /// When the last Alt zoom step was taken (steps are at least kZoomStepInterval apart).
  std::chrono::steady_clock::time_point lastZoomStep;

  // ---- Help, shortcuts, wheel and drop (tform1_help.cpp) -------------------------------------
  /// Connects Exit, Contents, the help button, About and Homepage, gives the menu items the
  /// desktop's shortcuts, and lets the window zoom with the wheel and open dropped tensor files.
  void ConnectHelpAndShortcuts();
  /// The help window, created by the first Contents.
  HelpWindow* helpWindow = nullptr;
  /// The home page set at build time; while it is empty, Homepage is disabled.
  QString homepageAddress;
  /// A turn of the wheel over the drawing area: zoom steps as with Alt and the mouse.
  void FormMouseWheel(QWheelEvent* event);
  // ---- Extremes and the projection map (tform1_extremes.cpp) -------------------------------
  void ConnectExtremes();
  /// After each build: the extremes on the tensor panel, their arrows in the scene when
  /// "Show extremes" is on, and the projection map when its window is open.
  void ShowExtremesAfterBuild();
  void ProjectionMap1Click();
  /// The extremes of the last build, written on the panel in the present power of ten.
  void ShowDrawnExtremes();
  /// Two lines on the tensor panel: "max ... [x, y, z]" and "min ... [x, y, z]".
  QLabel* extremesLabel = nullptr;
  ProjectionMapWindow* projectionMap = nullptr;
  // ---- Elastic properties (tform1_elastic.cpp) ---------------------------------------------
  void ConnectElastic();
  /// Tools > Elastic Properties: opens the window with the report of the current tensor.
  void ElasticProperties1Click();
  /// Before each build: hands the tensor to the elastic window and sets or clears the quantity
  /// drawn in place of the tensor, as the window's "Surface of" says.
  void UpdateDrawnQuantity();
  /// Multiplies the scale of a drawn quantity, as the view's scale buttons do the tensor's.
  void ScaleDrawnQuantity(Real factor);
  QAction* ElasticProperties1 = nullptr;
  ElasticWindow* elasticWindow = nullptr;

  // ---- The window at every size (tform1_layout.cpp) -----------------------------------------
  /// Brings every shown panel inside the drawing area at its present size.
  void KeepPanelsInside();
  /// The smallest drawing area in which every panel fits at its place.
  QSize RequiredDrawingArea();
  /// Sets the window's minimum size to RequiredDrawingArea() plus the menu and speed-button
  /// bars (never more than the screen offers).
  void UpdateMinimumSize();
  /// Where the grids may lie: the drawing area less a margin, left of the tensor panel.
  GridRoom GridRoomBesideTensorPanel() const;
  /// The unit spin button's place: left of the tensor panel, level with the exponent.
  void PlaceUnitSpinButton();

  // ---- Component entry (tform1_components.cpp) ----------------------------------------------
  /// Creates the component grids, the kind and point-group choosers, the unit-text field and
  /// the New Tensor panel, and connects them to their menu items, speed buttons and labels.
  void ConnectComponentEntry();
  /// The handlers of component entry (StringGrid1Click, RadioGroup1Click, New1Click, ...).
  ComponentEntryController* componentEntry = nullptr;
  /// The unit spin button beside the exponent of the tensor panel.
  SpinButton* SpinButton5 = nullptr;

  // ---- Transformation and fixed directions (tform1_transform.cpp) ---------------------------
  /// Creates GroupBox4 and Panel6 and connects them to "Transform" and "&Fixed Directions".
  void ConnectTransformPanels();
  /// "Transform Tensor by:": the matrix grid StringGrid4, "Apply" and "Cancel".
  TransformPanel* GroupBox4 = nullptr;
  /// "Fix the Direction of direction-cosines": StringGrid3, "OK" and "None Fixed".
  FixedDirectionPanel* Panel6 = nullptr;

  // ---- Fit (tform1_fit.cpp) -------------------------------------------------------------------
  /// The ten items of Tools > Fit: each prepares the tensor for its property kind and opens the
  /// fit window; nothing happens while a fit window is open.
  void Pyroelectricconstants1Click();
  void DielectricConstants1Click();
  void ThermalExpansion1Click();
  void MagneticSusceptibilities1Click();
  void OpticalActivity1Click();
  void FaradayEffect1Click();
  void Electrostriction1Click();
  void Piezoelectrics1Click();
  void Electrogyration1Click();
  void Halleffect1Click();
  /// The open fit window, or null.
  TForm2* FitWindow() const;

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
  void CreateMenus();         // tform1_menus.cpp
  void CreateSpeedButtons();  // tform1_menus.cpp
  void CreateTensorPanel();
  void CreateProgressArea();
  void PlaceOverlays();
  void ShowBusy(bool busy);
  void FormClose(QCloseEvent* event);
  void CentreOnScreen();
  /// The stored window size, no larger than the available area of the window's screen.
  StartWindow ScreenFittedWindowSize() const;
  /// The cheap part of Label11Click for the build's refresh hook: the panel's own labels.
  void RefreshPanelLabels(const TensorPanelTexts& texts);
  void ConnectFileCommands();       // tform1_files.cpp
  void ConnectConstantsCommands();  // tform1_constants.cpp
  FileCommandsController* files_ = nullptr;
  void ConnectDrawingCommands();  // tform1_drawing.cpp
  void ConnectFitCommands();      // tform1_fit.cpp
  void OpenFit(const PropertyKind& kind);
  QPointer<QWidget> fitWindow_;  ///< the open fit window (a TForm2), null when none
  void ConnectUpdateCommands();  // tform1_update.cpp
  /// Writes the settings and closes the update window, which ends the program.
  void EndProgram();
  std::unique_ptr<UpdateDisplay> updateDisplay_;
  void ConnectPictureCommands();  // tform1_pictures.cpp
  PictureCommandsController* pictures_ = nullptr;
  /// Set by "Copy as &WindowBitmap" around a SetUpSurface: the paint puts SceneBitmap on the
  /// clipboard.
  bool copyBitmapToClipboard_ = false;

  ProgramState& state_;
  Dialogs& dialogs_;
  UpdateCheck& updateCheck_;
  TFormupdate& updateWindow_;
  QStringList commandLine_;
  bool inSplash_ = true;
  bool closing_ = false;
  bool resizePending_ = false;
  SceneBuilder builder_;
  ProjectionSummary lastPicture_;
  std::optional<SurfaceExtremes> drawnExtremes_;  ///< found after the last build
  /// The power of ten and unit text the scale legend of the last paint showed.
  std::optional<std::pair<int, std::string>> paintedUnit_;
  DisplayPalette displayPalette_{};
  TensorSnapshot undoBaseline_;  ///< the tensor as the last undo step left it
  QString stepName_;             ///< the name of the step the running command makes
  bool showingSnapshot_ = false;
  bool openingFit_ = false;  ///< the fit window is being opened: its borrowed tensor is no step
  QString caption_;          ///< the caption without the modified mark
};

}  // namespace quillmere
