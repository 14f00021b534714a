// Parsing of the arguments that several commands share: the tensor kind and the point group.
#pragma once

#include <string>

namespace quillmere::cli {

/// A tensor kind given by its caption ("(ij)(kl)") or its code ("6"). Throws UsageError for
/// anything else.
int ParseKindArgument(const std::string& text);

/// A point group given by its conventional Hermann-Mauguin symbol ("4/mmm", "-42m", "m-3m",
/// "32"), by the name the program stores ("4/mm", "4b2", "4/m3") or by its number in the
/// program's list ("14", or "#12" where a number reads like a symbol: "32" is the trigonal group
/// 32, "#32" the group numbered 32, 23). Throws UsageError for anything else.
int ParseGroupArgument(const std::string& text);

/// One line listing the accepted kinds, for help texts and messages.
std::string KindArgumentHelp();
/// One line describing the accepted point-group forms, for help texts and messages.
std::string GroupArgumentHelp();

}  // namespace quillmere::cli
