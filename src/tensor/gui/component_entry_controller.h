// The component-entry side of the main window: the tensor information panel, the two component
// grids, the kind chooser, the crystal-system and point-group choosers, the unit-text field and
// spin button of the tensor panel and the New Tensor dialog, with the handlers that connect them
// to the tensor. The controller owns no state of the program: it edits the TensorState and flags
// it is given, asks the window for redraws and the refresh of the tensor panel through hooks, and
// tells it through signals when the New Tensor panel names the tensor's file.
//
// Errors: every handler catches what the core throws and shows its text through the showError
// hook, so nothing escapes into Qt's event loop.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <array>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

#include "tensor/component_entry.h"
#include "tensor/symmetry_table.h"

class QWidget;

namespace quillmere {

struct CoreServices;
class ComponentGrid;
class IndependentGrid;
class KindChooser;
class CrystalSystemChooser;
class PointGroupBox;
class NewTensorDialog;
class EntryField;
class EntryGrid;
class SpinButton;
class TensorPanel;

/// What the controller edits; all of it lives as long as the program.
struct ComponentEntryContext {
  TensorState* tensor = nullptr;
  const CoreServices* services = nullptr;
  bool* componentsTyped = nullptr;  ///< set by a key in either grid, cleared by a take-over
  bool* editingInPanel = nullptr;   ///< true while one of the edit fields is open
};

/// What the controller asks of the window around it. Empty hooks are skipped, except that an
/// empty `refresh` refreshes the controller's own widgets and an empty `askYesNo` or
/// `showError` uses the services' messages.
struct ComponentEntryHooks {
  std::function<void()> drawTensor;                      ///< rebuild the scene and show it
  std::function<void(int resolution)> drawAtResolution;  ///< rebuild once at this resolution
  std::function<void()> refresh;                         ///< Label11Click of the window
  std::function<void()> restartRebuildTimer;             ///< a rebuild 1000 ms after the last call
  /// Opening the full grid chose a power of ten that suits the components (autoScale): a change
  /// of the display, which the window does not count as the user's.
  std::function<void()> autoRescaled;
  std::function<void(const std::string&)> showError;  ///< the runtime's text in a message box
  std::function<bool(const std::string&)> askYesNo;
  std::function<std::string()> lastChosenOpenFile;  ///< file last chosen in the open dialog
  /// Runs a handler started by a click on the tensor panel or its spin button under the
  /// window's error report (and undo step); empty: the controller reports errors itself.
  std::function<void(const std::function<void()>&)> guarded;
  /// The part of the drawing area the grids may cover (the window keeps its DRAW button clear
  /// of them); empty: the whole area less a small margin.
  std::function<GridRoom()> gridRoom;
};

class ComponentEntryController : public QObject {
  Q_OBJECT
 public:
  /// Creates the tensor panel, the grids, choosers, the unit-text field and spin button and the
  /// New Tensor dialog as hidden children of `area`, the window's drawing area (their positions
  /// are in its coordinates).
  ComponentEntryController(QWidget* area, ComponentEntryContext context, ComponentEntryHooks hooks,
                           QObject* parent = nullptr);

  ComponentGrid* stringGrid1() const { return grid1_; }
  IndependentGrid* stringGrid2() const { return grid2_; }
  KindChooser* kindChooser() const { return kindChooser_; }
  CrystalSystemChooser* crystalSystemChooser() const { return systemChooser_; }
  PointGroupBox* pointGroupBox(int system) const { return boxes_.at(system); }
  NewTensorDialog* newTensorDialog() const { return dialog_; }
  EntryField* unitTextField() const { return edit1_; }
  /// The tensor information panel (the window places it and shows its DRAW button's work).
  TensorPanel* tensorPanel() const { return panel_; }
  /// The unit spin button beside the exponent of the tensor panel.
  SpinButton* unitSpinButton() const { return spinButton5_; }
  /// The unit spin button's place: left of the tensor panel, level with the exponent.
  void PlaceUnitSpinButton();

  /// True while the kind chooser or the crystal-system box is open: both block the grids.
  bool choosersOpen() const;
  bool independentGridShown() const;
  bool componentGridShown() const;

  /// The DRAW command's first step: commits an open grid (independent grid first) and returns
  /// true when one was open, in which case DRAW has nothing more to do.
  bool commitOpenGrid();

  /// The controller's share of Label11Click: corner cells, chooser selections, the closed
  /// crystal-system box, the New dialog's copies, and open grids brought up to date with the
  /// tensor (a grid with typed, untaken text keeps it unless the kind or symmetry it was made
  /// for has changed).
  void refreshEntryWidgets();

  /// The tensor was replaced as a whole: text typed into the grids and not taken over is
  /// dropped, so that the next refresh shows the new tensor's values in every open grid.
  void dropTypedText();

  /// Brings every open grid, chooser and the New Tensor panel inside the drawing area at its
  /// present size (after the window was resized): each keeps its own place where it fits and
  /// moves or shrinks only as far as it must.
  void placeOpenPanels();
  /// The smallest drawing area in which the choosers and the New Tensor panel fit at their
  /// places (the kind chooser in two columns).
  QSize requiredArea();

 public slots:
  void StringGrid1Click();
  void StringGrid1Enter();
  void StringGrid2Click(SymmetryMode mode);
  void IndependentComponents1Click();
  void StringGrid2DblClick();
  void RadioGroup1Click();
  void BitBtn1Click();
  void GroupBox2Click();
  void triclinicClick();
  void monoclinicClick();
  void orthorhombicClick();
  void trigonalClick();
  void tetragonalClick();
  void hexagonalClick();
  void cubicClick();
  void RadioButton11Click();
  void axial1Click();
  void SpinButton5DownClick();
  void SpinButton5UpClick();
  void Edit1Change();
  void ResetTensor1Click();
  void New1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Edit2DblClick();
  void Edit3DblClick();
  void Label35Click();
  void Label36Click();

 signals:
  /// OK in the New Tensor panel: the new tensor is to be saved under `saveName` (after Save As
  /// has asked, since the name is not yet a confirmed one).
  void newTensorNamed(const std::filesystem::path& saveName);
  /// Cancel or Restore in the New Tensor panel: the tensor before it is back, and with it the
  /// name of its file (a name without its folder; Save As asks about it again).
  void tensorNameRestored(const std::string& fileName);

 private:
  /// What a redraw depends on, to tell whether a handler changed the drawing.
  struct DrawnState {
    std::array<Real, kComponentCount> components;
    Real scale;
    int rank;
  };
  DrawnState Drawn() const;
  void CreateTensorPanel();     // component_entry_panel.cpp
  void CreateUnitSpinButton();  // component_entry_panel.cpp
  void ToggleUnitSpinButton();
  /// Runs a handler of the panel's clicks through the window's `guarded` hook.
  void RunGuarded(const std::function<void()>& handler);
  /// Refresh and rebuild when the drawing no longer matches the tensor.
  void RedrawIfChanged(const DrawnState& before);
  void SystemClick(int system);
  /// True when the tensor obeys `group`, or the user sets it although the named components do
  /// not.
  bool GroupAccepted(int group);
  void OpenFullGrid();
  void CloseFullGrid();
  void OpenIndependentGrid();
  void CommitIndependentGrid();
  void ShowIndependentTexts(const IndependentTexts& texts);
  void HideGrids();
  /// Escape in a grid: closes it without taking its texts over.
  void DropGrid(EntryGrid* grid);
  GridRoom Room() const;
  /// Moves `panel` to `preferred`, or as little from it as keeps the panel inside the area.
  void PlaceInside(QWidget* panel, QPoint preferred) const;
  void PlaceKindChooser();
  void PlaceSystemChooser();
  void PlacePointGroupBox(PointGroupBox* box);
  void PlaceNewTensorDialog();
  void TypedTakenOver();
  void RedisplayOpenGrids();
  void Refresh();
  void DrawTensor();
  void ShowError(const std::string& text);
  bool AskYesNo(const std::string& text);
  void SetEditing(bool on);
  template <class F>
  void Guarded(F&& f);
  int WindowWidth() const;
  int WindowHeight() const;
  char Separator() const;

  QWidget* area_;
  ComponentEntryContext ctx_;
  ComponentEntryHooks hooks_;
  TensorState& t_;

  TensorPanel* panel_ = nullptr;
  SpinButton* spinButton5_ = nullptr;
  ComponentGrid* grid1_;
  IndependentGrid* grid2_;
  KindChooser* kindChooser_;
  CrystalSystemChooser* systemChooser_;
  std::array<PointGroupBox*, 7> boxes_{};
  NewTensorDialog* dialog_;
  EntryField* edit1_;

  int grid1Kind_ = -1;  ///< kind the open full grid was laid out for
  struct Combination {
    int kind = -1;
    int pointGroup = -1;
    bool axial = false;
    bool operator==(const Combination&) const = default;
  } grid2For_;  ///< combination the open independent grid was described for
  NewTensorSnapshot snapshot_;
};

template <class F>
void ComponentEntryController::Guarded(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

}  // namespace quillmere
