#include "elastic/elastic_surface.h"

#include <cmath>
#include <stdexcept>

#include "elastic/elastic_report.h"

namespace quillmere {

QuantitySurface MakeQuantitySurface(const TensorState& t, const ElasticTensor& e, ElasticQuantity q,
                                    double density) {
  if (NeedsDensity(q) && !(density > 0))
    throw std::runtime_error(std::string(QuantityCaption(q)) + " needs the density");
  QuantitySurface s;
  s.tensor = t;
  const ReportedRange range = QuantityRange(e, q, density);
  double largest = std::max(std::fabs(range.min.value), std::fabs(range.max.value));
  if (!std::isfinite(largest) || largest == 0) largest = 1;
  s.tensor.scale = largest;
  s.tensor.previousScale = largest;
  DecadeOf(s.tensor, largest);
  s.tensor.unitText = QuantityUnit(q);
  s.evaluation.derivedValue = [e, q, density](Real x, Real y, Real z) -> Real {
    return QuantityValue(
        e, q, {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)}, density);
  };
  return s;
}

}  // namespace quillmere
