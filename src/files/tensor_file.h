// The tensor data file (*.ten): the program's one tensor as text, in two layouts.
//
// Header layout (written when the point group leaves at least one independent component and
// the components follow from the independent values by the table's walk):
//   Quillmere-Datafile
//   <kind> <pointGroup> <axial 0|1> <scale> <count> <unit text to the end of the line>
//   <independent value 1, relative to 10^exponent>
//   ...                                           (count lines)
// Headerless layout (the older form, written otherwise):
//   <kind> <scale> <rank>
//   <component 11111> ... <component 33333>       (243 lines, absolute, first index slowest)
//   <axial 0|1> <pointGroup> <unit text>          (optional last line)
// Lines end in CR LF; reals stand in a 23-character field (" 3.50000000000000E+0000"). Numbers
// are always written and read with '.' as the decimal point; only the value texts of the
// independent components use the separator of CoreServices, as everywhere the user sees them.
//
// Errors are std::runtime_error with the text the user sees ("File not found", "Invalid numeric
// input", or a sentence naming what the file gets wrong). A read that fails leaves the tensor as
// it was before the call.
#pragma once

#include <filesystem>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>

#include "tensor/tensor_state.h"

namespace quillmere {

struct CoreServices;

/// The first line that selects the header layout (exact letters and case, nothing after it).
inline constexpr const char* kTensorFileHeader = "Quillmere-Datafile";

/// A failure of the file's text, with the line of the number that failed (counted from 1; 0 when
/// the failure is not tied to one line).
class TensorFileError : public std::runtime_error {
 public:
  TensorFileError(const std::string& text, int line) : std::runtime_error(text), line(line) {}
  int line;
};

/// Reads either layout into `t`. The independent values of the header layout become
/// `independentValues` and ApplySymmetry(ApplyTexts) derives every component from them; the
/// headerless layout sets the 243 components directly. With `autoScale` false ("Lock Scale") the
/// tensor keeps its scale and the file's values are converted by `fileScaleFactor` (the ratio of
/// the two scales' powers of ten). Components are reset before the file's values are applied.
void ReadTensorFile(TensorState& t, std::istream& in, const CoreServices& s);
/// Failures name the file: "'<path>': File not found", "... The file is empty", "... This is a
/// folder, not a tensor file", and the reader's texts with their line ("'<path>': Invalid
/// numeric input (line 2)"). A SymmetryTableError passes unchanged: it names the table.
void ReadTensorFile(TensorState& t, const std::filesystem::path& path, const CoreServices& s);

/// Writes `t`, choosing the layout from ApplySymmetry(Describe) (which also fills the labels and
/// value texts of `t` and may show the table's notice). Refuses, before writing anything, a
/// tensor whose scale or components are not finite numbers, since such a file could not be read.
void WriteTensorFile(TensorState& t, std::ostream& out, const CoreServices& s);
/// Writes through a temporary file in the same folder that replaces `path` only when complete,
/// so a failed write keeps the previous file.
void WriteTensorFile(TensorState& t, const std::filesystem::path& path, const CoreServices& s);

/// A real in the file's form: right-aligned in 23 characters, a sign position (blank or '-'),
/// one digit, '.', 14 digits, 'E', the exponent's sign and 4 exponent digits, correctly rounded
/// to 15 significant digits ("-2.50000000000000E-0001").
std::string FormatFileReal(Real value);

}  // namespace quillmere
