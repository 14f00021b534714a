// Point groups as a user reads and types them: the full Hermann-Mauguin symbol with its bar
// (6/mmm, 622, m3̄m, 4̄2m), while files and the symmetry table keep the stored names of
// PointGroups(). One place for the panel, the choosers, the messages and the command-line tool.
#pragma once

#include <string>

#include "tensor/tensor_state.h"

namespace quillmere {

/// A full Hermann-Mauguin symbol as a label draws it: the plain characters and the index of the
/// one character that carries a bar (-1 for none); "m3m" with bar index 1 is m3̄m.
struct BarredSymbol {
  std::string text;
  int barIndex = -1;
};
/// The full Hermann-Mauguin symbol of group 1..32 ("6/mmm", "-42m" gives "42m" barred at 0);
/// nothing for 0 or an unknown number.
BarredSymbol PointGroupBarredSymbol(int number);
/// The full symbol for plain text, the bar as a combining overline (U+0305) after its character:
/// "m3̄m", "4̄2m", "6/mmm"; " " for 0 or an unknown number, as PointGroupName gives.
std::string PointGroupSymbol(int number);
/// The group a user's text names: the full symbol in either plain-text form ("-42m" or "4̄2m",
/// the bar also as a combining macron), or the name files store ("4b2"); 0 when the text names
/// no group.
int PointGroupOfSymbol(const std::string& text);

}  // namespace quillmere
