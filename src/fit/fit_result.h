// The texts of a finished fit and how its result becomes the tensor: the result table (label,
// value, deviation) and, for second-rank tensors, the eigenvalues and principal directions.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "fit/eigen3.h"
#include "fit/fit_engine.h"

namespace quillmere {

struct CoreServices;

/// A fit result as the user reads it: the number is first rounded to eight significant digits,
/// then written in fixed point with five digits after `decimalSeparator` (a tie at the fifth
/// decimal rounds away from zero, a result of zero carries no sign). A number with more than
/// eight digits before the separator is written in exponent notation ("1.2345679E8").
std::string FormatFitResult(Real value, char decimalSeparator = '.');

inline constexpr const char* kEigenHeading = "Eigenvalues // eij";

struct FitResultTexts {
  bool shown = false;  ///< false when the table has no independent components for the tensor
  /// Row 0: unit text, "10^" with the exponent, "dy"; row c: label, value and deviation of
  /// independent component c.
  std::vector<std::array<std::string, 3>> rows;

  bool eigenShown = false;  ///< set for rank 2 only
  /// Row 0: kEigenHeading, "ei1", "ei2", "ei3"; rows 1..3: largest, smallest and middle
  /// eigenvalue with the direction cosines of its principal direction.
  std::array<std::array<std::string, 4>, 4> eigen;
  EigenSystem3 eigenSystem;  ///< the numbers behind the eigen rows (display unit)
};

/// Shows and applies a finished run: the table's labels (ApplySymmetry, Describe), each fitted
/// value written in the result format into the value texts, the components rebuilt from those
/// texts from zero (ApplyTexts, so the tensor receives the rounded values the user reads) and
/// independentInput set to the fitted values in absolute units. For rank 2, the eigen analysis
/// of the new components in the display unit; when it has no distinct eigenvalues to compute
/// and the tensor is symmetric (isotropic), the triple eigenvalue with the coordinate axes.
FitResultTexts ApplyFitResult(TensorState& t, const FitWorkspace& w, const CoreServices& services);

}  // namespace quillmere
