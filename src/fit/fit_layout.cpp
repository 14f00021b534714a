#include "fit/fit_layout.h"

namespace quillmere {

namespace {

bool StartsDirection(const IndexDirectionFlags& flags, int p) {
  return p == 1 || flags[p - 1] == 0;
}

}  // namespace

int DirectionLabel(const IndexDirectionFlags& flags, int rank, int d) {
  int direction = 0, label = 0, place = 1;
  for (int p = 1; p <= rank && p <= 5; ++p) {
    int digit = p - 1;
    if (StartsDirection(flags, p)) {
      ++direction;
      label = 0;
      place = 1;
      digit = p;
    }
    label += digit * place;
    place *= 10;
    if (direction == d && (p == rank || p == 5 || StartsDirection(flags, p + 1))) return label;
  }
  return 0;
}

int DirectionStartPosition(const IndexDirectionFlags& flags, int d) {
  int direction = 0;
  for (int p = 1; p <= 5; ++p)
    if (StartsDirection(flags, p) && ++direction == d) return p;
  return 0;
}

std::string DirectionHeading(const IndexDirectionFlags& flags, int d, int column) {
  return "u" + std::to_string(DirectionStartPosition(flags, d)) + std::to_string(column);
}

}  // namespace quillmere
