// The floating-point environment of the program's life: every exception masked (invalid
// operation, denormal, division by zero, overflow, underflow, inexact), 64-bit mantissa
// precision of the x87 unit that long double arithmetic uses, and rounding to nearest, so that a
// numeric fault gives an infinity or a not-a-number value instead of a trap.
#pragma once

namespace quillmere {

/// Masks all floating-point traps, selects extended precision and rounding to nearest.
void MaskFloatingPointTraps();

/// Puts back the environment the program started with (the platform's default).
void RestoreFloatingPointDefaults();

}  // namespace quillmere
