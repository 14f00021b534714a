// The layout of the fit window's grids that follows from the measuring geometry: the label of
// each direction row and the headings of the cosine columns.
#pragma once

#include <string>

#include "fit/fit_engine.h"

namespace quillmere {

inline constexpr const char* kMsgNoPointGroup = "Pointsymmetry not selected";
inline constexpr const char* kAskCloseFit = "Close Fit ?";
inline constexpr const char* kValueHeadingY = "y=";
inline constexpr const char* kValueHeadingDy = "dy=";

/// The number in column 0 of the row of direction d (1..D) of every measurement: the index
/// positions that use the direction, as digits, the first position last. Walking positions
/// p = 1..rank, a position starting a direction writes the digit p, a position sharing the
/// direction before it writes p - 1, each in the next decimal place of its direction's label.
/// So the piezoelectric geometry (0 0 1) gives 1 and 22, electrostriction (0 1 0) 11 and 3.
int DirectionLabel(const IndexDirectionFlags& flags, int rank, int d);

/// The index position (1..5) at which direction d (1..D) starts; 0 when there is no such
/// direction.
int DirectionStartPosition(const IndexDirectionFlags& flags, int d);

/// Heading of cosine column `column` (1..3) for direction d: "u" followed by the direction's
/// start position and the column ("u21" for the first cosine of a direction starting at
/// position 2).
std::string DirectionHeading(const IndexDirectionFlags& flags, int d, int column);

}  // namespace quillmere
