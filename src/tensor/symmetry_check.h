// Whether the current components obey the point group: the test that decides whether a tensor
// can be stored as its independent values alone.
#pragma once

#include "tensor/tensor_state.h"

namespace quillmere {

struct CoreServices;

/// True when the table's walk, started from the independent values that the current components
/// give (as Describe shows them, to 15 significant digits), derives every one of the 243
/// components again to within `relativeTolerance` of the largest component's magnitude. False
/// when the table has no usable entry for the tensor's point group, kind and polarity (nothing
/// can then be derived). Shows no message; throws as ApplySymmetry does on a missing or damaged
/// table. `t` is not changed.
bool WalkReproducesComponents(const TensorState& t, const CoreServices& services,
                              Real relativeTolerance = 1e-12L);

}  // namespace quillmere
