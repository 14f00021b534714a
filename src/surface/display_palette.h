// The 238-entry display palette that the main window builds at its first activation (and again
// after a change of a fill colour or Reset View): 16 standard colours, 30 fixed colours, and two
// ramps of 96 shades, from dark to white, of the positive and the negative fill colour. On a
// display with 256 colours, palette colours (Colour::kPalette) are matched to these entries;
// true-colour displays draw every colour with its exact red, green and blue.
#pragma once

#include <array>
#include <cstddef>

#include "surface/colour.h"

namespace quillmere {

inline constexpr std::size_t kDisplayPaletteSize = 238;

/// Entries as exact colours (flag 0), index 0..237.
using DisplayPalette = std::array<Colour, kDisplayPaletteSize>;

/// Shade k (0..95) of one channel value c: Round(x (250 c + 2500) / ((1 - x) 255 + c + 10) + 5)
/// with x = sqrt(k / 95); 5 at k = 0, 255 at k = 95.
int PaletteShade(int c, int k);

/// Entries 0..15 the standard colours black, maroon, green, olive, navy, purple, teal, gray,
/// silver, red, lime, yellow, blue, fuchsia, aqua, white; 16..45 the fixed colours; 46..141 the
/// shades of `positiveFill`; 142..237 the shades of `negativeFill`.
DisplayPalette BuildDisplayPalette(Colour positiveFill, Colour negativeFill);

/// Index of the entry nearest to the colour's red, green and blue (least squared distance, the
/// first of equals).
std::size_t NearestPaletteIndex(const DisplayPalette& palette, Colour c);

}  // namespace quillmere
