#include "app/cli/elastic_options.h"

#include <cmath>

#include "app/cli/cli_commands.h"
#include "elastic/elastic_surface.h"
#include "elastic/elastic_units.h"
#include "tensor/number_text.h"

namespace quillmere::cli {

namespace {

Real PositiveNumber(const std::string& option, const std::string& text) {
  Real x = 0;
  if (!TryParseReal(text, x) || !std::isfinite(x) || !(x > 0))
    throw UsageError{option + " needs a positive number, not '" + text + "'"};
  return x;
}

}  // namespace

bool ElasticOptions::Read(const std::string& option, const OptionValue& value, bool withQuantity) {
  if (option == "--stiffness" || option == "--compliance") {
    const ElasticRole r =
        option == "--stiffness" ? ElasticRole::Stiffness : ElasticRole::Compliance;
    if (role && *role != r) throw UsageError{"--stiffness and --compliance exclude each other"};
    role = r;
  } else if (option == "--density") {
    density = static_cast<double>(PositiveNumber(option, value()));
  } else if (option == "--unit-size") {
    unitPascal = PositiveNumber(option, value());
  } else if (withQuantity && option == "--quantity") {
    const std::string& name = value();
    quantity = QuantityFromName(name);
    if (!quantity)
      throw UsageError{"--quantity needs one of " + QuantityNames() + ", not '" + name + "'"};
  } else {
    return false;
  }
  return true;
}

ElasticTensor ElasticOptions::Constants(const TensorState& t) const {
  if (t.kind != 3)
    throw std::runtime_error(
        "Elastic properties need a ((ij)(kl)) tensor (kind 3): a stiffness or a compliance");
  const ElasticUnit unit = ResolveElasticUnit(t.unitText, role, unitPascal);
  return ElasticTensor::FromTensor(t, unit.role, unit.pascal);
}

void ElasticOptions::ApplyQuantity(TensorState& t, SurfaceEvaluation& e) const {
  if (!quantity) return;
  if (NeedsDensity(*quantity) && !density)
    throw UsageError{std::string("--quantity ") + QuantityName(*quantity) +
                     " needs --density KG_PER_M3"};
  QuantitySurface s = MakeQuantitySurface(t, Constants(t), *quantity, density.value_or(0));
  t = std::move(s.tensor);
  e = std::move(s.evaluation);
}

std::string ElasticOptions::Help(bool withQuantity) {
  std::string help;
  if (withQuantity)
    help +=
        "  --quantity Q              draw an elastic property of a ((ij)(kl)) tensor instead of\n"
        "                            the tensor: " +
        QuantityNames() +
        "\n"
        "                            (GPa, 1/TPa, km/s; fixed directions do not apply)\n";
  help +=
      "  --stiffness, --compliance the tensor is a stiffness c or a compliance s (default: told\n"
      "                            by its unit, GPa or 1/TPa and the like)\n"
      "  --unit-size PA            the size of the tensor's unit in Pa (for a compliance: of the\n"
      "                            unit it is the inverse of), for units the program does not "
      "know\n"
      "  --density KG_PER_M3       the density, for the sound velocities\n";
  return help;
}

}  // namespace quillmere::cli
