// The fixed-direction panel of the main window, Panel6 "Fix the Direction of direction-cosines":
// the grid StringGrid3 (a row per index position i..m: the flag and three cosines) and the
// buttons "OK" and "None Fixed" (Button6). The panel edits the fixed-direction records and the
// flags it is given; the redraw is the window's, reached through a hook.
//
// Errors: the apply throws the conversion error of a cosine cell that is not a number; the
// window runs the handlers under its error handler.
#pragma once

#include <QFrame>
#include <functional>

#include "surface/surface_value.h"
#include "tensor/gui/component_grids.h"

class QLabel;
class QPushButton;

namespace quillmere {

struct CoreServices;

/// StringGrid3: six rows and five columns; row 0 the headings, column 0 the position names.
class DirectionGrid : public EntryGrid {
  Q_OBJECT
 public:
  explicit DirectionGrid(QWidget* parent = nullptr);
  /// Writes the headings and, for each record, its flag and its cosines in general format
  /// (the single-precision values) with the given separator.
  void showRecords(const SurfaceEvaluation& e, char decimalSeparator);
};

struct FixedDirectionPanelContext {
  SurfaceEvaluation* evaluation = nullptr;  ///< FixedDirectionTable and AnyDirectionFixed
  const CoreServices* services = nullptr;
  bool* componentsTyped = nullptr;  ///< ComponentsTyped: a key was typed in a grid
  bool* editingInPanel = nullptr;   ///< EditingInPanel: the view keys are ignored while set
};

struct FixedDirectionPanelHooks {
  std::function<void()> drawTensor;  ///< DrawTensor
};

class FixedDirectionPanel : public QFrame {
  Q_OBJECT
 public:
  FixedDirectionPanel(QWidget* parent, FixedDirectionPanelContext context,
                      FixedDirectionPanelHooks hooks);

  QLabel* Caption = nullptr;
  DirectionGrid* StringGrid3 = nullptr;
  QPushButton* OKButton = nullptr;  ///< "OK"
  QPushButton* Button6 = nullptr;   ///< "None Fixed"

  /// Menu item "&Fixed Directions": toggles the panel, sets EditingInPanel to its visibility
  /// and fills the grid from the records.
  void FixedDirections1Click();
  /// Selecting a cell: a flag cell (column 1) that reads exactly "no" becomes "yes", any other
  /// becomes "no", and the record's flag follows at once.
  void StringGrid3SelectCell(int column, int row);
  /// A key typed in the grid: sets ComponentsTyped.
  void StringGrid3KeyPress();
  /// The apply step: flags and cosines from the grid into the records.
  void StringGrid3Click();
  /// "OK" and a double click on the grid: apply, redraw when a key was typed, clear
  /// ComponentsTyped, and hide the panel through FixedDirections1Click.
  void StringGrid3DblClick();
  /// "None Fixed": every flag "no", then apply, redraw and hide.
  void Button6Click();
  /// Escape in the grid: the records as the panel opened with them, the typed cosines dropped,
  /// the panel hidden.
  void StringGrid3Escape();

 private:
  FixedDirectionPanelContext ctx_;
  FixedDirectionPanelHooks hooks_;
  bool filling_ = false;
  std::array<FixedDirection, 5> opened_;  ///< the records when the panel was last opened
  /// Set when the current cell has just moved (the mouse press of a click), so that the click
  /// that follows does not toggle the same flag a second time.
  bool justSelected_ = false;
};

}  // namespace quillmere
