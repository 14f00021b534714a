// The metafile copy's paint at the screen's finest resolution (8): 10440 patches, the axes and
// the legend, projected and painted at a0 = 1080 (a 1920 x 1080 screen) into an enhanced and a
// standard metafile, and the bytes of the finished file. Target: 150 ms or less for each.
#include <benchmark/benchmark.h>

#include "support/test_support.h"
#include "surface/metafile_paint.h"
#include "surface/scene.h"

#ifdef QUILLMERE_HAVE_CANVAS
#include <QGuiApplication>
#include <cstdlib>

#include "surface/qt/picture_bytes.h"
#endif

namespace {

using namespace quillmere;

#ifdef QUILLMERE_HAVE_CANVAS
void BM_MetafilePaint(benchmark::State& state) {
  TensorState t;
  t.rank = 4;
  test::Random random(15);
  for (auto& c : t.components) c = random.Uniform(-1, 1);
  t.scale = LargestAbsoluteComponent(t);
  t.unitText = "m²/N";
  ViewSettings v;
  v.resolution = 8;
  v.showScale = true;
  SceneList scene;
  const SurfaceEvaluation e;
  BuildScene(scene, SceneInputs{&t, &e, &v, kFullSurface, std::nullopt});
  const VectorFormat format = state.range(0) == 0 ? VectorFormat::Emf : VectorFormat::Wmf;
  const MetafileSize size = MetafilePictureSize(1920, 1080, 1280, 960);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string file = PaintPictureBytes(
        format, size.width, size.height, [&](Canvas& c) { PaintMetafile(scene, v, t, c, size); });
    bytes = file.size();
    benchmark::DoNotOptimize(file.data());
  }
  state.counters["records"] = static_cast<double>(scene.count);
  state.counters["kB"] = static_cast<double>(bytes) / 1024;
  state.SetLabel(format == VectorFormat::Emf ? "EMF, resolution 8" : "WMF, resolution 8");
}
BENCHMARK(BM_MetafilePaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef QUILLMERE_HAVE_CANVAS
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
