// Mapping of scene points to integer screen coordinates: the view matrix M = T * Rx * Ry * Rz
// (extended precision), the perspective towards the eye at z' = E, and the rounding to the
// picture's pixels. Also the light factor of a patch and the stereo pair's shifts.
//
// Frames: scene points are drawing-frame coordinates (the crystal frame with its first axis
// reversed) in units of the tensor's scale. After M, x' runs to the right of the screen, y' down
// the screen and z' towards the viewer. Screen X grows to the right, Y downward. Angles radians.
#pragma once

#include <array>

#include <cmath>
#include <cstdint>

#include "surface/view_settings.h"
#include "tensor/tensor_state.h"

namespace quillmere {

/// 4x4 matrix, rows first: m[row][column].
struct ViewMatrix {
  Real m[4][4];
};

/// M := T(shift) * Rx(angleX) * Ry(angleY) * Rz(angleZ): the turn about the crystal z axis comes
/// first, the shift last.
ViewMatrix BuildViewMatrix(const ViewSettings& v);

/// A projected point: x'' = a x' E / (E - z'), y'' likewise, z'' = a z'.
struct ProjectedPoint {
  Real x = 0, y = 0, z = 0;
};

/// A pixel position.
struct ScreenPoint {
  std::int32_t x = 0, y = 0;
  friend constexpr bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

/// Screen coordinates are held within +-kScreenLimit, so that a point at or near the eye, which
/// projects to infinity, still gives a polygon the painters can handle.
inline constexpr std::int32_t kScreenLimit = 1 << 20;

/// Nearest integer, halves to even (the default rounding mode), for |v| < 2^62.
inline long long RoundToEven(Real v) {
  return std::llrint(v);
}
/// The same for a double (one instruction on common processors).
inline long long RoundToEven(double v) {
  return std::llrint(v);
}

/// Rounds a pixel coordinate, halves to even, into +-kScreenLimit; not-a-number gives 0 and
/// sets *invalid (when given).
inline std::int32_t ScreenRound(Real v, bool* invalid = nullptr) {
  if (v != v) {  // not a number
    if (invalid) *invalid = true;
    return 0;
  }
  if (v >= kScreenLimit) return kScreenLimit;
  if (v <= -kScreenLimit) return -kScreenLimit;
  return static_cast<std::int32_t>(RoundToEven(v));
}

/// The projection of one picture: the view, its matrix, the size parameter a and the zoom K.
class Projection {
 public:
  /// a is the integer size parameter: picture width div 4 (div 6 for a stereo pair), in logical
  /// pixels. pixelRatio is the number of device pixels per logical pixel of the picture: screen
  /// points are device pixels, so on a scaled screen the same picture is drawn finer; depth keys
  /// stay in logical units, so the painter's order does not depend on the ratio.
  Projection(const ViewSettings& v, int a, Real pixelRatio = 1);

  /// M times (x, y, z, 1), then the perspective.
  ProjectedPoint Project(Real x, Real y, Real z) const {
    const auto& m = m_.m;
    const Real xp = m[0][0] * x + m[0][1] * y + m[0][2] * z + m[0][3];
    const Real yp = m[1][0] * x + m[1][1] * y + m[1][2] * z + m[1][3];
    const Real zp = m[2][0] * x + m[2][1] * y + m[2][2] * z + m[2][3];
    const Real p = e_ / (e_ - zp);
    return {aReal_ * xp * p, aReal_ * yp * p, aReal_ * zp};
  }
  /// X = Round(r (K x'' + 2a)), Y = Round(r (K y'' + 1.4a)), r the pixel ratio.
  ScreenPoint ToScreen(const ProjectedPoint& p, bool* invalid = nullptr) const {
    return ToScreen(p.x, p.y, invalid);
  }
  /// A point given in picture units before zoom (the legend): the same screen mapping without
  /// rotation, shift or perspective.
  ScreenPoint ToScreen(Real x, Real y, bool* invalid = nullptr) const {
    const std::array<Real, 2> s = ScreenPosition(x, y);
    return {ScreenRound(s[0], invalid), ScreenRound(s[1], invalid)};
  }
  /// The screen mapping before rounding, in device pixels (the pointer's readout inverts it).
  std::array<Real, 2> ScreenPosition(Real x, Real y) const {
    return {ratio_ * (k_ * x + 2 * aReal_), ratio_ * (k_ * y + 1.4L * aReal_)};
  }

  int a() const { return a_; }
  Real pixelRatio() const { return ratio_; }
  Real zoom() const { return k_; }
  Real eyeDistance() const { return e_; }
  const ViewMatrix& matrix() const { return m_; }

 private:
  ViewMatrix m_;
  int a_;
  Real aReal_, k_, e_, ratio_;
};

/// ((L . n) / |n| + 1) / 2 with a zero |n| taken as 1: 1 faces the light, 0 faces away.
Real LightFactor(const Real light[3], const Real n[3]);

/// The two images of the crossed-eyes pair: shiftX is raised by this for the first ...
inline constexpr Real kStereoFirstShift = 2.5L;
/// ... and lowered by this for the second (relative to the stored shift).
inline constexpr Real kStereoSecondShift = 0.7L;

/// The size parameter a of a picture of this width: width div 4, or div 6 for a stereo pair.
inline int PictureSizeParameter(int width, bool stereo) {
  return width / (stereo ? 6 : 4);
}

}  // namespace quillmere
