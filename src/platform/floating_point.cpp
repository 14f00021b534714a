#include "platform/floating_point.h"

#include <cfenv>

namespace quillmere {

void MaskFloatingPointTraps() {
  std::feclearexcept(FE_ALL_EXCEPT);
  // The default environment masks every exception and rounds to nearest; on x86 it also sets
  // the x87 unit to its 64-bit mantissa, which the extended numbers of the tensor need.
  std::fesetenv(FE_DFL_ENV);
#if defined(__GLIBC__)
  // Traps a library may have enabled since are masked again.
  fedisableexcept(FE_ALL_EXCEPT);
#endif
  std::fesetround(FE_TONEAREST);
}

void RestoreFloatingPointDefaults() {
  std::fesetenv(FE_DFL_ENV);
}

}  // namespace quillmere
