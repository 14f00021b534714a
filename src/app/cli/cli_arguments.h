// Parsing of the arguments that several commands share: the tensor kind and the point group.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
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

/// The tensor file and the output of a command that reads one tensor file.
struct FileArguments {
  std::optional<std::filesystem::path> input, output;
};

/// Gives the value following the option being read; throws UsageError ("--x needs a value") at
/// the end of the arguments.
using OptionValue = std::function<const std::string&()>;
/// Reads one option of a command (taking its value through the OptionValue when it has one);
/// false for an option the command does not know.
using OptionReader = std::function<bool(const std::string& option, const OptionValue& value)>;

/// Walks the arguments of `command` ("render", ...): "-o"/"--output" give `files.output`, the one
/// argument not starting with '-' is the tensor file, every other option goes to `readOption`.
/// Returns false as soon as "--help" or "-h" is met (the command then prints its help). Throws
/// UsageError for an option nobody knows, a second tensor file, a missing value, and, once all
/// is read, for a missing tensor file.
bool ReadFileArguments(const std::vector<std::string>& args, const std::string& command,
                       FileArguments& files, const OptionReader& readOption);

/// A whole number from `lo` to `hi` as the value of `option`; throws UsageError otherwise.
int ParseWholeOption(const std::string& option, const std::string& text, int lo, int hi);

/// The value of --caption: xyz, abc or e123 as the axis caption styles 1, 2 and 3; throws
/// UsageError otherwise.
int ParseCaptionOption(const std::string& text);

/// One line listing the accepted kinds, for help texts and messages.
std::string KindArgumentHelp();
/// One line describing the accepted point-group forms, for help texts and messages.
std::string GroupArgumentHelp();

}  // namespace quillmere::cli
