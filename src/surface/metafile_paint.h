// The picture painted again at a size of its own, for the metafiles, the vector and image files
// saved from the window and the printed page. Same painting rules as the screen (renderer.h),
// with these differences: exact colours always (the palette switch is ignored), the size basis
// a0 is the smaller side of the screen instead of the window's width, and the printed page is the
// window's picture scaled to the page, with thicker axis lines.
//
// Both routines leave the scene projected at the picture's size (in stereo, for the second
// image); the window's next paint projects it again at its own size.
#pragma once

#include <functional>

#include "surface/canvas.h"
#include "surface/renderer.h"
#include "surface/scene.h"
#include "surface/view_settings.h"
#include "tensor/tensor_state.h"

namespace quillmere {

struct MetafileSize {
  int width = 0;   ///< a0, the smaller side of the screen
  int height = 0;  ///< Round(window height * a0 / window width), at most the screen height
  /// False when the window's proportion would make the picture taller than the screen; the
  /// height is then the screen height.
  bool heightFromWindow = true;
};

/// The size of a metafile for a window of windowWidth x windowHeight on a screen of
/// screenWidth x screenHeight (all in pixels, each at least 1).
MetafileSize MetafilePictureSize(int screenWidth, int screenHeight, int windowWidth,
                                 int windowHeight);

struct MetafilePaintOptions {
  int crossSectionMode = kFullSurface;
  char decimalSeparator = '.';  ///< of the legend's numbers
  /// Called every 20 records with the records painted so far (over both passes in stereo).
  std::function<void(int recordsDone)> progress;
};

/// Records the progress bar counts for a metafile paint: count, twice that with `stereo`.
int MetafileProgressMaximum(const SceneList& scene, const ViewSettings& view);

/// The metafile copy's projection and paint on a canvas of size.width x size.height: the
/// projection at a0 div 4 (a0 div 6 and the first image's shift with `stereo`), the background
/// from (-1, -1) to (a0, h), then one pass (two with `stereo`, re-projected for the second image
/// in between) with every font size and the offset of the "10" measured by a0.
ProjectionSummary PaintMetafile(SceneList& scene, const ViewSettings& view, const TensorState& t,
                                Canvas& canvas, const MetafileSize& size,
                                const MetafilePaintOptions& options = {});

struct PrintPageOptions {
  int crossSectionMode = kFullSurface;
  char decimalSeparator = '.';
  int dotsPerInch = 96;  ///< the page's device pixels per inch
  /// The drawing area on the screen: the printed picture keeps its proportions.
  int windowWidth = 1, windowHeight = 1;
  /// Called every 20 records with the steps done so far; the printer lets window events run
  /// here (that is how a key can abort the job).
  std::function<void(int steps)> progress;
};

/// Where the picture lies on a page of PW x PH device pixels: the window's proportions scaled
/// to fill the page's width or height, centred across the page and at its top.
struct PrintedPicture {
  int x = 0, y = 0;           ///< top-left corner, device pixels of the page
  int width = 1, height = 1;  ///< device pixels
};
PrintedPicture PrintedPicturePlace(int pageWidth, int pageHeight, int windowWidth,
                                   int windowHeight);

/// The printed page on a canvas of the printable page size PW x PH device pixels: the screen's
/// picture, scaled to the page (PrintedPicturePlace) with its own background, painted at
/// dotsPerInch / 96 device pixels to a picture pixel, so that the fonts, the legend's "10" and
/// its labels keep the distances they have on the screen; the legend kept inside the picture;
/// lines in the axes colour three pixels wide or more.
ProjectionSummary PaintPrintedPage(SceneList& scene, const ViewSettings& view, const TensorState& t,
                                   Canvas& page, const PrintPageOptions& options);

}  // namespace quillmere
