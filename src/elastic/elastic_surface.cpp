#include "elastic/elastic_surface.h"

#include <cmath>
#include <optional>
#include <stdexcept>

#include "elastic/elastic_report.h"

namespace quillmere {

namespace {

/// The place of n1^a n2^b n3^(degree - a - b) among a polynomial's terms.
int TermIndex(int degree, int a, int b) {
  int index = 0;
  for (int k = 0; k < a; ++k) index += degree - k + 1;
  return index + b;
}

/// The polynomial form of Young's modulus, 1000 / (s_ijkl n_i n_j n_k n_l), and of the linear
/// compressibility, s_ijkk n_i n_j: the components that multiply the same product of cosines
/// summed once. Nothing for the other quantities.
std::optional<DerivedPolynomial> PolynomialForm(const ElasticTensor& e, ElasticQuantity q) {
  DerivedPolynomial form;
  if (q == ElasticQuantity::Youngs) {
    form.degree = 4, form.factor = 1000, form.reciprocal = true;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        for (int k = 0; k < 3; ++k)
          for (int l = 0; l < 3; ++l) {
            const int index[4] = {i, j, k, l};
            int a = 0, b = 0;
            for (int x : index) a += x == 0, b += x == 1;
            form.terms[static_cast<std::size_t>(TermIndex(4, a, b))] += e.S(i, j, k, l);
          }
    return form;
  }
  if (q == ElasticQuantity::Compressibility) {
    form.degree = 2;
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j) {
        const int a = (i == 0) + (j == 0), b = (i == 1) + (j == 1);
        form.terms[static_cast<std::size_t>(TermIndex(2, a, b))] +=
            e.S(i, j, 0, 0) + e.S(i, j, 1, 1) + e.S(i, j, 2, 2);
      }
    return form;
  }
  return std::nullopt;
}

}  // namespace

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
  s.evaluation.derivedName = QuantityCaption(q);
  s.evaluation.derivedValue = [e, q, density](Real x, Real y, Real z) -> Real {
    return QuantityValue(
        e, q, {static_cast<double>(x), static_cast<double>(y), static_cast<double>(z)}, density);
  };
  s.evaluation.derivedPolynomial = PolynomialForm(e, q);
  return s;
}

}  // namespace quillmere
