// The conventions stamp of what the main window draws: the tensor, or the elastic quantity
// drawn in its place (named, with the quantity's unit and power of ten).
#pragma once

#include <string>

#include "app/program_state.h"
#include "elastic/elastic_quantity.h"
#include "surface/conventions_stamp.h"

namespace quillmere {

inline std::string DrawnStamp(const ProgramState& state) {
  if (!state.drawnQuantity) return ConventionsStamp(state.tensor, &state.evaluation);
  return ConventionsStamp(state.drawnQuantity->tensor, &state.evaluation,
                          QuantityCaption(state.drawnQuantity->quantity));
}

}  // namespace quillmere
