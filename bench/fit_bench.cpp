// The largest fit of the ten property kinds: 18 piezoelectric components in point group 1 from
// 1000 measurements, with the symmetry table read once per run; and what reading it twice per
// measurement would cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "fit/fit_cells.h"
#include "fit/fit_engine.h"
#include "fit/measurement_csv.h"
#include "fit/property_kinds.h"
#include "support/test_support.h"
#include "tensor/symmetry_table.h"

namespace {

using namespace quillmere;

constexpr int kMeasurements = 1000;
constexpr int kTriclinic = 2;  // point group "1"

struct PiezoFit {
  test::ShippedTable shipped;
  TensorState tensor;
  const PropertyKind* kind = FindPropertyKind("piezoelectric");
  test::TextCells cells{2};

  PiezoFit() {
    FitSession session;
    tensor.pointGroup = kTriclinic;
    OpenFitForKind(tensor, session, *kind);
    test::Random random(42);
    TensorState truth = tensor;
    for (int i = 1; i <= 3; ++i)
      for (int j = 1; j <= 3; ++j)
        for (int k = j; k <= 3; ++k)
          truth.At(i, j, k) = truth.At(i, k, j) = random.Uniform(-3, 3) * 1e-12;
    for (int n = 0; n < kMeasurements; ++n) {
      test::Measurement m;
      for (int d = 0; d < 2; ++d) {
        double x, y, z;
        random.UnitVector(x, y, z);
        m.directions.push_back({x, y, z});
      }
      m.dy = 0.01L;
      m.y = test::Contract(truth, kind->sharingFlags, m.directions) / 1e-12L +
            0.01L * random.Gaussian();
      cells.Add(m);
    }
  }
};

void BM_PiezoelectricFitOf1000Measurements(benchmark::State& state) {
  PiezoFit fit;
  for (auto _ : state) {
    FitWorkspace w(fit.kind->sharingFlags);
    if (RunFit(w, fit.tensor, fit.cells, fit.shipped.services) != FitOutcome::Done)
      state.SkipWithError("the fit did not finish");
    benchmark::DoNotOptimize(w.x);
  }
}
BENCHMARK(BM_PiezoelectricFitOf1000Measurements)->Unit(benchmark::kMillisecond);

/// What a run spends on finding the table entry: two reads per measurement and two at the
/// start (the size check and ResetFit).
void BM_TableReadsOfThatFit(benchmark::State& state) {
  PiezoFit fit;
  for (auto _ : state) {
    for (int n = 0; n < 2 * kMeasurements + 2; ++n)
      benchmark::DoNotOptimize(FindSymmetryLine(fit.shipped.services, kTriclinic, 5, false));
  }
}
BENCHMARK(BM_TableReadsOfThatFit)->Unit(benchmark::kMillisecond);

/// The table's two walks per measurement (each with its read), without the directions and sums.
void BM_TableWalksOfThatFit(benchmark::State& state) {
  PiezoFit fit;
  for (auto _ : state) {
    for (int n = 0; n < kMeasurements; ++n) {
      ResetComponents(fit.tensor);
      ApplySymmetry(fit.tensor, SymmetryMode::UnitValues, fit.shipped.services);
      ApplySymmetry(fit.tensor, SymmetryMode::CoefficientSums, fit.shipped.services);
    }
  }
}
BENCHMARK(BM_TableWalksOfThatFit)->Unit(benchmark::kMillisecond);

}  // namespace

// A million thermal-expansion measurements (calcite's six rows repeated, point group -3m) read
// from a CSV text as the command-line tool reads its file: once, as the run sums.
void BM_FitOfAMillionMeasurementsFromText(benchmark::State& state) {
  const char* rows[6] = {"1,0,0,-5.62,0.05\n", "0,1,0,-5.55,0.05\n", "0,0,1,25.04,0.05\n",
                         "1,0,1,9.68,0.05\n",  "1,1,1,4.63,0.05\n",  "0,1,2,18.85,0.05\n"};
  std::string text = "u1,u2,u3,y,dy\n";
  for (int k = 0; k < 1000000; ++k) text += rows[k % 6];
  test::ShippedTable shipped;
  const PropertyKind* kind = FindPropertyKind("thermal-expansion");
  TensorState tensor;
  for (const PointGroupInfo& g : PointGroups())
    if (std::string(g.conventional) == "-3m") tensor.pointGroup = g.number;
  FitSession session;
  OpenFitForKind(tensor, session, *kind);
  FitWorkspace w(kind->sharingFlags);
  for (auto _ : state) {
    std::istringstream in(text);
    w = FitWorkspace(kind->sharingFlags);
    MeasurementReading reading;
    const FitOutcome outcome = RunFit(
        w, tensor,
        [&](const std::function<void(const Real*)>& add) {
          reading = ReadMeasurementCsv(in, w.directions, add);
        },
        shipped.services);
    if (outcome != FitOutcome::Done || reading.measurements != 1000000)
      state.SkipWithError("the fit did not finish");
    benchmark::DoNotOptimize(w.x);
  }
  // The largest relative difference of the fitted values and deviations from a plain long
  // double reference: every line read by strtold, the row (u1^2 + u2^2, u3^2) / |u|^2, the
  // normal equations of the two components solved directly.
  long double a11 = 0, a12 = 0, a22 = 0, b1 = 0, b2 = 0, yy = 0;
  std::size_t count = 0;
  for (std::size_t k = text.find('\n') + 1; k < text.size(); k = text.find('\n', k) + 1) {
    long double v[5];
    const char* p = text.c_str() + k;
    for (long double& x : v) {
      char* end;
      x = std::strtold(p, &end);
      p = end + 1;
    }
    const long double s = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
    const long double f1 = (v[0] * v[0] + v[1] * v[1]) / s, f2 = v[2] * v[2] / s;
    const long double g = 1 / (v[4] * v[4]);
    a11 += f1 * f1 * g, a12 += f1 * f2 * g, a22 += f2 * f2 * g;
    b1 += v[3] * f1 * g, b2 += v[3] * f2 * g, yy += v[3] * v[3] * g;
    ++count;
  }
  const long double det = a11 * a22 - a12 * a12;
  const long double x1 = (a22 * b1 - a12 * b2) / det, x2 = (a11 * b2 - a12 * b1) / det;
  const long double chi2 = yy - x1 * b1 - x2 * b2;
  const long double dof = static_cast<long double>(count) - 2;
  const long double reference[4] = {x1, x2, std::sqrt(chi2 * a22 / det / dof),
                                    std::sqrt(chi2 * a11 / det / dof)};
  const long double ours[4] = {w.x[1], w.x[2], w.sd[1], w.sd[2]};
  long double largest = 0;
  for (int i = 0; i < 4; ++i)
    largest = std::max(largest, std::fabs(ours[i] - reference[i]) / std::fabs(reference[i]));
  char label[120];
  std::snprintf(label, sizeof label,
                "16.7 MB of text; values and deviations within %.1Le of the reference", largest);
  state.SetLabel(label);
}
BENCHMARK(BM_FitOfAMillionMeasurementsFromText)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
