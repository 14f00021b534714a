// Entering the tensor as its matrix: which cells the point group leaves free, and taking a typed
// or pasted matrix over. The matrix form of the desktop program only moves texts between its
// cells and these routines.
#pragma once

#include <vector>

#include "tensor/tensor_state.h"
#include "tensor/voigt_matrix.h"

namespace quillmere {

struct CoreServices;

/// For each cell of the kind's matrix (row by row, as VoigtMatrix stores them): true when the
/// cell holds an independent component of the tensor's point group, false when the group ties
/// it to others (or to zero) or it mirrors another cell. Without a usable table entry for the
/// group, every cell that is read back is free.
std::vector<bool> FreeMatrixCells(const TensorState& t, const CoreServices& services);

/// Takes a matrix over. With `keepGroup`, only the free cells are read and the group's relations
/// derive every other component; otherwise every cell that is read back (the upper triangle of
/// "((ij)(kl))") is taken as it stands and the point group becomes 1, since the numbers have not
/// been examined. Components, and the scale when autoScale is on, change; nothing else.
/// Throws as SetFromVoigtMatrix and ApplySymmetry do, leaving `t` as it was.
void TakeOverMatrix(TensorState& t, const VoigtMatrix& m, VoigtConvention convention,
                    bool keepGroup, const CoreServices& services);

}  // namespace quillmere
