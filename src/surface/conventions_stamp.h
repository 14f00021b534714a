// The one line every export carries about what it shows: the tensor's kind, point group,
// polar or axial character, unit and power of ten, and for a derived quantity (index positions
// held at fixed directions) that quantity. Writers put it where their format has room for text
// (a comment, a header, a description) so that a file found later still says what it is.
#pragma once

#include <string>

#include "tensor/tensor_state.h"

namespace quillmere {

struct SurfaceEvaluation;

/// One line of printable ASCII without '"', '<', '>', '&' or '\\' (a unit text is cleaned of
/// them), e.g. "Quillmere tensor (ij)(kl), point group 6/mmm, polar, unit GPa x 10^2,
/// components in index notation (no Voigt factors)". `e` may be null: no derived quantity.
/// `quantity` names a quantity drawn in place of the tensor's value ("Young's modulus"); `t`
/// then carries that quantity's unit and power of ten.
std::string ConventionsStamp(const TensorState& t, const SurfaceEvaluation* e = nullptr,
                             const std::string& quantity = {});

}  // namespace quillmere
