#include "surface/display_palette.h"

#include <cmath>

#include "tensor/tensor_state.h"

namespace quillmere {

namespace {

constexpr int kStandard[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                  {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {128, 128, 128},
                                  {192, 192, 192}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                  {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

constexpr int kFixed[30][3] = {
    {255, 128, 128}, {255, 255, 128}, {128, 255, 128}, {0, 255, 128},  {128, 255, 255},
    {0, 128, 255},   {255, 128, 192}, {255, 128, 255}, {128, 255, 0},  {0, 255, 64},
    {0, 128, 192},   {128, 128, 192}, {128, 64, 64},   {255, 128, 64}, {0, 64, 128},
    {128, 128, 255}, {128, 0, 64},    {255, 0, 128},   {255, 128, 0},  {0, 128, 64},
    {0, 0, 160},     {128, 0, 255},   {128, 64, 0},    {0, 64, 0},     {0, 64, 64},
    {0, 0, 64},      {64, 0, 64},     {64, 0, 128},    {128, 128, 64}, {64, 128, 128}};

constexpr int kRampLength = 96;

}  // namespace

int PaletteShade(int c, int k) {
  const Real x = std::sqrt(static_cast<Real>(k) / 95);
  return static_cast<int>(RoundHalfEven(x * (250.0L * c + 2500) / ((1 - x) * 255 + c + 10) + 5));
}

DisplayPalette BuildDisplayPalette(Colour positiveFill, Colour negativeFill) {
  DisplayPalette p{};
  std::size_t i = 0;
  for (const auto& c : kStandard) p[i++] = Colour::Exact(c[0], c[1], c[2]);
  for (const auto& c : kFixed) p[i++] = Colour::Exact(c[0], c[1], c[2]);
  for (const Colour& fill : {positiveFill, negativeFill})
    for (int k = 0; k < kRampLength; ++k)
      p[i++] = Colour::Exact(PaletteShade(fill.red, k), PaletteShade(fill.green, k),
                             PaletteShade(fill.blue, k));
  return p;
}

std::size_t NearestPaletteIndex(const DisplayPalette& palette, Colour c) {
  std::size_t best = 0;
  long bestDistance = -1;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const long dr = long{palette[i].red} - c.red, dg = long{palette[i].green} - c.green,
               db = long{palette[i].blue} - c.blue;
    const long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) best = i, bestDistance = d;
  }
  return best;
}

}  // namespace quillmere
