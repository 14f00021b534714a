// A directional elastic quantity drawn in place of the tensor's own value: the tensor and the
// surface evaluation that the scene, the pictures, the exports and the maps then read.
#pragma once

#include "elastic/elastic_quantity.h"
#include "elastic/elastic_tensor.h"
#include "surface/surface_value.h"
#include "tensor/tensor_state.h"

namespace quillmere {

struct QuantitySurface {
  /// A copy of the tensor whose scale is the quantity's largest magnitude over all directions
  /// (so the surface reaches radius 1), whose power of ten follows that value and whose unit is
  /// the quantity's.
  TensorState tensor;
  /// The derived value is the quantity, with its polynomial form for Young's modulus and the
  /// linear compressibility; nothing else is set.
  SurfaceEvaluation evaluation;
};

/// The surface of `q` of `e` (density in kg/m^3 for the velocities), shown over the tensor `t`
/// it was made from. Throws std::runtime_error when a velocity is asked without a positive
/// density.
QuantitySurface MakeQuantitySurface(const TensorState& t, const ElasticTensor& e, ElasticQuantity q,
                                    double density);

}  // namespace quillmere
