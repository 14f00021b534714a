#include "elastic/elastic_quantity.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace quillmere {

namespace {

struct QuantityInfo {
  ElasticQuantity quantity;
  const char* name;
  const char* caption;
  const char* unit;
};
constexpr QuantityInfo kQuantities[kElasticQuantityCount] = {
    {ElasticQuantity::Youngs, "young", "Young's modulus", "GPa"},
    {ElasticQuantity::Compressibility, "compressibility", "Linear compressibility", "1/TPa"},
    {ElasticQuantity::ShearMin, "shear-min", "Shear modulus (minimum)", "GPa"},
    {ElasticQuantity::ShearMax, "shear-max", "Shear modulus (maximum)", "GPa"},
    {ElasticQuantity::ShearMean, "shear-mean", "Shear modulus (mean)", "GPa"},
    {ElasticQuantity::PoissonMin, "poisson-min", "Poisson's ratio (minimum)", ""},
    {ElasticQuantity::PoissonMax, "poisson-max", "Poisson's ratio (maximum)", ""},
    {ElasticQuantity::PoissonMean, "poisson-mean", "Poisson's ratio (mean)", ""},
    {ElasticQuantity::VelocityP, "vp", "Velocity p (longitudinal)", "km/s"},
    {ElasticQuantity::VelocityS1, "vs1", "Velocity s1 (fast shear)", "km/s"},
    {ElasticQuantity::VelocityS2, "vs2", "Velocity s2 (slow shear)", "km/s"},
};

const QuantityInfo& Info(ElasticQuantity q) {
  return kQuantities[static_cast<int>(q)];
}

}  // namespace

const char* QuantityName(ElasticQuantity q) {
  return Info(q).name;
}
const char* QuantityCaption(ElasticQuantity q) {
  return Info(q).caption;
}
const char* QuantityUnit(ElasticQuantity q) {
  return Info(q).unit;
}

std::optional<ElasticQuantity> QuantityFromName(const std::string& name) {
  for (const QuantityInfo& i : kQuantities)
    if (name == i.name) return i.quantity;
  return std::nullopt;
}

std::string QuantityNames() {
  std::string text;
  for (const QuantityInfo& i : kQuantities)
    text += (text.empty() ? "" : " | ") + std::string(i.name);
  return text;
}

bool NeedsDensity(ElasticQuantity q) {
  return q == ElasticQuantity::VelocityP || q == ElasticQuantity::VelocityS1 ||
         q == ElasticQuantity::VelocityS2;
}

double QuantityValue(const ElasticTensor& e, ElasticQuantity q, const Vector3& n, double density) {
  switch (q) {
    case ElasticQuantity::Youngs:
      return e.Youngs(n);
    case ElasticQuantity::Compressibility:
      return e.LinearCompressibility(n);
    case ElasticQuantity::ShearMin:
      return e.Shear(n).min;
    case ElasticQuantity::ShearMax:
      return e.Shear(n).max;
    case ElasticQuantity::ShearMean:
      return e.Shear(n).mean;
    case ElasticQuantity::PoissonMin:
      return e.Poisson(n).min;
    case ElasticQuantity::PoissonMax:
      return e.Poisson(n).max;
    case ElasticQuantity::PoissonMean:
      return e.Poisson(n).mean;
    case ElasticQuantity::VelocityP:
      return e.Speeds(n, density)[0];
    case ElasticQuantity::VelocityS1:
      return e.Speeds(n, density)[1];
    case ElasticQuantity::VelocityS2:
      return e.Speeds(n, density)[2];
  }
  return std::numeric_limits<double>::quiet_NaN();
}

}  // namespace quillmere
