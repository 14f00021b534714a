#include "surface/conventions_stamp.h"

#include "surface/surface_value.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

/// The text with every character a format could take for markup, and every byte outside
/// printable ASCII, replaced by '?'.
std::string Clean(const std::string& s) {
  std::string out;
  for (char c : s) {
    const unsigned char u = static_cast<unsigned char>(c);
    out += (u < 0x20 || u > 0x7e || c == '"' || c == '<' || c == '>' || c == '&' || c == '\\') ? '?'
                                                                                               : c;
  }
  return out;
}

}  // namespace

std::string ConventionsStamp(const TensorState& t, const SurfaceEvaluation* e,
                             const std::string& quantity) {
  const TensorKindInfo* kind = FindKind(t.kind);
  std::string s = "Quillmere tensor ";
  s += kind ? kind->caption : "?";
  s += ", point group ";
  s += t.pointGroup >= 1 && t.pointGroup <= kPointGroupCount
           ? PointGroups()[t.pointGroup - 1].conventional
           : "none";
  s += t.axial ? ", axial" : ", polar";
  s += ", unit " + (t.unitText.empty() ? std::string("(none)") : Clean(t.unitText));
  s += " x 10^" + std::to_string(DecadeExponent(t.scale));
  s += ", components in index notation (no Voigt factors)";
  if (!quantity.empty()) {
    s += "; quantity: " + Clean(quantity);
  } else if (e && e->derivedValue) {
    s += "; quantity: " +
         (e->derivedName.empty() ? std::string("derived from the tensor") : Clean(e->derivedName));
  } else if (e && e->anyDirectionFixed) {
    static const char kPositions[] = "ijklm";
    std::string fixed;
    for (int p = 0; p < 5 && p < t.rank; ++p) {
      const FixedDirection& d = e->fixedDirections[p];
      if (d.flag != "yes") continue;
      fixed += fixed.empty() ? "" : ", ";
      fixed += std::string(1, kPositions[p]) + " along [" + FormatGeneral(d.u[0], '.', 6) + " " +
               FormatGeneral(d.u[1], '.', 6) + " " + FormatGeneral(d.u[2], '.', 6) + "]";
    }
    if (!fixed.empty()) s += "; quantity: the tensor with " + fixed + " fixed";
  }
  return s;
}

}  // namespace quillmere
