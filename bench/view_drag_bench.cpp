// Frame rate of a mouse drag: each move turns the view (the drag arithmetic and the slider
// positions it shows) and re-projects, sorts and paints the whole scene into the window's
// picture, as the main window does for every mouse move. The scene is a general rank-4 tensor
// at resolution 8 (10440 patches and the axes).
#include <benchmark/benchmark.h>

#include <cmath>

#ifdef QUILLMERE_HAVE_CANVAS
#include <QGuiApplication>
#include <QImage>

#include "platform/canvas/qpainter_canvas.h"
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
void BM_DragFrames(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
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
  QImage picture = MakePictureImage(width, height);
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
      QPainter painter(&picture);
      QPainterCanvas canvas(painter, width, height);
      RenderPicture(scene, view, tensor, canvas);
      ++frames;
    }
    EndDrag(offsets, view);
  }
  benchmark::DoNotOptimize(shown);
  state.counters["frames_per_second"] =
      benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
  state.counters["patches"] = static_cast<double>(scene.count);
}
BENCHMARK(BM_DragFrames)
    ->Args({525, 409})
    ->Args({1280, 960})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
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
