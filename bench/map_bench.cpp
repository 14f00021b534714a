// The extreme values and the projection map of a general rank-5 tensor: the search over the
// sphere with its refinement, and the values of a 512 x 512 equal-area grid with its contours
// and as CSV text.
#include <benchmark/benchmark.h>

#include <sstream>

#include "support/test_support.h"
#include "surface/extremes.h"
#include "surface/surface_map.h"

namespace {

using namespace quillmere;

TensorState General(int rank) {
  TensorState t;
  t.rank = rank;
  test::Random random(static_cast<std::uint32_t>(29 + rank));
  for (auto& c : t.components) c = random.Uniform(-1, 1);
  return t;
}

void BM_Extremes(benchmark::State& state) {
  const TensorState t = General(static_cast<int>(state.range(0)));
  const SurfaceEvaluation e;
  for (auto _ : state) benchmark::DoNotOptimize(FindSurfaceExtremes(t, e));
}
BENCHMARK(BM_Extremes)->DenseRange(1, 5)->Unit(benchmark::kMillisecond);

void BM_MapGrid(benchmark::State& state) {
  const TensorState t = General(5);
  const SurfacePolynomial p(t, SurfaceEvaluation{});
  const int size = static_cast<int>(state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(ComputeMapGrid(p, MapProjection::EqualArea, false, size));
}
BENCHMARK(BM_MapGrid)->Arg(512)->Unit(benchmark::kMillisecond);

void BM_MapContours(benchmark::State& state) {
  const TensorState t = General(5);
  const SurfacePolynomial p(t, SurfaceEvaluation{});
  const MapGrid grid = ComputeMapGrid(p, MapProjection::EqualArea, false, 512);
  const SurfaceExtremes x = FindSurfaceExtremes(t, SurfaceEvaluation{});
  const MapLevels levels = ContourLevels(x.smallest.value, x.largest.value);
  for (auto _ : state)
    for (Real level : levels.levels) benchmark::DoNotOptimize(ContourLines(grid, level));
}
BENCHMARK(BM_MapContours)->Unit(benchmark::kMillisecond);

void BM_MapCsv(benchmark::State& state) {
  const TensorState t = General(5);
  const SurfacePolynomial p(t, SurfaceEvaluation{});
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::ostringstream out;
    WriteMapCsv(out, p, MapProjection::EqualArea, MapHemisphere::Upper, 512);
    bytes = out.str().size();
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetLabel("512 x 512 grid, rank 5");
}
BENCHMARK(BM_MapCsv)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
