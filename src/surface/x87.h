// Extended-precision arithmetic on the x87 unit kept fast. Loading or storing an 80-bit number
// takes many times as long as an arithmetic step on this unit, and the compiler, short of the
// unit's eight stack places, spills long double values as 80-bit numbers. The loops that must
// give exactly the bits of their plain long double versions (the scene build, the projection)
// therefore hold the extended numbers they read as pairs of doubles that add up to them
// exactly, and use the small pieces below. Each names only instructions the compiler itself
// uses for long double; a volatile one is kept in its place, in the order written, which keeps
// the compiler from working out many values ahead and holding them at once.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstring>

#include "tensor/tensor_state.h"

#if LDBL_MANT_DIG == 64 && (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
#define QUILLMERE_X87 1

namespace quillmere::x87 {

/// v = hi + lo exactly, with hi and lo doubles.
struct SplitReal {
  double hi = 0, lo = 0;
};

/// Splits v into two doubles that add up to exactly v; false when that is not possible (beyond
/// the range of a double, or so small that the low part would lose bits).
inline bool Split(Real v, SplitReal& out) {
  out.hi = static_cast<double>(v);
  if (!std::isfinite(out.hi)) return false;
  out.lo = static_cast<double>(v - out.hi);
  const Real back = static_cast<Real>(out.hi) + static_cast<Real>(out.lo);
  return std::memcmp(&back, &v, 10) == 0;
}

inline Real Load(const SplitReal& v) {
  Real r;
  asm volatile("fldl %1\n\tfaddl %2" : "=t"(r) : "m"(v.hi), "m"(v.lo));
  return r;
}
/// A load the compiler may not merge with an equal one (so that it does not keep the value, or
/// powers made from it, in a register for long).
inline Real LoadApart(const double& v) {
  Real r;
  asm volatile("fldl %1" : "=t"(r) : "m"(v));
  return r;
}
/// sum + term, in the order written: the compiler would otherwise work out all terms first and
/// keep them in memory.
inline Real Add(Real sum, Real term) {
  Real r;
  asm volatile("faddp" : "=t"(r) : "0"(sum), "u"(term) : "st(1)");
  return r;
}
inline Real Times(Real v, const float& m) {
  asm("fmuls %1" : "+t"(v) : "m"(m));
  return v;
}
inline Real Times(Real v, const double& m) {
  asm("fmull %1" : "+t"(v) : "m"(m));
  return v;
}

/// v rounded to the nearest integer, halves to even (the unit's rounding, as RoundToEven), for
/// |v| < 2^62.
inline long long RoundToEven(Real v) {
  long long r;
  asm("fistpll %0" : "=m"(r) : "t"(v) : "st");
  return r;
}

}  // namespace quillmere::x87

#endif
