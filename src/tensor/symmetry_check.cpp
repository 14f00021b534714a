#include "tensor/symmetry_check.h"

#include <cmath>

#include "core/user_messages.h"
#include "tensor/symmetry_table.h"

namespace quillmere {

bool WalkReproducesComponents(const TensorState& t, const CoreServices& services,
                              Real relativeTolerance) {
  CoreServices quiet = services;
  quiet.messages = nullptr;
  const SymmetryEntry entry = ReadSymmetryEntry(quiet, t.pointGroup, t.kind, t.axial);

  // The walk runs on a copy through the very texts a header-layout file would hold.
  TensorState walked = t;
  if (ApplySymmetryEntry(walked, SymmetryMode::Describe, entry, quiet) <= 0) return false;
  ResetComponents(walked);
  ApplySymmetryEntry(walked, SymmetryMode::ApplyTexts, entry, quiet);

  Real largest = 0;
  for (Real c : t.components) largest = std::fmax(largest, std::fabs(c));
  const Real tolerance = relativeTolerance * largest;
  for (int c = 0; c < kComponentCount; ++c)
    if (!(std::fabs(walked.components[c] - t.components[c]) <= tolerance)) return false;
  return true;
}

}  // namespace quillmere
