// Colours of the picture: four bytes red, green, blue and a flag that tells whether the colour is
// meant exactly or is to be matched to the display palette. The flag takes part in every
// comparison: the renderer decides what to paint by comparing colours with the background, and a
// shaded palette white is not the background even where both show as the same pixels.
#pragma once

#include <cstdint>

namespace quillmere {

struct Colour {
  static constexpr std::uint8_t kExact = 0;    ///< drawn as given
  static constexpr std::uint8_t kPalette = 2;  ///< matched to the nearest display-palette entry

  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flag = kExact;

  /// An exact colour.
  static constexpr Colour Exact(int r, int g, int b) {
    return Colour{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                  static_cast<std::uint8_t>(b), kExact};
  }
  /// A colour matched to the display palette (PaletteColour).
  static constexpr Colour Palette(int r, int g, int b) {
    return Colour{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                  static_cast<std::uint8_t>(b), kPalette};
  }
  /// The 32-bit value: byte 0 red, byte 1 green, byte 2 blue, byte 3 the flag.
  constexpr std::uint32_t Value() const {
    return std::uint32_t{red} | std::uint32_t{green} << 8 | std::uint32_t{blue} << 16 |
           std::uint32_t{flag} << 24;
  }
  static constexpr Colour FromValue(std::uint32_t v) {
    return Colour{static_cast<std::uint8_t>(v & 0xff), static_cast<std::uint8_t>(v >> 8 & 0xff),
                  static_cast<std::uint8_t>(v >> 16 & 0xff),
                  static_cast<std::uint8_t>(v >> 24 & 0xff)};
  }
  /// Same red, green and blue, whatever the flags.
  constexpr bool SameRgb(const Colour& o) const {
    return red == o.red && green == o.green && blue == o.blue;
  }
  /// Equal only when all four bytes are equal.
  friend constexpr bool operator==(const Colour&, const Colour&) = default;
};

}  // namespace quillmere
