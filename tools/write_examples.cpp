// Writes the example tensor files of examples/ with the program's own writer, so that they are
// always in the exact form the program writes. The values are published room-temperature data;
// each example names its source.
//
// Usage: write_examples TABLE_DIR OUT_DIR   (TABLE_DIR holds tensor.tab)
#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/user_messages.h"
#include "files/tensor_file.h"
#include "tensor/number_text.h"
#include "tensor/symmetry_table.h"
#include "tensor/tensor_state.h"

namespace {

using quillmere::Real;

struct Example {
  const char* file;
  int kind;
  int pointGroup;
  bool axial;
  const char* unit;
  /// Independent components in absolute units, in the order of the table's relations.
  std::vector<Real> values;
};

// The order of the values follows the relations of the shipped table for each combination;
// main() checks the labels so that a reordered table cannot silently swap them.
const Example kExamples[] = {
    // alpha-quartz, point group 32: d11 = 2.3, d14 = -0.67 (10^-12 C/N), Nye, Physical
    // Properties of Crystals, ch. VII. Tensor components: d111 = d11, d123 = d14 / 2.
    {"quartz-piezoelectric.ten", 5, 12, false, "C/N", {2.3e-12L, -0.335e-12L}},
    // Copper, m-3m: c11 = 168.4, c12 = 121.4, c44 = 75.4 GPa; Kittel, Introduction to Solid
    // State Physics, and Simmons & Wang, Single Crystal Elastic Constants (1971).
    {"copper-elastic.ten", 3, 28, false, "GPa", {168.4L, 121.4L, 75.4L}},
    // alpha-quartz, point group 32: c11 = 86.74, c12 = 6.99, c13 = 11.91, c14 = -17.91,
    // c33 = 107.2, c44 = 57.94 GPa; Bechmann, Phys. Rev. 110 (1958) 1060, as in Simmons & Wang.
    {"quartz-elastic.ten", 3, 12, false, "GPa", {86.74L, 6.99L, 11.91L, -17.91L, 107.2L, 57.94L}},
    // Calcite, -3m: alpha11 = alpha22 = -5.6, alpha33 = 25 (10^-6 1/K); Nye, ch. VI.
    {"calcite-thermal-expansion.ten", 1, 9, false, "1/K", {-5.6e-6L, 25e-6L}},
    // Tourmaline, 3m: pyroelectric coefficient p3 = 4 (10^-6 C m^-2 K^-1); Nye, ch. IV.
    {"tourmaline-pyroelectric.ten", 0, 10, false, "C/(m^2 K)", {4e-6L}},
};

const std::vector<std::string> kExpectedFirstLabels[] = {
    {"t111", "t123"},
    {"t1111", "t1122", "t2323"},
    {"t1111", "t1122", "t1133", "t1123", "t3333", "t2323"},
    {"t11", "t33"},
    {"t3"},
};

/// "t1122" of "t1122...+-1*t1111=-2*t1212": the independent component of a label.
std::string FirstTerm(const std::string& label) {
  return label.substr(0, label.find_first_of("=."));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "Usage: write_examples TABLE_DIR OUT_DIR\n";
    return 2;
  }
  quillmere::RecordingMessages messages;
  quillmere::CoreServices services;
  services.programDirectory = argv[1];
  services.messages = &messages;
  const std::filesystem::path out = argv[2];
  try {
    std::filesystem::create_directories(out);
    int index = 0;
    for (const Example& e : kExamples) {
      quillmere::TensorState t;
      quillmere::SetKind(t, e.kind);
      t.pointGroup = e.pointGroup;
      t.axial = e.axial;
      t.unitText = e.unit;
      // Entered as the user would: the largest value sets the scale, the independent values
      // are typed relative to its power of ten, and the table derives the rest.
      Real largest = 0;
      for (Real v : e.values) largest = std::max(largest, v < 0 ? -v : v);
      t.scale = largest;
      const Real decade = quillmere::DecadeOf(t, t.scale);
      for (std::size_t n = 0; n < e.values.size(); ++n)
        t.independentValues[n + 1] = quillmere::FormatGeneral(e.values[n] / decade, '.', 15);
      const int count = quillmere::ApplySymmetry(t, quillmere::SymmetryMode::ApplyTexts, services);
      quillmere::ApplySymmetry(t, quillmere::SymmetryMode::Describe, services);
      const std::vector<std::string>& labels = kExpectedFirstLabels[index++];
      bool matches = count == static_cast<int>(labels.size());
      for (std::size_t n = 0; matches && n < labels.size(); ++n)
        matches = FirstTerm(t.independentLabels[n + 1]) == labels[n];
      if (!matches) {
        std::cerr << e.file << ": the table's independent components are not the expected ones\n";
        return 1;
      }
      quillmere::WriteTensorFile(t, out / e.file, services);
    }
  } catch (const std::exception& ex) {
    std::cerr << "write_examples: " << ex.what() << "\n";
    return 1;
  }
  return 0;
}
