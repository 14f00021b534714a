#include "app/cli/cli_arguments.h"

#include <charconv>

#include <cmath>

#include "app/cli/cli_commands.h"
#include "fit/fixed_directions.h"
#include "tensor/number_text.h"
#include "tensor/point_group_symbols.h"
#include "tensor/tensor_state.h"

namespace quillmere::cli {

namespace {

/// A plain decimal number (digits only), or -1.
int PlainNumber(const std::string& text) {
  int value = -1;
  const char* b = text.data();
  const char* e = b + text.size();
  if (b == e || text.size() > 4) return -1;
  const auto res = std::from_chars(b, e, value);
  if (res.ec != std::errc() || res.ptr != e || value < 0) return -1;
  return value;
}

/// Other spellings in common use: the older short cubic symbols and the second settings of the
/// barred tetragonal and hexagonal groups.
struct GroupAlias {
  const char* text;
  int number;
};
const GroupAlias kGroupAliases[] = {
    {"m3m", 28}, {"-4m2", 18}, {"-6m2", 25}, {"-3m1", 9}, {"-31m", 9},
    {"3m1", 10}, {"31m", 10},  {"321", 12},  {"312", 12},
};

}  // namespace

int ParseKindArgument(const std::string& text) {
  for (const TensorKindInfo& k : TensorKinds())
    if (text == k.caption) return k.code;
  const int code = PlainNumber(text);
  if (code >= 0 && FindKind(code)) return code;
  throw UsageError{"unknown tensor kind '" + text + "' (" + KindArgumentHelp() + ")"};
}

int ParseGroupArgument(const std::string& text) {
  // Symbols first: "32" and "23" are point groups to a crystallographer before they are
  // positions in the program's list.
  if (const int number = PointGroupOfSymbol(text); number != 0) return number;
  for (const GroupAlias& a : kGroupAliases)
    if (text == a.text) return a.number;
  const bool hashed = !text.empty() && text[0] == '#';
  const int number = PlainNumber(hashed ? text.substr(1) : text);
  if (number >= 1 && number <= kPointGroupCount) return number;
  throw UsageError{"unknown point group '" + text + "' (" + GroupArgumentHelp() + ")"};
}

FixOption ParseFixOption(const std::string& text) {
  auto bad = [&](const std::string& why) {
    return UsageError{
        "--fix needs POSITION=U1,U2,U3 (POSITION i, j, k, l, m or 1 to 5), as in "
        "i=0,0,1; " +
        why};
  };
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos) throw bad("'" + text + "' has no '='");
  FixOption fix;
  fix.position = IndexPositionOf(text.substr(0, equals));
  if (fix.position == 0) throw bad("'" + text.substr(0, equals) + "' is not an index position");
  const std::string cosines = text.substr(equals + 1);
  std::size_t start = 0;
  for (int c = 0; c < 3; ++c) {
    const std::size_t end = c < 2 ? cosines.find(',', start) : cosines.size();
    if (end == std::string::npos) throw bad("'" + cosines + "' is not three numbers");
    const std::string number = cosines.substr(start, end - start);
    if (!TryParseReal(number, fix.u[c]) || !std::isfinite(fix.u[c]))
      throw bad(NotAFloatMessage(number));
    start = end + 1;
  }
  return fix;
}

void ApplyFixOptions(SurfaceEvaluation& e, const std::vector<FixOption>& fixes) {
  for (const FixOption& f : fixes)
    if (!FixDirection(e, f.position, f.u[0], f.u[1], f.u[2]))
      throw UsageError{UndefinedDirectionMessage(f.position)};
}

std::string FixOptionHelp() {
  return "  --fix POSITION=U1,U2,U3\n"
         "        hold index position POSITION (i, j, k, l, m or 1 to 5) at the direction\n"
         "        (U1, U2, U3) instead of the running direction, as the desktop program's\n"
         "        Fixed Directions panel does: i=0,0,1 draws T3j xj for a second-rank tensor.\n"
         "        The cosines are normalised in single precision; a zero direction is refused.\n"
         "        Repeat the option for several positions; positions beyond the tensor's rank,\n"
         "        and every position of a first-rank tensor, change nothing.\n";
}

std::string KindArgumentHelp() {
  std::string text = "kinds:";
  for (const TensorKindInfo& k : TensorKinds())
    text += " " + std::to_string(k.code) + "=" + k.caption;
  return text;
}

std::string GroupArgumentHelp() {
  return "a symbol (4/mmm, -42m, m-3m, 32; a bar also as U+0305 or U+0304 after its digit), a "
         "stored name (4/mm) or a number (#1 to #32)";
}

bool ReadFileArguments(const std::vector<std::string>& args, const std::string& command,
                       FileArguments& files, const OptionReader& readOption) {
  for (std::size_t n = 0; n < args.size(); ++n) {
    const std::string& a = args[n];
    const OptionValue value = [&]() -> const std::string& {
      if (n + 1 >= args.size()) throw UsageError{a + " needs a value"};
      return args[++n];
    };
    if (a == "--help" || a == "-h") return false;
    if (a == "-o" || a == "--output") {
      files.output = value();
    } else if (!a.empty() && a[0] == '-') {
      if (!readOption(a, value))
        throw UsageError{"unknown option '" + a + "' (see quillmere-cli " + command + " --help)"};
    } else if (files.input) {
      throw UsageError{"only one tensor file, please ('" + a + "' is the second)"};
    } else {
      files.input = a;
    }
  }
  if (!files.input)
    throw UsageError{"which tensor file? (see quillmere-cli " + command + " --help)"};
  return true;
}

int ParseWholeOption(const std::string& option, const std::string& text, int lo, int hi) {
  Real value = 0;
  if (!TryParseReal(text, value) || value != std::floor(value) || value < lo || value > hi)
    throw UsageError{option + " needs a whole number from " + std::to_string(lo) + " to " +
                     std::to_string(hi) + ", not '" + text + "'"};
  return static_cast<int>(value);
}

int ParseCaptionOption(const std::string& text) {
  if (text == "xyz") return 1;
  if (text == "abc") return 2;
  if (text == "e123") return 3;
  throw UsageError{"--caption needs xyz, abc or e123, not '" + text + "'"};
}

}  // namespace quillmere::cli
