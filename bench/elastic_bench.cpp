// The elastic properties: the whole report of a tensor (matrices, averages and every extreme),
// a 512 x 512 map of the shear modulus's minimum over m, and the scene build of Young's modulus
// at resolution 8 beside the build of the tensor's own surface.
#include <benchmark/benchmark.h>

#include "elastic/elastic_report.h"
#include "elastic/elastic_surface.h"
#include "surface/derived_surface.h"
#include "surface/scene.h"

namespace {

using namespace quillmere;

/// Copper (cubic) and alpha-quartz (trigonal 32) as ((ij)(kl)) stiffness tensors in GPa.
TensorState Stiffness(bool quartz) {
  TensorState t;
  SetKind(t, 3);
  Matrix6 c{};
  if (quartz) {
    c[0][0] = c[1][1] = 86.74L, c[2][2] = 107.2L, c[0][1] = 6.99L;
    c[0][2] = c[1][2] = 11.91L, c[0][3] = -17.91L, c[1][3] = 17.91L, c[4][5] = -17.91L;
    c[3][3] = c[4][4] = 57.94L, c[5][5] = (86.74L - 6.99L) / 2;
  } else {
    for (int i = 0; i < 3; ++i) {
      for (int j = 0; j < 3; ++j) c[i][j] = i == j ? 168.4L : 121.4L;
      c[i + 3][i + 3] = 75.4L;
    }
  }
  const int pair[6][2] = {{1, 1}, {2, 2}, {3, 3}, {2, 3}, {1, 3}, {1, 2}};
  for (int I = 0; I < 6; ++I)
    for (int J = 0; J < 6; ++J) {
      const Real x = I <= J ? c[I][J] : c[J][I];
      for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
          t.At(pair[I][a], pair[I][1 - a], pair[J][b], pair[J][1 - b]) = x;
    }
  t.scale = LargestAbsoluteComponent(t);
  t.unitText = "GPa";
  return t;
}

ElasticTensor Constants(const TensorState& t) {
  return ElasticTensor::FromTensor(t, ElasticRole::Stiffness, 1e9L);
}

void BM_ElasticReport(benchmark::State& state) {
  const ElasticTensor e = Constants(Stiffness(state.range(0) == 1));
  for (auto _ : state) {
    const ElasticReport r = MakeElasticReport(e, 2648.0);
    benchmark::DoNotOptimize(r.shear.min.value);
  }
  state.SetLabel(state.range(0) == 1 ? "quartz, with velocities" : "copper, with velocities");
}
BENCHMARK(BM_ElasticReport)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ShearMinimumMap512(benchmark::State& state) {
  const TensorState t = Stiffness(true);
  const QuantitySurface s = MakeQuantitySurface(t, Constants(t), ElasticQuantity::ShearMin, 0);
  const DirectionValue value = ShownValue(s.tensor, s.evaluation);
  for (auto _ : state) {
    const MapGrid grid = ComputeMapGrid(value, MapProjection::EqualArea, false, 512);
    benchmark::DoNotOptimize(grid.values.data());
  }
  state.SetLabel("quartz, 512 x 512 cells");
}
BENCHMARK(BM_ShearMinimumMap512)->Unit(benchmark::kMillisecond);

void BM_BuildSurface(benchmark::State& state) {
  const TensorState t = Stiffness(true);
  QuantitySurface s{t, SurfaceEvaluation{}};
  if (state.range(0) == 1) s = MakeQuantitySurface(t, Constants(t), ElasticQuantity::Youngs, 0);
  ViewSettings v;
  v.resolution = 8;
  SceneList scene, spare;
  const SceneInputs in{&s.tensor, &s.evaluation, &v, kFullSurface, std::nullopt};
  for (auto _ : state) {
    BuildScene(scene, spare, in);
    benchmark::DoNotOptimize(scene.records.data());
  }
  state.SetLabel(state.range(0) == 1 ? "Young's modulus, resolution 8"
                                     : "the tensor itself, resolution 8");
}
BENCHMARK(BM_BuildSurface)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
