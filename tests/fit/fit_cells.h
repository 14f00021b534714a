// Measurements laid out as the fit window's grids hold them, for the fit tests.
#pragma once

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "fit/fit_engine.h"

namespace quillmere::test {

using Vector3 = std::array<Real, 3>;

struct Measurement {
  std::vector<Vector3> directions;  ///< D of them
  Real y = 0;
  Real dy = 1;
};

/// Every digit a long double holds, so that the texts carry the numbers unchanged.
inline std::string FullText(Real v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.21Lg", v);
  return buf;
}

/// Direction and value grids with heading rows; cells beyond the grids read as empty texts.
class GridCells : public FitCells {
 public:
  explicit GridCells(int directionCount) : d_(directionCount) {
    directionRows_.resize(static_cast<std::size_t>(d_));
    valueRows_.push_back({"y=", "dy="});
  }
  void Add(const Measurement& m) {
    for (const Vector3& u : m.directions)
      directionRows_.push_back({FullText(u[0]), FullText(u[1]), FullText(u[2])});
    valueRows_.push_back({FullText(m.y), FullText(m.dy)});
  }
  /// Adds one measurement given as texts (3 per direction, then y and dy).
  void AddTexts(const std::vector<std::string>& cosines, const std::string& y,
                const std::string& dy) {
    for (std::size_t i = 0; i + 2 < cosines.size(); i += 3)
      directionRows_.push_back({cosines[i], cosines[i + 1], cosines[i + 2]});
    valueRows_.push_back({y, dy});
  }
  std::string DirectionCell(int column, int row) const override {
    if (row < 0 || row >= static_cast<int>(directionRows_.size()) || column < 1 || column > 3)
      return "";
    return directionRows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column - 1)];
  }
  std::string ValueCell(int column, int row) const override {
    if (row < 0 || row >= static_cast<int>(valueRows_.size()) || column < 0 || column > 1)
      return "";
    return valueRows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }
  int ValueRowCount() const override { return static_cast<int>(valueRows_.size()); }

 private:
  int d_;
  std::vector<std::array<std::string, 3>> directionRows_;
  std::vector<std::array<std::string, 2>> valueRows_;
};

/// The tensor contracted with the measuring directions, straight from its components: index
/// position p takes the next direction when its flag is 0 (or p is the first position), else
/// the direction of position p - 1. Directions are normalised here.
inline Real Contract(const TensorState& t, const IndexDirectionFlags& flags,
                     const std::vector<Vector3>& directions) {
  std::array<Vector3, 5> slot;
  int d = -1;
  for (int p = 0; p < t.rank; ++p) {
    if (p == 0 || flags[static_cast<std::size_t>(p)] == 0) {
      const Vector3& u = directions[static_cast<std::size_t>(++d)];
      const Real length = std::sqrt(u[0] * u[0] + u[1] * u[1] + u[2] * u[2]);
      slot[static_cast<std::size_t>(p)] = {u[0] / length, u[1] / length, u[2] / length};
    } else {
      slot[static_cast<std::size_t>(p)] = slot[static_cast<std::size_t>(p - 1)];
    }
  }
  int count = 1;
  for (int p = 0; p < t.rank; ++p) count *= 3;
  Real sum = 0;
  for (int q = 0; q < count; ++q) {
    TensorIndices x;
    Real product = 1;
    for (int p = t.rank - 1, rest = q; p >= 0; --p, rest /= 3) {
      x.i[p] = rest % 3 + 1;
      product *= slot[static_cast<std::size_t>(p)][static_cast<std::size_t>(rest % 3)];
    }
    sum += t.At(x) * product;
  }
  return sum;
}

}  // namespace quillmere::test
