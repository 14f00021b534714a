// The one current tensor of the program, its kinds, point groups, index notations and the
// small number helpers that every subsystem uses.
//
// Error policy of the core library (all of src/tensor, surface, files, fit, update and the
// non-GUI part of app): failures are thrown as standard exceptions (std::runtime_error and
// derived) whose what() is the text the user sees ("File not found", "Invalid numeric input",
// "'abc' is not a valid floating point value"). The program's own notices and questions go
// through UserMessages (app/user_messages.h). Nothing in the core shows a window.
#pragma once

#include <array>
#include <string>

namespace quillmere {

/// Extended precision (64-bit mantissa on x86-64), used for all tensor arithmetic.
using Real = long double;

constexpr int kMaxIndependent = 50;    ///< capacity of the label and value texts
constexpr int kMaxFitComponents = 21;  ///< capacity of coefficientSums and independentInput
constexpr int kComponentCount = 243;   ///< 3^5

/// Five indices i1..i5, each 1..3; indices beyond the rank are 1.
struct TensorIndices {
  int i[5] = {1, 1, 1, 1, 1};
};

/// Position of components[i1][i2][i3][i4][i5] (indices 1..3) in storage order: the first index
/// varies slowest, the fifth fastest.
constexpr int ComponentOffset(int i1, int i2 = 1, int i3 = 1, int i4 = 1, int i5 = 1) {
  return ((((i1 - 1) * 3 + (i2 - 1)) * 3 + (i3 - 1)) * 3 + (i4 - 1)) * 3 + (i5 - 1);
}

struct TensorState {
  int kind = 0;        ///< tensor kind code (0..10, 12)
  int rank = 1;        ///< 1..5, always the rank of `kind`
  int pointGroup = 2;  ///< 0..32, 0 = none
  bool axial = false;  ///< false: polar, true: axial
  /// Components in absolute units, storage order of ComponentOffset (first index slowest).
  std::array<Real, kComponentCount> components{};
  Real scale =
      1.0L;  ///< surface radius = value / scale; components shown as multiples of 10^exponent
  int exponent = 0;  ///< last exponent derived by DecadeOf
  std::string unitText;
  int gridColumns = 3;
  int gridRows = 1;
  bool autoScale = true;
  Real previousScale = 1.0L;
  Real fileScaleFactor = 1.0L;
  int independentCount = 0;
  /// Numbered 1..50; entry 0 is unused so that the numbers are those of the table's relations.
  std::array<std::string, kMaxIndependent + 1> independentLabels;
  std::array<std::string, kMaxIndependent + 1> independentValues;
  /// Numbered 1..21; entry 0 unused.
  std::array<Real, kMaxFitComponents + 1> coefficientSums{};
  std::array<Real, kMaxFitComponents + 1> independentInput{};

  /// components[i1][i2][i3][i4][i5], indices 1..3.
  Real& At(int i1, int i2 = 1, int i3 = 1, int i4 = 1, int i5 = 1) {
    return components[ComponentOffset(i1, i2, i3, i4, i5)];
  }
  Real At(int i1, int i2 = 1, int i3 = 1, int i4 = 1, int i5 = 1) const {
    return components[ComponentOffset(i1, i2, i3, i4, i5)];
  }
  Real& At(const TensorIndices& x) { return At(x.i[0], x.i[1], x.i[2], x.i[3], x.i[4]); }
  Real At(const TensorIndices& x) const { return At(x.i[0], x.i[1], x.i[2], x.i[3], x.i[4]); }
};

// ---- Tensor kinds --------------------------------------------------------------------------

struct TensorKindInfo {
  int code;
  const char* caption;  ///< "(ij)(kl)": parentheses symmetric pair, brackets antisymmetric
  int rank;
  int gridColumns;  ///< 0 when the kind has no component-grid shape (code 12)
  int gridRows;
};

constexpr int kKindCount = 12;

/// The kinds in offering order (list index 0..11).
const std::array<TensorKindInfo, kKindCount>& TensorKinds();
/// The kind with this code, or nullptr for an unassigned code (11, negative, above 12).
const TensorKindInfo* FindKind(int code);
/// Offering-order index of a kind code, -1 when unknown.
int KindListIndex(int code);
/// Rank of a kind code (0 when unknown).
int RankOfKind(int code);
/// Sets kind and rank together.
void SetKind(TensorState& t, int code);

// ---- Point groups ---------------------------------------------------------------------------

struct PointGroupInfo {
  int number;                 ///< 1..32
  const char* storedName;     ///< "4b2": a "b" as second character marks a bar over the first
  const char* crystalSystem;  ///< "triclinic", ..., "cubic"
  const char*
      conventional;  ///< Hermann-Mauguin symbol in plain text, bar written as a leading '-': "-42m"
};

constexpr int kPointGroupCount = 32;
/// Point groups 1..32 (index 0 of the array is group 1).
const std::array<PointGroupInfo, kPointGroupCount>& PointGroups();
/// Stored name of a group number; number 0 (and anything unknown) gives " ".
std::string PointGroupName(int number);
/// Displayed text of a stored name: the bar marker "b" in second place removed ("4b2" -> "42"),
/// with `barred` telling whether a bar belongs over the first character.
std::string DisplayedGroupName(const std::string& storedName, bool* barred);
/// Displayed name with a combining overline (U+0305) after the first character, for plain text
/// output ("4̄2").
std::string GroupNameWithOverline(int number);

// ---- Number helpers -------------------------------------------------------------------------

/// 1 when x >= 0, else -1.
Real Sign(Real x);
/// ln(x) / ln(10).
Real Log10(Real x);
/// b raised to the real power e, with the sign rules for a negative base (see the .cpp).
Real Power(Real b, Real e);
/// Rounds to the nearest integer, halves to the even neighbour.
long long RoundHalfEven(Real x);
/// e = round(Log10(|x|)) for x != 0, else 0; stores e in t.exponent and returns 10^e.
Real DecadeOf(TensorState& t, Real x);
/// Exponent that DecadeOf would store, without touching any state.
int DecadeExponent(Real x);

// ---- Index notation -------------------------------------------------------------------------

/// Voigt number 1..6 -> (i, j): 1=11 2=22 3=33 4=23 5=13 6=12; out of range -> (1, 1).
void VoigtPair(int n, int& i, int& j);
/// Pair number 1..9, row-major: 1=11 2=12 ... 9=33; out of range -> (1, 1).
void IndexPair(int n, int& i, int& j);
/// Triple number 1..27: block b = third index, remainder a pair number; out of range -> (1,1,1).
void IndexTriple(int n, int& i, int& j, int& k);

/// Sets t.gridColumns/gridRows from the kind table; a kind without a shape keeps them.
void ComponentGridShape(TensorState& t, int kind);

struct GridCell {
  std::string columnLabel;
  std::string rowLabel;
  TensorIndices indices;
};
/// The tensor indices and header texts of cell (row, column) of the full component grid; rows
/// and columns are numbered from 1.
GridCell ComponentGridCell(int kind, int row, int column);

// ---- Component operations -------------------------------------------------------------------

/// Sets all 243 components to 0; nothing else changes.
void ResetComponents(TensorState& t);
/// Copies components[i1][i2][i3][i4][1] to every component that the kind's index symmetry makes
/// equal to it (negated for the antisymmetric pair of kind 12).
void CopyToPartners(TensorState& t, int i1, int i2, int i3, int i4);
/// Adds to `accumulator` the values of the other components of the symmetry class of
/// components[i1][i2][i3][i4][1]; for kind 3 each distinct index order is counted once.
void AddPartners(const TensorState& t, int i1, int i2, int i3, int i4, Real& accumulator);

/// The largest absolute component of the tensor.
Real LargestAbsoluteComponent(const TensorState& t);

}  // namespace quillmere
