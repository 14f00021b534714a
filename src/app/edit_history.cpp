#include "app/edit_history.h"

#include <filesystem>
#include <vector>

#include "app/program_state.h"

namespace quillmere {

namespace {

bool SameDirections(const TensorSnapshot& a, const TensorSnapshot& b) {
  if (a.anyDirectionFixed != b.anyDirectionFixed) return false;
  for (std::size_t k = 0; k < a.fixedDirections.size(); ++k) {
    const FixedDirection& x = a.fixedDirections[k];
    const FixedDirection& y = b.fixedDirections[k];
    if (x.flag != y.flag || x.u[0] != y.u[0] || x.u[1] != y.u[1] || x.u[2] != y.u[2]) return false;
  }
  return true;
}

}  // namespace

TensorSnapshot TakeTensorSnapshot(const ProgramState& state) {
  TensorSnapshot s;
  s.tensor = state.tensor;
  s.fixedDirections = state.evaluation.fixedDirections;
  s.anyDirectionFixed = state.evaluation.anyDirectionFixed;
  s.currentSaveName = state.currentSaveName;
  s.saveNameValid = state.saveNameValid;
  return s;
}

void RestoreTensorSnapshot(ProgramState& state, const TensorSnapshot& snapshot, bool withFile) {
  state.tensor = snapshot.tensor;
  state.evaluation.fixedDirections = snapshot.fixedDirections;
  state.evaluation.anyDirectionFixed = snapshot.anyDirectionFixed;
  if (!withFile) return;
  state.currentSaveName = snapshot.currentSaveName;
  state.saveNameValid = snapshot.saveNameValid;
}

bool TensorChanged(const TensorSnapshot& before, const TensorSnapshot& after) {
  return !ChangeName(before, after).empty();
}

std::string ChangeName(const TensorSnapshot& before, const TensorSnapshot& after) {
  const TensorState& a = before.tensor;
  const TensorState& b = after.tensor;
  std::vector<const char*> changed;
  if (a.kind != b.kind) changed.push_back("Tensor Kind");
  if (a.pointGroup != b.pointGroup) changed.push_back("Point Group");
  if (a.axial != b.axial) changed.push_back(b.axial ? "Change into Axial" : "Change into Polar");
  // A grid taken over may move the power of ten to suit the new components: that is part of
  // the components' step, not a step of its own.
  if (a.scale != b.scale && a.components == b.components) changed.push_back("Power of Ten");
  if (a.unitText != b.unitText) changed.push_back("Unit Text");
  if (a.components != b.components) changed.push_back("Components");
  if (!SameDirections(before, after)) changed.push_back("Fixed Directions");
  if (changed.empty()) return {};
  return changed.size() == 1 ? changed.front() : "Edit";
}

std::string SaveChangesQuestion(const std::string& currentSaveName) {
  const std::string name = std::filesystem::path(currentSaveName).filename().string();
  return "Save changes to " + (name.empty() ? std::string("Untitled") : name) + "?";
}

}  // namespace quillmere
