// How the representation surface is seen: rotation angles, shift, zoom, perspective, grid
// resolution, light, colours, drawing switches and the label font, with their start-up values,
// Reset View, and the mappings between the angles and the rotation sliders of the drawing panel.
//
// Frames and units: the angles are radians and turn the drawing frame (the crystal frame with
// its first axis reversed); the sliders show whole degrees. Shifts are in units of the tensor's
// scale (the radius at which a value equal to `scale` is drawn), applied after the rotation.
#pragma once

#include <numbers>
#include <string>

#include "surface/colour.h"
#include "tensor/tensor_state.h"

namespace quillmere {

/// A label font: family, size in points, colour and style.
struct LabelFont {
  std::string family;
  int size = 0;  ///< points, before the scaling with zoom and picture width
  Colour colour;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

/// The font of the axis captions and the legend while no font has been chosen:
/// "Times New Roman" 24, red 120, green 70, blue 0.
LabelFont BuiltInLabelFont();

/// Start-up values of the view angles (radians).
inline constexpr Real kStartAngleX = 2.0L;
inline constexpr Real kStartAngleY = std::numbers::pi_v<Real>;
inline constexpr Real kStartAngleZ = 4.28L;

struct ViewSettings {
  Real angleX = kStartAngleX;  ///< about the x axis, applied last (beta slider), radians
  Real angleY = kStartAngleY;  ///< about the y axis (alpha slider), radians
  Real angleZ = kStartAngleZ;  ///< about the crystal z axis, applied first (gamma slider), radians
  Real shiftX = 0, shiftY = 0, shiftZ = 0;  ///< after the rotation, scale units
  Real zoom = 0.8L;                         ///< screen magnification K
  Real eyeDistance = 50;                    ///< E: the eye sits at z' = E
  int resolution = 2;                       ///< grid steps per 20 degrees; slider 1..8
  Real lightDirection[3] = {0.57735L, -0.57735L, 0.57735L};
  Colour positiveFill = Colour::Exact(0, 255, 0);
  Colour negativeFill = Colour::Exact(255, 0, 0);
  Colour positiveLine = Colour::Exact(0, 255, 0);
  Colour negativeLine = Colour::Exact(255, 0, 0);
  Colour axesColour = Colour::Exact(0, 0, 255);  ///< also the legend's ticks
  Colour background = Colour::Palette(255, 255, 254);
  bool showGrid = true;      ///< patch outlines
  bool showAxes = true;      ///< the six axis segments
  bool fillPatches = true;   ///< shaded filling; off gives a hidden-line wire frame
  bool showScale = false;    ///< the scale legend
  bool stereo = false;       ///< crossed-eyes pair
  bool paletteMode = true;   ///< shaded colours are palette colours
  int axesCaptionStyle = 1;  ///< 1 "x y z", 2 "a b c", 3 "e1 e2 e3"
  bool useAxesFont = false;  ///< labels in `axesFont` instead of the built-in font
  LabelFont axesFont;
};

/// Reset View: angles, shifts, the six colours, resolution, zoom, eye distance, the axes switch
/// and caption style back to their start-up values, and the grid on. Light, fill, scale, stereo,
/// palette mode and the fonts stay. (The sliders, the palette rebuild and the redraw are the
/// window's part.)
void ResetView(ViewSettings& v);

/// A background colour chosen by the user: exact white becomes the palette colour 255, 255, 254,
/// so that a patch lit straight on (shaded to white) is never taken for the background.
Colour ChosenBackground(Colour chosen);

// ---- Sliders (positions in whole degrees, -90..90) ------------------------------------------
// Round is to the nearest integer, halves to the even neighbour. The shown positions are not
// limited here; a slider clamps them to its range.

/// alpha slider: angleY = (180 - p) * pi / 180.
Real AngleYFromAlphaSlider(Real p);
/// Shown alpha position: Round(-angleY * 180 / pi) + 180.
int AlphaSliderFromAngleY(Real angleY);
/// beta slider: angleX = (90 - p) * pi / 180.
Real AngleXFromBetaSlider(Real p);
/// Shown beta position: 90 - Round(angleX * 180 / pi).
int BetaSliderFromAngleX(Real angleX);
/// gamma slider: angleZ = (p + 270) * pi / 180.
Real AngleZFromGammaSlider(Real p);
/// Shown gamma position: Round(angleZ * 180 / pi) - 270.
int GammaSliderFromAngleZ(Real angleZ);
/// Perspective slider 1..10: eyeDistance = p^2 + 1.
Real EyeDistanceFromPerspectiveSlider(int p);

inline constexpr int kStartAlphaSlider = 0;
inline constexpr int kStartBetaSlider = -25;
inline constexpr int kStartGammaSlider = -25;
inline constexpr int kStartResolutionSlider = 2;
inline constexpr int kStartPerspectiveSlider = 7;

}  // namespace quillmere
