#include "elastic/elastic_tensor.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace quillmere {

namespace {

/// The index pair (0-based) of Voigt number I (0-based): 11, 22, 33, 23, 13, 12.
constexpr int kPair[6][2] = {{0, 0}, {1, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}};
/// The Voigt number (0-based) of the index pair (i, j).
constexpr int kVoigt[3][3] = {{0, 5, 4}, {5, 1, 3}, {4, 3, 2}};

/// sqrt(2) for a shear number, 1 otherwise: the Mandel weight.
Real MandelWeight(int I) {
  return I < 3 ? 1.0L : std::sqrt(2.0L);
}
/// The factor between a Voigt compliance entry and s_ijkl: 1, 2 or 4.
Real ComplianceFactor(int I, int J) {
  return Real((I < 3 ? 1 : 2) * (J < 3 ? 1 : 2));
}

/// The inverse of a 6 x 6 matrix by Gauss-Jordan elimination with partial pivoting; throws when
/// a pivot vanishes against the size of the matrix.
Matrix6 Inverse(const Matrix6& m) {
  Real a[6][12] = {};
  Real largest = 0;
  for (int i = 0; i < 6; ++i) {
    for (int j = 0; j < 6; ++j) {
      a[i][j] = m[i][j];
      largest = std::max(largest, std::fabs(m[i][j]));
    }
    a[i][6 + i] = 1;
  }
  if (!std::isfinite(largest) || largest == 0)
    throw std::runtime_error("The elastic matrix cannot be inverted: it is zero or not finite");
  for (int col = 0; col < 6; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 6; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    if (std::fabs(a[pivot][col]) <= 1e-13L * largest)
      throw std::runtime_error("The elastic matrix cannot be inverted: it is singular");
    if (pivot != col)
      for (int j = 0; j < 12; ++j) std::swap(a[pivot][j], a[col][j]);
    const Real p = a[col][col];
    for (int j = 0; j < 12; ++j) a[col][j] /= p;
    for (int r = 0; r < 6; ++r) {
      if (r == col || a[r][col] == 0) continue;
      const Real f = a[r][col];
      for (int j = 0; j < 12; ++j) a[r][j] -= f * a[col][j];
    }
  }
  Matrix6 inverse{};
  for (int i = 0; i < 6; ++i)
    for (int j = 0; j < 6; ++j) inverse[i][j] = a[i][6 + j];
  return inverse;
}

/// Voigt compliance (1/TPa) from Voigt stiffness (GPa) and back: the Mandel matrices are
/// inverse to each other; the factor 1000 turns 1/GPa into 1/TPa and TPa into GPa.
Matrix6 InvertVoigt(const Matrix6& v, bool fromStiffness) {
  Matrix6 mandel{};
  for (int I = 0; I < 6; ++I)
    for (int J = 0; J < 6; ++J) {
      const Real w = MandelWeight(I) * MandelWeight(J);
      mandel[I][J] = fromStiffness ? v[I][J] * w : v[I][J] / w;
    }
  const Matrix6 inverse = Inverse(mandel);
  Matrix6 out{};
  for (int I = 0; I < 6; ++I)
    for (int J = 0; J < 6; ++J) {
      const Real w = MandelWeight(I) * MandelWeight(J);
      out[I][J] = 1000 * (fromStiffness ? inverse[I][J] * w : inverse[I][J] / w);
    }
  return out;
}

double Dot(const Vector3& a, const Vector3& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

/// The extremes of the quadratic form q(m) = m Q m over unit m in the plane spanned by a and b
/// (Q symmetric 3 x 3): the 2 x 2 eigenproblem, smaller value first.
struct PlaneForm {
  double low, high;
  Vector3 mLow, mHigh;
};
PlaneForm PlaneExtremes(const double q[3][3], const Vector3& a, const Vector3& b) {
  double qa[3], qb[3];
  for (int i = 0; i < 3; ++i) {
    qa[i] = q[i][0] * a[0] + q[i][1] * a[1] + q[i][2] * a[2];
    qb[i] = q[i][0] * b[0] + q[i][1] * b[1] + q[i][2] * b[2];
  }
  const double p = a[0] * qa[0] + a[1] * qa[1] + a[2] * qa[2];
  const double r = a[0] * qb[0] + a[1] * qb[1] + a[2] * qb[2];
  const double s = b[0] * qb[0] + b[1] * qb[1] + b[2] * qb[2];
  const double mean = (p + s) / 2, radius = std::hypot((p - s) / 2, r);
  // (cos t, sin t) with t = atan2(2r, p - s) / 2 is the eigenvector of the larger eigenvalue.
  const double t = std::atan2(2 * r, p - s) / 2, ct = std::cos(t), st = std::sin(t);
  PlaneForm f;
  f.low = mean - radius;
  f.high = mean + radius;
  for (int i = 0; i < 3; ++i) {
    f.mHigh[i] = ct * a[i] + st * b[i];
    f.mLow[i] = -st * a[i] + ct * b[i];
  }
  return f;
}

/// The eigenvalues (ascending) of a symmetric 3 x 3 matrix by Jacobi rotations, without the
/// eigenvectors.
void SymmetricEigenvalues3(std::array<std::array<double, 3>, 3> a, std::array<double, 3>& values) {
  for (int sweep = 0; sweep < 30; ++sweep) {
    const double off = a[0][1] * a[0][1] + a[0][2] * a[0][2] + a[1][2] * a[1][2];
    const double diagonal = a[0][0] * a[0][0] + a[1][1] * a[1][1] + a[2][2] * a[2][2];
    if (off <= diagonal * 1e-30) break;
    for (int p = 0; p < 2; ++p)
      for (int q = p + 1; q < 3; ++q) {
        if (a[p][q] == 0) continue;
        const double theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
        const double t = (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
        const double c = 1 / std::sqrt(t * t + 1), s = t * c;
        for (int k = 0; k < 3; ++k) {
          const double akp = a[k][p], akq = a[k][q];
          a[k][p] = c * akp - s * akq;
          a[k][q] = s * akp + c * akq;
        }
        for (int k = 0; k < 3; ++k) {
          const double apk = a[p][k], aqk = a[q][k];
          a[p][k] = c * apk - s * aqk;
          a[q][k] = s * apk + c * aqk;
        }
      }
  }
  values = {a[0][0], a[1][1], a[2][2]};
  std::sort(values.begin(), values.end());
}

}  // namespace

template <typename T, int N>
void SymmetricEigen(std::array<std::array<T, N>, N> a, std::array<T, N>& values,
                    std::array<std::array<T, N>, N>& vectors) {
  std::array<std::array<T, N>, N> v{};
  for (int i = 0; i < N; ++i) v[i][i] = 1;
  for (int sweep = 0; sweep < 60; ++sweep) {
    T off = 0, all = 0;
    for (int i = 0; i < N; ++i)
      for (int j = 0; j < N; ++j) {
        all += a[i][j] * a[i][j];
        if (i != j) off += a[i][j] * a[i][j];
      }
    if (off <= all * 100 * std::numeric_limits<T>::epsilon() * std::numeric_limits<T>::epsilon())
      break;
    for (int p = 0; p < N - 1; ++p)
      for (int q = p + 1; q < N; ++q) {
        if (a[p][q] == 0) continue;
        const T theta = (a[q][q] - a[p][p]) / (2 * a[p][q]);
        const T t = (theta >= 0 ? 1 : -1) / (std::fabs(theta) + std::sqrt(theta * theta + 1));
        const T c = 1 / std::sqrt(t * t + 1), s = t * c;
        for (int k = 0; k < N; ++k) {
          const T akp = a[k][p], akq = a[k][q];
          a[k][p] = c * akp - s * akq;
          a[k][q] = s * akp + c * akq;
        }
        for (int k = 0; k < N; ++k) {
          const T apk = a[p][k], aqk = a[q][k];
          a[p][k] = c * apk - s * aqk;
          a[q][k] = s * apk + c * aqk;
        }
        for (int k = 0; k < N; ++k) {
          const T vkp = v[k][p], vkq = v[k][q];
          v[k][p] = c * vkp - s * vkq;
          v[k][q] = s * vkp + c * vkq;
        }
      }
  }
  std::array<int, N> order;
  for (int i = 0; i < N; ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](int x, int y) { return a[x][x] < a[y][y]; });
  for (int k = 0; k < N; ++k) {
    values[k] = a[order[k]][order[k]];
    for (int i = 0; i < N; ++i) vectors[k][i] = v[i][order[k]];
  }
}

template void SymmetricEigen<Real, 6>(std::array<std::array<Real, 6>, 6>, std::array<Real, 6>&,
                                      std::array<std::array<Real, 6>, 6>&);
template void SymmetricEigen<double, 3>(std::array<std::array<double, 3>, 3>,
                                        std::array<double, 3>&,
                                        std::array<std::array<double, 3>, 3>&);

ElasticTensor ElasticTensor::FromStiffness(const Matrix6& cVoigt) {
  ElasticTensor e;
  e.cVoigt_ = cVoigt;
  e.sVoigt_ = InvertVoigt(cVoigt, true);
  e.Complete();
  return e;
}

ElasticTensor ElasticTensor::FromCompliance(const Matrix6& sVoigt) {
  ElasticTensor e;
  e.sVoigt_ = sVoigt;
  e.cVoigt_ = InvertVoigt(sVoigt, false);
  e.Complete();
  return e;
}

ElasticTensor ElasticTensor::FromTensor(const TensorState& t, ElasticRole role, Real unitPascal) {
  if (t.kind != 3)
    throw std::invalid_argument(
        "Elastic properties need a ((ij)(kl)) tensor: a stiffness or a compliance");
  if (!(unitPascal > 0) || !std::isfinite(unitPascal))
    throw std::invalid_argument("The size of the tensor's unit must be a positive number of Pa");
  Matrix6 v{};
  for (int I = 0; I < 6; ++I)
    for (int J = 0; J < 6; ++J) {
      const Real x = t.At(kPair[I][0] + 1, kPair[I][1] + 1, kPair[J][0] + 1, kPair[J][1] + 1);
      // GPa from the unit's Pa; 1/TPa from 1/unit = 1/(unitPascal Pa).
      v[I][J] = role == ElasticRole::Stiffness ? x * unitPascal / 1e9L
                                               : x * ComplianceFactor(I, J) * 1e12L / unitPascal;
    }
  return role == ElasticRole::Stiffness ? FromStiffness(v) : FromCompliance(v);
}

void ElasticTensor::Complete() {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        for (int l = 0; l < 3; ++l) {
          const int I = kVoigt[i][j], J = kVoigt[k][l];
          c_[i][j][k][l] = static_cast<double>(cVoigt_[I][J]);
          s_[i][j][k][l] = static_cast<double>(sVoigt_[I][J] / ComplianceFactor(I, J));
        }
  for (int I = 0; I < 6; ++I)
    for (int J = 0; J < 6; ++J) sv_[I][J] = static_cast<double>(sVoigt_[I][J]);
  Matrix6 mandel{};
  for (int I = 0; I < 6; ++I)
    for (int J = 0; J < 6; ++J) mandel[I][J] = cVoigt_[I][J] * MandelWeight(I) * MandelWeight(J);
  Matrix6 vectors;
  SymmetricEigen<Real, 6>(mandel, eigenvalues_, vectors);
}

double ElasticTensor::Youngs(const Vector3& n) const {
  const double v[6] = {n[0] * n[0], n[1] * n[1], n[2] * n[2],
                       n[1] * n[2], n[0] * n[2], n[0] * n[1]};
  double sum = 0;
  for (int I = 0; I < 6; ++I) {
    double row = sv_[I][I] * v[I];
    for (int J = I + 1; J < 6; ++J) row += 2 * sv_[I][J] * v[J];
    sum += row * v[I];
  }
  return 1000 / sum;
}

double ElasticTensor::LinearCompressibility(const Vector3& n) const {
  double sum = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      sum += (s_[i][j][0][0] + s_[i][j][1][1] + s_[i][j][2][2]) * n[i] * n[j];
  return sum;
}

PerpendicularRange ElasticTensor::Shear(const Vector3& n) const {
  // 1/G(n, m) = 4 s_ijkl n_i m_j n_k m_l / 1000 = m A m with A_jl = 4 s_ijkl n_i n_k.
  double a[3][3] = {};
  for (int j = 0; j < 3; ++j)
    for (int l = j; l < 3; ++l) {
      double sum = 0;
      for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) sum += s_[i][j][k][l] * n[i] * n[k];
      a[j][l] = a[l][j] = 4 * sum;
    }
  Vector3 u, v;
  PerpendicularBasis(n, u, v);
  const PlaneForm f = PlaneExtremes(a, u, v);
  PerpendicularRange r;
  const double gHigh = 1000 / f.low, gLow = 1000 / f.high;
  // A stable tensor has 0 < low <= high; otherwise G changes sign or diverges over m.
  if (gLow <= gHigh) {
    r.min = gLow, r.mMin = f.mHigh, r.max = gHigh, r.mMax = f.mLow;
  } else {
    r.min = gHigh, r.mMin = f.mLow, r.max = gLow, r.mMax = f.mHigh;
  }
  // The mean of 1 / (p cos^2 t + q sin^2 t) over t is 1 / sqrt(p q) for p, q > 0.
  r.mean = f.low > 0 ? 1000 / std::sqrt(f.low * f.high) : std::numeric_limits<double>::quiet_NaN();
  return r;
}

PerpendicularRange ElasticTensor::Poisson(const Vector3& n) const {
  // nu(n, m) = -m B m / s_nnnn with B_kl = s_ijkl n_i n_j.
  double b[3][3] = {};
  for (int k = 0; k < 3; ++k)
    for (int l = k; l < 3; ++l) {
      double sum = 0;
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) sum += s_[i][j][k][l] * n[i] * n[j];
      b[k][l] = b[l][k] = sum;
    }
  double snnnn = 0;
  for (int k = 0; k < 3; ++k)
    for (int l = 0; l < 3; ++l) snnnn += b[k][l] * n[k] * n[l];
  Vector3 u, v;
  PerpendicularBasis(n, u, v);
  const PlaneForm f = PlaneExtremes(b, u, v);
  PerpendicularRange r;
  const double atLow = -f.low / snnnn, atHigh = -f.high / snnnn;
  if (atLow <= atHigh) {
    r.min = atLow, r.mMin = f.mLow, r.max = atHigh, r.mMax = f.mHigh;
  } else {
    r.min = atHigh, r.mMin = f.mHigh, r.max = atLow, r.mMax = f.mLow;
  }
  r.mean = -(f.low + f.high) / (2 * snnnn);
  return r;
}

double ElasticTensor::Shear(const Vector3& n, const Vector3& m) const {
  double sum = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        for (int l = 0; l < 3; ++l) sum += s_[i][j][k][l] * n[i] * m[j] * n[k] * m[l];
  return 1000 / (4 * sum);
}

double ElasticTensor::Poisson(const Vector3& n, const Vector3& m) const {
  double top = 0, bottom = 0;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int k = 0; k < 3; ++k)
        for (int l = 0; l < 3; ++l) {
          top += s_[i][j][k][l] * n[i] * n[j] * m[k] * m[l];
          bottom += s_[i][j][k][l] * n[i] * n[j] * n[k] * n[l];
        }
  return -top / bottom;
}

void ElasticTensor::Christoffel(const Vector3& n, std::array<std::array<double, 3>, 3>& g) const {
  for (int i = 0; i < 3; ++i)
    for (int k = i; k < 3; ++k) {
      double sum = 0;
      for (int j = 0; j < 3; ++j)
        for (int l = 0; l < 3; ++l) sum += c_[i][j][k][l] * n[j] * n[l];
      g[i][k] = g[k][i] = sum;
    }
}

std::array<double, 3> ElasticTensor::Speeds(const Vector3& n, double density) const {
  std::array<std::array<double, 3>, 3> g;
  Christoffel(n, g);
  std::array<double, 3> values;
  SymmetricEigenvalues3(g, values);
  return {std::sqrt(1e3 * values[2] / density), std::sqrt(1e3 * values[1] / density),
          std::sqrt(1e3 * values[0] / density)};
}

SoundWaves ElasticTensor::Waves(const Vector3& n, double density) const {
  // The Christoffel matrix c_ijkl n_j n_l in GPa; rho v^2 = eigenvalue, v in km/s for rho in
  // kg/m^3 is sqrt(1e9 eigenvalue / rho) / 1000.
  std::array<std::array<double, 3>, 3> g;
  Christoffel(n, g);
  std::array<double, 3> values;
  std::array<std::array<double, 3>, 3> vectors;
  SymmetricEigen<double, 3>(g, values, vectors);
  SoundWaves w;
  for (int mode = 0; mode < 3; ++mode) {
    const int k = 2 - mode;  // fastest first
    w.speed[mode] = std::sqrt(1e3 * values[k] / density);
    w.polarisation[mode] = vectors[k];
    // The energy flows along c_ijkl p_i p_k n_l (index j).
    const Vector3& p = vectors[k];
    Vector3 flow{0, 0, 0};
    for (int i = 0; i < 3; ++i)
      for (int j = 0; j < 3; ++j)
        for (int kk = 0; kk < 3; ++kk)
          for (int l = 0; l < 3; ++l) flow[j] += c_[i][j][kk][l] * p[i] * p[kk] * n[l];
    const double length = std::sqrt(Dot(flow, flow));
    const double cosine = std::clamp(Dot(flow, n) / length, -1.0, 1.0);
    w.powerFlowAngle[mode] = std::acos(std::fabs(cosine)) * 180 / M_PI;
  }
  return w;
}

ElasticAverages ElasticTensor::Averages() const {
  const auto& c = cVoigt_;
  const auto& s = sVoigt_;
  const double cAxial = c[0][0] + c[1][1] + c[2][2], cCross = c[0][1] + c[0][2] + c[1][2],
               cShear = c[3][3] + c[4][4] + c[5][5];
  const double sAxial = s[0][0] + s[1][1] + s[2][2], sCross = s[0][1] + s[0][2] + s[1][2],
               sShear = s[3][3] + s[4][4] + s[5][5];
  ElasticAverages a;
  a.voigt.bulk = (cAxial + 2 * cCross) / 9;
  a.voigt.shear = (cAxial - cCross + 3 * cShear) / 15;
  // Compliances in 1/TPa: the factor 1000 gives GPa.
  a.reuss.bulk = 1000 / (sAxial + 2 * sCross);
  a.reuss.shear = 15000 / (4 * sAxial - 4 * sCross + 3 * sShear);
  a.hill.bulk = (a.voigt.bulk + a.reuss.bulk) / 2;
  a.hill.shear = (a.voigt.shear + a.reuss.shear) / 2;
  for (ModulusAverage* m : {&a.voigt, &a.reuss, &a.hill}) {
    m->youngs = 9 * m->bulk * m->shear / (3 * m->bulk + m->shear);
    m->poisson = (3 * m->bulk - 2 * m->shear) / (2 * (3 * m->bulk + m->shear));
  }
  a.universalAnisotropy = 5 * a.voigt.shear / a.reuss.shear + a.voigt.bulk / a.reuss.bulk - 6;
  return a;
}

}  // namespace quillmere
