// The symmetry table tensor.tab: which components of a kind are independent in a point group,
// and the walk that derives every other component from them.
//
// Table entry: "<pointGroup> <kind> <axial> <relations>"; relations separated by ',', terms of a
// relation by '='; a term is [&][-][factor*]digits. The first term of a relation is the
// independent component; a later plain term with factor f names Y with f*Y = S, S being the
// running sum of the relation (its first component plus f*Z for every sum term &f*Z so far).
#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tensor/tensor_state.h"

namespace quillmere {

struct CoreServices;

enum class SymmetryMode {
  Describe,         ///< fill labels and value texts; no component changes
  UnitValues,       ///< set every independent component to 1 and derive the others
  CoefficientSums,  ///< coefficients of each independent component in a weighted sum (the fit)
  ApplyTexts,       ///< set independent components from their value texts and derive the others
  /// As ApplyTexts, for texts the user typed: a number beyond what the drawing holds
  /// (TryParseReal) is refused as a text that is no number.
  ApplyTypedTexts,
};

/// The parsed form of one term.
struct SymmetryTerm {
  bool sum = false;
  long long factor = 1;
  TensorIndices indices;
  std::string indexText;  ///< the term with its prefixes removed
};

/// A failure of the symmetry table itself (missing, unreadable, damaged), as opposed to the
/// tensor or file that asked for it. Its text names the table's path.
class SymmetryTableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Relation text of the first entry of `table` matching the three numbers, "?" when none does.
/// Throws std::runtime_error("Invalid numeric input") on an entry whose numbers are not numbers.
std::string FindSymmetryLine(std::istream& table, int pointGroup, int kind, bool axial);
/// Opens the file; throws SymmetryTableError("'<path>': File not found (...)") naming the table
/// and the folder searched when it cannot be opened, and names the table in its other failures.
std::string FindSymmetryLine(const CoreServices& services, int pointGroup, int kind, bool axial);

/// 0 for a text containing '%', -1 for one containing '?', else the number of relations
/// (relations are returned in `relations`, numbered from 0 here).
int SplitRelations(const std::string& text, std::vector<std::string>& relations);
std::vector<std::string> SplitTerms(const std::string& relation);
/// Throws std::runtime_error when the factor is not an integer or an index digit is not 1..3.
SymmetryTerm ParseTerm(const std::string& term);

/// One entry of the table as read from the file: its relation text ("?" when the table has
/// none) and the 1-based line it stands on (0 when none).
struct SymmetryEntry {
  std::string text = "?";
  long long line = 0;
};

/// Reads the entry of (pointGroup, kind, axial); throws as FindSymmetryLine does.
SymmetryEntry ReadSymmetryEntry(const CoreServices& services, int pointGroup, int kind, bool axial);

/// ApplySymmetry on an entry read before: for a caller that walks one entry many times in one
/// use of the table (a fit run), so the file is read once.
int ApplySymmetryEntry(TensorState& t, SymmetryMode mode, const SymmetryEntry& entry,
                       const CoreServices& services);

/// Looks up (pointGroup, kind, axial) of `t` in the table and walks it in `mode`. Returns the
/// count (also stored in t.independentCount); 0 and -1 are the table's "does not exist" and
/// "no entry" results, shown through services.messages. Throws on a missing table, a damaged
/// entry (with the entry named) and, in ApplyTexts and ApplyTypedTexts, a value text that is not a
/// number.
///
/// CoefficientSums: coefficientSums[n] := sum over all 243 positions of W[c] * B_n[c], where W
/// is `components` on entry and B_n the tensor the walk derives with independent component n at
/// 1 and all others at 0. So with W the products of measuring direction cosines, coefficientSums
/// are exactly the coefficients of the independent components in the predicted value.
int ApplySymmetry(TensorState& t, SymmetryMode mode, const CoreServices& services);

/// The same walk over a relation text that the caller already has (no file access, no
/// messages); returns the count as SplitRelations does.
int ApplySymmetryToText(TensorState& t, SymmetryMode mode, const std::string& relationText,
                        char decimalSeparator = '.');

}  // namespace quillmere
