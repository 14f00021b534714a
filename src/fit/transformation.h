// Transformation of the current tensor by a 3 x 3 matrix, for example into another reference
// frame: T'(a1..ar) = sum over b1..br of U(a1,b1) ... U(ar,br) T(b1..br).
#pragma once

#include <array>
#include <functional>
#include <string>

#include "tensor/tensor_state.h"

namespace quillmere {

struct CoreServices;

/// U[a][b], a and b 0-based here (1..3 in the program's texts). The first index a is the
/// column of the matrix grid, b its row; for rank 2 the law is T' = U T U^T.
using TransformMatrix = std::array<std::array<Real, 3>, 3>;

TransformMatrix IdentityMatrix();

/// The active rotation by `degrees` about the crystal axis `axis` (0 = x, 1 = y, 2 = z), right
/// handed: about z, (1, 0, 0) goes to (cos, sin, 0). Whole multiples of 90 degrees are exact.
TransformMatrix RotationMatrix(int axis, Real degrees);

/// Replaces every component of `t` by the transformed one, for ranks 1 to 5. The matrix is
/// taken as it is: it need not be orthogonal, and no determinant factor is applied to axial
/// tensors. Components with an index beyond the rank become 0 (their index stays 1). The
/// components change only once the whole new set is computed; nothing else of `t` changes (the
/// value texts of the independent components are left as they are). Other ranks: no change.
void TransformTensor(TensorState& t, const TransformMatrix& u);

/// The point-group number of "1", the group that relates no components: a tensor in it keeps all
/// of its components through Save and Open.
inline constexpr int kPointGroupOne = 2;

/// What KeepTransformedTensor did to the point group.
struct TransformedSymmetry {
  bool groupChanged = false;  ///< the tensor no longer obeyed its group and now has group "1"
  int oldGroup = 0;           ///< the group before, when it changed
};

/// After TransformTensor the components may no longer obey the point group, while the value
/// texts of the independent components still hold the values from before. So that neither a
/// Save nor a later take-over of the independent components brings the old tensor back: when
/// the group's walk from the new components reproduces all of them (within rounding), the
/// value texts are refreshed from the new components and the group stays; otherwise the point
/// group becomes "1" (number 2; a kind whose table entry for "1" is "?" is then written whole
/// in the headerless layout) and the texts are refreshed for it. The table's own notices are
/// not shown here; the caller tells the user about a changed group.
TransformedSymmetry KeepTransformedTensor(TensorState& t, const CoreServices& services);

/// Reads the nine matrix entries from the grid cells, column a = 1..3 in the outer loop and
/// row b = 1..3 in the inner one, storing each into u[a-1][b-1] as soon as it is read. A cell
/// that is not a number throws std::runtime_error("'<text>' is not a valid floating point
/// value"); the entries read before it stay in `u`.
void ReadTransformMatrix(TransformMatrix& u,
                         const std::function<std::string(int column, int row)>& cell,
                         char decimalSeparator = '.');

}  // namespace quillmere
