// The elastic report of a stiffness or compliance: the Voigt matrices, the stability, the
// Voigt-Reuss-Hill averages and the extremes over all directions of Young's modulus, the linear
// compressibility, the shear modulus, Poisson's ratio and, with a density, the sound velocities;
// written as text for people or as one JSON object.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "elastic/elastic_quantity.h"
#include "elastic/elastic_tensor.h"

namespace quillmere {

/// One extreme: the value, its direction n, and where it applies the perpendicular m (shear
/// modulus, Poisson's ratio) or the polarisation and power-flow angle (velocities).
struct ReportedExtreme {
  double value = 0;
  Vector3 direction{1, 0, 0};
  std::optional<Vector3> perpendicular;
  std::optional<Vector3> polarisation;
  std::optional<double> powerFlowAngle;  ///< degrees
};

struct ReportedRange {
  ReportedExtreme min, max;
  /// max / min when both are positive, otherwise not-a-number.
  double anisotropy = 0;
};

struct ElasticReport {
  ElasticTensor tensor;
  ElasticAverages averages;
  ReportedRange youngs, compressibility, shear, poisson;
  std::optional<double> density;            ///< kg/m^3
  std::array<ReportedRange, 3> velocities;  ///< p, s1, s2; set with a density
};

/// The report of `e`; the velocities only with a density (kg/m^3, positive).
ElasticReport MakeElasticReport(const ElasticTensor& e, std::optional<double> density);

/// The extremes of one quantity over all directions, with the m or polarisation that reaches
/// them for the shear modulus, Poisson's ratio and the velocities.
ReportedRange QuantityRange(const ElasticTensor& e, ElasticQuantity q, double density);

/// The report as lines of text, '.' as decimal separator.
std::string ElasticReportText(const ElasticReport& r);
/// The report as one JSON object (keys in the manual); not-a-number values are null.
std::string ElasticReportJson(const ElasticReport& r);

}  // namespace quillmere
