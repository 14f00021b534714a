// Numbers as the user sees and types them, and as text files hold them.
#pragma once

#include <string>

#include "tensor/tensor_state.h"

namespace quillmere {

/// General format: at most `digits` significant digits, trailing zeros dropped, scientific
/// notation ("1.5E-6") below 0.00001 or with more than `digits` integer digits. The decimal
/// separator is `decimalSeparator`.
std::string FormatGeneral(Real value, char decimalSeparator = '.', int digits = 15);

/// Parses a whole text as a real (blanks around it allowed, '.' or the given separator as the
/// decimal point, optional exponent). Throws std::runtime_error("'<text>' is not a valid
/// floating point value") otherwise.
Real ParseReal(const std::string& text, char decimalSeparator = '.');
/// As ParseReal, but returns false instead of throwing.
bool TryParseReal(const std::string& text, Real& value, char decimalSeparator = '.');

/// "'%s' is not a valid floating point value" with the text in place of %s.
std::string NotAFloatMessage(const std::string& text);

}  // namespace quillmere
