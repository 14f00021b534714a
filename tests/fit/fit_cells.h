// Measurements as texts, read by the fit as it reads the window's grids, for the fit tests.
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

/// Measurements as texts, one after another; a measurement beyond them reads as empty texts.
class TextCells : public FitCells {
 public:
  explicit TextCells(int directionCount) : d_(directionCount) {}
  void Add(const Measurement& m) {
    std::vector<std::string> cosines;
    for (const Vector3& u : m.directions)
      for (const Real c : u) cosines.push_back(FullText(c));
    AddTexts(cosines, FullText(m.y), FullText(m.dy));
  }
  /// Adds one measurement given as texts (3 per direction, then y and dy).
  void AddTexts(const std::vector<std::string>& cosines, const std::string& y,
                const std::string& dy) {
    rows_.push_back({cosines, y, dy});
  }
  int MeasurementCount() const override { return static_cast<int>(rows_.size()); }
  std::string Cosine(int k, int d, int axis) const override {
    if (k < 0 || k >= MeasurementCount() || d < 1 || d > d_ || axis < 0 || axis > 2) return "";
    const std::vector<std::string>& c = rows_[static_cast<std::size_t>(k)].cosines;
    const std::size_t i = static_cast<std::size_t>(3 * (d - 1) + axis);
    return i < c.size() ? c[i] : "";
  }
  std::string Value(int k, int column) const override {
    if (k < 0 || k >= MeasurementCount() || column < 0 || column > 1) return "";
    const Row& r = rows_[static_cast<std::size_t>(k)];
    return column == 0 ? r.y : r.dy;
  }

 private:
  struct Row {
    std::vector<std::string> cosines;
    std::string y, dy;
  };
  int d_;
  std::vector<Row> rows_;
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
