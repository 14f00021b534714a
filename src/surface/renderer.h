// The renderer: projects the scene with the view, shades each record by the light, sorts the
// records far to near, appends the scale legend and paints them in that order (painter's
// algorithm) onto a Canvas. RenderPicture is the whole screen picture in one call (the window's
// SetUpSurface projection followed by its paint); the pieces are public for the other outputs
// (metafile, printer), which paint at sizes of their own.
//
// Frames and units: see projection.h. Light factors run from 0 (facing away from the light) to
// 1 (facing it). Font sizes are points. Nothing here throws; a record whose corners do not
// project to numbers is counted and left unpainted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "surface/canvas.h"
#include "surface/display_palette.h"
#include "surface/projection.h"
#include "surface/scene.h"
#include "surface/view_settings.h"
#include "tensor/tensor_state.h"

namespace quillmere {

/// Round(250 f (c + 10) / ((1 - f) 255 + c + 10) + 5), held within 0..255: 5 at f = 0 and 255
/// for every c at f = 1; dark channels stay darker longer than bright ones.
int ShadeChannel(int c, Real f);

/// Sorts positions lo..hi (0-based, inclusive) of the paint order by depthKey, ascending, by
/// the program's quicksort with the middle position as pivot. The order it leaves equal keys in is
/// part of the picture (it decides which of two equally deep records is painted last), so it must
/// not be replaced by another sort.
void SortByDepth(SceneList& scene, std::ptrdiff_t lo, std::ptrdiff_t hi);

struct ProjectionSummary {
  std::size_t undrawable = 0;  ///< records with a not-a-number corner
};

/// Projects records 0..count-1 with the view at size parameter a: screen points, depth keys,
/// light factors and fill colours; applies the facing rule (every record faces the viewer in a
/// section) and the grid-off rule (outlines of surface records become the background colour);
/// sorts by depth; then rebuilds the legend from the tensor's scale and unit text. Screen points
/// are in device pixels, `pixelRatio` of them to a logical pixel (see Projection).
ProjectionSummary ProjectScene(SceneList& scene, const ViewSettings& v, int a, int crossSectionMode,
                               const TensorState& t, char decimalSeparator = '.',
                               Real pixelRatio = 1);

/// What the font sizes and the "10" of the legend are measured by: the screen uses the picture
/// width for both; a metafile the screen's smaller side; a printed page the screen width for
/// the fonts and the page width for the offset, with thicker axis lines.
struct PaintMetrics {
  int fontWidth = 0;
  int offsetWidth = 0;
  int axesPenWidth = 1;  ///< pen width of lines in the axes colour
  /// Device pixels per logical pixel of the canvas: the widths above are logical, the records'
  /// screen points device pixels.
  Real pixelRatio = 1;
};

struct PaintOptions {
  /// Set to emulate a 256-colour display: palette colours are drawn as their nearest entry.
  /// Null on true-colour displays: every colour is drawn with its exact red, green, blue.
  const DisplayPalette* palette = nullptr;
  /// Called whenever 20 more records are painted, with the steps done so far.
  std::function<void(int steps)> progress;
};

/// Paints the records once, in paint order (SceneList::Painted): polygons whose fill differs from
/// the background (with the background as brush when `fillPatches` is off), outlines unless the
/// line colour is the background, and the labels at each record's third screen point.
/// `stepsDone` carries the progress count across the passes of a stereo pair.
void PaintRecords(const SceneList& scene, const ViewSettings& v, Canvas& canvas,
                  const PaintMetrics& metrics, const PaintOptions& options = {},
                  int* stepsDone = nullptr);

/// Moves the scale legend up, as a whole, when its lowest text would reach past the bottom of
/// a picture `height` logical pixels high (a picture much wider than high puts the legend's
/// place below it); a legend that fits keeps its place. Text heights follow the sizes
/// PaintRecords gives the legend's labels.
void KeepLegendInside(SceneList& scene, const ViewSettings& v, const PaintMetrics& metrics,
                      int height);

struct RenderOptions {
  int crossSectionMode = kFullSurface;
  char decimalSeparator = '.';  ///< of the legend's numbers
  PaintOptions paint;
};

/// The screen picture on a canvas of the window's size: the projection at a = width div 4
/// (the canvas's logical width; screen points in its device pixels)
/// (div 6 and the first stereo image's shift with `stereo`), the background over the whole
/// canvas, then one pass (two with `stereo`, re-projected for the second image in between).
/// After a stereo picture the scene stays projected for the second image.
ProjectionSummary RenderPicture(SceneList& scene, const ViewSettings& view, const TensorState& t,
                                Canvas& canvas, const RenderOptions& options = {});

/// Number of progress steps RenderPicture reports: count div 20, twice that with `stereo`.
int RenderProgressSteps(const SceneList& scene, const ViewSettings& view);

}  // namespace quillmere
