#include "tensor/point_group_symbols.h"

namespace quillmere {

BarredSymbol PointGroupBarredSymbol(int number) {
  if (number < 1 || number > kPointGroupCount) return {};
  // The table writes a bar as a '-' before the barred character.
  const std::string conventional = PointGroups()[number - 1].conventional;
  const std::size_t minus = conventional.find('-');
  if (minus == std::string::npos) return {conventional, -1};
  return {conventional.substr(0, minus) + conventional.substr(minus + 1), static_cast<int>(minus)};
}

std::string PointGroupSymbol(int number) {
  BarredSymbol symbol = PointGroupBarredSymbol(number);
  if (symbol.text.empty()) return " ";
  if (symbol.barIndex >= 0)
    symbol.text.insert(static_cast<std::size_t>(symbol.barIndex) + 1, "\xCC\x85");
  return symbol.text;
}

int PointGroupOfSymbol(const std::string& text) {
  // A combining macron (U+0304) is typed for the bar as often as the overline.
  std::string barred = text;
  for (std::size_t at = barred.find("\xCC\x84"); at != std::string::npos;
       at = barred.find("\xCC\x84", at))
    barred.replace(at, 2, "\xCC\x85");
  // Full symbols first: "32" and "23" are symbols before they are stored names.
  for (const PointGroupInfo& g : PointGroups())
    if (text == g.conventional || barred == PointGroupSymbol(g.number)) return g.number;
  for (const PointGroupInfo& g : PointGroups())
    if (text == g.storedName) return g.number;
  return 0;
}

}  // namespace quillmere
