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

/// A picture of width x height logical pixels painted at `pixelRatio` device pixels each.
struct PicturePaint {
  int width = 1, height = 1;
  Real pixelRatio = 1;
  int axesPenWidth = 1;
  int crossSectionMode = kFullSurface;
  char decimalSeparator = '.';
  std::function<void(int steps)> progress;
};

/// The projection at a = width div 4 (div 6 and the first image's shift in stereo), the legend
/// kept inside the picture, then one pass (two in stereo, re-projected for the second image in
/// between and after it) with every font size and the offset of the "10" measured by the width.
ProjectionSummary PaintPicture(SceneList& scene, const ViewSettings& v, const TensorState& t,
                               Canvas& canvas, const PicturePaint& p) {
  const int a = PictureSizeParameter(p.width, v.stereo);
  const auto project = [&](const ViewSettings& view) {
    return ProjectScene(scene, view, a, p.crossSectionMode, t, p.decimalSeparator, p.pixelRatio);
  };
  ViewSettings shifted = v;
  if (v.stereo) shifted.shiftX = v.shiftX + kStereoFirstShift;
  ProjectionSummary summary = project(shifted);

  PaintMetrics metrics;
  metrics.fontWidth = p.width;
  metrics.offsetWidth = p.width;
  metrics.axesPenWidth = p.axesPenWidth;
  metrics.pixelRatio = p.pixelRatio;
  PaintOptions paint;
  paint.progress = p.progress;
  int steps = 0;
  // A picture much wider than high would put the legend below its bottom edge: it moves up into
  // the picture, as on the screen.
  KeepLegendInside(scene, v, metrics, p.height);
  PaintRecords(scene, v, canvas, metrics, paint, &steps);
  if (v.stereo) {
    shifted.shiftX = v.shiftX - kStereoSecondShift;
    summary.undrawable += project(shifted).undrawable;
    KeepLegendInside(scene, v, metrics, p.height);
    PaintRecords(scene, v, canvas, metrics, paint, &steps);
    // The second pass's closing re-projection, which leaves the scene as the next one expects.
    project(shifted);
  }
  return summary;
}

/// Another canvas seen through a window: what is painted at (x, y) lands at (x + dx, y + dy)
/// there. The size and pixel ratio are the window's.
class PlacedCanvas : public Canvas {
 public:
  PlacedCanvas(Canvas& target, int dx, int dy, int width, int height, double pixelRatio)
      : target_(target), dx_(dx), dy_(dy), width_(width), height_(height), ratio_(pixelRatio) {}
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  double PixelRatio() const override { return ratio_; }
  void FillRectangle(int x0, int y0, int x1, int y1, const Pen& pen, const Brush& brush) override {
    target_.FillRectangle(x0 + dx_, y0 + dy_, x1 + dx_, y1 + dy_, pen, brush);
  }
  void Polygon(const ScreenPoint points[4], const Pen& pen, const Brush& brush) override {
    ScreenPoint placed[4];
    for (int i = 0; i < 4; ++i) placed[i] = {points[i].x + dx_, points[i].y + dy_};
    target_.Polygon(placed, pen, brush);
  }
  void Text(int x, int y, const std::string& text, const LabelFont& font, int pointSize) override {
    target_.Text(x + dx_, y + dy_, text, font, pointSize);
  }

 private:
  Canvas& target_;
  int dx_, dy_, width_, height_;
  double ratio_;
};

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
  Pen pen;
  pen.colour = v.background;
  Brush brush;
  brush.colour = v.background;
  canvas.FillRectangle(-1, -1, a0, size.height, pen, brush);

  PicturePaint p;
  p.width = a0;
  p.height = size.height;
  p.crossSectionMode = options.crossSectionMode;
  p.decimalSeparator = options.decimalSeparator;
  if (options.progress) p.progress = [&](int s) { options.progress(20 * s); };
  return PaintPicture(scene, v, t, canvas, p);
}

PrintedPicture PrintedPicturePlace(int pageWidth, int pageHeight, int windowWidth,
                                   int windowHeight) {
  pageWidth = std::max(1, pageWidth);
  pageHeight = std::max(1, pageHeight);
  windowWidth = std::max(1, windowWidth);
  windowHeight = std::max(1, windowHeight);
  PrintedPicture place;
  // The widest picture of the window's proportions that the page holds.
  if (static_cast<long long>(pageHeight) * windowWidth >=
      static_cast<long long>(pageWidth) * windowHeight) {
    place.width = pageWidth;
    place.height = std::max(
        1, static_cast<int>(static_cast<long long>(pageWidth) * windowHeight / windowWidth));
  } else {
    place.height = pageHeight;
    place.width = std::max(
        1, static_cast<int>(static_cast<long long>(pageHeight) * windowWidth / windowHeight));
  }
  place.x = (pageWidth - place.width) / 2;
  return place;
}

ProjectionSummary PaintPrintedPage(SceneList& scene, const ViewSettings& view, const TensorState& t,
                                   Canvas& page, const PrintPageOptions& options) {
  const ViewSettings v = ExactColours(view);
  const PrintedPicture place =
      PrintedPicturePlace(page.Width(), page.Height(), options.windowWidth, options.windowHeight);
  Pen pen;
  pen.colour = v.background;
  Brush brush;
  brush.colour = v.background;
  page.FillRectangle(place.x, place.y, place.x + place.width, place.y + place.height, pen, brush);

  // The picture is painted in pixels of a 96 dots-per-inch screen, each dotsPerInch / 96 of the
  // page's: the type, which the page measures in points, then keeps its size against the
  // picture, and the legend's labels their distances.
  const Real ratio = std::max(1, options.dotsPerInch) / 96.0L;
  PicturePaint p;
  p.pixelRatio = ratio;
  p.width = std::max(1, static_cast<int>(std::lround(place.width / ratio)));
  p.height = std::max(1, static_cast<int>(std::lround(place.height / ratio)));
  p.axesPenWidth = std::max(3, static_cast<int>(std::lround(1.5L * ratio)));
  p.crossSectionMode = options.crossSectionMode;
  p.decimalSeparator = options.decimalSeparator;
  p.progress = options.progress;
  PlacedCanvas picture(page, place.x, place.y, p.width, p.height, static_cast<double>(ratio));
  return PaintPicture(scene, v, t, picture, p);
}

}  // namespace quillmere
