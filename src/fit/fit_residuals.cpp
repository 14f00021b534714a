#include "fit/fit_residuals.h"

#include "core/user_messages.h"
#include "tensor/number_text.h"

namespace quillmere {

std::vector<Real> FitResiduals(const FitWorkspace& w, TensorState& t, const FitCells& cells,
                               const CoreServices& services) {
  const TensorState saved = t;
  FitWorkspace scratch = w;
  std::vector<Real> residuals;
  try {
    for (int k = 0; k < cells.MeasurementCount(); ++k) {
      scratch.ok = true;
      BuildCoefficientRow(scratch, t, cells, k, services);
      if (!scratch.ok) {
        residuals.clear();
        break;
      }
      Real predicted = 0;
      for (int c = 1; c <= w.n; ++c) predicted += scratch.f[c] * w.x[c];
      residuals.push_back(ParseReal(cells.Value(k, 0), services.decimalSeparator) - predicted);
    }
  } catch (...) {
    t = saved;
    throw;
  }
  t = saved;
  return residuals;
}

}  // namespace quillmere
