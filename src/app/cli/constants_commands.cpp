// quillmere-cli symmetry, import and matrix: the point group from the numbers, constants from
// other programs' files, and the tensor as its Voigt matrix.
#include <cmath>
#include <iostream>
#include <sstream>

#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "files/atomic_file.h"
#include "files/constants_import.h"
#include "files/tensor_file.h"
#include "tensor/number_text.h"
#include "tensor/point_group_search.h"
#include "tensor/point_group_symbols.h"
#include "tensor/symmetry_table.h"
#include "tensor/voigt_matrix.h"

namespace quillmere::cli {

namespace {

const char kSymmetryHelp[] =
    "Usage: quillmere-cli symmetry FILE.ten [--tolerance T]\n\n"
    "Lists every point group whose relations the tensor's components obey in the present axis\n"
    "setting, highest symmetry first, each with its deviation: the largest difference between a\n"
    "component and what the group's relations give it, as a fraction of the largest component.\n\n"
    "  --tolerance T   the largest deviation that still counts as obeyed (default 1e-6)\n";

const char kImportHelp[] =
    "Usage: quillmere-cli import FILE -o OUT.ten [--format F] [--kind K]\n"
    "                            [--convention stiffness|compliance] [--unit U] [--group "
    "auto|NAME]\n\n"
    "Reads constants from another program's file and writes them as a tensor file.\n\n"
    "  --format F      auto (default), text (a matrix: blanks, commas or semicolons between\n"
    "                  numbers; six lines of six for elastic constants), materials-project\n"
    "                  (elastic_tensor ieee_format or raw, or elasticity.elastic_tensor),\n"
    "                  outcar (the last TOTAL ELASTIC MODULI (kBar) block of VASP's OUTCAR),\n"
    "                  pymatgen (a serialised ElasticTensor with input_array)\n"
    "  --kind K        the kind of a text matrix (default ((ij)(kl)), the elastic tensor)\n"
    "  --convention C  of a text matrix: stiffness (no factors: c, e; the default) or\n"
    "                  compliance (factors 2 and 4 on the shear indices: s, d)\n"
    "  --unit U        the unit text of a text matrix (the other formats give GPa)\n"
    "  --group G       auto: the highest point group the numbers obey (tolerance 1e-6);\n"
    "                  a group name sets it when the numbers obey it; default: 1\n";

const char kMatrixHelp[] =
    "Usage: quillmere-cli matrix FILE.ten [--convention stiffness|compliance]\n"
    "                            [--format text|csv|json] [-o OUT]\n\n"
    "Writes the tensor as its matrix: Voigt numbers for symmetric index pairs, the component\n"
    "grid's rows and columns otherwise. The first line (a comment, or the JSON's fields) states\n"
    "the convention, the unit and the power of ten the numbers are multiples of.\n\n"
    "  --convention C  stiffness (default; no factors) or compliance (factors 2 and 4 on the\n"
    "                  shear indices, as s and d are written)\n"
    "  --format F      text (default), csv or json\n"
    "  -o OUT          the file to write (default: standard output)\n";

VoigtConvention ConventionArgument(const std::string& text) {
  const std::optional<VoigtConvention> c = ParseConventionWord(text);
  if (!c) throw UsageError{"--convention takes stiffness or compliance, not '" + text + "'"};
  return *c;
}

std::string GroupCaption(int g) {
  const PointGroupInfo& info = PointGroups()[g - 1];
  return PointGroupSymbol(g) + " (" + info.crystalSystem + ", number " + std::to_string(g) + ")";
}

void PrintMatches(std::ostream& out, const std::vector<GroupMatch>& found, Real tolerance) {
  out << "Point groups obeyed within " << FormatGeneral(tolerance, '.', 6)
      << " of the largest component, highest symmetry first:\n";
  for (const GroupMatch& m : found) {
    const PointGroupInfo& info = PointGroups()[m.group - 1];
    // Padded by the characters seen: the bar's combining overline takes no column.
    std::string name = PointGroupSymbol(m.group);
    const std::size_t shown = PointGroupBarredSymbol(m.group).text.size();
    if (shown < 7) name.append(7 - shown, ' ');
    std::string system = info.crystalSystem;
    system.resize(std::max<std::size_t>(system.size(), 13), ' ');
    out << "  " << (m.group < 10 ? " " : "") << m.group << "  " << name << system << "deviation "
        << FormatGeneral(m.deviation, '.', 3) << "\n";
  }
}

}  // namespace

int SymmetryCommand(const Args& args, CliContext& context) {
  Real tolerance = kDefaultGroupTolerance;
  FileArguments files;
  const auto readOption = [&](const std::string& a, const OptionValue& value) {
    if (a != "--tolerance") return false;
    const std::string& text = value();
    if (!TryParseReal(text, tolerance) || !(tolerance >= 0) || !std::isfinite(tolerance))
      throw UsageError{"--tolerance needs a number of 0 or more, not '" + text + "'"};
    return true;
  };
  if (!ReadFileArguments(args, "symmetry", files, readOption)) {
    std::cout << kSymmetryHelp;
    return 0;
  }
  if (files.output) throw UsageError{"symmetry writes no file (see --help)"};
  TensorState t;
  ReadTensorFile(t, *files.input, context.services);
  const std::vector<GroupMatch> found = FindPointGroups(t, context.services, tolerance);
  PrintMatches(std::cout, found, tolerance);
  if (found.empty()) std::cout << "  (none: the table has no entry this tensor obeys)\n";
  return 0;
}

int ImportCommand(const Args& args, CliContext& context) {
  ImportOptions options;
  std::string group = "1";
  FileArguments files;
  const auto readOption = [&](const std::string& a, const OptionValue& value) {
    if (a == "--format") {
      const std::optional<ImportFormat> f = ParseImportFormat(value());
      if (!f) throw UsageError{"--format takes auto, text, materials-project, outcar or pymatgen"};
      options.format = *f;
    } else if (a == "--kind") {
      options.kind = ParseKindArgument(value());
    } else if (a == "--convention") {
      options.convention = ConventionArgument(value());
    } else if (a == "--unit") {
      options.unitText = value();
    } else if (a == "--group") {
      group = value();
    } else {
      return false;
    }
    return true;
  };
  if (!ReadFileArguments(args, "import", files, readOption)) {
    std::cout << kImportHelp;
    return 0;
  }
  if (!files.output) throw UsageError{"-o OUT.ten is required"};
  if (EmptyVoigtMatrix(options.kind).rows == 0)
    throw UsageError{"--kind: this kind has no matrix form"};
  const int named = group == "auto" ? 0 : ParseGroupArgument(group);

  const ImportedConstants constants = ReadConstantsFile(*files.input, options);
  TensorState t;
  ApplyImportedConstants(t, constants);
  std::cout << "Read " << constants.source << " (" << ConventionCaption(constants.convention)
            << ", " << (constants.unitText.empty() ? "no unit" : constants.unitText) << ")\n";
  if (named == 0) {
    const std::vector<GroupMatch> found = FindPointGroups(t, context.services);
    PrintMatches(std::cout, found, kDefaultGroupTolerance);
    if (!found.empty()) t.pointGroup = found.front().group;
  } else {
    const std::vector<ComponentDeviation> v = GroupViolations(t, named, context.services);
    if (!v.empty())
      throw std::runtime_error("The numbers do not obey point group " + GroupCaption(named) + ": " +
                               DescribeViolations(v, LargestAbsoluteComponent(t)));
    t.pointGroup = named;
  }
  std::cout << "Point group: " << GroupCaption(t.pointGroup) << "\n";
  WriteTensorFile(t, *files.output, context.services);
  std::cout << files.output->string() << ": written\n";
  return 0;
}

int MatrixCommand(const Args& args, CliContext& context) {
  VoigtConvention convention = VoigtConvention::Stiffness;
  std::string format = "text";
  FileArguments files;
  const auto readOption = [&](const std::string& a, const OptionValue& value) {
    if (a == "--convention") {
      convention = ConventionArgument(value());
    } else if (a == "--format") {
      format = value();
      if (format != "text" && format != "csv" && format != "json")
        throw UsageError{"--format takes text, csv or json, not '" + format + "'"};
    } else {
      return false;
    }
    return true;
  };
  if (!ReadFileArguments(args, "matrix", files, readOption)) {
    std::cout << kMatrixHelp;
    return 0;
  }
  TensorState t;
  ReadTensorFile(t, *files.input, context.services);
  if (EmptyVoigtMatrix(t.kind).rows == 0)
    throw std::runtime_error("The tensor's kind has no matrix form");
  const std::string text = format == "json"  ? FormatMatrixJson(t, convention)
                           : format == "csv" ? FormatMatrixText(t, convention, ",")
                                             : FormatMatrixText(t, convention, "  ");
  if (files.output) {
    WriteFileAtomically(*files.output, text);
    std::cout << files.output->string() << ": written\n";
  } else {
    std::cout << text;
  }
  return 0;
}

}  // namespace quillmere::cli
