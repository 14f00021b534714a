#include "fit/fixed_directions.h"

#include <cmath>

#include "tensor/number_text.h"

namespace quillmere {

namespace {

/// The first `count` characters of a UTF-8 text (a character is never cut in two).
std::string FirstCharacters(const std::string& text, int count) {
  std::size_t end = 0;
  for (int n = 0; n < count && end < text.size(); ++n) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

}  // namespace

std::string UndefinedDirectionMessage(int position) {
  return "the direction for index" + std::to_string(position) + " is undefined";
}

int IndexPositionOf(const std::string& text) {
  for (int p = 1; p <= 5; ++p)
    if (text == kIndexPositionNames[p - 1] || text == std::to_string(p)) return p;
  return 0;
}

bool FixDirection(SurfaceEvaluation& e, int position, Real u1, Real u2, Real u3) {
  if (position < 1 || position > 5) return false;
  FixedDirection& record = e.fixedDirections[position - 1];
  float* u = record.u;
  u[0] = static_cast<float>(u1);
  u[1] = static_cast<float>(u2);
  u[2] = static_cast<float>(u3);
  // The length is taken in extended precision from the single-precision cosines, so tiny but
  // nonzero cosines still give a direction.
  const Real length = std::sqrt(static_cast<Real>(u[0]) * u[0] + static_cast<Real>(u[1]) * u[1] +
                                static_cast<Real>(u[2]) * u[2]);
  if (length == 0 || !std::isfinite(length)) {
    record.flag = kFreeFlag;
    return false;
  }
  for (int c = 0; c < 3; ++c) u[c] = static_cast<float>(u[c] / length);
  record.flag = kFixedFlag;
  e.anyDirectionFixed = true;
  return true;
}

void ApplyFixedDirectionGrid(
    SurfaceEvaluation& e, const std::function<std::string(int column, int row)>& cell,
    const std::function<void(int row, const std::string& flag)>& setFlagCell,
    const CoreServices& services) {
  e.anyDirectionFixed = false;
  for (int p = 1; p <= 5; ++p) {
    FixedDirection& record = e.fixedDirections[p - 1];
    const std::string flag = cell(1, p);
    record.flag = FirstCharacters(flag, 3);
    if (flag != kFixedFlag) {
      // A longer text that starts with "yes" ("yes " typed with a blank) does not fix the
      // position; its record must not say "yes" either, or the surface would take the position
      // as fixed at cosines this apply never read.
      if (record.flag == kFixedFlag) record.flag = kFreeFlag;
      continue;
    }
    Real u[3];
    for (int c = 0; c < 3; ++c) u[c] = ParseReal(cell(c + 2, p), services.decimalSeparator);
    if (!FixDirection(e, p, u[0], u[1], u[2])) {
      services.Tell(UndefinedDirectionMessage(p));
      if (setFlagCell) setFlagCell(p, kFreeFlag);
    }
  }
}

void FreeAllDirections(SurfaceEvaluation& e) {
  for (FixedDirection& record : e.fixedDirections) record.flag = kFreeFlag;
}

}  // namespace quillmere
