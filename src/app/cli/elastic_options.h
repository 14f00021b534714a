// The options through which the commands read a ((ij)(kl)) tensor as elastic constants: which
// of stiffness or compliance it is, the size of its unit, the density, and for render, export
// and map the elastic quantity drawn in place of the tensor's own value.
#pragma once

#include <optional>
#include <string>

#include "app/cli/cli_arguments.h"
#include "elastic/elastic_quantity.h"
#include "elastic/elastic_tensor.h"
#include "surface/surface_value.h"

namespace quillmere::cli {

struct ElasticOptions {
  std::optional<ElasticRole> role;
  std::optional<double> density;  ///< kg/m^3
  std::optional<Real> unitPascal;
  std::optional<ElasticQuantity> quantity;

  /// Reads --stiffness, --compliance, --density, --unit-size and, with `withQuantity`,
  /// --quantity; false for any other option. Throws UsageError for a bad value.
  bool Read(const std::string& option, const OptionValue& value, bool withQuantity);

  /// The elastic constants of `t` under these options (the unit text proposes the role and the
  /// size where the options do not say). Throws std::runtime_error when they cannot be had.
  ElasticTensor Constants(const TensorState& t) const;

  /// With a quantity, puts its surface in place of `t` and `e`; otherwise leaves them.
  void ApplyQuantity(TensorState& t, SurfaceEvaluation& e) const;

  /// The help lines of these options.
  static std::string Help(bool withQuantity);
};

}  // namespace quillmere::cli
