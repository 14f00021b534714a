#include "surface/view_settings.h"

namespace quillmere {

namespace {
constexpr Real kPi = std::numbers::pi_v<Real>;
}

LabelFont BuiltInLabelFont() {
  LabelFont f;
  f.family = "Times New Roman";
  f.size = 24;
  f.colour = Colour::Exact(120, 70, 0);
  return f;
}

void ResetView(ViewSettings& v) {
  const ViewSettings d;
  v.angleX = d.angleX;
  v.angleY = d.angleY;
  v.angleZ = d.angleZ;
  v.shiftX = d.shiftX;
  v.shiftY = d.shiftY;
  v.shiftZ = d.shiftZ;
  v.positiveFill = d.positiveFill;
  v.negativeFill = d.negativeFill;
  v.positiveLine = d.positiveLine;
  v.negativeLine = d.negativeLine;
  v.axesColour = d.axesColour;
  v.background = d.background;
  v.resolution = d.resolution;
  v.zoom = d.zoom;
  v.eyeDistance = d.eyeDistance;
  v.showAxes = d.showAxes;
  v.axesCaptionStyle = d.axesCaptionStyle;
  v.showGrid = true;
}

Colour ChosenBackground(Colour chosen) {
  if (chosen == Colour::Exact(255, 255, 255)) return Colour::Palette(255, 255, 254);
  return chosen;
}

Real AngleYFromAlphaSlider(Real p) {
  return (180 - p) * kPi / 180;
}
int AlphaSliderFromAngleY(Real angleY) {
  return static_cast<int>(RoundHalfEven(-angleY * 180 / kPi) + 180);
}
Real AngleXFromBetaSlider(Real p) {
  return (90 - p) * kPi / 180;
}
int BetaSliderFromAngleX(Real angleX) {
  return static_cast<int>(90 - RoundHalfEven(angleX * 180 / kPi));
}
Real AngleZFromGammaSlider(Real p) {
  return (p + 270) * kPi / 180;
}
int GammaSliderFromAngleZ(Real angleZ) {
  return static_cast<int>(RoundHalfEven(angleZ * 180 / kPi) - 270);
}
Real EyeDistanceFromPerspectiveSlider(int p) {
  return static_cast<Real>(p) * p + 1;
}

}  // namespace quillmere
