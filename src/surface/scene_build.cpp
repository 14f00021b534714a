// The builder of the scene and its queue: a build fills a list aside and puts it in place when
// complete and checked; a build asked for during one runs after it.
#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>

#include "surface/scene_parts.h"

namespace quillmere {

namespace {

/// The build proper, into `list` (whose records are reused: no allocation when it held a scene
/// of the same size before).
void BuildInto(SceneList& list, const TensorState& tensor, const SurfaceEvaluation& evaluation,
               const ViewSettings& view, int resolution, int mode,
               const BuildCallbacks& callbacks) {
  const std::size_t axes = view.showAxes ? 6 : 0;
  const std::size_t count = axes + PatchCount(resolution, mode);
  if (list.records.capacity() < count + kLegendRoom) list.records.reserve(count + kLegendRoom);
  list.records.resize(count);
  list.count = count;
  list.legendCount = 0;
  ResetOrder(list);
  if (axes) scene_parts::FillAxes(list.records.data(), tensor, evaluation, view);

  scene_parts::EventPump pump(callbacks);
  const std::optional<SurfacePolynomial> polynomial = SurfacePolynomial::Make(tensor, evaluation);
  // A polynomial that cancels to rounding noise is a zero surface: every corner at the origin.
  const scene_parts::CornerValues values =
      evaluation.derivedValue && evaluation.derivedPolynomial && !evaluation.printableExport
          ? scene_parts::DerivedCornerValues(*evaluation.derivedPolynomial, tensor.scale)
      : !polynomial ? scene_parts::GeneralCornerValues(tensor, evaluation)
      : polynomial->IsZero()
          ? scene_parts::CornerValues([](const double*, const double*, const double*, double* value,
                                         std::size_t n) { std::fill(value, value + n, 0.0); })
          : scene_parts::PolynomialCornerValues(*polynomial);
  scene_parts::LayPatches(list.records.data() + axes, values, view, resolution, mode, pump);
}

/// Checks and copies the inputs, then builds into `target`.
void CheckedBuild(SceneList& target, const SceneInputs& in, const BuildCallbacks& callbacks) {
  const int resolution = in.resolution.value_or(in.view->resolution);
  const int mode = in.crossSectionMode;
  const ViewSettings view = *in.view;
  const TensorState tensor = *in.tensor;
  const SurfaceEvaluation evaluation = *in.evaluation;
  BuildInto(target, tensor, evaluation, view, resolution, mode, callbacks);
}

void CheckInputs(const SceneInputs& in) {
  if (!in.tensor || !in.evaluation || !in.view)
    throw std::invalid_argument("BuildScene needs a tensor, an evaluation and a view");
  CheckBuildable(in.resolution.value_or(in.view->resolution), in.crossSectionMode,
                 in.view->showAxes);
}

}  // namespace

void BuildScene(SceneList& scene, const SceneInputs& in, const BuildCallbacks& callbacks) {
  SceneList built;
  BuildScene(scene, built, in, callbacks);
}

void BuildScene(SceneList& scene, SceneList& spare, const SceneInputs& in,
                const BuildCallbacks& callbacks) {
  CheckInputs(in);
  CheckedBuild(spare, in, callbacks);
  // Checked before the exchange: a refused scene leaves the shown one as it was.
  CheckWithinDrawingRange(spare);
  std::swap(scene, spare);
}

bool SceneBuilder::Build(const SceneInputs& in, const BuildCallbacks& callbacks,
                         const std::function<void()>& finished) {
  if (busy_) {
    pending_ = Request{in, callbacks, finished};
    return false;
  }
  busy_ = true;
  Request current{in, callbacks, finished};
  try {
    for (;;) {
      BuildScene(scene_, spare_, current.inputs, current.callbacks);
      ++completed_;
      if (!pending_) break;
      current = std::move(*pending_);
      pending_.reset();
    }
  } catch (...) {
    busy_ = false;
    pending_.reset();
    throw;
  }
  // The previous scene's records are kept for the next build of the screen's sizes; a large
  // scene (for print) is given back.
  if (spare_.records.capacity() > kKeptSpareRecords) spare_ = SceneList{};
  busy_ = false;
  if (current.finished) current.finished();
  return true;
}

}  // namespace quillmere
