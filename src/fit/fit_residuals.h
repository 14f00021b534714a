// What a finished fit leaves unexplained: each measurement's value minus the value the fitted
// components predict along its measuring directions.
#pragma once

#include <vector>

#include "fit/fit_engine.h"

namespace quillmere {

/// y - sum over c of f[c] x[c] for every measurement of `cells`, in the display unit, with the
/// fitted x of `w` (a workspace after a finished RunFit). The tensor is used as scratch space
/// and put back as it was. Throws the conversion error of a cell that is not a number; returns
/// an empty list when a direction is missing.
std::vector<Real> FitResiduals(const FitWorkspace& w, TensorState& t, const FitCells& cells,
                               const CoreServices& services);

}  // namespace quillmere
