// The tensor as the matrix the literature prints: Voigt matrices c_IJ, s_IJ, d_iJ, e_iJ and the
// index-grid matrices of the kinds without a symmetric pair, in either factor convention.
//
// A symmetric pair ij becomes one Voigt number I (11=1 22=2 33=3 23=4 13=5 12=6). In the
// stiffness-type convention a matrix coefficient is the tensor component (c_IJ = c_ijkl,
// e_iJ = e_ijk). In the compliance-type convention each shear index (I = 4, 5, 6) of a pair that
// carries the factor doubles the coefficient: s_IJ = s_ijkl times 1, 2 or 4, d_iJ = d_ijk times
// 1 or 2. Which pairs carry it depends on the kind (VoigtFactorPairs): both pairs of
// "((ij)(kl))", the pair of "(ij)", "(ij)k", "i(jk)" and "(ij)kl", and for "(ij)(kl)" only the
// second pair, as the piezo-optic coefficients are written. Kinds without a symmetric pair have
// one convention: the matrix is the component grid.
//
// Matrix values are absolute (the tensor's unit, not divided by 10^exponent). Rows and columns
// are laid out as the full component grid lays them out (FullGridCellOf), numbered from 1.
// Errors are std::runtime_error with the text the user sees.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tensor/tensor_state.h"

namespace quillmere {

enum class VoigtConvention {
  Stiffness,   ///< no factors: c, e, p, r
  Compliance,  ///< factors 2 and 4 on shear indices: s, d, pi
};

/// "stiffness-type (no factors: c, e)" or "compliance-type (factors 2 and 4: s, d)".
std::string ConventionCaption(VoigtConvention convention);
/// "stiffness" or "compliance": the word of the command line and the matrix files.
std::string ConventionWord(VoigtConvention convention);
/// Parses "stiffness"/"compliance" (also "c"/"s"); nullopt otherwise.
std::optional<VoigtConvention> ParseConventionWord(const std::string& word);

/// The convention a unit text points to: an inverse unit ("1/GPa", "GPa^-1", "TPa-1", "m^2/N",
/// "pC/N", "pm/V") is compliance-type, a modulus or a charge per area ("GPa", "N/m^2", "C/m^2")
/// stiffness-type; nullopt when the text does not tell.
std::optional<VoigtConvention> ConventionFromUnit(const std::string& unitText);

/// Whether the kind has a pair that carries factors, so that the convention changes the matrix.
bool ConventionMatters(int kind);

/// A matrix with 1-based (row, column) access.
struct VoigtMatrix {
  int rows = 0;
  int columns = 0;
  std::vector<Real> values;  ///< row by row

  VoigtMatrix() = default;
  VoigtMatrix(int r, int c) : rows(r), columns(c), values(static_cast<std::size_t>(r) * c, 0) {}
  Real& operator()(int r, int c) {
    return values[static_cast<std::size_t>(r - 1) * columns + c - 1];
  }
  Real operator()(int r, int c) const {
    return values[static_cast<std::size_t>(r - 1) * columns + c - 1];
  }
};

/// Rows and columns of the kind's matrix form ({0, 0} for an unknown kind).
VoigtMatrix EmptyVoigtMatrix(int kind);

/// Header texts of the matrix form: a Voigt number ("4") for a contracted pair, the index
/// digits otherwise ("23", "3").
std::string VoigtRowLabel(int kind, int row);
std::string VoigtColumnLabel(int kind, int column);

/// The factor (1, 2 or 4) between the matrix coefficient of cell (row, column) and the tensor
/// component in `convention`.
int VoigtFactor(int kind, int row, int column, VoigtConvention convention);

/// Whether cell (row, column) is one the reader takes (false for the mirror cells of the
/// symmetric "((ij)(kl))" matrix and the cells of "[ij]k" that the antisymmetry fills).
bool VoigtCellIndependent(int kind, int row, int column);

/// The tensor's matrix in `convention`.
VoigtMatrix ToVoigtMatrix(const TensorState& t, VoigtConvention convention);

/// Sets every component of `t` from the matrix of its kind: components are reset, each
/// independent cell divided by its factor and copied to its index-symmetry partners. Refuses,
/// before changing anything, a matrix of the wrong size, a non-finite value, and a mirror cell
/// that differs from the cell it mirrors by more than `relativeTolerance` of the largest
/// coefficient ("row 4, column 1: 0.5 differs from row 1, column 4: 0.7; the matrix must be
/// symmetric"). Kind, group, scale and unit stay.
void SetFromVoigtMatrix(TensorState& t, const VoigtMatrix& m, VoigtConvention convention,
                        Real relativeTolerance = 1e-6L);

// ---- Matrix text -------------------------------------------------------------------------

/// One row of numbers as read from text, with the line it stood on.
struct MatrixTextRow {
  long long line = 0;
  std::vector<Real> values;
};

/// Reads rows of numbers separated by blanks, tabs, commas or semicolons; empty lines and lines
/// starting with '#' are skipped, and so is a bracket ('[', ']') around a row. A token that is
/// not a number throws "line N: 'x' is not a number".
std::vector<MatrixTextRow> ReadMatrixRows(const std::string& text);

/// Shapes read rows into the kind's matrix: the full matrix; for a non-square form also its
/// transpose (3 rows of 6 for a 6 x 3 form); for the symmetric "((ij)(kl))" also the upper
/// triangle (6, 5, ..., 1 numbers) or the lower one (1, 2, ..., 6). Anything else throws a
/// message naming the line that does not fit ("line 3: 6 numbers expected, found 5") or the
/// count of rows.
VoigtMatrix ShapeMatrixRows(int kind, const std::vector<MatrixTextRow>& rows);

/// The matrix as text: a first line "# <convention caption>, unit <unit> x 10^<e>", then one row
/// a line, values divided by 10^exponent of the scale; `separator` between values (", " for
/// CSV, "  " for text).
std::string FormatMatrixText(const TensorState& t, VoigtConvention convention,
                             const std::string& separator);
/// The matrix as a JSON object: "kind", "convention", "unit", "power_of_ten" and "matrix" (a
/// list of rows, values divided by 10^power_of_ten).
std::string FormatMatrixJson(const TensorState& t, VoigtConvention convention);

}  // namespace quillmere
