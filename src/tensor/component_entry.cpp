#include "tensor/component_entry.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "core/user_messages.h"
#include "tensor/number_text.h"
#include "tensor/point_group_symbols.h"
#include "tensor/symmetry_table.h"

namespace quillmere {

// ---- Geometry -------------------------------------------------------------------------------

GridRect FullGridRect(int columns, int rows, int windowWidth, int windowHeight, int columnPitch) {
  GridRect r;
  r.x = 10;
  r.y = 32;
  r.width = (columns + 1) * columnPitch + 12;
  r.height = (rows + 1) * kGridRowPitch + 10;
  if (r.width > windowWidth - 30) {
    r.width = windowWidth - 30;
    r.height += kScrollBarAllowance;
    r.horizontalBar = true;
  }
  if (r.height > windowHeight - 30) {
    r.height = windowHeight - 30;
    r.width += kScrollBarAllowance;
    r.verticalBar = true;
  }
  return r;
}

GridRect IndependentGridRect(int count, int windowWidth, int windowHeight) {
  GridRect r;
  r.x = 72;
  r.y = 32;
  if (windowWidth - 30 > 274) {
    r.width = 275;
    r.height = count * kGridRowPitch + 26 + 5;
  } else {
    // Too narrow for both columns: the grid gets a horizontal scroll bar.
    r.width = windowWidth - 30;
    r.height = count * kGridRowPitch + 26 + 20;
    r.horizontalBar = true;
  }
  if (r.height > windowHeight - 80) {
    r.height = windowHeight - 80;
    r.width += kScrollBarAllowance;
    r.verticalBar = true;
  }
  return r;
}

GridRect KeepGridInside(GridRect r, const GridRoom& room, int leftmost) {
  if (r.x + r.width > room.right) {
    r.x = std::max(std::min(r.x, leftmost), room.right - r.width);
    if (r.x + r.width > room.right) {
      r.width = std::max(0, room.right - r.x);
      if (!r.horizontalBar) {
        r.horizontalBar = true;
        r.height += kScrollBarAllowance;
      }
    }
  }
  if (r.y + r.height > room.bottom) {
    r.height = std::max(0, room.bottom - r.y);
    if (!r.verticalBar) {
      r.verticalBar = true;
      // The vertical bar takes its room from the cells when the width is already limited.
      r.width = std::min(r.width + kScrollBarAllowance, std::max(0, room.right - r.x));
    }
  }
  return r;
}

// ---- Layout of the full grid ----------------------------------------------------------------

FullGridShape FullGridShapeOf(int kind) {
  if (kind == 12) return {9, 3};
  const TensorKindInfo* k = FindKind(kind);
  if (!k || k->gridColumns == 0) return {0, 0};
  return {k->gridColumns, k->gridRows};
}

FullGridCell FullGridCellOf(int kind, int row, int column) {
  FullGridCell cell;
  if (kind == 12) {
    // Rows i, columns jk. Only i < j is entered; Tjik = -Tijk fills the rest, and the diagonal
    // pairs i = j, which the antisymmetry makes zero, are shown but never read back.
    int i = (row >= 1 && row <= 3) ? row : 1;
    int j = 1, k = 1;
    IndexPair(column, j, k);
    cell.indices.i[0] = i;
    cell.indices.i[1] = j;
    cell.indices.i[2] = k;
    cell.columnLabel = std::string{static_cast<char>('0' + j), static_cast<char>('0' + k)};
    cell.rowLabel = std::string(1, static_cast<char>('0' + i));
    cell.editable = i < j;
    return cell;
  }
  GridCell base = ComponentGridCell(kind, row, column);
  cell.columnLabel = std::move(base.columnLabel);
  cell.rowLabel = std::move(base.rowLabel);
  cell.indices = base.indices;
  // The "((ij)(kl))" matrix is symmetric: a cell below the diagonal holds the same component
  // class as its mirror above it. Reading both would let the untouched one overwrite what was
  // typed into the other, so only the upper triangle is read.
  if (kind == 3) cell.editable = row <= column;
  return cell;
}

// ---- Cell texts ---------------------------------------------------------------------------

void GridTexts::Resize(int columns, int rows) {
  columns = std::max(columns, 0);
  rows = std::max(rows, 0);
  std::vector<std::string> cells(static_cast<std::size_t>(columns) * rows);
  for (int c = 0; c < std::min(columns, columns_); ++c)
    for (int r = 0; r < std::min(rows, rows_); ++r)
      cells[static_cast<std::size_t>(r) * columns + c] = std::move((*this)(c, r));
  cells_ = std::move(cells);
  columns_ = columns;
  rows_ = rows;
}

std::size_t GridTexts::Offset(int column, int row) const {
  if (column < 0 || column >= columns_ || row < 0 || row >= rows_)
    throw std::out_of_range("grid cell (" + std::to_string(column) + ", " + std::to_string(row) +
                            ") outside the grid");
  return static_cast<std::size_t>(row) * columns_ + column;
}

std::string ExponentCaption(int exponent) {
  return "10^" + std::to_string(exponent);
}

namespace {

/// "t" and the indices of a component, as far as the tensor's rank goes ("t123").
std::string ComponentName(const TensorState& t, const TensorIndices& x) {
  std::string name = "t";
  for (int k = 0; k < t.rank && k < 5; ++k) name += static_cast<char>('0' + x.i[k]);
  return name;
}

/// The independent component that a relation label starts with ("t1122" of
/// "t1122...+-1*t1111=-2*t1212").
std::string LeadingComponent(const std::string& label) {
  std::size_t end = 0;
  while (end < label.size() && std::isalnum(static_cast<unsigned char>(label[end]))) ++end;
  return label.substr(0, end);
}

// The largest magnitude that may become the scale; infinities and not-a-numbers (possible after
// an overflow elsewhere) would make every drawn radius zero, so they do not count.
void KeepLargest(Real value, Real& largest) {
  const Real a = std::fabs(value);
  if (std::isfinite(a) && a > largest) largest = a;
}

void ScaleToLargest(TensorState& t, Real largest) {
  if (!t.autoScale) return;
  t.scale = largest == 0 ? 1.0L : largest;
  DecadeOf(t, t.scale);
}

void SetShapeFields(TensorState& t, const FullGridShape& shape) {
  ComponentGridShape(t, t.kind);
  if (t.kind == 12) {
    t.gridColumns = shape.columns;
    t.gridRows = shape.rows;
  }
  if (t.kind == 0) t.rank = 1;
}

Real WriteCells(TensorState& t, GridTexts& cells, const FullGridShape& shape, char sep) {
  const Real f = DecadeOf(t, t.scale);
  cells(0, 0) = ExponentCaption(t.exponent);
  Real largest = 0;
  for (int c = 1; c <= shape.columns; ++c) {
    for (int r = 1; r <= shape.rows; ++r) {
      const FullGridCell cell = FullGridCellOf(t.kind, r, c);
      cells(c, 0) = cell.columnLabel;
      cells(0, r) = cell.rowLabel;
      const Real value = t.At(cell.indices);
      cells(c, r) = FormatGeneral(value / f, sep);
      KeepLargest(value, largest);
    }
  }
  return largest;
}

}  // namespace

bool ShowFullGrid(TensorState& t, GridTexts& cells, char decimalSeparator, bool rescale) {
  const FullGridShape shape = FullGridShapeOf(t.kind);
  if (shape.columns == 0) {
    cells.Resize(0, 0);
    return false;
  }
  SetShapeFields(t, shape);
  cells.Resize(shape.columns + 1, shape.rows + 1);
  const int shownExponent = DecadeExponent(t.scale);
  const Real largest = WriteCells(t, cells, shape, decimalSeparator);
  if (rescale) ScaleToLargest(t, largest);
  if (DecadeExponent(t.scale) != shownExponent) WriteCells(t, cells, shape, decimalSeparator);
  DecadeOf(t, t.scale);
  return true;
}

void TakeOverFullGrid(TensorState& t, const GridTexts& cells, char decimalSeparator) {
  const FullGridShape shape = FullGridShapeOf(t.kind);
  if (shape.columns == 0) return;
  if (cells.columns() < shape.columns + 1 || cells.rows() < shape.rows + 1)
    throw std::logic_error("component grid does not have the shape of the tensor kind");
  const Real f = DecadeOf(t, t.scale);
  for (int c = 1; c <= shape.columns; ++c) {
    for (int r = 1; r <= shape.rows; ++r) {
      const FullGridCell cell = FullGridCellOf(t.kind, r, c);
      if (!cell.editable) continue;
      Real typed = 0;
      if (!TryParseReal(cells(c, r), typed, decimalSeparator))
        throw CellTextError(
            NotAFloatMessage(cells(c, r)) + " (component " + ComponentName(t, cell.indices) + ")",
            c, r);
      const int* x = cell.indices.i;
      t.At(cell.indices) = typed * f;
      CopyToPartners(t, x[0], x[1], x[2], x[3]);
    }
  }
  // The largest over the whole grid, mirrored cells included: they hold components too.
  Real largest = 0;
  for (int c = 1; c <= shape.columns; ++c)
    for (int r = 1; r <= shape.rows; ++r)
      KeepLargest(t.At(FullGridCellOf(t.kind, r, c).indices), largest);
  ScaleToLargest(t, largest);
}

// ---- Independent components --------------------------------------------------------------

int DescribeIndependent(TensorState& t, const CoreServices& services, IndependentTexts& out) {
  const int count = ApplySymmetry(t, SymmetryMode::Describe, services);
  if (count <= 0) return count;
  out.unitText = t.unitText;
  out.labels.assign(t.independentLabels.begin() + 1, t.independentLabels.begin() + 1 + count);
  out.values.assign(t.independentValues.begin() + 1, t.independentValues.begin() + 1 + count);
  return count;
}

int TakeOverIndependent(TensorState& t, const CoreServices& services, const IndependentTexts& in) {
  // The count comes from a look-up on a copy: the tensor's own value texts may still hold an
  // earlier bad entry, and applying those first would refuse every correction typed since.
  TensorState probe = t;
  const int count = ApplySymmetry(probe, SymmetryMode::Describe, services);
  t.independentCount = count;
  if (count <= 0) return count;

  const Real f = DecadeOf(t, t.scale);
  Real largest = 0;
  for (int n = 1; n <= count; ++n) {
    const std::size_t k = static_cast<std::size_t>(n - 1);
    t.independentValues[n] = k < in.values.size() ? in.values[k] : std::string();
    Real v = 0;
    if (TryParseReal(t.independentValues[n], v, services.decimalSeparator))
      KeepLargest(v * f, largest);
  }
  t.unitText = in.unitText;
  // The take-over starts from zeroed components, as reading a file does: a component that no
  // relation reaches is one the point group forbids. A bad text is refused by the same walk on
  // the tensor itself, which keeps the relations before it applied; the message names the
  // component whose text is no number.
  TensorState taken = t;
  ResetComponents(taken);
  try {
    ApplySymmetry(taken, SymmetryMode::ApplyTypedTexts, services);
  } catch (const SymmetryTableError&) {
    throw;
  } catch (const std::runtime_error&) {
    try {
      ApplySymmetry(t, SymmetryMode::ApplyTypedTexts, services);
    } catch (const std::runtime_error&) {
      // The same refusal; the component is named below.
    }
    for (int n = 1; n <= count; ++n) {
      Real v = 0;
      if (!TryParseReal(t.independentValues[n], v, services.decimalSeparator))
        throw std::runtime_error(NotAFloatMessage(t.independentValues[n]) + " (component " +
                                 LeadingComponent(t.independentLabels[n]) + ")");
    }
    throw;
  }
  t = taken;
  ScaleToLargest(t, largest);
  DecadeOf(t, t.scale);
  return count;
}

// ---- Tensor panel -------------------------------------------------------------------------

TensorPanelTexts PanelTextsOf(TensorState& t) {
  TensorPanelTexts p;
  DecadeOf(t, t.scale);
  p.exponent = std::to_string(t.exponent);
  p.cornerCaption = ExponentCaption(t.exponent);
  p.unitText = t.unitText;
  p.kindListIndex = std::max(KindListIndex(t.kind), 0);
  p.kindCaption = TensorKinds()[p.kindListIndex].caption;
  p.polarity = t.axial ? "axial" : "polar";
  p.axialMenuCaption = t.axial ? "change into &polar" : "change into &axial";
  const BarredSymbol symbol = PointGroupBarredSymbol(t.pointGroup);
  p.groupName = symbol.text;
  p.groupBarIndex = symbol.barIndex;
  p.groupBarred = symbol.barIndex >= 0;
  p.pointSymmetry = "PS: " + p.groupName;
  // The whole symbol, never cut: a shortened 6/mmm would read as another group.
  p.dialogPointSymmetry = "Point  Symmetry:  " + p.groupName;
  return p;
}

// ---- New Tensor dialog --------------------------------------------------------------------

NewTensorSnapshot TakeNewTensorSnapshot(const TensorState& t, const std::string& lastChosenFile) {
  NewTensorSnapshot s;
  s.fileName = std::filesystem::path(lastChosenFile).filename().string();
  s.unitText = t.unitText;
  s.axial = t.axial;
  s.scale = t.scale;
  s.pointGroup = t.pointGroup;
  s.kind = t.kind;
  return s;
}

void RestoreNewTensorSnapshot(TensorState& t, const NewTensorSnapshot& snapshot) {
  t.unitText = snapshot.unitText;
  t.axial = snapshot.axial;
  t.scale = snapshot.scale;
  t.pointGroup = snapshot.pointGroup;
  SetKind(t, snapshot.kind);
}

std::filesystem::path NewTensorSaveName(const std::filesystem::path& programDirectory,
                                        const std::string& typedFileName) {
  return programDirectory / typedFileName;
}

std::string DialogUnitText(const std::string& unitText) {
  return unitText.empty() ? "Unittext" : unitText;
}

}  // namespace quillmere
