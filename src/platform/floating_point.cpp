#include "platform/floating_point.h"

#include <cfenv>

#if defined(__x86_64__) || defined(__i386__)
#include <fpu_control.h>
#endif

namespace quillmere {

void MaskFloatingPointTraps() {
  std::feclearexcept(FE_ALL_EXCEPT);
#if defined(__GLIBC__)
  fedisableexcept(FE_ALL_EXCEPT);
#endif
  std::fesetround(FE_TONEAREST);
#if defined(__x86_64__) || defined(__i386__)
  // x87 control word: all six exceptions masked, 64-bit mantissa, round to nearest.
  fpu_control_t cw = 0;
  _FPU_GETCW(cw);
  cw |= _FPU_MASK_IM | _FPU_MASK_DM | _FPU_MASK_ZM | _FPU_MASK_OM | _FPU_MASK_UM | _FPU_MASK_PM;
  cw = (cw & ~_FPU_EXTENDED) | _FPU_EXTENDED;
  cw = (cw & ~(_FPU_RC_DOWN | _FPU_RC_UP | _FPU_RC_ZERO)) | _FPU_RC_NEAREST;
  _FPU_SETCW(cw);
#endif
}

void RestoreFloatingPointDefaults() {
  std::fesetenv(FE_DFL_ENV);
}

}  // namespace quillmere
