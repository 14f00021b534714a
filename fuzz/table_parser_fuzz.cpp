// Arbitrary bytes as a symmetry table and as relation texts: the lookup, the splitting, the term
// parser and the walk in every mode must end normally or with a standard exception.
//
// Input: byte 0 picks the point group, byte 1 the kind, byte 2 the axial flag and the mode; the
// rest is the table text.
// Byte 2: bit 0 axial, bits 1-2 the mode, bit 3 ',' as the decimal separator.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <sstream>
#include <string>
#include <vector>

#include "tensor/symmetry_table.h"
#include "tensor/tensor_state.h"

namespace {

using quillmere::SymmetryMode;

void Walk(const std::string& relationText, int kind, SymmetryMode mode, char separator,
          const std::string& values) {
  quillmere::TensorState t;
  quillmere::SetKind(t, kind);
  // Value texts for ApplyTexts: numbers and junk, cut from the input.
  for (int n = 1; n <= quillmere::kMaxIndependent; ++n)
    t.independentValues[n] = n % 3 ? std::to_string(n) + ".5" : values.substr(0, n % 7);
  for (int c = 0; c < quillmere::kComponentCount; ++c) t.components[c] = c % 5 - 2;
  try {
    quillmere::ApplySymmetryToText(t, mode, relationText, separator);
  } catch (const std::exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int group = data[0] % 34;
  const int kind = quillmere::TensorKinds()[data[1] % quillmere::kKindCount].code;
  const bool axial = data[2] & 1;
  const auto mode = static_cast<SymmetryMode>((data[2] >> 1) % 4);
  const char separator = data[2] & 8 ? ',' : '.';
  const std::string text(reinterpret_cast<const char*>(data) + 3, size - 3);

  std::string found = "?";
  try {
    std::istringstream table(text);
    found = quillmere::FindSymmetryLine(table, group, kind, axial);
  } catch (const std::exception&) {
  }

  std::vector<std::string> relations;
  quillmere::SplitRelations(text, relations);
  for (const std::string& r : relations) {
    for (const std::string& term : quillmere::SplitTerms(r)) {
      try {
        quillmere::ParseTerm(term);
      } catch (const std::exception&) {
      }
    }
  }

  Walk(found, kind, mode, separator, text);
  Walk(text, kind, mode, separator, text);
  return 0;
}
