// Exact group theory of the 32 crystallographic point groups acting on Cartesian property
// tensors: the symmetry operations in the usual axis settings of crystal physics, the intrinsic
// index symmetries of the tensor kinds, the independent components that both leave, and the
// relation texts of the symmetry table that encode them.
//
// Everything is exact: rotations are held as 2R with entries a + b*sqrt(3) (a, b integers), and
// the invariant subspace is solved by integer row reduction with overflow checks. Failures
// (an overflow, a table limit exceeded) throw std::runtime_error.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace quillmere::group_theory {

/// a + b*sqrt(3) with integer a and b.
struct Sqrt3Integer {
  long long a = 0;
  long long b = 0;
  friend bool operator==(const Sqrt3Integer&, const Sqrt3Integer&) = default;
};

/// A point operation R in the Cartesian crystal frame, held as 2R: every entry of a
/// crystallographic operation in the settings used here is 0, +-1, +-1/2 or +-sqrt(3)/2.
/// twice[i][j] is row i, column j (indices 0..2); R maps column vectors.
struct Operation {
  std::array<std::array<Sqrt3Integer, 3>, 3> twice{};
  int determinant = 1;  ///< +1 for a rotation, -1 for an improper operation
  friend bool operator==(const Operation&, const Operation&) = default;
};

/// The product a*b (b applied first).
Operation Compose(const Operation& a, const Operation& b);

/// Generators of point group `number` (1..32, the program's numbering) in the settings of the
/// standard tables (Nye, "Physical Properties of Crystals"; International Tables vol. D):
/// monoclinic 2-fold along x2; orthorhombic axes along the 2-folds, mm2 with its 2-fold along
/// x3; tetragonal, trigonal and hexagonal principal axis along x3; 422, 622, 32, -3m, -42m and
/// -62m with a 2-fold along x1; 4mm, 6mm and 3m with a mirror perpendicular to x1; cubic axes
/// along the 2-folds or 4-folds, a 3-fold along [111].
std::vector<Operation> PointGroupGenerators(int number);
/// Every element of the group (closure of its generators), the identity first.
std::vector<Operation> PointGroupElements(int number);

/// The intrinsic index symmetry of a tensor kind and the walk order of its components.
/// Components are numbered by their storage offset within the kind's rank: the digits of the
/// offset in base 3 are the indices minus 1, the first index slowest.
struct KindSymmetry {
  int code = 0;
  int rank = 1;
  int componentCount = 3;  ///< 3^rank
  /// One representative offset per symmetry class that can be non-zero, in walk order.
  std::vector<int> walk;
  /// Per component offset: its class as a position in `walk`, or -1 for a component that the
  /// index symmetry forces to zero (the diagonal of an antisymmetric pair).
  std::vector<int> classOf;
  /// Per component offset: +1 or -1, the component's value relative to its representative.
  std::vector<int> signOf;
};

/// The kind with this code (0..10, 12). The walk follows the full component grid row by row,
/// within a row column by column, keeping the first component of each class. Kind 12 has no
/// grid; its walk is the components Tijk with i < j in the order of (i, j, k), k fastest:
/// 121, 122, 123, 131, 132, 133, 231, 232, 233.
KindSymmetry MakeKindSymmetry(int code);

/// The index digits of a component offset ("1213").
std::string IndexDigits(const KindSymmetry& kind, int offset);

/// A dependent component: denominator * T[component] = sum of numerator * T[independent].
struct Dependent {
  int component = 0;  ///< position in the walk
  long long denominator = 1;
  /// (position in the walk of an independent component, numerator), ascending positions, all
  /// numerators non-zero; every position lies before `component`.
  std::vector<std::pair<int, long long>> terms;
};

/// The tensors of a kind that a group leaves invariant, described by the walk: a component is
/// independent when its value is not fixed by the components before it.
struct InvariantSolution {
  std::vector<int> independent;  ///< positions in the walk, ascending
  /// Every non-zero component that is not independent, ascending positions in the walk.
  std::vector<Dependent> dependents;
};

/// Solves T = det(R)^axial * (R x ... x R) T for every generator R, within the kind's index
/// symmetry.
InvariantSolution SolveInvariants(const KindSymmetry& kind,
                                  const std::vector<Operation>& generators, bool axial);

/// Most independent components that a table entry lists; more are marked "?".
constexpr int kMaxTableIndependent = 50;
/// Most terms in one relation of a table entry.
constexpr int kMaxTableTerms = 50;

/// The relations of a solution in the table's notation (relations separated by ',', terms by
/// '='). The walk reads a relation as follows: its first term names the independent component X
/// and starts the running sum S = X; a sum term &f*Z adds f*Z to S; a later plain term f*Y sets
/// Y = S / f. So a dependent D*Y = sum n_p*T_p is written as sum terms that bring S to
/// k*(sum n_p*T_p) followed by the plain term (k*D)*Y, for an integer k chosen to need the
/// fewest sum terms. "1111=2222,1122=&-1111=-2*1212" gives T2222 = T1111 and
/// -2*T1212 = T1122 - T1111, i.e. T1212 = (T1111 - T1122)/2.
/// Each dependent component is written in the relation of the last independent component it
/// depends on, so every component a sum term reads has been set before; zero components are
/// not written (the walk starts from a zeroed tensor).
std::string RelationText(const KindSymmetry& kind, const InvariantSolution& solution);

/// The relation text of one combination: "%" when no non-zero tensor remains, "?" when more
/// than kMaxTableIndependent components are independent, else the relations.
std::string TableEntryText(int pointGroup, int kindCode, bool axial);

/// The whole table: point groups 1..32, kinds in code order, polar before axial; each line
/// "<group> <kind> <axial> <relations>" ending in CR LF.
std::string TableText();

}  // namespace quillmere::group_theory
