#include "app/cli/cli_arguments.h"

#include <charconv>

#include "app/cli/cli_commands.h"
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
  for (const PointGroupInfo& g : PointGroups())
    if (text == g.conventional) return g.number;
  for (const PointGroupInfo& g : PointGroups())
    if (text == g.storedName) return g.number;
  for (const GroupAlias& a : kGroupAliases)
    if (text == a.text) return a.number;
  const bool hashed = !text.empty() && text[0] == '#';
  const int number = PlainNumber(hashed ? text.substr(1) : text);
  if (number >= 1 && number <= kPointGroupCount) return number;
  throw UsageError{"unknown point group '" + text + "' (" + GroupArgumentHelp() + ")"};
}

std::string KindArgumentHelp() {
  std::string text = "kinds:";
  for (const TensorKindInfo& k : TensorKinds())
    text += " " + std::to_string(k.code) + "=" + k.caption;
  return text;
}

std::string GroupArgumentHelp() {
  return "a symbol (4/mmm, -42m, m-3m, 32), a stored name (4/mm) or a number (#1 to #32)";
}

}  // namespace quillmere::cli
