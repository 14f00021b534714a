#include "surface/metafile_paint.h"

#include <algorithm>
#include <cmath>

namespace quillmere {

namespace {

/// The view the metafiles and the page are painted with: exact colours whatever the palette
/// switch says (the caller's own settings are not touched).
ViewSettings ExactColours(const ViewSettings& view) {
  ViewSettings v = view;
  v.paletteMode = false;
  return v;
}

}  // namespace

MetafileSize MetafilePictureSize(int screenWidth, int screenHeight, int windowWidth,
                                 int windowHeight) {
  screenWidth = std::max(1, screenWidth);
  screenHeight = std::max(1, screenHeight);
  windowWidth = std::max(1, windowWidth);
  windowHeight = std::max(1, windowHeight);
  MetafileSize size;
  size.width = std::min(screenWidth, screenHeight);
  const Real h = RoundToEven(static_cast<Real>(windowHeight) * size.width / windowWidth);
  if (h <= screenHeight) {
    size.height = std::max(1, static_cast<int>(h));
  } else {
    // The window is much taller than wide: the picture keeps the screen's height instead of
    // growing past it.
    size.height = screenHeight;
    size.heightFromWindow = false;
  }
  return size;
}

int MetafileProgressMaximum(const SceneList& scene, const ViewSettings& view) {
  const int count = static_cast<int>(scene.count);
  return view.stereo ? 2 * count : count;
}

ProjectionSummary PaintMetafile(SceneList& scene, const ViewSettings& view, const TensorState& t,
                                Canvas& canvas, const MetafileSize& size,
                                const MetafilePaintOptions& options) {
  const ViewSettings v = ExactColours(view);
  const int a0 = size.width;
  const int a = PictureSizeParameter(a0, v.stereo);
  ViewSettings shifted = v;
  if (v.stereo) shifted.shiftX = v.shiftX + kStereoFirstShift;
  ProjectionSummary summary =
      ProjectScene(scene, shifted, a, options.crossSectionMode, t, options.decimalSeparator);

  Pen pen;
  pen.colour = v.background;
  Brush brush;
  brush.colour = v.background;
  canvas.FillRectangle(-1, -1, a0, size.height, pen, brush);

  PaintMetrics metrics;
  metrics.fontWidth = a0;
  metrics.offsetWidth = a0;
  PaintOptions paint;
  int steps = 0;
  if (options.progress) paint.progress = [&](int s) { options.progress(20 * s); };
  // A picture much wider than high would put the legend below its bottom edge: it moves up into
  // the picture, as on the screen.
  KeepLegendInside(scene, v, metrics, size.height);
  PaintRecords(scene, v, canvas, metrics, paint, &steps);
  if (v.stereo) {
    shifted.shiftX = v.shiftX - kStereoSecondShift;
    summary.undrawable +=
        ProjectScene(scene, shifted, a, options.crossSectionMode, t, options.decimalSeparator)
            .undrawable;
    KeepLegendInside(scene, v, metrics, size.height);
    PaintRecords(scene, v, canvas, metrics, paint, &steps);
    // The second pass's closing re-projection, which leaves the scene as the next one expects.
    ProjectScene(scene, shifted, a, options.crossSectionMode, t, options.decimalSeparator);
  }
  return summary;
}

ProjectionSummary PaintPrintedPage(SceneList& scene, const ViewSettings& view, const TensorState& t,
                                   Canvas& page, const PrintPageOptions& options) {
  const ViewSettings v = ExactColours(view);
  const int pw = page.Width(), ph = page.Height();
  Pen pen;
  pen.colour = v.background;
  Brush brush;
  brush.colour = v.background;
  page.FillRectangle(0, 0, pw, 2 * ph / 3, pen, brush);

  PaintMetrics metrics;
  metrics.fontWidth = options.screenWidth;
  metrics.offsetWidth = pw;
  metrics.axesPenWidth = 3;
  PaintOptions paint;
  paint.progress = options.progress;
  ProjectionSummary summary;
  ViewSettings shifted = v;
  int steps = 0;
  const int passes = v.stereo ? 2 : 1;
  for (int pass = 1; pass <= passes; ++pass) {
    if (!v.stereo) {
      summary =
          ProjectScene(scene, v, pw / 4, options.crossSectionMode, t, options.decimalSeparator);
    } else if (pass == 1) {
      shifted.shiftX = v.shiftX + kStereoFirstShift;
      summary = ProjectScene(scene, shifted, pw / 6, options.crossSectionMode, t,
                             options.decimalSeparator);
    }
    PaintRecords(scene, v, page, metrics, paint, &steps);
    if (v.stereo) {
      shifted.shiftX = v.shiftX - kStereoSecondShift;
      summary.undrawable += ProjectScene(scene, shifted, pw / 6, options.crossSectionMode, t,
                                         options.decimalSeparator)
                                .undrawable;
    }
  }
  return summary;
}

}  // namespace quillmere
