#include "fit/fit_result.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/user_messages.h"
#include "tensor/number_text.h"
#include "tensor/symmetry_table.h"

namespace quillmere {

namespace {

constexpr int kSignificantDigits = 8;
constexpr int kDecimals = 5;

/// Adds one to a string of decimal digits.
void Increment(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

bool Symmetric(const Matrix3& m) {
  Real largest = 0;
  for (const auto& row : m)
    for (Real v : row) largest = std::fmax(largest, std::fabs(v));
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < i; ++j)
      if (std::fabs(m[i][j] - m[j][i]) > 1e-12L * largest) return false;
  return true;
}

}  // namespace

std::string FormatFitResult(Real value, char decimalSeparator) {
  if (!std::isfinite(value)) return FormatGeneral(value, decimalSeparator);
  const std::string zero = std::string("0") + decimalSeparator + std::string(kDecimals, '0');
  if (value == 0) return zero;

  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific,
                                 kSignificantDigits - 1);
  std::string sci(buf, res.ptr);  // "-d.dddddddde+XX"
  const bool negative = sci[0] == '-';
  if (negative) sci.erase(0, 1);
  const std::size_t ePos = sci.find('e');
  const int exp10 = std::atoi(sci.c_str() + ePos + 1);
  if (exp10 >= kSignificantDigits)
    return FormatGeneral(value, decimalSeparator, kSignificantDigits);

  std::string digits;  // the eight significant digits, the first standing at 10^exp10
  for (std::size_t i = 0; i < ePos; ++i)
    if (sci[i] != '.') digits += sci[i];

  // The digits that stand at 10^-5 or above form the integer value * 10^5.
  const int keep = exp10 + kDecimals + 1;
  std::string scaled;
  if (keep >= static_cast<int>(digits.size())) {
    scaled = digits + std::string(static_cast<std::size_t>(keep) - digits.size(), '0');
  } else if (keep >= 0) {
    scaled = digits.substr(0, static_cast<std::size_t>(keep));
    if (digits[static_cast<std::size_t>(keep)] >= '5') Increment(scaled);
  }
  if (scaled.find_first_not_of('0') == std::string::npos) return zero;
  if (scaled.size() < kDecimals + 1)
    scaled.insert(0, std::string(kDecimals + 1 - scaled.size(), '0'));
  std::string out = negative ? "-" : "";
  out += scaled.substr(0, scaled.size() - kDecimals);
  out += decimalSeparator;
  out += scaled.substr(scaled.size() - kDecimals);
  return out;
}

FitResultTexts ApplyFitResult(TensorState& t, const FitWorkspace& w, const CoreServices& services) {
  FitResultTexts r;
  const int a = ApplySymmetry(t, SymmetryMode::Describe, services);
  if (a <= 0) return r;
  r.shown = true;
  const char sep = services.decimalSeparator;
  const Real decade = DecadeOf(t, t.scale);
  r.rows.push_back({t.unitText, "10^" + std::to_string(t.exponent), "dy"});
  const int count = a < w.n ? a : w.n;
  for (int c = 1; c <= count; ++c) {
    t.independentValues[c] = FormatFitResult(w.x[c], sep);
    r.rows.push_back(
        {t.independentLabels[c], t.independentValues[c], FormatFitResult(w.sd[c], sep)});
    t.independentInput[c] = w.x[c] * decade;
  }
  // A run starts from zeroed components: whatever the point group leaves zero is zero.
  ResetComponents(t);
  ApplySymmetry(t, SymmetryMode::ApplyTexts, services);

  if (t.rank != 2) return r;
  Matrix3 m;
  const Real d = DecadeOf(t, t.scale);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) m[i][j] = t.At(i + 1, j + 1) / d;
  r.eigenSystem = SymmetricEigen3(m);
  if (!r.eigenSystem.computed) {
    if (!Symmetric(m)) return r;
    for (int k = 0; k < 3; ++k) {
      r.eigenSystem.values[k] = r.eigenSystem.meanValue;
      r.eigenSystem.vectors[k] = {0, 0, 0};
      r.eigenSystem.vectors[k][k] = 1;
    }
  }
  r.eigenShown = true;
  r.eigen[0] = {kEigenHeading, "ei1", "ei2", "ei3"};
  for (int k = 0; k < 3; ++k) {
    r.eigen[k + 1][0] = FormatFitResult(r.eigenSystem.values[k], sep);
    for (int i = 0; i < 3; ++i)
      r.eigen[k + 1][i + 1] = FormatFitResult(r.eigenSystem.vectors[k][i], sep);
  }
  return r;
}

}  // namespace quillmere
