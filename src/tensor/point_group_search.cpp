#include "tensor/point_group_search.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/user_messages.h"
#include "tensor/component_entry.h"
#include "tensor/number_text.h"
#include "tensor/symmetry_table.h"

namespace quillmere {

namespace {

constexpr int kOrders[kPointGroupCount] = {2,  1,  4,  2, 2, 8,  4,  4,  12, 6,  6,
                                           6,  3,  16, 8, 8, 8,  8,  4,  4,  24, 12,
                                           12, 12, 12, 6, 6, 48, 24, 24, 24, 12};

int SystemRank(int group) {
  static const char* const kSystems[] = {"triclinic",  "monoclinic", "orthorhombic", "trigonal",
                                         "tetragonal", "hexagonal",  "cubic"};
  const std::string system = PointGroups()[group - 1].crystalSystem;
  for (int n = 0; n < 7; ++n)
    if (system == kSystems[n]) return n;
  return 0;
}

/// The tensor the group's relations derive from the independent components `t` holds; nullopt
/// when the table has no entry; a zero tensor when the tensor vanishes in the group.
std::optional<TensorState> Derived(const TensorState& t, int group, const CoreServices& services) {
  CoreServices quiet = services;
  quiet.messages = nullptr;
  const SymmetryEntry entry = ReadSymmetryEntry(quiet, group, t.kind, t.axial);
  TensorState walked = t;
  walked.pointGroup = group;
  const int count = ApplySymmetryEntry(walked, SymmetryMode::Describe, entry, quiet);
  if (count < 0) return std::nullopt;
  ResetComponents(walked);
  // The walk reads the independent values back from the texts Describe wrote, 15 significant
  // digits: far below any tolerance a user sets.
  if (count > 0) ApplySymmetryEntry(walked, SymmetryMode::ApplyTexts, entry, quiet);
  return walked;
}

std::string Label(const TensorIndices& x, int rank) {
  std::string s = "t";
  for (int k = 0; k < rank; ++k) s += static_cast<char>('0' + x.i[k]);
  return s;
}

}  // namespace

int PointGroupOrder(int group) {
  return group >= 1 && group <= kPointGroupCount ? kOrders[group - 1] : 0;
}

Real GroupDeviation(const TensorState& t, int group, const CoreServices& services) {
  const std::optional<TensorState> walked = Derived(t, group, services);
  if (!walked) return -1;
  const Real largest = LargestAbsoluteComponent(t);
  if (largest == 0) return 0;
  Real worst = 0;
  for (int c = 0; c < kComponentCount; ++c)
    worst = std::max(worst, std::fabs(walked->components[c] - t.components[c]));
  // Below the 15 significant digits the walk reads its values with, a deviation is rounding.
  const Real deviation = worst / largest;
  return deviation < 1e-15L ? 0 : deviation;
}

std::vector<GroupMatch> FindPointGroups(const TensorState& t, const CoreServices& services,
                                        Real relativeTolerance) {
  std::vector<GroupMatch> found;
  for (int g = 1; g <= kPointGroupCount; ++g) {
    const Real deviation = GroupDeviation(t, g, services);
    if (deviation >= 0 && deviation <= relativeTolerance) found.push_back({g, deviation});
  }
  std::stable_sort(found.begin(), found.end(), [](const GroupMatch& a, const GroupMatch& b) {
    if (PointGroupOrder(a.group) != PointGroupOrder(b.group))
      return PointGroupOrder(a.group) > PointGroupOrder(b.group);
    return SystemRank(a.group) > SystemRank(b.group);
  });
  return found;
}

std::vector<ComponentDeviation> GroupViolations(const TensorState& t, int group,
                                                const CoreServices& services,
                                                Real relativeTolerance) {
  std::vector<ComponentDeviation> out;
  const std::optional<TensorState> walked = Derived(t, group, services);
  if (!walked) return out;
  const Real tolerance = relativeTolerance * LargestAbsoluteComponent(t);
  const FullGridShape shape = FullGridShapeOf(t.kind);
  for (int r = 1; r <= shape.rows; ++r)
    for (int c = 1; c <= shape.columns; ++c) {
      const FullGridCell cell = FullGridCellOf(t.kind, r, c);
      if (!cell.editable) continue;
      const Real value = t.At(cell.indices);
      const Real required = walked->At(cell.indices);
      if (std::fabs(value - required) > tolerance)
        out.push_back({Label(cell.indices, t.rank), value, required});
    }
  std::stable_sort(out.begin(), out.end(), [](const auto& a, const auto& b) {
    return std::fabs(a.value - a.required) > std::fabs(b.value - b.required);
  });
  return out;
}

std::string DescribeViolations(const std::vector<ComponentDeviation>& violations, Real largest,
                               std::size_t limit) {
  std::string text;
  for (std::size_t n = 0; n < violations.size() && n < limit; ++n) {
    const ComponentDeviation& v = violations[n];
    if (n) text += "; ";
    text += v.label + " is " + FormatGeneral(v.value, '.', 6) + " but the group gives " +
            FormatGeneral(v.required, '.', 6);
    if (largest > 0)
      text += " (deviation " + FormatGeneral(std::fabs(v.value - v.required) / largest, '.', 3) +
              " of the largest component)";
  }
  if (violations.size() > limit)
    text += "; and " + std::to_string(violations.size() - limit) + " more";
  return text;
}

}  // namespace quillmere
