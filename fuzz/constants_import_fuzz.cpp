// Arbitrary bytes as an imported constants file: reading ends with constants or a standard
// exception, never a crash. Accepted constants make a tensor of finite components whose matrix,
// written as text and read back, is the same matrix.
//
// Input: byte 0 picks the format (automatic, text, Materials Project, OUTCAR, pymatgen) and,
// for text, the kind and convention; the rest is the file.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "files/constants_import.h"
#include "tensor/tensor_state.h"
#include "tensor/voigt_matrix.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quillmere;
  if (size < 1) return 0;
  static const ImportFormat kFormats[] = {ImportFormat::Automatic, ImportFormat::Text,
                                          ImportFormat::MaterialsProject, ImportFormat::Outcar,
                                          ImportFormat::Pymatgen};
  ImportOptions options;
  options.format = kFormats[data[0] % 5];
  options.kind = TensorKinds()[(data[0] / 5) % kKindCount].code;
  options.convention = (data[0] & 0x80) ? VoigtConvention::Compliance : VoigtConvention::Stiffness;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  ImportedConstants constants;
  TensorState t;
  try {
    constants = ReadConstants(text, options);
    ApplyImportedConstants(t, constants);
  } catch (const std::exception&) {
    return 0;
  }
  for (Real c : t.components)
    if (!std::isfinite(c)) __builtin_trap();
  if (!(t.scale > 0)) __builtin_trap();

  // The matrix written as text (relative to 10^exponent, 15 digits) reads back to the same one.
  const std::string written = FormatMatrixText(t, constants.convention, " ");
  const VoigtMatrix back = ShapeMatrixRows(t.kind, ReadMatrixRows(written));
  const VoigtMatrix m = ToVoigtMatrix(t, constants.convention);
  Real largest = 0;
  for (Real v : m.values) largest = std::fmax(largest, std::fabs(v));
  const Real decade = std::pow(10.0L, static_cast<Real>(DecadeExponent(t.scale)));
  for (std::size_t n = 0; n < m.values.size(); ++n)
    if (std::fabs(back.values[n] * decade - m.values[n]) > 1e-13L * largest) __builtin_trap();
  return 0;
}
