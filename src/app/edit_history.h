// What one undo step of the desktop program keeps and restores: the tensor with its kind, point
// group, polar/axial, power of ten, unit text and components, the fixed directions, and the file
// the tensor belongs to. The window's undo stack holds two of these per step (before and after);
// everything here works without Qt, so the comparison and the step names are tested directly.
#pragma once

#include <string>

#include "surface/surface_value.h"
#include "tensor/tensor_state.h"

namespace quillmere {

struct ProgramState;

struct TensorSnapshot {
  TensorState tensor;
  std::array<FixedDirection, 5> fixedDirections;
  bool anyDirectionFixed = false;
  std::string currentSaveName;
  bool saveNameValid = false;
};

/// The records a step restores, as they are now.
TensorSnapshot TakeTensorSnapshot(const ProgramState& state);

/// Puts the snapshot's tensor and fixed directions back, and its file when `withFile` (a step
/// that opened a file or started a new tensor; other steps leave the save target where Save As
/// last put it). What the display derives (the cross-section, the view, an open grid's texts)
/// is the window's to redraw.
void RestoreTensorSnapshot(ProgramState& state, const TensorSnapshot& snapshot, bool withFile);

/// True when the two differ in anything the user set: kind, point group, polar/axial, power of
/// ten, unit text, a component or a fixed direction. The file name alone is no change of the
/// tensor, and the texts and sums the grids and the fit derive from the rest are not compared.
bool TensorChanged(const TensorSnapshot& before, const TensorSnapshot& after);

/// The name of the step from `before` to `after` for the Edit menu ("Undo Point Group"): the one
/// thing that changed, or "Edit" when several did. A power of ten that moved with the
/// components counts as part of "Components".
std::string ChangeName(const TensorSnapshot& before, const TensorSnapshot& after);

/// The question before the tensor is set aside while it has unsaved changes:
/// "Save changes to quartz.ten?" (the file's name, "Untitled" before it has one).
std::string SaveChangesQuestion(const std::string& currentSaveName);

}  // namespace quillmere
