// The drawn elastic quantities: the quick rows of Young's modulus and the linear
// compressibility give the same scene as the quantity evaluated one direction at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "elastic/elastic_surface.h"
#include "surface/scene.h"
#include "tensor/tensor_state.h"

namespace quillmere {
namespace {

/// Alpha-quartz (trigonal 32) as a ((ij)(kl)) stiffness tensor in GPa: a crystal without
/// cubic shortcuts, with the c14 coupling.
TensorState QuartzStiffness() {
  Matrix6 c{};
  c[0][0] = c[1][1] = 86.74L, c[2][2] = 107.2L, c[0][1] = 6.99L;
  c[0][2] = c[1][2] = 11.91L, c[0][3] = -17.91L, c[1][3] = 17.91L, c[4][5] = -17.91L;
  c[3][3] = c[4][4] = 57.94L, c[5][5] = (86.74L - 6.99L) / 2;
  TensorState t;
  SetKind(t, 3);
  const int pair[6][2] = {{1, 1}, {2, 2}, {3, 3}, {2, 3}, {1, 3}, {1, 2}};
  for (int I = 0; I < 6; ++I)
    for (int J = 0; J < 6; ++J)
      for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
          t.At(pair[I][a], pair[I][1 - a], pair[J][b], pair[J][1 - b]) = I <= J ? c[I][J] : c[J][I];
  t.scale = LargestAbsoluteComponent(t);
  t.unitText = "GPa";
  return t;
}

TEST(ElasticSurface, PolynomialRowsGiveTheSceneOfTheQuantity) {
  const TensorState t = QuartzStiffness();
  const ElasticTensor e = ElasticTensor::FromTensor(t, ElasticRole::Stiffness, 1e9L);
  ViewSettings view;
  view.resolution = 4;
  for (const ElasticQuantity q : {ElasticQuantity::Youngs, ElasticQuantity::Compressibility}) {
    const QuantitySurface quick = MakeQuantitySurface(t, e, q, 0);
    ASSERT_TRUE(quick.evaluation.derivedPolynomial);
    QuantitySurface slow = quick;
    slow.evaluation.derivedPolynomial.reset();
    // The full surface and a section, whose directions come with one component zeroed.
    for (const int mode : {kFullSurface, kSectionZ}) {
      SceneList a, b;
      BuildScene(a, SceneInputs{&quick.tensor, &quick.evaluation, &view, mode, std::nullopt});
      BuildScene(b, SceneInputs{&slow.tensor, &slow.evaluation, &view, mode, std::nullopt});
      ASSERT_EQ(a.count, b.count);
      double largest = 0, difference = 0;
      for (std::size_t r = 0; r < a.count; ++r)
        for (int c = 0; c < 4; ++c)
          for (int i = 0; i < 3; ++i) {
            largest = std::max(largest, std::fabs(b.records[r].corners[c][i]));
            difference = std::max(
                difference, std::fabs(a.records[r].corners[c][i] - b.records[r].corners[c][i]));
          }
      EXPECT_GT(largest, 0.5) << QuantityName(q);
      EXPECT_LE(difference, 1e-12 * largest) << QuantityName(q) << " mode " << mode;
    }
  }
  EXPECT_FALSE(
      MakeQuantitySurface(t, e, ElasticQuantity::ShearMin, 0).evaluation.derivedPolynomial);
}

}  // namespace
}  // namespace quillmere
