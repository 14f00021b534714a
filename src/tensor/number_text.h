// Numbers as the user sees and types them, and as text files hold them.
#pragma once

#include <cfloat>
#include <string>

#include "tensor/tensor_state.h"

namespace quillmere {

/// General format: at most `digits` significant digits, trailing zeros dropped, scientific
/// notation ("1.5E-6") below 0.00001 or with more than `digits` integer digits. The decimal
/// separator is `decimalSeparator`.
std::string FormatGeneral(Real value, char decimalSeparator = '.', int digits = 15);

/// The largest magnitude of a number the user gives the program: the drawing, the maps and the
/// exports compute in double, so a larger number could be held but never shown or written.
inline constexpr Real kLargestGivenNumber = static_cast<Real>(DBL_MAX);

/// Parses a whole text as a real (blanks around it allowed, '.' or the given separator as the
/// decimal point, optional exponent) of magnitude at most kLargestGivenNumber; a smaller number
/// than the smallest the program holds is zero. Throws std::runtime_error("'<text>' is not a
/// valid floating point value") otherwise. Every grid, field and option that takes a number reads
/// it through here.
Real ParseReal(const std::string& text, char decimalSeparator = '.');
/// As ParseReal, but returns false instead of throwing.
bool TryParseReal(const std::string& text, Real& value, char decimalSeparator = '.');
/// As TryParseReal and ParseReal, but over the whole range of the extended numbers: for the
/// tensor file and the texts the program makes of its own values, which are kept as they are,
/// drawable or not (the drawing refuses what it cannot hold).
bool TryParseExtendedReal(const std::string& text, Real& value, char decimalSeparator = '.');
Real ParseExtendedReal(const std::string& text, char decimalSeparator = '.');

/// "'%s' is not a valid floating point value" with the text in place of %s.
std::string NotAFloatMessage(const std::string& text);

}  // namespace quillmere
