// VRML and STL export of a rank-5 tensor at the finest resolution (8): 13 041 grid points,
// up to 25 600 facets. Measures the whole writer, evaluation and text, into memory.
#include <benchmark/benchmark.h>

#include <sstream>

#include "files/stl_export.h"
#include "files/vrml_export.h"
#include "support/test_support.h"

namespace {

quillmere::TensorState RankFive() {
  quillmere::TensorState t;
  t.rank = 5;
  quillmere::test::Random random(3);
  for (auto& c : t.components) c = random.Uniform(-1, 1);
  return t;
}

void BM_VrmlExport(benchmark::State& state) {
  const quillmere::TensorState t = RankFive();
  quillmere::SurfaceEvaluation e;
  quillmere::ExportOptions o;
  o.resolution = 8;
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::ostringstream out;
    quillmere::WriteVRML(out, t, e, o);
    bytes = out.str().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetLabel("resolution 8, rank 5");
}
BENCHMARK(BM_VrmlExport)->Unit(benchmark::kMillisecond);

void BM_StlExport(benchmark::State& state) {
  const quillmere::TensorState t = RankFive();
  quillmere::SurfaceEvaluation e;
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::ostringstream out;
    quillmere::WriteSTL(out, t, e, 8);
    bytes = out.str().size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetLabel("resolution 8, rank 5");
}
BENCHMARK(BM_StlExport)->Unit(benchmark::kMillisecond);

/// The evaluation part alone: one SurfacePoint per grid point, as both writers do.
void BM_ExportGridEvaluation(benchmark::State& state) {
  const quillmere::TensorState t = RankFive();
  quillmere::SurfaceEvaluation e;
  const quillmere::ExportGrid grid(8);
  for (auto _ : state) {
    quillmere::Real sum = 0;
    for (int i = 0; i <= grid.k; ++i)
      for (int j = -grid.k; j <= grid.k; ++j)
        sum += quillmere::SurfacePoint(t, e, grid.Theta(i), grid.Phi(j)).z;
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(BM_ExportGridEvaluation)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
