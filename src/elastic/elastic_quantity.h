// The directional elastic quantities that can be drawn as a surface or a map in place of the
// tensor's own longitudinal value, with their names, units and values, and the search for their
// extremes over the sphere.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "elastic/elastic_tensor.h"
#include "surface/derived_surface.h"

namespace quillmere {

enum class ElasticQuantity {
  Youngs,
  Compressibility,
  ShearMin,
  ShearMax,
  ShearMean,
  PoissonMin,
  PoissonMax,
  PoissonMean,
  VelocityP,
  VelocityS1,
  VelocityS2,
};
inline constexpr int kElasticQuantityCount = 11;

/// The command-line name: young, compressibility, shear-min, ..., vp, vs1, vs2.
const char* QuantityName(ElasticQuantity q);
/// The quantity of a command-line name; nothing for an unknown name.
std::optional<ElasticQuantity> QuantityFromName(const std::string& name);
/// All command-line names, separated by " | ".
std::string QuantityNames();
/// The caption the desktop program shows: "Young's modulus", "Shear modulus (minimum)", ...
const char* QuantityCaption(ElasticQuantity q);
/// The unit of the values: "GPa", "1/TPa", "" (Poisson's ratio) or "km/s".
const char* QuantityUnit(ElasticQuantity q);
/// True for the sound velocities, which need a density.
bool NeedsDensity(ElasticQuantity q);

/// The value of the quantity along the unit vector n (density in kg/m^3 for velocities).
double QuantityValue(const ElasticTensor& e, ElasticQuantity q, const Vector3& n, double density);

}  // namespace quillmere
