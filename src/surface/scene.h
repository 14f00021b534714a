// The scene of the representation surface: four-cornered records for the patches of the surface
// and the six axis segments, built from the tensor, and the builder that the windows call to
// rebuild it (DrawTensor's build).
//
// Frames and units: corners are homogeneous drawing-frame points (x, y, z, w = 1) in units of
// the tensor's scale, in double precision (the build evaluates the surface in double); the drawing
// frame is the crystal frame with its first axis reversed. The patch angles theta and phi are
// radians. Screen points, depth keys and fill colours are written by the renderer
// (surface/renderer.h).
//
// Errors: a build that cannot be done (a resolution below 1, or more records than the scene can
// hold) throws std::runtime_error before anything is changed.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "surface/colour.h"
#include "surface/projection.h"
#include "surface/surface_value.h"
#include "surface/view_settings.h"
#include "tensor/tensor_state.h"

namespace quillmere {

/// The whole surface, or a section on one axis (the X, Y or Z component of every direction is
/// set to 0, which lays a thin band along the curve in that coordinate plane).
enum CrossSectionMode : int {
  kFullSurface = 0,
  kSectionX = 1,
  kSectionY = 2,
  kSectionZ = 3,
};

/// Depth key of the legend's records: in front of everything.
inline constexpr std::int32_t kLegendKey = 20000;
/// A label holds at most this many characters; longer texts are cut.
inline constexpr std::size_t kLabelLength = 10;

struct ScenePolygon {
  double corners[4][4] = {};        ///< (x, y, z, w), drawing frame, scale units, w = 1
  ScreenPoint screen[4];            ///< filled by the renderer
  std::int32_t depthKey = 0;        ///< filled by the renderer; kLegendKey for the legend
  std::string label;                ///< empty for patches; at most kLabelLength characters
  Colour lineColour;                ///< outline
  std::uint8_t baseColour[3] = {};  ///< red, green, blue of the unshaded fill
  Colour fillColour;                ///< filled by the renderer
  /// Set by the renderer: false when a corner did not project to a number (a not-a-number
  /// corner); such a record is not painted.
  bool drawable = true;
};

/// The records of the scene: `count` records built from the tensor (axes first, then patches),
/// followed by `legendCount` legend records that the renderer appends at every projection.
/// The records stay where the build put them; the depth sort reorders `order`, the sequence in
/// which they are painted. Sorting the sequence, starting each time from the one the last sort
/// left, gives exactly the order that moving the records themselves would give (equal keys
/// included), without moving 10000 records at every turn of the view.
/// The list grows as needed up to kSceneCapacity records; a build that would need more is
/// refused.
struct SceneList {
  std::vector<ScenePolygon> records;
  std::size_t count = 0;
  std::size_t legendCount = 0;
  /// order[i]: index in `records` of the i-th built record from far to near; the identity after
  /// a build.
  std::vector<std::uint32_t> order;

  /// Number of records to paint.
  std::size_t PaintCount() const { return count + legendCount; }
  /// The i-th record to paint (i < PaintCount()): the built records in `order`, then the legend.
  const ScenePolygon& Painted(std::size_t i) const { return records[i < count ? order[i] : i]; }
  ScenePolygon& Painted(std::size_t i) { return records[i < count ? order[i] : i]; }
};

/// Sets the paint order to the build order.
void ResetOrder(SceneList& scene);

/// The most records a scene may hold, legend included: enough for resolution 43 of the full
/// surface (387 x 775 patches, about 110 MB), so that a picture for print can be smoother than
/// the screen's resolution 8 (10440 patches) without a mistyped resolution eating the memory.
inline constexpr std::size_t kSceneCapacity = 300000;
/// Room kept behind the built records for the legend.
inline constexpr std::size_t kLegendRoom = 50;

/// Resolution of a cross-section build.
inline constexpr int kSectionResolution = 50;

/// The patch step 0.3492 / resolution: slightly more than pi / (9 resolution), so neighbouring
/// patches overlap a little and no gap shows between them.
Real PatchStep(int resolution);

/// Number of patches that a build at this resolution and mode lays: N (2N + 1) for the full
/// surface and 2N + 1 for a section, N = 9 resolution.
std::size_t PatchCount(int resolution, int crossSectionMode);

/// Throws std::runtime_error with a text for the user when a build at this resolution cannot be
/// done: a resolution below 1, or more records than kSceneCapacity.
void CheckBuildable(int resolution, int crossSectionMode, bool showAxes);

/// What a build reads. The tensor and the evaluation are copied when a build starts, so events
/// processed during the build cannot mix two tensors in one scene.
struct SceneInputs {
  const TensorState* tensor = nullptr;
  const SurfaceEvaluation* evaluation = nullptr;
  const ViewSettings* view = nullptr;
  int crossSectionMode = kFullSurface;
  /// When set, used in place of view->resolution (a cross-section builds at 50).
  std::optional<int> resolution;
};

/// Hooks through which a build lets the window stay alive.
struct BuildCallbacks {
  /// Lets pending window events run; called between patches, at most once per `eventInterval`.
  std::function<void()> processEvents;
  std::chrono::milliseconds eventInterval{5};
  /// Refreshes the tensor information display; called just before each processEvents, since
  /// a refresh shows only when events run.
  std::function<void()> refreshTensorDisplay;
  /// Progress (value, maximum): once per row of the full surface (value j + 1 of N), once per
  /// patch of a section (value k + N + 1 of 2N + 1); first called with value 0.
  std::function<void(int value, int maximum)> progress;
};

/// One patch with corners at (theta, phi), (theta, phi + s), (theta + s, phi + s),
/// (theta + s, phi), s = PatchStep(resolution), appended to `scene`. Each corner lies at
/// |value| along its direction u = (-sin theta sin phi, -sin theta cos phi, -cos theta), with the
/// section's component of u set to 0 in a section mode. The sign at the fourth corner decides
/// the patch's colours (a value of exactly 0 counts as positive).
void AddSurfacePatch(SceneList& scene, const TensorState& t, const SurfaceEvaluation& e,
                     const ViewSettings& v, int resolution, int crossSectionMode, Real theta,
                     Real phi);

/// The six axis segments +x, -x, +y, -y, +z, -z of the drawing frame, from the surface out to
/// 1.5, appended to `scene`, in the axes colour, with the captions of `axesCaptionStyle` on the
/// crystal +x (drawing -x), +y and +z segments.
void BuildAxes(SceneList& scene, const TensorState& t, const SurfaceEvaluation& e,
               const ViewSettings& v);

inline constexpr const char* kMsgBeyondDrawingRange =
    "The surface has values beyond the range of double precision numbers (1.8E+308) and cannot "
    "be drawn; a larger power of ten for the scale brings it into range";

/// Throws std::runtime_error(kMsgBeyondDrawingRange) when a built record has a corner (in scale
/// units) that a double cannot hold: an infinity.
void CheckWithinDrawingRange(const SceneList& scene);

/// Builds the whole scene into `scene` (replacing what it held) without any coalescing:
/// the axes when `showAxes`, then the patches of the full surface or the section. The scene is
/// built aside and put in place when complete and checked.
/// Throws as CheckBuildable and CheckWithinDrawingRange, leaving `scene` unchanged.
void BuildScene(SceneList& scene, const SceneInputs& in, const BuildCallbacks& callbacks = {});

/// As above, built into `spare` (its records reused: no allocation when it held a scene of the
/// same size) and then exchanged with `scene`, so that `spare` ends holding the previous scene
/// for the next build. A refused build leaves `scene` unchanged (and `spare` unspecified).
void BuildScene(SceneList& scene, SceneList& spare, const SceneInputs& in,
                const BuildCallbacks& callbacks = {});

/// A builder keeps the previous scene's records for the next build up to this many records
/// (the screen's finest resolution); larger scenes are given back.
inline constexpr std::size_t kKeptSpareRecords = 12000;

/// The builder that the desktop program owns next to its scene. A build fills a new list and
/// puts it in place of the shown scene when complete, so a repaint during the build shows the
/// previous picture whole. A build requested while one runs (from an event processed inside
/// it) is not started inside it: the request is remembered, and once the running build ends one
/// more build runs with the inputs of the latest request; then `finished` of that request is
/// called once (the window's re-projection and repaint, SetUpSurface).
class SceneBuilder {
 public:
  explicit SceneBuilder(SceneList& scene) : scene_(scene) {}
  SceneBuilder(const SceneBuilder&) = delete;
  SceneBuilder& operator=(const SceneBuilder&) = delete;

  /// Builds now (returns true after the build or builds and `finished`), or, inside a running
  /// build, marks one build pending and returns false at once. A failing build throws after
  /// clearing the pending request; the scene stays as it was.
  bool Build(const SceneInputs& in, const BuildCallbacks& callbacks,
             const std::function<void()>& finished = {});

  bool busy() const { return busy_; }
  bool pending() const { return pending_.has_value(); }
  /// Builds completed since construction.
  int completedBuilds() const { return completed_; }

 private:
  struct Request {
    SceneInputs inputs;
    BuildCallbacks callbacks;
    std::function<void()> finished;
  };
  SceneList& scene_;
  SceneList spare_;  ///< the previous scene, built into next time
  bool busy_ = false;
  std::optional<Request> pending_;
  int completed_ = 0;
};

}  // namespace quillmere
