// Constants as other programs and databases hand them out, read into the program's tensor:
//   - plain text or CSV of a matrix (six lines of six numbers for elastic constants, as ELATE
//     takes them; any layout ShapeMatrixRows accepts for the chosen kind);
//   - the Materials Project's JSON: "elastic_tensor" with "ieee_format" (preferred) or "raw",
//     or the older "elasticity": {"elastic_tensor": ...}, also inside an API answer's
//     "data"/"response" list; GPa;
//   - VASP's OUTCAR: the last block "TOTAL ELASTIC MODULI (kBar)", rows and columns in VASP's
//     order XX YY ZZ XY YZ ZX (Voigt 1 2 3 6 4 5), kBar converted to GPa;
//   - pymatgen's serialised ElasticTensor: "input_array", a 3 x 3 x 3 x 3 list, GPa.
// Errors are std::runtime_error naming the line or the key that is wrong; nothing in the
// tensor changes on a refused file.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "tensor/tensor_state.h"
#include "tensor/voigt_matrix.h"

namespace quillmere {

enum class ImportFormat { Automatic, Text, MaterialsProject, Outcar, Pymatgen };

/// "text", "materials-project", "outcar", "pymatgen" (and "auto"); nullopt otherwise.
std::optional<ImportFormat> ParseImportFormat(const std::string& word);
/// What the user reads: "plain text matrix", "Materials Project JSON", ...
std::string ImportFormatCaption(ImportFormat format);

struct ImportOptions {
  ImportFormat format = ImportFormat::Automatic;
  int kind = 3;  ///< the kind of a plain text matrix; the other formats are always elastic
  /// The convention of a plain text matrix; unset: stiffness-type. The databases and VASP
  /// always give stiffness-type elastic constants.
  std::optional<VoigtConvention> convention;
  std::string unitText;  ///< the unit of a plain text matrix (the others carry their own)
};

struct ImportedConstants {
  ImportFormat format = ImportFormat::Text;
  int kind = 3;
  VoigtConvention convention = VoigtConvention::Stiffness;
  VoigtMatrix matrix;    ///< in the kind's matrix layout and `convention`
  std::string unitText;  ///< "GPa" for the elastic formats
  std::string source;    ///< where in the file the numbers stood, for the user
};

/// The format of a text by its content: JSON with "input_array" is pymatgen's, other JSON the
/// Materials Project's; a text with "TOTAL ELASTIC MODULI" an OUTCAR; anything else a matrix.
ImportFormat DetectImportFormat(const std::string& text);

/// Reads constants from the whole text of a file.
ImportedConstants ReadConstants(const std::string& text, const ImportOptions& options);
/// The same for a file; failures name it ("'<path>': line 3: ..."). Refuses what is no regular
/// file and files above 256 MiB.
ImportedConstants ReadConstantsFile(const std::filesystem::path& path,
                                    const ImportOptions& options);

/// Makes `t` the imported tensor: kind and rank, every component, the unit, polar, point group
/// 1 (the numbers have not been examined yet), and a scale at the largest component. Throws as
/// SetFromVoigtMatrix does; `t` then stays as it was.
void ApplyImportedConstants(TensorState& t, const ImportedConstants& constants);

}  // namespace quillmere
