// Parsing of the arguments that several commands share: the tensor kind and the point group.
#pragma once

#include <string>
#include <vector>

#include "tensor/tensor_state.h"

namespace quillmere {
struct SurfaceEvaluation;
}

namespace quillmere::cli {

/// A tensor kind given by its caption ("(ij)(kl)") or its code ("6"). Throws UsageError for
/// anything else.
int ParseKindArgument(const std::string& text);

/// A point group given by its conventional Hermann-Mauguin symbol ("4/mmm", "-42m", "m-3m",
/// "32"), by the name the program stores ("4/mm", "4b2", "4/m3") or by its number in the
/// program's list ("14", or "#12" where a number reads like a symbol: "32" is the trigonal group
/// 32, "#32" the group numbered 32, 23). Throws UsageError for anything else.
int ParseGroupArgument(const std::string& text);

/// One --fix POSITION=U1,U2,U3: index position 1..5 held at the direction (u1, u2, u3).
struct FixOption {
  int position = 0;
  Real u[3] = {0, 0, 0};
};

/// Parses the value of --fix: POSITION is i, j, k, l, m or 1..5, the cosines are three numbers
/// separated by commas. Throws UsageError for anything else. The direction's length is checked
/// when it is applied (ApplyFixOptions).
FixOption ParseFixOption(const std::string& text);

/// Fixes the positions in the order given, with the fixed-direction panel's rules (single-
/// precision cosines, normalised). A direction of length 0 throws UsageError with the panel's
/// message "the direction for index<p> is undefined".
void ApplyFixOptions(SurfaceEvaluation& e, const std::vector<FixOption>& fixes);

/// The help lines of --fix, for the commands that take it.
std::string FixOptionHelp();

/// One line listing the accepted kinds, for help texts and messages.
std::string KindArgumentHelp();
/// One line describing the accepted point-group forms, for help texts and messages.
std::string GroupArgumentHelp();

}  // namespace quillmere::cli
