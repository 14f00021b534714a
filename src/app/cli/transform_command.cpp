// quillmere-cli transform: a tensor file transformed by a 3 x 3 matrix or by rotations about
// the crystal axes, written to a new tensor file.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "files/tensor_file.h"
#include "fit/transformation.h"
#include "tensor/number_text.h"
#include "tensor/point_group_symbols.h"
#include "tensor/symmetry_table.h"

namespace quillmere::cli {

namespace {

constexpr const char* kTransformHelp =
    "Usage: quillmere-cli transform FILE.ten (--matrix \"U\" | --rotate AXIS:DEGREES)...\n"
    "                               -o OUT.ten\n"
    "\n"
    "Transforms every component of the tensor in FILE.ten by a 3 x 3 matrix U,\n"
    "  T'(a1..ar) = sum over b1..br of U(a1,b1) ... U(ar,br) T(b1..br),\n"
    "the same law for polar and axial tensors (no determinant factor), and writes OUT.ten.\n"
    "\n"
    "Options (--matrix and --rotate may be repeated; they are applied in the order given):\n"
    "  --matrix \"u11 u12 u13; u21 u22 u23; u31 u32 u33\"\n"
    "        U row by row, as a matrix is written on paper: row a holds U(a,1) U(a,2) U(a,3),\n"
    "        the new axis a in terms of the old ones. U need not be orthogonal. In the desktop\n"
    "        program's matrix grid the first index is the column: U(a,b) stands in column a,\n"
    "        row b, so the grid shows this text transposed.\n"
    "  --rotate AXIS:DEGREES\n"
    "        the tensor turned by DEGREES about the crystal axis x, y or z, right-handed\n"
    "        (counter-clockwise seen from the positive end of the axis): with z:90 a vector\n"
    "        along x comes to lie along y.\n"
    "  -o, --output OUT.ten   the file to write (required)\n"
    "\n"
    "When the transformed tensor no longer has the symmetry of the file's point group, it is\n"
    "written with point group 1, so that no component is lost.\n";

TransformMatrix ParseMatrix(const std::string& text) {
  std::vector<std::string> rows;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find(';', start);
    rows.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (rows.size() != 3)
    throw UsageError{"--matrix needs three rows separated by ';', not '" + text + "'"};
  TransformMatrix u{};
  for (int a = 0; a < 3; ++a) {
    std::istringstream in(rows[a]);
    std::string token;
    int b = 0;
    while (in >> token) {
      if (b == 3)
        throw UsageError{"--matrix: row " + std::to_string(a + 1) + " has more than 3 numbers"};
      Real value = 0;
      if (!TryParseReal(token, value) || !std::isfinite(value))
        throw UsageError{"--matrix: " + NotAFloatMessage(token)};
      u[a][b++] = value;
    }
    if (b != 3) throw UsageError{"--matrix: row " + std::to_string(a + 1) + " needs 3 numbers"};
  }
  return u;
}

TransformMatrix ParseRotation(const std::string& text) {
  const std::size_t colon = text.find(':');
  std::string axis = text.substr(0, colon);
  for (char& c : axis) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  Real degrees = 0;
  if (colon == std::string::npos || (axis != "x" && axis != "y" && axis != "z") ||
      !TryParseReal(text.substr(colon + 1), degrees) || !std::isfinite(degrees))
    throw UsageError{"--rotate needs AXIS:DEGREES with AXIS x, y or z, as in z:90, not '" + text +
                     "'"};
  return RotationMatrix(axis[0] - 'x', degrees);
}

}  // namespace

int TransformCommand(const Args& args, CliContext& context) {
  std::vector<TransformMatrix> steps;
  FileArguments files;
  const auto readOption = [&](const std::string& a, const OptionValue& value) {
    if (a == "--matrix") {
      steps.push_back(ParseMatrix(value()));
    } else if (a == "--rotate") {
      steps.push_back(ParseRotation(value()));
    } else {
      return false;
    }
    return true;
  };
  if (!ReadFileArguments(args, "transform", files, readOption)) {
    std::cout << kTransformHelp;
    return 0;
  }
  if (!files.output) throw UsageError{"-o OUT.ten is required"};
  const std::filesystem::path input = *files.input;
  const std::filesystem::path output = *files.output;
  if (steps.empty()) throw UsageError{"give at least one --matrix or --rotate"};

  TensorState tensor;
  ReadTensorFile(tensor, input, context.services);
  for (const TransformMatrix& u : steps) TransformTensor(tensor, u);

  const TransformedSymmetry kept = KeepTransformedTensor(tensor, context.services);
  if (kept.groupChanged) {
    const int g = kept.oldGroup;
    const std::string name =
        g >= 1 && g <= kPointGroupCount ? PointGroupSymbol(g) : std::to_string(g);
    context.services.Tell("The transformed tensor no longer has the symmetry of point group " +
                          name + "; it is written with point group 1.");
  }
  WriteTensorFile(tensor, output, context.services);
  std::cout << output.string() << ": written\n";
  return 0;
}

}  // namespace quillmere::cli
