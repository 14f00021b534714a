// The fit recovers tensors built through the shipped symmetry table, for every property kind
// and every point group whose entry the fit can take.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "fit/fit_cells.h"
#include "fit/fit_engine.h"
#include "fit/property_kinds.h"
#include "support/test_support.h"
#include "tensor/symmetry_table.h"

namespace quillmere {
namespace {

using test::Measurement;
using test::TextCells;
using test::Vector3;

/// The tensor of `kind` in `group` with random independent components (display unit) put in
/// through the table; returns their number (<= 0 when the entry has none).
int RandomTensor(TensorState& t, const PropertyKind& kind, int group, test::Random& random,
                 const CoreServices& services, std::vector<Real>& values) {
  t = TensorState{};
  SetKind(t, kind.kindCode);
  t.axial = kind.axial;
  t.scale = kind.scale;
  t.unitText = kind.unitText;
  t.pointGroup = group;
  RecordingMessages quiet;
  CoreServices s = services;
  s.messages = &quiet;
  const int n = ApplySymmetry(t, SymmetryMode::Describe, s);
  if (n <= 0 || n > kMaxFitComponents) return n;
  values.assign(static_cast<std::size_t>(n) + 1, 0);
  for (int c = 1; c <= n; ++c) {
    const Real magnitude = random.Uniform(0.5, 2.0);
    values[static_cast<std::size_t>(c)] = random.Uniform(0, 1) < 0.5 ? -magnitude : magnitude;
    t.independentValues[c] = test::FullText(values[static_cast<std::size_t>(c)]);
  }
  ResetComponents(t);
  ApplySymmetry(t, SymmetryMode::ApplyTexts, s);
  return n;
}

/// `count` measurements along random directions, y from the components in the display unit,
/// with Gaussian noise of the given relative size of dy (0 for exact values).
TextCells Measure(const TensorState& t, const IndexDirectionFlags& flags, int count,
                  test::Random& random, double noise, Real dyBase = 0.01L) {
  const int d = DirectionCount(flags);
  TextCells cells(d);
  TensorState copy = t;
  const Real decade = DecadeOf(copy, copy.scale);
  for (int k = 0; k < count; ++k) {
    Measurement m;
    for (int j = 0; j < d; ++j) {
      double x, y, z;
      random.UnitVector(x, y, z);
      m.directions.push_back({x, y, z});
    }
    m.dy = dyBase * random.Uniform(0.5, 2.0);
    m.y = test::Contract(t, flags, m.directions) / decade + noise * m.dy * random.Gaussian();
    cells.Add(m);
  }
  return cells;
}

TEST(FitRecovery, EveryKindAndGroupFromExactMeasurements) {
  test::ShippedTable shipped;
  test::Random random(20240611);
  std::map<std::string, int> fitted;
  for (const PropertyKind& kind : PropertyKinds()) {
    for (int group = 1; group <= kPointGroupCount; ++group) {
      TensorState t;
      std::vector<Real> values;
      const int n = RandomTensor(t, kind, group, random, shipped.services, values);
      if (n <= 0) continue;
      ASSERT_LE(n, kMaxFitComponents) << kind.shortName << " in group " << group;
      FitWorkspace w(kind.sharingFlags);
      const TextCells cells = Measure(t, kind.sharingFlags, n + 8, random, 0);
      shipped.messages.shown.clear();
      ASSERT_EQ(RunFit(w, t, cells, shipped.services), FitOutcome::Done)
          << kind.shortName << " in group " << group;
      // Exact data leave a chi2 of rounding size, which may come out negative.
      for (const std::string& text : shipped.messages.shown)
        EXPECT_EQ(text, kMsgNoDeviations) << kind.shortName << " in group " << group;
      ASSERT_EQ(w.n, n);
      for (int c = 1; c <= n; ++c)
        EXPECT_NEAR(static_cast<double>(w.x[c]), static_cast<double>(values[c]), 1e-12 * 2)
            << kind.shortName << " in group " << group << ", component " << c << " ("
            << t.independentLabels[c] << ")";
      ++fitted[kind.shortName];
    }
  }
  // Nye, Physical Properties of Crystals (1985), ch. IV and VII and table 8: pyroelectricity is
  // possible in the 10 polar classes, piezoelectricity in 20 classes; every class has a
  // dielectric tensor.
  EXPECT_EQ(fitted["pyroelectric"], 10);
  EXPECT_EQ(fitted["piezoelectric"], 20);
  EXPECT_EQ(fitted["dielectric"], 32);
  EXPECT_GT(fitted["optical-activity"], 0);
  EXPECT_GT(fitted["electrostriction"], 0);
  EXPECT_GT(fitted["electrogyration"], 0);
  EXPECT_GT(fitted["hall"], 0);
}

struct NoiseCase {
  const char* kind;
  int group;
};

// With Gaussian errors of the stated dy, the reported deviations are the scatter of the fitted
// values over repeated experiments (the covariance of weighted least squares, scaled by the
// reduced chi2, e.g. Press et al., Numerical Recipes, ch. 15.4).
TEST(FitRecovery, DeviationsMatchTheScatterOfRepeatedFits) {
  test::ShippedTable shipped;
  const NoiseCase cases[] = {{"dielectric", 2}, {"piezoelectric", 8}, {"hall", 2}};
  for (const NoiseCase& nc : cases) {
    const PropertyKind& kind = *FindPropertyKind(nc.kind);
    test::Random random(77 + static_cast<std::uint32_t>(nc.group));
    TensorState truth;
    std::vector<Real> values;
    const int n = RandomTensor(truth, kind, nc.group, random, shipped.services, values);
    ASSERT_GT(n, 0);
    constexpr int kRepeats = 150;
    std::vector<double> sum(n + 1, 0), sumSquares(n + 1, 0), reported(n + 1, 0);
    for (int r = 0; r < kRepeats; ++r) {
      TensorState t = truth;
      FitWorkspace w(kind.sharingFlags);
      const TextCells cells = Measure(t, kind.sharingFlags, 3 * n, random, 1.0);
      ASSERT_EQ(RunFit(w, t, cells, shipped.services), FitOutcome::Done);
      for (int c = 1; c <= n; ++c) {
        const double e = static_cast<double>(w.x[c] - values[c]);
        sum[c] += e;
        sumSquares[c] += e * e;
        reported[c] += static_cast<double>(w.sd[c] * w.sd[c]);
      }
    }
    for (int c = 1; c <= n; ++c) {
      const double scatter = std::sqrt(sumSquares[c] / kRepeats);
      const double deviation = std::sqrt(reported[c] / kRepeats);
      EXPECT_GT(deviation, 0.75 * scatter) << nc.kind << ", component " << c;
      EXPECT_LT(deviation, 1.33 * scatter) << nc.kind << ", component " << c;
      // No bias: the mean error is within four standard errors of zero.
      EXPECT_LT(std::fabs(sum[c] / kRepeats), 4 * scatter / std::sqrt(kRepeats))
          << nc.kind << ", component " << c;
    }
  }
}

}  // namespace
}  // namespace quillmere
