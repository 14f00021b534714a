// The elastic constants of a crystal as stiffness c and compliance s, and the properties that
// follow from them along a direction: Young's modulus, linear compressibility, shear modulus and
// Poisson's ratio (with their extremes and mean over the perpendicular direction m), and the
// phase velocities of sound.
//
// Conventions: Voigt numbers 1..6 stand for the index pairs 11, 22, 33, 23, 13, 12. The Voigt
// stiffness is c_IJ = c_ijkl; the Voigt compliance is s_IJ = f s_ijkl with f = 1 when both I
// and J are 1..3, 2 when one of them is 4..6 and 4 when both are. The inversion and the
// stability eigenvalues use the Mandel form, where each shear row and column carries sqrt(2):
// there c and s are inverse matrices and their eigenvalues are those of the fourth-rank tensor.
//
// Units: stiffness in GPa, compliance in 1/TPa, moduli in GPa, compressibility in 1/TPa,
// velocities in km/s, density in kg/m^3. Directions are unit vectors of the crystal frame.
#pragma once

#include <array>

#include "surface/derived_surface.h"
#include "tensor/tensor_state.h"

namespace quillmere {

using Matrix6 = std::array<std::array<Real, 6>, 6>;
using Vector3 = Vector3d;

/// What the components of a ((ij)(kl)) tensor are.
enum class ElasticRole { Stiffness, Compliance };

/// The minimum, maximum and mean of a property over the directions m perpendicular to n, with
/// the m where the minimum and the maximum are reached.
struct PerpendicularRange {
  double min = 0, max = 0, mean = 0;
  Vector3 mMin{}, mMax{};
};

/// The three sound waves along n, fastest first: quasi-longitudinal p, fast shear s1, slow
/// shear s2, with their polarisations and the power-flow angle (between the wave normal and the
/// group velocity, degrees).
struct SoundWaves {
  std::array<double, 3> speed{};  ///< km/s
  std::array<Vector3, 3> polarisation{};
  std::array<double, 3> powerFlowAngle{};
};

struct ModulusAverage {
  double bulk = 0, shear = 0, youngs = 0, poisson = 0;
};

struct ElasticAverages {
  ModulusAverage voigt, reuss, hill;
  double universalAnisotropy = 0;  ///< A^U = 5 G_V / G_R + K_V / K_R - 6
};

class ElasticTensor {
 public:
  /// From the Voigt stiffness in GPa. Throws std::runtime_error when it cannot be inverted.
  static ElasticTensor FromStiffness(const Matrix6& cVoigt);
  /// From the Voigt compliance in 1/TPa. Throws std::runtime_error when it cannot be inverted.
  static ElasticTensor FromCompliance(const Matrix6& sVoigt);
  /// From a ((ij)(kl)) tensor whose components are in a unit of `unitPascal` Pa (a stiffness)
  /// or 1/`unitPascal` per Pa (a compliance). Throws std::invalid_argument for another kind.
  static ElasticTensor FromTensor(const TensorState& t, ElasticRole role, Real unitPascal);

  const Matrix6& StiffnessVoigt() const { return cVoigt_; }   ///< GPa
  const Matrix6& ComplianceVoigt() const { return sVoigt_; }  ///< 1/TPa
  /// c_ijkl in GPa and s_ijkl in 1/TPa, indices 0..2.
  double C(int i, int j, int k, int l) const { return c_[i][j][k][l]; }
  double S(int i, int j, int k, int l) const { return s_[i][j][k][l]; }

  /// Eigenvalues of the Mandel stiffness in GPa, ascending.
  const std::array<Real, 6>& Eigenvalues() const { return eigenvalues_; }
  /// True when every eigenvalue of the Mandel stiffness is positive.
  bool Stable() const { return eigenvalues_[0] > 0; }

  double Youngs(const Vector3& n) const;                 ///< GPa
  double LinearCompressibility(const Vector3& n) const;  ///< 1/TPa
  PerpendicularRange Shear(const Vector3& n) const;      ///< GPa
  PerpendicularRange Poisson(const Vector3& n) const;
  /// G(n, m) and nu(n, m) for one m perpendicular to n.
  double Shear(const Vector3& n, const Vector3& m) const;
  double Poisson(const Vector3& n, const Vector3& m) const;
  SoundWaves Waves(const Vector3& n, double density) const;
  /// The three speeds of Waves alone (km/s, fastest first), without polarisations.
  std::array<double, 3> Speeds(const Vector3& n, double density) const;

  ElasticAverages Averages() const;

 private:
  void Complete();
  Matrix6 cVoigt_{}, sVoigt_{};
  std::array<Real, 6> eigenvalues_{};
  double c_[3][3][3][3] = {}, s_[3][3][3][3] = {};
  /// The Voigt compliance in double: s_nnnn = v sVoigt v with v = (n1^2, n2^2, n3^2, n2 n3,
  /// n1 n3, n1 n2), 21 products instead of 81.
  double sv_[6][6] = {};
  /// The Christoffel matrix c_ijkl n_j n_l.
  void Christoffel(const Vector3& n, std::array<std::array<double, 3>, 3>& g) const;
};

/// Eigenvalues (ascending) and unit eigenvectors (vectors[k] belongs to values[k]) of a
/// symmetric matrix, by Jacobi rotations.
template <typename T, int N>
void SymmetricEigen(std::array<std::array<T, N>, N> a, std::array<T, N>& values,
                    std::array<std::array<T, N>, N>& vectors);

}  // namespace quillmere
