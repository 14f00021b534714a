// Component entry without windows: what the two component grids show and take over, where they
// sit in the main window, the texts of the tensor panel, and the New Tensor dialog's snapshot.
// The widgets only move these texts between their cells and the routines below.
//
// Errors follow the core's policy (tensor/tensor_state.h): a cell text that is not a number
// throws CellTextError, whose what() is the runtime's text; the table's own failures come from
// ApplySymmetry.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "tensor/tensor_state.h"

namespace quillmere {

struct CoreServices;

// ---- Geometry -------------------------------------------------------------------------------
// Pixels in the main window's client area, origin top left.

struct GridRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool horizontalBar = false;  ///< clipped in width: room for a horizontal scroll bar added
  bool verticalBar = false;    ///< clipped in height: room for a vertical scroll bar added
};

/// The part of the drawing area a grid may cover: left of `right` and above `bottom`. The
/// window keeps the tensor panel with its DRAW button beyond `right`.
struct GridRoom {
  int right = 0;
  int bottom = 0;
};

constexpr int kFullGridColumnPitch = 66;  ///< one column of the full grid with its grid line
constexpr int kGridRowPitch = 26;         ///< one row of either grid with its grid line
constexpr int kScrollBarAllowance = 15;   ///< room for a scroll bar added to a clipped grid
constexpr int kIndependentLabelWidth = 200;
constexpr int kIndependentValueWidth = 63;

/// Place and size of the full component grid for `columns` x `rows` component cells (header
/// row and column not counted), each column `columnPitch` wide with its grid line. A grid wider
/// than the window minus 30 is clipped and gets room for a horizontal scroll bar; then one taller
/// than the window minus 30 is clipped and gets room for a vertical one.
GridRect FullGridRect(int columns, int rows, int windowWidth, int windowHeight,
                      int columnPitch = kFullGridColumnPitch);
/// Place and size of the independent-components grid for `count` components.
GridRect IndependentGridRect(int count, int windowWidth, int windowHeight);
/// `r` brought inside `room`, changing only what does not fit: a grid reaching past
/// room.right moves left, down to `leftmost`, and is then clipped with room for a horizontal
/// scroll bar; one reaching below room.bottom is clipped with room for a vertical scroll bar.
GridRect KeepGridInside(GridRect r, const GridRoom& room, int leftmost);

// ---- Layout of the full grid ----------------------------------------------------------------

struct FullGridShape {
  int columns = 0;  ///< component columns, header column not counted; 0: no grid for the kind
  int rows = 0;
};

/// The kind's grid shape. Kind 12 ("[ij]k"), which has no matrix notation of its own, gets
/// 9 x 3: row i, column the pair jk in row-major order. Unknown codes get no grid.
FullGridShape FullGridShapeOf(int kind);

struct FullGridCell {
  std::string columnLabel;
  std::string rowLabel;
  TensorIndices indices;
  /// False for a cell that only mirrors another one (its value follows from the index symmetry
  /// and is never read back): the lower triangle of the "((ij)(kl))" matrix, and for "[ij]k"
  /// every cell with i >= j.
  bool editable = true;
};

/// Headers and tensor indices of component cell (row, column), both numbered from 1.
FullGridCell FullGridCellOf(int kind, int row, int column);

// ---- Cell texts ---------------------------------------------------------------------------

/// The texts of a string grid, addressed (column, row) with row 0 and column 0 the headers.
class GridTexts {
 public:
  GridTexts() = default;
  GridTexts(int columns, int rows) { Resize(columns, rows); }
  int columns() const { return columns_; }
  int rows() const { return rows_; }
  /// Changes the size; texts in the part both sizes share are kept, as a string grid does.
  void Resize(int columns, int rows);
  std::string& operator()(int column, int row) { return cells_[Offset(column, row)]; }
  const std::string& operator()(int column, int row) const { return cells_[Offset(column, row)]; }

 private:
  std::size_t Offset(int column, int row) const;
  int columns_ = 0;
  int rows_ = 0;
  std::vector<std::string> cells_;
};

/// A cell text that is not a number; what() is "'<text>' is not a valid floating point value".
class CellTextError : public std::runtime_error {
 public:
  CellTextError(const std::string& message, int column, int row)
      : std::runtime_error(message), column(column), row(row) {}
  int column;
  int row;
};

/// "10^" followed by the exponent: the corner cell of both grids.
std::string ExponentCaption(int exponent);

/// Fills `cells` for the current kind: headers, the corner caption and every component divided
/// by 10^exponent of `scale`. With autoScale, `scale` becomes the largest component shown (1.0
/// when all are zero), and when that moves the exponent the cells are written again, so that
/// the corner and the numbers always agree. With `rescale` false the scale is left alone (a
/// redisplay after another change). Returns false (cells emptied) for a kind without a grid.
bool ShowFullGrid(TensorState& t, GridTexts& cells, char decimalSeparator, bool rescale = true);

/// Takes typed cells over: every editable cell, column by column and top to bottom within a
/// column, is read as a number, multiplied by 10^exponent of `scale`, stored and copied to its
/// index-symmetry partners. With autoScale, `scale` then becomes the largest component read
/// (1.0 when all are zero). A cell that is not a number throws CellTextError; the cells read
/// before it stay stored. `cells` must have the shape ShowFullGrid gave it.
void TakeOverFullGrid(TensorState& t, const GridTexts& cells, char decimalSeparator);

// ---- Independent components --------------------------------------------------------------

/// The independent-components grid without its widget: one label and one value text per
/// independent component, and the unit text shown above the values.
struct IndependentTexts {
  std::string unitText;
  std::vector<std::string> labels;  ///< index 0 is component 1
  std::vector<std::string> values;
};

/// Looks the current combination up (ApplySymmetry in mode Describe) and returns its count;
/// for a positive count `out` gets the labels, the value texts and the unit text. A count of 0
/// or -1 has had its message shown and leaves `out` as it was.
int DescribeIndependent(TensorState& t, const CoreServices& services, IndependentTexts& out);

/// Takes the typed values over: the value texts and the unit text become the tensor's, the
/// table derives every component from them (ApplySymmetry in mode ApplyTexts), and with
/// autoScale `scale` becomes the largest typed value (1.0 when all are zero). Returns the
/// table's count; for a count that is not positive (message shown) nothing changes. A value
/// that is not a number throws; the relations before it are applied.
int TakeOverIndependent(TensorState& t, const CoreServices& services, const IndependentTexts& in);

// ---- Tensor panel -------------------------------------------------------------------------

/// What the tensor panel and the New Tensor dialog show for the current state.
struct TensorPanelTexts {
  std::string exponent;          ///< Label11: the exponent of `scale`, e.g. "3"
  std::string cornerCaption;     ///< cell (0,0) of both grids, "10^3"
  std::string unitText;          ///< Label12
  int kindListIndex = 0;         ///< selection of the kind chooser (0 for an unknown code)
  std::string kindCaption;       ///< Label14
  std::string polarity;          ///< Label15: "polar" or "axial"
  std::string axialMenuCaption;  ///< "change into &polar" when axial, else "change into &axial"
  std::string groupName;         ///< full symbol without its bar ("42m" for -42m, "" for none)
  int groupBarIndex = -1;        ///< the character of groupName that carries the bar, or -1
  bool groupBarred = false;      ///< groupBarIndex >= 0
  std::string pointSymmetry;     ///< Label23: "PS: " followed by groupName
  /// The New dialog's line: "Point  Symmetry:  " followed by groupName.
  std::string dialogPointSymmetry;
};

/// Derives the exponent from `scale` (stored in t.exponent) and the texts from the state.
TensorPanelTexts PanelTextsOf(TensorState& t);

// ---- New Tensor dialog --------------------------------------------------------------------

/// The settings the New Tensor dialog can bring back with "Restore"; components are not part of
/// it.
struct NewTensorSnapshot {
  std::string fileName;  ///< without directory
  std::string unitText;
  bool axial = false;
  Real scale = 1.0L;
  int pointGroup = 2;
  int kind = 0;
};

/// Takes the snapshot; `lastChosenFile` is the file last chosen in the open dialog (its
/// directory is dropped).
NewTensorSnapshot TakeNewTensorSnapshot(const TensorState& t, const std::string& lastChosenFile);
/// Puts unit text, polar/axial, scale, point group, kind and the kind's rank back.
void RestoreNewTensorSnapshot(TensorState& t, const NewTensorSnapshot& snapshot);
/// The path Save will propose for a new tensor: the typed file name in the program's directory.
std::filesystem::path NewTensorSaveName(const std::filesystem::path& programDirectory,
                                        const std::string& typedFileName);
/// The dialog's unit-text line: the unit text, or "Unittext" when it is empty.
std::string DialogUnitText(const std::string& unitText);

}  // namespace quillmere
