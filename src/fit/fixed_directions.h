// Fixed directions: index positions of the representation surface held at a chosen unit vector
// instead of the running direction (T_ijk u_i x_j x_k for a fixed u). The records are those of
// SurfaceEvaluation, which the surface evaluation reads; this file is their editor, shared by
// the fixed-direction panel of the desktop program and by quillmere-cli's --fix option.
//
// Errors: a cosine text that is not a number throws std::runtime_error with the conversion
// message; a direction of length 0 is reported through the return value, so the panel can show
// its notice and go on while the command-line tool refuses the argument.
#pragma once

#include <functional>
#include <string>

#include "core/user_messages.h"
#include "surface/surface_value.h"

namespace quillmere {

/// The flag text that fixes an index position (compared case-sensitively).
inline constexpr const char* kFixedFlag = "yes";
/// The flag text of a free index position.
inline constexpr const char* kFreeFlag = "no";
/// The names of index positions 1..5.
inline constexpr const char* kIndexPositionNames[5] = {"i", "j", "k", "l", "m"};

/// "the direction for index" followed at once by `position` (1..5) and " is undefined".
std::string UndefinedDirectionMessage(int position);

/// Index position 1..5 from its name "i".."m" or its number "1".."5"; 0 for anything else.
int IndexPositionOf(const std::string& text);

/// Fixes index position `position` (1..5) at the direction (u1, u2, u3): the cosines are
/// rounded to single precision, divided by their length and rounded again, the record's flag
/// becomes "yes" and anyDirectionFixed is set. A direction of length 0 (or one whose length is
/// not a finite number, which would make every value of the surface undefined) fixes nothing:
/// the cosines are kept as rounded, the flag becomes "no", and the result is false.
bool FixDirection(SurfaceEvaluation& e, int position, Real u1, Real u2, Real u3);

/// The apply step of the fixed-direction grid. `cell(column, row)` gives the grid's text,
/// column 1 the flag, columns 2..4 the cosines, rows 1..5 the index positions. anyDirectionFixed
/// is cleared; then, row by row, the record's flag becomes the flag cell cut to 3 characters,
/// and a row flagged exactly "yes" is fixed with FixDirection (a longer text starting with "yes"
/// leaves the flag "no"). A "yes" row whose direction is
/// undefined is told with UndefinedDirectionMessage and set back to "no", in the record and
/// through `setFlagCell(row, "no")`; the apply goes on with the next row. A cosine cell that is
/// not a number throws the conversion error: rows after it are not read.
void ApplyFixedDirectionGrid(
    SurfaceEvaluation& e, const std::function<std::string(int column, int row)>& cell,
    const std::function<void(int row, const std::string& flag)>& setFlagCell,
    const CoreServices& services);

/// Frees every index position (flags "no"); the stored cosines stay.
void FreeAllDirections(SurfaceEvaluation& e);

}  // namespace quillmere
