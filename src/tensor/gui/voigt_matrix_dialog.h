// Tensor > Voigt Matrix...: the tensor as the matrix the literature prints, typed or pasted, in
// the convention the user's numbers are written in. Cells the point group ties are read-only
// while the group is kept; OK takes the matrix over (TakeOverMatrix) and closes, a refused matrix
// keeps the form open with the reason shown under the cells.
#pragma once

#include <QDialog>

#include "core/user_messages.h"
#include "tensor/tensor_state.h"
#include "tensor/voigt_matrix.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;

namespace quillmere {

class VoigtMatrixDialog : public QDialog {
  Q_OBJECT

 public:
  /// Shows `t`'s present values in the convention its unit text proposes (stiffness-type when
  /// the text does not tell), as multiples of 10^exponent.
  VoigtMatrixDialog(const TensorState& t, const CoreServices& services, QWidget* parent = nullptr);

  /// Fills the cells from a block of text (blanks, tabs, commas or semicolons between numbers;
  /// full, transposed or triangular). With the group kept, only the free cells take numbers.
  /// A block that fits no layout leaves the cells and shows the reason; returns false then.
  bool pasteText(const QString& text);
  /// The cells as text: a first line with the convention, unit and power of ten, then the rows
  /// separated by tabs (what Copy puts on the clipboard).
  QString matrixText() const;

  /// The tensor after OK.
  const TensorState& takenOver() const { return result_; }

  QTableWidget* table() const { return table_; }
  QComboBox* conventionChooser() const { return convention_; }
  QCheckBox* keepGroupBox() const { return keepGroup_; }
  QLabel* statusLabel() const { return status_; }
  VoigtConvention convention() const;

  void accept() override;

 private:
  void FillCells();
  void MarkTiedCells();
  VoigtMatrix CellMatrix() const;

  TensorState tensor_;
  TensorState result_;
  CoreServices services_;
  std::vector<bool> free_;
  QTableWidget* table_ = nullptr;
  QComboBox* convention_ = nullptr;
  QCheckBox* keepGroup_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace quillmere
