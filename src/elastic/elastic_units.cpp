#include "elastic/elastic_units.h"

#include <cctype>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace quillmere {

namespace {

struct PressureUnit {
  const char* name;
  Real pascal;
};
constexpr PressureUnit kPressureUnits[] = {
    {"Pa", 1},        {"kPa", 1e3L},   {"MPa", 1e6L},      {"GPa", 1e9L},     {"TPa", 1e12L},
    {"bar", 1e5L},    {"kbar", 1e8L},  {"Mbar", 1e11L},    {"N/m^2", 1},      {"N/m2", 1},
    {"N/mm^2", 1e6L}, {"N/mm2", 1e6L}, {"dyn/cm^2", 0.1L}, {"dyn/cm2", 0.1L},
};
/// Inverse units written without a pressure unit: area per force.
constexpr PressureUnit kInverseUnits[] = {
    {"m^2/N", 1},    {"m2/N", 1},        {"mm^2/N", 1e6L},
    {"mm2/N", 1e6L}, {"cm^2/dyn", 0.1L}, {"cm2/dyn", 0.1L},
};

std::optional<Real> PressureOf(const std::string& text) {
  for (const PressureUnit& u : kPressureUnits)
    if (text == u.name) return u.pascal;
  return std::nullopt;
}

std::string WithoutSpaces(const std::string& text) {
  std::string out;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) out += c;
  return out;
}

/// Splits a leading power of ten "10^-12", "1e-12" or "1E-12" off the text; 1 when there is none.
Real LeadingPowerOfTen(std::string& text) {
  std::size_t used = 0;
  if (text.rfind("10^", 0) == 0) {
    std::size_t i = 3;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    if (i > 3 && std::isdigit(static_cast<unsigned char>(text[i - 1]))) {
      const int e = std::stoi(text.substr(3, i - 3));
      text = text.substr(i);
      return std::pow(10.0L, e);
    }
    return 1;
  }
  if (text.rfind("1e", 0) == 0 || text.rfind("1E", 0) == 0) {
    try {
      const int e = std::stoi(text.substr(2), &used);
      text = text.substr(2 + used);
      return std::pow(10.0L, e);
    } catch (const std::exception&) {
      return 1;
    }
  }
  return 1;
}

}  // namespace

std::optional<ElasticUnit> ParseElasticUnit(const std::string& unitText) {
  std::string text = WithoutSpaces(unitText);
  // "x" or "*" between a power of ten and the unit: "10^-12 x m^2/N".
  const Real power = LeadingPowerOfTen(text);
  if (power != 1 && !text.empty() && (text[0] == '*' || text[0] == 'x')) text = text.substr(1);
  if (text.empty()) return std::nullopt;
  if (const auto p = PressureOf(text)) return ElasticUnit{ElasticRole::Stiffness, *p * power};
  for (const PressureUnit& u : kInverseUnits)
    if (text == u.name) return ElasticUnit{ElasticRole::Compliance, u.pascal / power};
  std::string inner;
  if (text.rfind("1/", 0) == 0)
    inner = text.substr(2);
  else if (text.size() > 3 && text.compare(text.size() - 3, 3, "^-1") == 0)
    inner = text.substr(0, text.size() - 3);
  else if (text.size() > 2 && text.compare(text.size() - 2, 2, "-1") == 0)
    inner = text.substr(0, text.size() - 2);
  if (inner.size() > 2 && inner.front() == '(' && inner.back() == ')')
    inner = inner.substr(1, inner.size() - 2);
  if (const auto p = PressureOf(inner)) return ElasticUnit{ElasticRole::Compliance, *p / power};
  return std::nullopt;
}

std::string KnownElasticUnits() {
  return "stiffness in Pa, kPa, MPa, GPa, TPa, bar, kbar, Mbar, N/m^2, N/mm^2 or dyn/cm^2; "
         "compliance in their inverses (1/GPa, GPa^-1, 1/TPa, TPa^-1, ...) or m^2/N, mm^2/N, "
         "cm^2/dyn, each optionally after a power of ten such as 10^-12";
}

ElasticUnit ResolveElasticUnit(const std::string& unitText, std::optional<ElasticRole> role,
                               std::optional<Real> pascal) {
  const std::optional<ElasticUnit> known = ParseElasticUnit(unitText);
  ElasticUnit unit;
  if (pascal) {
    if (!(*pascal > 0) || !std::isfinite(*pascal))
      throw std::runtime_error("The size of the tensor's unit must be a positive number of Pa");
    unit.pascal = *pascal;
  } else if (known) {
    unit.pascal = known->pascal;
  } else {
    throw std::runtime_error("The unit '" + unitText +
                             "' is not one the elastic properties know; known are " +
                             KnownElasticUnits() + ". Name the unit's size in Pa to use it.");
  }
  if (role)
    unit.role = *role;
  else if (known)
    unit.role = known->role;
  else
    throw std::runtime_error(
        "Whether the tensor is a stiffness or a compliance cannot be told from its unit '" +
        unitText + "'; say which it is");
  return unit;
}

}  // namespace quillmere
