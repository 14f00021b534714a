// What a ((ij)(kl)) tensor's unit text says about it: a pressure unit makes it a stiffness, the
// inverse of one a compliance, and the unit's size in pascal turns its components into GPa or
// 1/TPa.
#pragma once

#include <optional>
#include <string>

#include "elastic/elastic_tensor.h"

namespace quillmere {

struct ElasticUnit {
  ElasticRole role = ElasticRole::Stiffness;
  /// The pressure unit in Pa: the stiffness unit itself, or the unit whose inverse the
  /// compliance is given in.
  Real pascal = 1;
};

/// The unit read from a unit text such as "GPa", "kbar", "1/TPa", "GPa^-1", "m^2/N" or
/// "10^-12 m^2/N" (case of the prefix letters as written: "mPa" is not "MPa"); nothing when the
/// text is not one of the known units.
std::optional<ElasticUnit> ParseElasticUnit(const std::string& text);

/// The units ParseElasticUnit knows, as one line for messages and help.
std::string KnownElasticUnits();

/// The role and unit size to use: `role` and `pascal` when the user gave them, otherwise what
/// the unit text says. Throws std::runtime_error naming the known units when the unit text is
/// not known and no size is given, or the role cannot be told.
ElasticUnit ResolveElasticUnit(const std::string& unitText, std::optional<ElasticRole> role,
                               std::optional<Real> pascal);

}  // namespace quillmere
