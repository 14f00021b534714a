#include "fit/property_kinds.h"

#include <cctype>

namespace quillmere {

namespace {

/// Lower case, the accelerator marker dropped, and every run of blanks, '-' and '_' as one '-'.
std::string Normalised(const std::string& text) {
  std::string out;
  bool pendingDash = false;
  for (char c : text) {
    if (c == '&') continue;
    if (c == ' ' || c == '-' || c == '_') {
      pendingDash = !out.empty();
      continue;
    }
    if (pendingDash) out += '-';
    pendingDash = false;
    out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return out;
}

}  // namespace

const std::array<PropertyKind, kPropertyKindCount>& PropertyKinds() {
  static const std::array<PropertyKind, kPropertyKindCount> kinds = {{
      {"&Pyroelectric Constants",
       "Pyroelectricconstants1Click",
       "pyroelectric",
       0,
       false,
       "C/m²K",
       1e-6L,
       {0, 1, 1, 1, 1}},
      {"&Dielectric Constants",
       "DielectricConstants1Click",
       "dielectric",
       1,
       false,
       "",
       1.0L,
       {0, 1, 1, 1, 1}},
      {"&Thermal Expansion",
       "ThermalExpansion1Click",
       "thermal-expansion",
       1,
       false,
       "1/K",
       1e-6L,
       {0, 1, 1, 1, 1}},
      {"&Magnetic Susceptibility",
       "MagneticSusceptibilities1Click",
       "magnetic-susceptibility",
       1,
       false,
       "",
       1e-6L,
       {0, 1, 1, 1, 1}},
      {"&Optical Activity",
       "OpticalActivity1Click",
       "optical-activity",
       1,
       true,
       "°/mm",
       1.0L,
       {0, 1, 1, 1, 1}},
      {"&Faraday Effect",
       "FaradayEffect1Click",
       "faraday",
       1,
       false,
       "°/A",
       1e-3L,
       {0, 1, 1, 1, 1}},
      {"&Electrostriction",
       "Electrostriction1Click",
       "electrostriction",
       2,
       false,
       "m/V",
       1e-12L,
       {0, 1, 0, 1, 1}},
      {"P&iezoelectrics",
       "Piezoelectrics1Click",
       "piezoelectric",
       5,
       false,
       "C/N",
       1e-12L,
       {0, 0, 1, 1, 1}},
      {"Electro&gyration",
       "Electrogyration1Click",
       "electrogyration",
       2,
       true,
       "°/V",
       1e-6L,
       {0, 1, 0, 1, 1}},
      {"&Hall Effect", "Halleffect1Click", "hall", 12, true, "m³/C", 1e-12L, {0, 0, 0, 1, 1}},
  }};
  return kinds;
}

std::string PlainCaption(const PropertyKind& kind) {
  std::string out;
  for (const char* c = kind.caption; *c; ++c)
    if (*c != '&') out += *c;
  return out;
}

const PropertyKind* FindPropertyKind(const std::string& name) {
  const std::string wanted = Normalised(name);
  if (wanted.empty()) return nullptr;
  for (const PropertyKind& k : PropertyKinds())
    if (wanted == Normalised(k.caption) || wanted == Normalised(k.shortName)) return &k;
  return nullptr;
}

bool OpenFitForKind(TensorState& t, FitSession& session, const PropertyKind& kind) {
  if (!session.fitWindowFree) return false;
  session.indexDirectionFlags = kind.sharingFlags;
  SetKind(t, kind.kindCode);
  t.axial = kind.axial;
  t.unitText = kind.unitText;
  t.scale = kind.scale;
  // The main window's refresh of the unit display derives the exponent from the scale.
  DecadeOf(t, t.scale);
  return true;
}

int FitWindowCreated(FitSession& session) {
  session.fitWindowFree = false;
  return DirectionCount(session.indexDirectionFlags);
}

void FitWindowClosed(FitSession& session) {
  session.fitWindowFree = true;
}

}  // namespace quillmere
