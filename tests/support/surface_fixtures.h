// Tensors and scenes that the surface and picture tests share.
#pragma once

#include <optional>

#include "surface/scene.h"
#include "surface/surface_value.h"
#include "surface/view_settings.h"
#include "tensor/tensor_state.h"

namespace quillmere::test {

/// The second-rank unit tensor: its surface is the unit sphere.
inline TensorState UnitSphereTensor() {
  TensorState t;
  SetKind(t, 1);
  t.At(1, 1) = t.At(2, 2) = t.At(3, 3) = 1;
  return t;
}

/// A cubic elastic stiffness (rank 4, triclinic storage) from its three constants.
inline TensorState CubicElastic(Real c11, Real c12, Real c44) {
  TensorState t;
  t.rank = 4;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) {
      if (i == j) {
        t.At(i, i, i, i) = c11;
        continue;
      }
      t.At(i, i, j, j) = c12;
      t.At(i, j, i, j) = t.At(i, j, j, i) = c44;
    }
  return t;
}

/// The scene of `t` in the given mode, without fixed directions.
inline SceneList BuildSceneFor(const TensorState& t, const ViewSettings& v,
                               int mode = kFullSurface) {
  SceneList scene;
  const SurfaceEvaluation e;
  BuildScene(scene, SceneInputs{&t, &e, &v, mode, std::nullopt});
  return scene;
}

}  // namespace quillmere::test
