#include "elastic/elastic_report.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <sstream>

#include "surface/extremes.h"

namespace quillmere {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Vector3 ToVector(const Direction& d) {
  return {static_cast<double>(d[0]), static_cast<double>(d[1]), static_cast<double>(d[2])};
}

double Ratio(double max, double min) {
  return min > 0 && max > 0 ? max / min : kNaN;
}

/// The extremes of a polynomial in n given as a fourth- or second-rank tensor, by the surface's
/// own extremes search (exact to about 1e-12 of the largest coefficient).
SurfaceExtremes PolynomialExtremes(const ElasticTensor& e, bool fourthRank) {
  TensorState t;
  if (fourthRank) {
    SetKind(t, 3);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        for (int k = 0; k < 3; ++k)
          for (int l = 0; l < 3; ++l) t.At(i + 1, j + 1, k + 1, l + 1) = e.S(i, j, k, l);
  } else {
    SetKind(t, 1);
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        t.At(i + 1, j + 1) = Real(e.S(i, j, 0, 0)) + e.S(i, j, 1, 1) + e.S(i, j, 2, 2);
  }
  return FindSurfaceExtremes(t, SurfaceEvaluation{});
}

ReportedExtreme AtDirection(const ElasticTensor& e, ElasticQuantity q, const Vector3& n,
                            double density, bool largest) {
  ReportedExtreme x;
  x.direction = n;
  x.value = QuantityValue(e, q, n, density);
  switch (q) {
    case ElasticQuantity::ShearMin:
    case ElasticQuantity::ShearMax: {
      const PerpendicularRange r = e.Shear(n);
      x.perpendicular = largest ? r.mMax : r.mMin;
      break;
    }
    case ElasticQuantity::PoissonMin:
    case ElasticQuantity::PoissonMax: {
      const PerpendicularRange r = e.Poisson(n);
      x.perpendicular = largest ? r.mMax : r.mMin;
      break;
    }
    case ElasticQuantity::VelocityP:
    case ElasticQuantity::VelocityS1:
    case ElasticQuantity::VelocityS2: {
      const int mode = static_cast<int>(q) - static_cast<int>(ElasticQuantity::VelocityP);
      const SoundWaves w = e.Waves(n, density);
      x.polarisation = w.polarisation[mode];
      x.powerFlowAngle = w.powerFlowAngle[mode];
      break;
    }
    default:
      break;
  }
  return x;
}

}  // namespace

ReportedRange QuantityRange(const ElasticTensor& e, ElasticQuantity q, double density) {
  ReportedRange range;
  if (q == ElasticQuantity::Youngs || q == ElasticQuantity::Compressibility) {
    const bool youngs = q == ElasticQuantity::Youngs;
    const SurfaceExtremes s = PolynomialExtremes(e, youngs);
    // E = 1000 / s_nnnn: its maximum lies where s_nnnn is least (when s_nnnn stays positive).
    const SurfaceExtreme& low = youngs ? s.largest : s.smallest;
    const SurfaceExtreme& high = youngs ? s.smallest : s.largest;
    range.min.direction = ToVector(low.direction);
    range.max.direction = ToVector(high.direction);
    range.min.value = youngs ? 1000 / static_cast<double>(low.value) : double(low.value);
    range.max.value = youngs ? 1000 / static_cast<double>(high.value) : double(high.value);
    if (youngs && !(s.smallest.value > 0)) range.min.value = range.max.value = kNaN;
  } else {
    // The minimum of the shear modulus over m and n is the minimum over n of its minimum over
    // m, and likewise for the maximum and for Poisson's ratio.
    ElasticQuantity low = q, high = q;
    if (q == ElasticQuantity::ShearMin || q == ElasticQuantity::ShearMax)
      low = ElasticQuantity::ShearMin, high = ElasticQuantity::ShearMax;
    if (q == ElasticQuantity::PoissonMin || q == ElasticQuantity::PoissonMax)
      low = ElasticQuantity::PoissonMin, high = ElasticQuantity::PoissonMax;
    const SphereExtreme a = FindSphereExtreme(
        [&](const Vector3& n) { return QuantityValue(e, low, n, density); }, false);
    const SphereExtreme b = FindSphereExtreme(
        [&](const Vector3& n) { return QuantityValue(e, high, n, density); }, true);
    range.min = AtDirection(e, low, a.direction, density, false);
    range.max = AtDirection(e, high, b.direction, density, true);
  }
  range.anisotropy = Ratio(range.max.value, range.min.value);
  return range;
}

ElasticReport MakeElasticReport(const ElasticTensor& e, std::optional<double> density) {
  ElasticReport r{e, e.Averages(), {}, {}, {}, {}, density, {}};
  r.youngs = QuantityRange(e, ElasticQuantity::Youngs, 0);
  r.compressibility = QuantityRange(e, ElasticQuantity::Compressibility, 0);
  r.shear = QuantityRange(e, ElasticQuantity::ShearMin, 0);
  r.poisson = QuantityRange(e, ElasticQuantity::PoissonMin, 0);
  if (density) {
    r.velocities[0] = QuantityRange(e, ElasticQuantity::VelocityP, *density);
    r.velocities[1] = QuantityRange(e, ElasticQuantity::VelocityS1, *density);
    r.velocities[2] = QuantityRange(e, ElasticQuantity::VelocityS2, *density);
  }
  return r;
}

namespace {

std::string Number(double x, int digits = 6) {
  if (!std::isfinite(x)) return "-";
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.*g", digits, std::fabs(x) < 1e-12 ? 0.0 : x);
  return buffer;
}

std::string Padded(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string VectorText(const Vector3& v) {
  char buffer[80];
  auto c = [](double x) { return std::fabs(x) < 5e-7 ? 0.0 : x; };
  std::snprintf(buffer, sizeof buffer, "[%.4f, %.4f, %.4f]", c(v[0]), c(v[1]), c(v[2]));
  return buffer;
}

void MatrixText(std::ostringstream& out, const Matrix6& m) {
  for (const auto& row : m) {
    out << " ";
    for (const Real x : row) out << Padded(Number(static_cast<double>(x), 6), 11);
    out << "\n";
  }
}

void RangeText(std::ostringstream& out, const char* title, const char* unit, const ReportedRange& r,
               const char* secondName) {
  out << title << "\n";
  for (const bool largest : {false, true}) {
    const ReportedExtreme& x = largest ? r.max : r.min;
    out << (largest ? "  max " : "  min ") << Padded(Number(x.value), 10) << (*unit ? " " : "")
        << unit << "  along " << VectorText(x.direction);
    if (x.perpendicular) out << "  " << secondName << " " << VectorText(*x.perpendicular);
    if (x.polarisation) out << "  " << secondName << " " << VectorText(*x.polarisation);
    if (x.powerFlowAngle) {
      char angle[32];
      std::snprintf(angle, sizeof angle, "%.3f", *x.powerFlowAngle);
      out << "  power flow " << angle << " deg";
    }
    out << "\n";
  }
  out << "  anisotropy (max/min) " << Number(r.anisotropy) << "\n";
}

std::string JsonNumber(double x) {
  if (!std::isfinite(x)) return "null";
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.12g", x);
  return buffer;
}

std::string JsonVector(const Vector3& v) {
  return "[" + JsonNumber(v[0]) + ", " + JsonNumber(v[1]) + ", " + JsonNumber(v[2]) + "]";
}

std::string JsonMatrix(const Matrix6& m) {
  std::string s = "[";
  for (int i = 0; i < 6; ++i) {
    s += i ? ",\n    [" : "\n    [";
    for (int j = 0; j < 6; ++j) s += (j ? ", " : "") + JsonNumber(static_cast<double>(m[i][j]));
    s += "]";
  }
  return s + "]";
}

std::string JsonExtreme(const ReportedExtreme& x) {
  std::string s =
      "{\"value\": " + JsonNumber(x.value) + ", \"direction\": " + JsonVector(x.direction);
  if (x.perpendicular) s += ", \"perpendicular\": " + JsonVector(*x.perpendicular);
  if (x.polarisation) s += ", \"polarisation\": " + JsonVector(*x.polarisation);
  if (x.powerFlowAngle) s += ", \"power_flow_angle\": " + JsonNumber(*x.powerFlowAngle);
  return s + "}";
}

std::string JsonRange(const ReportedRange& r, const std::string& indent) {
  return "{\n" + indent + "  \"min\": " + JsonExtreme(r.min) + ",\n" + indent +
         "  \"max\": " + JsonExtreme(r.max) + ",\n" + indent +
         "  \"anisotropy\": " + JsonNumber(r.anisotropy) + "\n" + indent + "}";
}

std::string JsonAverage(const ModulusAverage& a) {
  return "{\"bulk\": " + JsonNumber(a.bulk) + ", \"shear\": " + JsonNumber(a.shear) +
         ", \"youngs\": " + JsonNumber(a.youngs) + ", \"poisson\": " + JsonNumber(a.poisson) + "}";
}

}  // namespace

std::string ElasticReportText(const ElasticReport& r) {
  std::ostringstream out;
  const ElasticTensor& e = r.tensor;
  out << "Stiffness c_IJ (Voigt, GPa; I, J = 1..6 for 11, 22, 33, 23, 13, 12)\n";
  MatrixText(out, e.StiffnessVoigt());
  out << "\nCompliance s_IJ (Voigt, 1/TPa; factor 2 for one index 4..6, 4 for two)\n";
  MatrixText(out, e.ComplianceVoigt());
  out << "\nEigenvalues of the stiffness (Mandel form, GPa):";
  for (const Real x : e.Eigenvalues()) out << " " << Number(static_cast<double>(x));
  out << "\n";
  if (e.Stable()) {
    out << "The crystal is mechanically stable: all eigenvalues are positive.\n";
  } else {
    int bad = 0;
    for (const Real x : e.Eigenvalues()) bad += !(x > 0);
    out << "The crystal is NOT mechanically stable: " << bad << " of the six eigenvalues "
        << (bad == 1 ? "is" : "are") << " not positive.\n";
  }
  const ElasticAverages& a = r.averages;
  out << "\nAverages          Voigt      Reuss       Hill\n";
  auto row = [&](const char* name, double ModulusAverage::*field, const char* unit) {
    out << "  " << name << Padded(Number(a.voigt.*field), 11) << Padded(Number(a.reuss.*field), 11)
        << Padded(Number(a.hill.*field), 11) << unit << "\n";
  };
  row("Bulk modulus K ", &ModulusAverage::bulk, "  GPa");
  row("Shear modulus G", &ModulusAverage::shear, "  GPa");
  row("Young's modulus", &ModulusAverage::youngs, "  GPa");
  row("Poisson's ratio", &ModulusAverage::poisson, "");
  out << "Universal anisotropy index A^U = " << Number(a.universalAnisotropy) << "\n\n";
  RangeText(out, "Young's modulus E(n)", "GPa", r.youngs, "");
  RangeText(out, "Linear compressibility beta(n)", "1/TPa", r.compressibility, "");
  RangeText(out, "Shear modulus G(n, m)", "GPa", r.shear, "m");
  RangeText(out, "Poisson's ratio nu(n, m)", "", r.poisson, "m");
  if (r.density) {
    out << "\nSound velocities for density " << Number(*r.density) << " kg/m^3\n";
    const char* names[3] = {"Velocity p (longitudinal)", "Velocity s1 (fast shear)",
                            "Velocity s2 (slow shear)"};
    for (int k = 0; k < 3; ++k) RangeText(out, names[k], "km/s", r.velocities[k], "polarisation");
  }
  return out.str();
}

std::string ElasticReportJson(const ElasticReport& r) {
  const ElasticTensor& e = r.tensor;
  std::string s = "{\n";
  s += "  \"units\": {\"stiffness\": \"GPa\", \"compliance\": \"1/TPa\", \"moduli\": \"GPa\", "
       "\"compressibility\": \"1/TPa\", \"velocities\": \"km/s\"},\n";
  s += "  \"stiffness_voigt\": " + JsonMatrix(e.StiffnessVoigt()) + ",\n";
  s += "  \"compliance_voigt\": " + JsonMatrix(e.ComplianceVoigt()) + ",\n";
  s += "  \"eigenvalues\": [";
  for (int i = 0; i < 6; ++i)
    s += (i ? ", " : "") + JsonNumber(static_cast<double>(e.Eigenvalues()[i]));
  s += "],\n";
  s += std::string("  \"stable\": ") + (e.Stable() ? "true" : "false") + ",\n";
  s += "  \"averages\": {\n    \"voigt\": " + JsonAverage(r.averages.voigt) +
       ",\n    \"reuss\": " + JsonAverage(r.averages.reuss) +
       ",\n    \"hill\": " + JsonAverage(r.averages.hill) + "\n  },\n";
  s += "  \"universal_anisotropy\": " + JsonNumber(r.averages.universalAnisotropy) + ",\n";
  s += "  \"youngs_modulus\": " + JsonRange(r.youngs, "  ") + ",\n";
  s += "  \"linear_compressibility\": " + JsonRange(r.compressibility, "  ") + ",\n";
  s += "  \"shear_modulus\": " + JsonRange(r.shear, "  ") + ",\n";
  s += "  \"poisson_ratio\": " + JsonRange(r.poisson, "  ");
  if (r.density) {
    s += ",\n  \"density\": " + JsonNumber(*r.density);
    s += ",\n  \"velocities\": {\n    \"p\": " + JsonRange(r.velocities[0], "    ") +
         ",\n    \"s1\": " + JsonRange(r.velocities[1], "    ") +
         ",\n    \"s2\": " + JsonRange(r.velocities[2], "    ") + "\n  }";
  }
  return s + "\n}\n";
}

}  // namespace quillmere
