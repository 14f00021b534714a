// Frame rate of a mouse drag: each move turns the view (the drag arithmetic and the slider
// positions it shows) and re-projects, sorts and paints the whole scene into the window's
// picture, as the main window does for every mouse move. The scene is a general rank-4 tensor
// at resolution 8 (10440 patches and the axes), with grid and fill on. The sizes are logical
// window pixels at a device-pixel ratio: 1280 x 800 at ratio 2 is a scaled laptop screen's
// 2560 x 1600 device pixels. Besides the whole drag, the steps of one frame on their own:
// projection (with the light), the depth sort, and the paint.
#include <benchmark/benchmark.h>

#include <cmath>

#ifdef QUILLMERE_HAVE_CANVAS
#include <QGuiApplication>
#include <QImage>

#include "surface/qt/qpainter_canvas.h"
#endif
#include "support/test_support.h"
#include "surface/interaction.h"
#include "surface/renderer.h"
#include "surface/scene.h"

namespace {

using namespace quillmere;

constexpr int kMovesPerDrag = 100;

TensorState GeneralRankFour() {
  TensorState t;
  SetKind(t, 9);  // ijkl, no index symmetry
  test::Random random(20240611);
  for (Real& c : t.components) c = random.Uniform(-1.0, 1.0);
  t.scale = 3;
  return t;
}

#ifdef QUILLMERE_HAVE_CANVAS
/// One drag of 100 moves along a circle through the window; frames per second as a counter.
/// Arguments: logical width, height, device pixels per logical pixel.
void BM_DragFrames(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  const double ratio = static_cast<double>(state.range(2));
  const TensorState tensor = GeneralRankFour();
  SurfaceEvaluation evaluation;
  ViewSettings view;
  view.resolution = 8;
  SceneList scene;
  SceneInputs in;
  in.tensor = &tensor;
  in.evaluation = &evaluation;
  in.view = &view;
  BuildScene(scene, in);
  QImage picture;
  DragOrigin origin;
  DragOffsets offsets;
  long frames = 0;
  int shown = 0;
  for (auto _ : state) {
    BeginDrag(origin, width / 2, height / 2, width, height);
    for (int i = 0; i < kMovesPerDrag; ++i) {
      const double t = 6.283185307179586 * i / kMovesPerDrag;
      const int x = width / 2 + static_cast<int>(width * 0.3 * std::sin(t));
      const int y = height / 2 + static_cast<int>(height * 0.3 * (1 - std::cos(t)) / 2);
      DragTurn(view, origin, offsets, x, y, width, height);
      shown += AlphaSliderFromAngleY(view.angleY) + BetaSliderFromAngleX(view.angleX) +
               GammaSliderFromAngleZ(view.angleZ);
      PaintAtPixelRatio(picture, width, height, ratio,
                        [&](Canvas& canvas) { RenderPicture(scene, view, tensor, canvas); });
      ++frames;
    }
    EndDrag(offsets, view);
  }
  benchmark::DoNotOptimize(shown);
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["patches"] = static_cast<double>(scene.count);
  state.SetLabel(std::to_string(picture.width()) + " x " + std::to_string(picture.height()) +
                 " device pixels");
}
BENCHMARK(BM_DragFrames)
    ->Args({525, 409, 1})
    ->Args({1280, 960, 1})
    ->Args({1280, 800, 2})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

/// A scene as the drag starts it, the view turned a little on every frame.
struct Frame {
  TensorState tensor = GeneralRankFour();
  SurfaceEvaluation evaluation;
  ViewSettings view;
  SceneList scene;
  Frame() {
    view.resolution = 8;
    BuildScene(scene, SceneInputs{&tensor, &evaluation, &view, kFullSurface, std::nullopt});
  }
  void Turn() {
    view.angleZ += 0.05L;
    view.angleX += 0.02L;
  }
};

/// The projection of one frame with the light and the colours, without the sort.
void BM_FrameProjection(benchmark::State& state) {
  Frame f;
  const int width = static_cast<int>(state.range(0));
  const double ratio = static_cast<double>(state.range(1));
  for (auto _ : state) {
    f.Turn();
    // Keeping the order as the build left it leaves the sort nothing to do but read the keys.
    ResetOrder(f.scene);
    ProjectScene(f.scene, f.view, PictureSizeParameter(width, false), kFullSurface, f.tensor, '.',
                 ratio);
  }
}
BENCHMARK(BM_FrameProjection)->Args({1280, 1})->Args({1280, 2})->Unit(benchmark::kMillisecond);

/// The depth sort of one frame, from the order the previous frame left.
void BM_FrameSort(benchmark::State& state) {
  Frame f;
  ProjectScene(f.scene, f.view, 320, kFullSurface, f.tensor);
  for (auto _ : state) {
    state.PauseTiming();
    const std::vector<std::uint32_t> previous = f.scene.order;
    f.Turn();
    ProjectScene(f.scene, f.view, 320, kFullSurface, f.tensor);
    f.scene.order = previous;
    state.ResumeTiming();
    SortByDepth(f.scene, 0, static_cast<std::ptrdiff_t>(f.scene.count) - 1);
  }
}
BENCHMARK(BM_FrameSort)->Unit(benchmark::kMillisecond);

/// The paint of one frame (background, patches, captions) into the window's picture.
void BM_FramePaint(benchmark::State& state) {
  Frame f;
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  const double ratio = static_cast<double>(state.range(2));
  ProjectScene(f.scene, f.view, PictureSizeParameter(width, false), kFullSurface, f.tensor, '.',
               ratio);
  QImage picture;
  for (auto _ : state) {
    PaintAtPixelRatio(picture, width, height, ratio, [&](Canvas& canvas) {
      Pen pen{f.view.background};
      canvas.FillRectangle(0, 0, picture.width(), picture.height(), pen, Brush{f.view.background});
      PaintMetrics metrics{width, width, 1, ratio};
      PaintRecords(f.scene, f.view, canvas, metrics);
    });
  }
  state.SetLabel(std::to_string(picture.width()) + " x " + std::to_string(picture.height()));
}
BENCHMARK(BM_FramePaint)->Args({1280, 960, 1})->Args({1280, 800, 2})->Unit(benchmark::kMillisecond);
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef QUILLMERE_HAVE_CANVAS
  // Fonts for the axis captions need a GUI application; no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
