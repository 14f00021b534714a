// The scale legend: a ruler below and right of the surface with ticks at round values from 0 up
// to the tensor's scale, the decimal exponent and the unit text. It shares the radius unit of
// the surface: a value equal to `scale` lies at distance a (before zoom) from the first tick.
//
// Units: tick positions and the legend's corners are picture units before zoom (the size
// parameter a is width div 4); the renderer maps them to the screen without rotation, shift or
// perspective.
#pragma once

#include <string>
#include <vector>

#include "surface/projection.h"
#include "surface/scene.h"
#include "surface/view_settings.h"
#include "tensor/tensor_state.h"

namespace quillmere {

struct NiceStepResult {
  Real step = 0;     ///< a round step: 1, 2 or 5 times a power of ten
  int exponent = 0;  ///< the power of ten of the larger end, truncated towards zero
};

/// A round step for a ruler from lo to hi, and the decimal exponent under which its values are
/// written. Needs hi > lo.
NiceStepResult NiceStep(Real lo, Real hi);

struct ScaleTick {
  int position = 0;  ///< picture units before zoom
  std::string text;  ///< "\"0.50" for a tick value, "^-1" for the exponent, or the unit text
};

/// The most entries a tick list holds.
inline constexpr std::size_t kMaxScaleTicks = 50;

/// Ticks from 0 to `scale` between the positions lo and hi, then the exponent entry and the unit
/// entry at the last tick's position. Tick values are written relative to the exponent with two
/// decimals and `decimalSeparator`. Empty when `scale` is not a finite positive number (no
/// legend can be drawn then); never more than kMaxScaleTicks entries.
std::vector<ScaleTick> MakeScaleTicks(int lo, int hi, Real scale, const std::string& unitText,
                                      char decimalSeparator = '.');

/// Appends the legend records behind scene.count (replacing any earlier legend) and sets
/// scene.legendCount; with `showScale` off or `stereo` on, only removes the old legend.
void BuildLegend(SceneList& scene, const Projection& projection, const ViewSettings& v, Real scale,
                 const std::string& unitText, char decimalSeparator = '.');

}  // namespace quillmere
