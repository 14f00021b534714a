// quillmere-cli info FILE.ten: what a tensor data file holds, as the program reads it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "app/cli/cli_commands.h"
#include "files/tensor_file.h"
#include "surface/extremes.h"
#include "tensor/number_text.h"
#include "tensor/point_group_symbols.h"
#include "tensor/symmetry_table.h"
#include "tensor/tensor_state.h"

namespace quillmere::cli {

namespace {

void PrintInfoHelp(std::ostream& out) {
  out << "Usage: quillmere-cli info FILE.ten\n\n"
         "Reads a tensor data file and prints its kind, point group, polar or axial character,\n"
         "scale, unit and independent components; for a second-rank tensor also the full 3x3\n"
         "matrix. Values are shown as multiples of 10^exponent, as the program shows them.\n"
         "Then the largest and smallest value of the tensor along any direction, in the\n"
         "tensor's own units, each with a unit vector of the crystal frame where it occurs.\n";
}

/// "Largest value:  2.3e-12 C/N along [1.000000, 0.000000, 0.000000]".
void PrintExtreme(std::ostream& out, const char* caption, const SurfaceExtreme& x,
                  const TensorState& t, char decimalSeparator) {
  out << caption << FormatGeneral(x.value, decimalSeparator, 10);
  if (!t.unitText.empty()) out << " " << t.unitText;
  if (std::isfinite(x.value)) {
    out << " along [";
    for (int i = 0; i < 3; ++i) {
      char text[32];
      // Six decimals; a component that rounds to zero is written without a minus sign.
      const double c = static_cast<double>(x.direction[i]);
      std::snprintf(text, sizeof text, "%.6f", std::fabs(c) < 5e-7 ? 0.0 : c);
      std::string shown = text;
      for (char& ch : shown)
        if (ch == '.') ch = decimalSeparator;
      out << (i ? ", " : "") << shown;
    }
    out << "]";
  }
  out << "\n";
}

/// " x 10^-6 1/K", " 1/K" or "": what a shown value is a multiple of.
std::string MultipleOf(const TensorState& t) {
  std::string text;
  if (t.exponent != 0) text += " x 10^" + std::to_string(t.exponent);
  if (!t.unitText.empty()) text += " " + t.unitText;
  return text;
}

std::string PadRight(std::string text, std::size_t width) {
  if (text.size() < width) text.resize(width, ' ');
  return text;
}

std::string PadLeft(const std::string& text, std::size_t width) {
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

void PrintGroup(std::ostream& out, int number) {
  out << "Point group:  " << number;
  if (number >= 1 && number <= kPointGroupCount) {
    const PointGroupInfo& g = PointGroups()[number - 1];
    out << " \"" << g.storedName << "\" (" << PointGroupSymbol(number) << ", " << g.crystalSystem
        << ")";
  } else {
    out << " (none)";
  }
  out << "\n";
}

}  // namespace

int InfoCommand(const Args& args, CliContext& context) {
  std::vector<std::string> positional;
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      PrintInfoHelp(std::cout);
      return 0;
    }
    if (a.size() > 1 && a[0] == '-' && a[1] == '-')
      throw UsageError{"unknown option '" + a + "' (see --help)"};
    positional.push_back(a);
  }
  if (positional.size() != 1) throw UsageError{"expects one FILE.ten (see --help)"};
  const std::filesystem::path path = positional[0];

  TensorState t;
  ResetComponents(t);
  ReadTensorFile(t, path, context.services);
  // The reader has already shown any notice of the table; the labels need a second walk.
  RecordingMessages repeated;
  CoreServices quiet = context.services;
  quiet.messages = &repeated;
  const int count = ApplySymmetry(t, SymmetryMode::Describe, quiet);

  std::ostream& out = std::cout;
  const TensorKindInfo* kind = FindKind(t.kind);
  out << "File:         " << path.filename().string() << "\n";
  out << "Kind:         " << t.kind << " \"" << (kind ? kind->caption : "?") << "\" (rank "
      << t.rank << ")\n";
  PrintGroup(out, t.pointGroup);
  out << "Character:    " << (t.axial ? "axial" : "polar") << "\n";
  out << "Scale:        " << FormatGeneral(t.scale, context.services.decimalSeparator) << "\n";
  out << "Exponent:     " << t.exponent << "\n";
  out << "Unit:         " << t.unitText << "\n";

  const std::string multiple = MultipleOf(t);
  if (count >= 1) {
    out << "Independent components (" << count << "):\n";
    std::size_t width = 0;
    for (int n = 1; n <= count; ++n) width = std::max(width, t.independentLabels[n].size());
    for (int n = 1; n <= count; ++n)
      out << "  " << PadRight(t.independentLabels[n], width) << " = " << t.independentValues[n]
          << multiple << "\n";
  } else {
    out << "Independent components: none";
    if (!repeated.shown.empty()) out << " (" << repeated.shown.front() << ")";
    out << "\n";
  }

  if (t.rank == 2) {
    const Real decade = DecadeOf(t, t.scale);
    out << "Matrix" << (multiple.empty() ? "" : " (" + multiple.substr(1) + ")") << ":\n";
    for (int i = 1; i <= 3; ++i) {
      for (int j = 1; j <= 3; ++j)
        out << PadLeft(FormatGeneral(t.At(i, j) / decade, context.services.decimalSeparator), 18);
      out << "\n";
    }
  }

  const SurfaceExtremes extremes = FindSurfaceExtremes(t, SurfaceEvaluation{});
  if (extremes.zero) {
    out << kMsgZeroSurface << "\n";
    return 0;
  }
  PrintExtreme(out, "Largest value:  ", extremes.largest, t, context.services.decimalSeparator);
  PrintExtreme(out, "Smallest value: ", extremes.smallest, t, context.services.decimalSeparator);
  return 0;
}

}  // namespace quillmere::cli
