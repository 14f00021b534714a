#include "tensor/matrix_entry.h"

#include <cmath>

#include "core/user_messages.h"
#include "tensor/component_entry.h"
#include "tensor/symmetry_table.h"

namespace quillmere {

namespace {

constexpr int kPointGroupOne = 2;

/// The first term of each relation: the independent components, marked (with their partners)
/// in a tensor of ones and zeros. Empty optional-like result (false) without a usable entry.
bool MarkIndependent(const TensorState& t, const CoreServices& services, TensorState& marks) {
  CoreServices quiet = services;
  quiet.messages = nullptr;
  const SymmetryEntry entry = ReadSymmetryEntry(quiet, t.pointGroup, t.kind, t.axial);
  std::vector<std::string> relations;
  if (SplitRelations(entry.text, relations) <= 0) return false;
  marks = t;
  ResetComponents(marks);
  for (const std::string& r : relations) {
    const SymmetryTerm first = ParseTerm(SplitTerms(r).front());
    marks.At(first.indices) = 1;
    CopyToPartners(marks, first.indices.i[0], first.indices.i[1], first.indices.i[2],
                   first.indices.i[3]);
  }
  return true;
}

}  // namespace

std::vector<bool> FreeMatrixCells(const TensorState& t, const CoreServices& services) {
  const VoigtMatrix shape = EmptyVoigtMatrix(t.kind);
  std::vector<bool> free(shape.values.size(), false);
  TensorState marks;
  const bool grouped = MarkIndependent(t, services, marks);
  for (int r = 1; r <= shape.rows; ++r)
    for (int c = 1; c <= shape.columns; ++c) {
      const FullGridCell cell = FullGridCellOf(t.kind, r, c);
      free[static_cast<std::size_t>(r - 1) * shape.columns + c - 1] =
          cell.editable && (!grouped || marks.At(cell.indices) != 0);
    }
  return free;
}

void TakeOverMatrix(TensorState& t, const VoigtMatrix& m, VoigtConvention convention,
                    bool keepGroup, const CoreServices& services) {
  const std::vector<bool> free =
      keepGroup ? FreeMatrixCells(t, services) : std::vector<bool>(m.values.size(), true);
  // The cells read back, with their partners filled in; SetFromVoigtMatrix then checks the
  // numbers and the kind's shape.
  TensorState u = t;
  ResetComponents(u);
  for (int r = 1; r <= m.rows; ++r)
    for (int c = 1; c <= m.columns; ++c) {
      const FullGridCell cell = FullGridCellOf(t.kind, r, c);
      if (!cell.editable || !free[static_cast<std::size_t>(r - 1) * m.columns + c - 1]) continue;
      u.At(cell.indices) = m(r, c) / static_cast<Real>(VoigtFactor(t.kind, r, c, convention));
      CopyToPartners(u, cell.indices.i[0], cell.indices.i[1], cell.indices.i[2], cell.indices.i[3]);
    }
  SetFromVoigtMatrix(u, ToVoigtMatrix(u, convention), convention);
  if (keepGroup) {
    // The group's walk derives the tied components from the free ones.
    CoreServices quiet = services;
    quiet.messages = nullptr;
    const SymmetryEntry entry = ReadSymmetryEntry(quiet, u.pointGroup, u.kind, u.axial);
    if (ApplySymmetryEntry(u, SymmetryMode::Describe, entry, quiet) > 0) {
      ResetComponents(u);
      ApplySymmetryEntry(u, SymmetryMode::ApplyTexts, entry, quiet);
    }
  } else {
    u.pointGroup = kPointGroupOne;
  }
  if (u.autoScale) {
    const Real largest = LargestAbsoluteComponent(u);
    u.scale = largest > 0 ? largest : 1.0L;
  }
  DecadeOf(u, u.scale);
  t = u;
}

}  // namespace quillmere
