// What the parts of the scene build share (not for use outside src/surface/scene_*.cpp): the
// window-hook pump, the corner evaluators and the patch layout.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>

#include "surface/scene.h"
#include "surface/surface_polynomial.h"

namespace quillmere::scene_parts {

/// Runs the window's hooks between patches, no more often than the interval asks.
class EventPump {
 public:
  explicit EventPump(const BuildCallbacks& c)
      : c_(c), next_(std::chrono::steady_clock::now() + c.eventInterval) {}
  void Between();
  void Progress(int value, int maximum) {
    if (c_.progress) c_.progress(value, maximum);
  }

 private:
  static constexpr int kPatchesPerClockCheck = 8;
  const BuildCallbacks& c_;
  std::chrono::steady_clock::time_point next_;
  int sinceCheck_ = 0;
};

/// The values at n drawing-frame directions (x[i], y[i], z[i]) in units of the scale, n a
/// multiple of kEvaluationBlock. The build calls it once per row of patches.
using CornerValues = std::function<void(const double* x, const double* y, const double* z,
                                        double* value, std::size_t n)>;

/// The surface polynomial of the tensor, in double precision at its fixed degree: each
/// direction is taken to the crystal frame and rounded to single precision first, as the
/// surface value does.
CornerValues PolynomialCornerValues(const SurfacePolynomial& polynomial);

/// A derived value of polynomial form (SurfaceEvaluation::derivedPolynomial) divided by the
/// scale, over whole rows: each direction is taken to the crystal frame and normalised, as the
/// surface value does for a derived quantity (a zero direction gives 0).
CornerValues DerivedCornerValues(const DerivedPolynomial& form, Real scale);

/// The surface value (SurfaceValue) one direction at a time, for what the polynomial does not
/// cover (the printable exports' rule).
CornerValues GeneralCornerValues(const TensorState& t, const SurfaceEvaluation& e);

/// Lays the patches of the full surface or a section into records[0 ...], in build order.
void LayPatches(ScenePolygon* records, const CornerValues& values, const ViewSettings& view,
                int resolution, int mode, EventPump& pump);

/// The six axis segments into six records, cleared first.
void FillAxes(ScenePolygon* records, const TensorState& t, const SurfaceEvaluation& e,
              const ViewSettings& v);

/// A new record behind the built ones (an old legend is dropped), last in the paint order.
ScenePolygon& AppendRecord(SceneList& scene);

}  // namespace quillmere::scene_parts
