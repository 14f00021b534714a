// The transformation panel of the main window, GroupBox4 "Transform Tensor by:": the matrix grid
// StringGrid4 and the buttons "Apply" (Button7) and "Cancel" (Button8). The panel edits the
// tensor and the transformation matrix it is given; redraws, the component grid and the tensor
// panel's refresh are the window's, reached through hooks.
//
// Errors: the handlers throw what the core throws (a matrix cell that is not a number); the
// window runs them under its error handler.
#pragma once

#include <QGroupBox>
#include <functional>

#include "fit/transformation.h"
#include "tensor/gui/component_grids.h"

class QPushButton;

namespace quillmere {

struct CoreServices;

/// StringGrid4: "uij" in the corner, "1".."3" along the top row and the left column, and U[a][b]
/// in column a, row b (the first index of U is the grid column).
class MatrixGrid : public EntryGrid {
  Q_OBJECT
 public:
  explicit MatrixGrid(QWidget* parent = nullptr);
  /// Writes the headings and every U[a][b] in general format with the given separator.
  void showMatrix(const TransformMatrix& u, char decimalSeparator);
};

struct TransformPanelContext {
  TensorState* tensor = nullptr;
  TransformMatrix* matrix = nullptr;  ///< TransformMatrix, kept between applies
  const CoreServices* services = nullptr;
};

struct TransformPanelHooks {
  /// Takes over a component grid that is open with typed texts, before the tensor is read;
  /// false when a grid is still open (its bad cell shown), and Apply then stops.
  std::function<bool()> commitOpenGrids;
  /// StringGrid1Click: toggles the full component grid, which shows the new components.
  std::function<void()> stringGrid1Click;
  std::function<void()> refresh;     ///< Label11Click
  std::function<void()> drawTensor;  ///< DrawTensor
};

class TransformPanel : public QGroupBox {
  Q_OBJECT
 public:
  TransformPanel(QWidget* parent, TransformPanelContext context, TransformPanelHooks hooks);

  MatrixGrid* StringGrid4 = nullptr;
  QPushButton* Button7 = nullptr;  ///< "Apply"
  QPushButton* Button8 = nullptr;  ///< "Cancel"

  /// Menu item "Transform": fills the grid from TransformMatrix and shows the panel.
  void ransform1Click();
  /// "Apply": reads the matrix (column outer, row inner), transforms every component, keeps the
  /// transformed tensor whole against a later Save or take-over (a group it no longer obeys is
  /// replaced by point group 1, with a notice), hides the panel, toggles the full component
  /// grid and redraws. A cell that is not a number throws before the tensor changes; the
  /// entries read before it stay in TransformMatrix.
  void Button7Click();
  /// "Cancel": hides the panel.
  void Button8Click();

 private:
  TransformPanelContext ctx_;
  TransformPanelHooks hooks_;
};

}  // namespace quillmere
