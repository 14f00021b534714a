// The surface pipeline at the screen's finest resolution (8): 10440 patches and six axes.
// Build (four evaluations a patch), projection with the depth sort, and painting into a
// 1280 x 960 bitmap with grid and fill on.
#include <benchmark/benchmark.h>

#include "support/test_support.h"
#include "surface/pointer_readout.h"
#include "surface/renderer.h"
#include "surface/scene.h"

#ifdef QUILLMERE_HAVE_CANVAS
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "surface/qt/qpainter_canvas.h"
#endif

namespace {

using namespace quillmere;

TensorState General(int rank) {
  TensorState t;
  t.rank = rank;
  test::Random random(static_cast<std::uint32_t>(11 + rank));
  for (auto& c : t.components) c = random.Uniform(-1, 1);
  t.scale = LargestAbsoluteComponent(t);
  return t;
}

SceneList Built(const TensorState& t, const ViewSettings& v) {
  SurfaceEvaluation e;
  SceneList scene;
  SceneInputs in{&t, &e, &v, kFullSurface, std::nullopt};
  BuildScene(scene, in);
  return scene;
}

void BM_BuildScene(benchmark::State& state) {
  const TensorState t = General(static_cast<int>(state.range(0)));
  ViewSettings v;
  v.resolution = 8;
  SurfaceEvaluation e;
  SceneList scene, spare;
  SceneInputs in{&t, &e, &v, kFullSurface, std::nullopt};
  for (auto _ : state) {
    // As the window's builder does: into the previous scene's records.
    BuildScene(scene, spare, in);
    benchmark::DoNotOptimize(scene.records.data());
  }
  state.counters["records"] = static_cast<double>(scene.count);
  state.SetLabel("resolution 8, rank " + std::to_string(state.range(0)));
}
BENCHMARK(BM_BuildScene)->Arg(2)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_ProjectAndSort(benchmark::State& state) {
  const TensorState t = General(4);
  ViewSettings v;
  v.resolution = 8;
  SceneList scene = Built(t, v);
  for (auto _ : state) {
    // Alternate two views, as a drag does, so the sort never starts from its own order.
    v.angleZ += 0.05L;
    ProjectScene(scene, v, 1280 / 4, kFullSurface, t);
    benchmark::DoNotOptimize(scene.records.data());
  }
  state.SetLabel("resolution 8, 10446 records");
}
BENCHMARK(BM_ProjectAndSort)->Unit(benchmark::kMillisecond);

// The pointer readout on a 2560 x 1600 picture, once per mouse move: at the picture's centre
// (on the surface) and in its corner (every record looked at, nothing found).
void BM_PointerReadout(benchmark::State& state) {
  const TensorState t = General(4);
  ViewSettings v;
  v.resolution = 8;
  SceneList scene = Built(t, v);
  const PicturePlace picture{2560, 1600, 1};
  ProjectScene(scene, v, PictureSizeParameter(picture.width, false), kFullSurface, t);
  const bool onSurface = state.range(0) == 1;
  const Real x = onSurface ? 1280 : 2, y = onSurface ? 800 : 2;
  for (auto _ : state) {
    auto found = SurfaceUnderPoint(scene, v, picture, kFullSurface, t, {}, x, y);
    benchmark::DoNotOptimize(found);
  }
  state.SetLabel(onSurface ? "on the surface" : "beside the surface");
}
BENCHMARK(BM_PointerReadout)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

#ifdef QUILLMERE_HAVE_CANVAS
void BM_PaintScene(benchmark::State& state) {
  const TensorState t = General(4);
  ViewSettings v;
  v.resolution = 8;
  SceneList scene = Built(t, v);
  ProjectScene(scene, v, 1280 / 4, kFullSurface, t);
  QImage image = MakePictureImage(1280, 960);
  for (auto _ : state) {
    QPainter painter(&image);
    QPainterCanvas canvas(painter, 1280, 960);
    Pen pen{v.background};
    canvas.FillRectangle(0, 0, 1280, 960, pen, Brush{v.background});
    PaintMetrics metrics{1280, 1280, 1};
    PaintRecords(scene, v, canvas, metrics);
  }
  state.SetLabel("1280 x 960, grid and fill on");
}
BENCHMARK(BM_PaintScene)->Unit(benchmark::kMillisecond);
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
