// The elastic properties against closed forms (cubic and isotropic crystals, Nye "Physical
// Properties of Crystals" ch. VIII; Hill 1952 for the averages; Ranganathan & Ostoja-Starzewski
// 2008 for A^U), against brute-force sweeps, and for an unstable crystal.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "elastic/elastic_quantity.h"
#include "elastic/elastic_report.h"
#include "elastic/elastic_tensor.h"
#include "elastic/elastic_units.h"

namespace quillmere {
namespace {

Matrix6 Cubic(Real c11, Real c12, Real c44) {
  Matrix6 c{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) c[i][j] = i == j ? c11 : c12;
    c[i + 3][i + 3] = c44;
  }
  return c;
}

/// alpha-quartz (trigonal 32), GPa, as in the program's example file.
Matrix6 Quartz() {
  Matrix6 c{};
  c[0][0] = c[1][1] = 86.74L;
  c[2][2] = 107.2L;
  c[0][1] = c[1][0] = 6.99L;
  c[0][2] = c[2][0] = c[1][2] = c[2][1] = 11.91L;
  c[0][3] = c[3][0] = -17.91L;
  c[1][3] = c[3][1] = 17.91L;
  c[4][5] = c[5][4] = -17.91L;
  c[3][3] = c[4][4] = 57.94L;
  c[5][5] = (c[0][0] - c[0][1]) / 2;
  return c;
}

Vector3 Unit(double x, double y, double z) {
  const double r = std::sqrt(x * x + y * y + z * z);
  return {x / r, y / r, z / r};
}

TEST(ElasticTensor, CubicCopperMatchesClosedForms) {
  const Real c11 = 168.4L, c12 = 121.4L, c44 = 75.4L;
  const ElasticTensor e = ElasticTensor::FromStiffness(Cubic(c11, c12, c44));
  const Real d = (c11 - c12) * (c11 + 2 * c12);
  const double s11 = static_cast<double>((c11 + c12) / d) * 1000,
               s12 = static_cast<double>(-c12 / d) * 1000, s44 = 1000 / 75.4;
  EXPECT_NEAR(static_cast<double>(e.ComplianceVoigt()[0][0]), s11, 1e-12 * s11);
  EXPECT_NEAR(static_cast<double>(e.ComplianceVoigt()[0][1]), s12, 1e-12 * s11);
  EXPECT_NEAR(static_cast<double>(e.ComplianceVoigt()[3][3]), s44, 1e-12 * s44);
  EXPECT_NEAR(e.Youngs({1, 0, 0}), 1000 / s11, 1e-9);
  const double e111 = 1000 / (s11 - 2 * (s11 - s12 - s44 / 2) / 3);
  EXPECT_NEAR(e.Youngs(Unit(1, 1, 1)), e111, 1e-9);
  // Along <100> every perpendicular shear gives c44.
  const PerpendicularRange g = e.Shear({0, 0, 1});
  EXPECT_NEAR(g.min, 75.4, 1e-9);
  EXPECT_NEAR(g.max, 75.4, 1e-9);

  // The report: E from 66.7 to 191.1 GPa, the maximum along <111> and the minimum along <100>.
  const ElasticReport r = MakeElasticReport(e, std::nullopt);
  EXPECT_NEAR(r.youngs.min.value, 1000 / s11, 1e-9 * 66.7);
  EXPECT_NEAR(r.youngs.max.value, e111, 1e-9 * 191.1);
  EXPECT_NEAR(r.youngs.min.value, 66.7, 0.05);
  EXPECT_NEAR(r.youngs.max.value, 191.1, 0.05);
  EXPECT_NEAR(std::fabs(r.youngs.max.direction[0]), 1 / std::sqrt(3.0), 1e-6);
  // Shear: (c11 - c12)/2 on {110}<1-10> is the least, c44 the largest for copper.
  EXPECT_NEAR(r.shear.min.value, (168.4 - 121.4) / 2, 1e-7 * 23.5);
  EXPECT_NEAR(r.shear.max.value, 75.4, 1e-7 * 75.4);

  // Averages: K_V = K_R for cubic; Hill's formulas for G_V and G_R.
  const ElasticAverages a = e.Averages();
  const double k = (168.4 + 2 * 121.4) / 3, cp = 168.4 - 121.4;
  EXPECT_NEAR(a.voigt.bulk, k, 1e-9);
  EXPECT_NEAR(a.reuss.bulk, k, 1e-9);
  EXPECT_NEAR(a.voigt.shear, (cp + 3 * 75.4) / 5, 1e-9);
  EXPECT_NEAR(a.reuss.shear, 5 * cp * 75.4 / (4 * 75.4 + 3 * cp), 1e-9);
  EXPECT_NEAR(a.universalAnisotropy, 5 * a.voigt.shear / a.reuss.shear - 5, 1e-9);
  EXPECT_TRUE(e.Stable());
  // Linear compressibility of a cubic crystal is K/3 in every direction, 1/(3K).
  EXPECT_NEAR(r.compressibility.min.value, 1000 / (3 * k), 1e-9);
  EXPECT_NEAR(r.compressibility.max.value, 1000 / (3 * k), 1e-9);
}

TEST(ElasticTensor, IsotropicCrystalHasNoAnisotropy) {
  // Lame lambda = 60, mu = 40 GPa: E = 104 GPa, nu = 0.3, K = 86.67 GPa; rho = 5000 kg/m^3.
  const ElasticTensor e = ElasticTensor::FromStiffness(Cubic(140, 60, 40));
  const ElasticAverages a = e.Averages();
  EXPECT_NEAR(a.universalAnisotropy, 0, 1e-12);
  for (const ModulusAverage& m : {a.voigt, a.reuss, a.hill}) {
    EXPECT_NEAR(m.youngs, 104, 1e-9);
    EXPECT_NEAR(m.poisson, 0.3, 1e-12);
    EXPECT_NEAR(m.shear, 40, 1e-9);
  }
  const Vector3 n = Unit(0.3, -0.5, 0.8);
  const PerpendicularRange nu = e.Poisson(n), g = e.Shear(n);
  EXPECT_NEAR(nu.min, 0.3, 1e-12);
  EXPECT_NEAR(nu.max, 0.3, 1e-12);
  EXPECT_NEAR(nu.mean, 0.3, 1e-12);
  EXPECT_NEAR(g.mean, 40, 1e-9);
  const SoundWaves w = e.Waves(n, 5000);
  EXPECT_NEAR(w.speed[0], std::sqrt(140e9 / 5000) / 1000, 1e-9);
  EXPECT_NEAR(w.speed[1], std::sqrt(40e9 / 5000) / 1000, 1e-9);
  EXPECT_NEAR(w.speed[2], std::sqrt(40e9 / 5000) / 1000, 1e-9);
  EXPECT_NEAR(w.powerFlowAngle[0], 0, 1e-5);
  // The longitudinal wave is polarised along n.
  EXPECT_NEAR(std::fabs(w.polarisation[0][0] * n[0] + w.polarisation[0][1] * n[1] +
                        w.polarisation[0][2] * n[2]),
              1, 1e-12);
}

TEST(ElasticTensor, ExtremesOverMatchBruteForceSweeps) {
  const ElasticTensor e = ElasticTensor::FromStiffness(Quartz());
  std::mt19937 random(7);
  std::normal_distribution<double> normal;
  for (int trial = 0; trial < 20; ++trial) {
    const Vector3 n = Unit(normal(random), normal(random), normal(random));
    Vector3 a, b;
    PerpendicularBasis(n, a, b);
    const PerpendicularRange g = e.Shear(n), nu = e.Poisson(n);
    double gLow = 1e300, gHigh = -1e300, nuLow = 1e300, nuHigh = -1e300, gSum = 0, nuSum = 0;
    const int steps = 7200;
    for (int k = 0; k < steps; ++k) {
      const double t = k * M_PI / steps;
      const Vector3 m{std::cos(t) * a[0] + std::sin(t) * b[0],
                      std::cos(t) * a[1] + std::sin(t) * b[1],
                      std::cos(t) * a[2] + std::sin(t) * b[2]};
      const double gm = e.Shear(n, m), num = e.Poisson(n, m);
      gLow = std::min(gLow, gm), gHigh = std::max(gHigh, gm), gSum += gm;
      nuLow = std::min(nuLow, num), nuHigh = std::max(nuHigh, num), nuSum += num;
    }
    // The sweep never passes the exact extremes and comes within its resolution of them.
    EXPECT_GE(gLow, g.min - 1e-10);
    EXPECT_LE(gHigh, g.max + 1e-10);
    EXPECT_NEAR(gLow, g.min, 1e-6 * g.max);
    EXPECT_NEAR(gHigh, g.max, 1e-6 * g.max);
    EXPECT_GE(nuLow, nu.min - 1e-12);
    EXPECT_LE(nuHigh, nu.max + 1e-12);
    EXPECT_NEAR(nuLow, nu.min, 1e-6);
    EXPECT_NEAR(nuHigh, nu.max, 1e-6);
    // The trapezoid mean of a smooth periodic function is exact to rounding.
    EXPECT_NEAR(gSum / steps, g.mean, 1e-9 * g.mean);
    EXPECT_NEAR(nuSum / steps, nu.mean, 1e-12);
    // The m that reach them are perpendicular to n and give the values.
    EXPECT_NEAR(e.Shear(n, g.mMin), g.min, 1e-9 * g.max);
    EXPECT_NEAR(e.Poisson(n, nu.mMax), nu.max, 1e-12);
    EXPECT_NEAR(n[0] * g.mMax[0] + n[1] * g.mMax[1] + n[2] * g.mMax[2], 0, 1e-12);
  }
}

TEST(ElasticTensor, ExtremesOverDirectionsBeatFineGridAndAreLocalOptima) {
  const ElasticTensor e = ElasticTensor::FromStiffness(Quartz());
  const ElasticReport r = MakeElasticReport(e, 2648.0);
  struct Case {
    ElasticQuantity low, high;
    const ReportedRange& range;
  };
  const Case cases[] = {
      {ElasticQuantity::ShearMin, ElasticQuantity::ShearMax, r.shear},
      {ElasticQuantity::PoissonMin, ElasticQuantity::PoissonMax, r.poisson},
      {ElasticQuantity::VelocityP, ElasticQuantity::VelocityP, r.velocities[0]},
      {ElasticQuantity::VelocityS1, ElasticQuantity::VelocityS1, r.velocities[1]},
      {ElasticQuantity::VelocityS2, ElasticQuantity::VelocityS2, r.velocities[2]},
      {ElasticQuantity::Youngs, ElasticQuantity::Youngs, r.youngs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QuantityName(c.low));
    double gridLow = 1e300, gridHigh = -1e300;
    for (int i = 0; i <= 180; ++i)
      for (int j = 0; j < 360; ++j) {
        const double t = i * M_PI / 360, p = j * M_PI / 180;
        const Vector3 n{std::sin(t) * std::cos(p), std::sin(t) * std::sin(p), std::cos(t)};
        gridLow = std::min(gridLow, QuantityValue(e, c.low, n, 2648));
        gridHigh = std::max(gridHigh, QuantityValue(e, c.high, n, 2648));
      }
    const double size = std::fabs(gridHigh) + std::fabs(gridLow);
    EXPECT_LE(c.range.min.value, gridLow + 1e-12 * size);
    EXPECT_GE(c.range.max.value, gridHigh - 1e-12 * size);
    EXPECT_NEAR(c.range.min.value, gridLow, 1e-3 * size);
    // No direction close to the reported one does better by more than the promised 1e-7.
    for (const bool largest : {false, true}) {
      const ReportedExtreme& x = largest ? c.range.max : c.range.min;
      Vector3 u, v;
      PerpendicularBasis(x.direction, u, v);
      for (int k = 0; k < 16; ++k)
        for (const double step : {1e-3, 1e-5, 1e-7}) {
          const double cu = step * std::cos(k * M_PI / 8), cv = step * std::sin(k * M_PI / 8);
          const Vector3 n =
              Unit(x.direction[0] + cu * u[0] + cv * v[0], x.direction[1] + cu * u[1] + cv * v[1],
                   x.direction[2] + cu * u[2] + cv * v[2]);
          const double value = QuantityValue(e, largest ? c.high : c.low, n, 2648);
          if (largest)
            EXPECT_LE(value, x.value + 1e-7 * std::fabs(x.value));
          else
            EXPECT_GE(value, x.value - 1e-7 * std::fabs(x.value));
        }
    }
  }
}

TEST(ElasticTensor, UnstableCrystalIsReportedAsSuch) {
  // c12 > c11: the eigenvalue c11 - c12 of the shear (110)[1-10] is negative.
  const ElasticTensor e = ElasticTensor::FromStiffness(Cubic(100, 150, 50));
  EXPECT_FALSE(e.Stable());
  EXPECT_NEAR(static_cast<double>(e.Eigenvalues()[0]), -50, 1e-9);
  const std::string text = ElasticReportText(MakeElasticReport(e, std::nullopt));
  EXPECT_NE(text.find("NOT mechanically stable: 2 of the six eigenvalues are not positive"),
            std::string::npos)
      << text;
  EXPECT_NE(ElasticReportJson(MakeElasticReport(e, std::nullopt)).find("\"stable\": false"),
            std::string::npos);
  // A singular matrix is refused, not inverted into nonsense.
  EXPECT_THROW(ElasticTensor::FromStiffness(Cubic(100, 100, 50)), std::runtime_error);
}

TEST(ElasticUnits, UnitTextsGiveRoleAndSize) {
  struct Case {
    const char* text;
    ElasticRole role;
    Real pascal;
  };
  const Case cases[] = {
      {"GPa", ElasticRole::Stiffness, 1e9L},     {"kbar", ElasticRole::Stiffness, 1e8L},
      {"Mbar", ElasticRole::Stiffness, 1e11L},   {"N/m^2", ElasticRole::Stiffness, 1},
      {"10^9 Pa", ElasticRole::Stiffness, 1e9L}, {"1/TPa", ElasticRole::Compliance, 1e12L},
      {"GPa^-1", ElasticRole::Compliance, 1e9L}, {"1/(GPa)", ElasticRole::Compliance, 1e9L},
      {"m^2/N", ElasticRole::Compliance, 1},     {"10^-12 m^2/N", ElasticRole::Compliance, 1e12L},
      {"1/Pa", ElasticRole::Compliance, 1},      {"MPa-1", ElasticRole::Compliance, 1e6L},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const auto u = ParseElasticUnit(c.text);
    ASSERT_TRUE(u.has_value());
    EXPECT_EQ(u->role, c.role);
    EXPECT_NEAR(static_cast<double>(u->pascal / c.pascal), 1, 1e-15);
  }
  for (const char* text : {"", "mPa", "GPA", "eV", "1/", "m^2"})
    EXPECT_FALSE(ParseElasticUnit(text).has_value()) << text;
  try {
    ResolveElasticUnit("eV/A^3", std::nullopt, std::nullopt);
    FAIL();
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("GPa, TPa, bar"), std::string::npos);
  }
  // A size named by the user makes an unknown unit usable once the role is said too.
  EXPECT_THROW(ResolveElasticUnit("eV/A^3", std::nullopt, 160.2e9L), std::runtime_error);
  const ElasticUnit u = ResolveElasticUnit("eV/A^3", ElasticRole::Stiffness, 160.2e9L);
  EXPECT_EQ(u.pascal, 160.2e9L);
}

TEST(ElasticUnits, StiffnessAndComplianceFilesGiveTheSameCrystal) {
  // Copper typed as a stiffness in kbar and as its compliance in 1/TPa with s_ijkl components
  // (the Voigt factors 2 and 4 belong to s_IJ only).
  const ElasticTensor ref = ElasticTensor::FromStiffness(Cubic(168.4L, 121.4L, 75.4L));
  TensorState c, s;
  SetKind(c, 3);
  SetKind(s, 3);
  const int pair[6][2] = {{1, 1}, {2, 2}, {3, 3}, {2, 3}, {1, 3}, {1, 2}};
  for (int I = 0; I < 6; ++I)
    for (int J = 0; J < 6; ++J) {
      const int f = (I < 3 ? 1 : 2) * (J < 3 ? 1 : 2);
      for (const bool swapFirst : {false, true})
        for (const bool swapSecond : {false, true}) {
          const int i = pair[I][swapFirst], j = pair[I][!swapFirst];
          const int k = pair[J][swapSecond], l = pair[J][!swapSecond];
          c.At(i, j, k, l) = ref.StiffnessVoigt()[I][J] * 10;  // GPa -> kbar
          s.At(i, j, k, l) = ref.ComplianceVoigt()[I][J] / f;
        }
    }
  const ElasticTensor fromC = ElasticTensor::FromTensor(c, ElasticRole::Stiffness, 1e8L);
  const ElasticTensor fromS = ElasticTensor::FromTensor(s, ElasticRole::Compliance, 1e12L);
  for (const ElasticTensor* e : {&fromC, &fromS})
    for (int I = 0; I < 6; ++I)
      for (int J = 0; J < 6; ++J) {
        EXPECT_NEAR(static_cast<double>(e->StiffnessVoigt()[I][J]),
                    static_cast<double>(ref.StiffnessVoigt()[I][J]), 1e-9);
        EXPECT_NEAR(static_cast<double>(e->ComplianceVoigt()[I][J]),
                    static_cast<double>(ref.ComplianceVoigt()[I][J]), 1e-9);
      }
  TensorState other;
  SetKind(other, 6);
  EXPECT_THROW(ElasticTensor::FromTensor(other, ElasticRole::Stiffness, 1e9L),
               std::invalid_argument);
}

}  // namespace
}  // namespace quillmere
