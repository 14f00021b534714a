#include "surface/projection.h"

#include <cmath>

namespace quillmere {

namespace {

ViewMatrix Identity() {
  ViewMatrix r{};
  for (int i = 0; i < 4; ++i) r.m[i][i] = 1;
  return r;
}

ViewMatrix Multiply(const ViewMatrix& a, const ViewMatrix& b) {
  ViewMatrix r{};
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      Real s = 0;
      for (int k = 0; k < 4; ++k) s += a.m[i][k] * b.m[k][j];
      r.m[i][j] = s;
    }
  return r;
}

}  // namespace

ViewMatrix BuildViewMatrix(const ViewSettings& v) {
  ViewMatrix rz = Identity(), ry = Identity(), rx = Identity(), t = Identity();
  Real c = std::cos(v.angleZ), s = std::sin(v.angleZ);
  rz.m[0][0] = c, rz.m[0][1] = s, rz.m[1][0] = -s, rz.m[1][1] = c;
  c = std::cos(v.angleY), s = std::sin(v.angleY);
  ry.m[0][0] = c, ry.m[0][2] = s, ry.m[2][0] = -s, ry.m[2][2] = c;
  c = std::cos(v.angleX), s = std::sin(v.angleX);
  rx.m[1][1] = c, rx.m[1][2] = s, rx.m[2][1] = -s, rx.m[2][2] = c;
  t.m[0][3] = v.shiftX, t.m[1][3] = v.shiftY, t.m[2][3] = v.shiftZ;
  return Multiply(Multiply(Multiply(t, rx), ry), rz);
}

Projection::Projection(const ViewSettings& v, int a, Real pixelRatio)
    : m_(BuildViewMatrix(v)), a_(a), aReal_(a), k_(v.zoom), e_(v.eyeDistance), ratio_(pixelRatio) {}

Real LightFactor(const Real light[3], const Real n[3]) {
  Real q = n[0] * n[0] + n[1] * n[1] + n[2] * n[2];
  if (q == 0) q = 1;
  return ((light[0] * n[0] + light[1] * n[1] + light[2] * n[2]) / std::sqrt(q) + 1) * 0.5L;
}

}  // namespace quillmere
