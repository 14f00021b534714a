// The point group from the numbers: which groups of the symmetry table the current components
// obey in the present axis setting, and which components break a group.
//
// A group is obeyed when the table's walk, started from the independent components as the
// tensor holds them, derives every component again to within a relative tolerance of the
// largest component. An entry "%" (the tensor vanishes in the group) is obeyed only by the zero
// tensor; a group without an entry ("?") cannot be judged and is left out. Errors are those of
// the symmetry table (a missing or damaged table throws).
#pragma once

#include <string>
#include <vector>

#include "tensor/tensor_state.h"

namespace quillmere {

struct CoreServices;

constexpr Real kDefaultGroupTolerance = 1e-6L;

/// Number of operations of point group 1..32 (48 for m-3m, 1 for 1); 0 for other numbers.
int PointGroupOrder(int group);

/// A component off the relations of a group: its label ("t1122"), the value it has and the
/// value the group's relations give it (absolute units).
struct ComponentDeviation {
  std::string label;
  Real value = 0;
  Real required = 0;
};

struct GroupMatch {
  int group = 0;
  Real deviation = 0;  ///< largest |component - derived| over the largest |component|
};

/// Every group the tensor obeys within `relativeTolerance`, highest symmetry first (more
/// operations first; for equal order the higher crystal system, then the lower list number).
std::vector<GroupMatch> FindPointGroups(const TensorState& t, const CoreServices& services,
                                        Real relativeTolerance = kDefaultGroupTolerance);

/// The relative deviation of the tensor from `group` (0 when it obeys exactly); 1 when the
/// tensor vanishes in the group but is not zero; -1 when the table has no entry for it.
Real GroupDeviation(const TensorState& t, int group, const CoreServices& services);

/// The components, one per cell of the component grid, that `group` would change by more than
/// `relativeTolerance` of the largest component, largest deviation first.
std::vector<ComponentDeviation> GroupViolations(const TensorState& t, int group,
                                                const CoreServices& services,
                                                Real relativeTolerance = kDefaultGroupTolerance);

/// "t1122 is 121.4 but the group gives 120 (deviation 0.0083 of the largest component)", the
/// first `limit` violations joined by "; ", with "and N more" after them.
std::string DescribeViolations(const std::vector<ComponentDeviation>& violations, Real largest,
                               std::size_t limit = 4);

}  // namespace quillmere
