// The pictures of the speed buttons, drawn by the program itself so that they look the same on
// every desktop and need no icon theme.
#pragma once

#include <QIcon>

namespace quillmere {

enum class SpeedIcon {
  New,
  Open,
  Save,
  Print,
  Draw,
  TensorSymmetry,
  PointGroup,
  IndependentComponents,
  ClearComponents,
  DrawUtilities,
  Stereo,
  Normal,
  PositiveFill,
  NegativeFill,
  Background,
  AxesColour,
  TextStyle,
  ProjectionX,
  ProjectionY,
  ProjectionZ,
  Help,
};

QIcon SpeedButtonIcon(SpeedIcon which);

}  // namespace quillmere
