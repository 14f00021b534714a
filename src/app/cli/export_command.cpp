// quillmere-cli export: the representation surface of a tensor file as a VRML 2.0 scene or an
// STL mesh, with the desktop program's default view colours.
#include <cctype>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "app/cli/elastic_options.h"
#include "core/file_names.h"
#include "files/surface_export.h"
#include "files/tensor_file.h"
#include "surface/conventions_stamp.h"
#include "tensor/number_text.h"

namespace quillmere::cli {

namespace {

constexpr const char* kExportHelp =
    "Usage: quillmere-cli export FILE.ten -o OUT.wrl|OUT.stl [--printable] [--resolution N]\n"
    "                            [--no-axes] [--fix POSITION=U1,U2,U3]...\n"
    "\n"
    "Writes the representation surface of the tensor in FILE.ten. The kind of output follows\n"
    "the extension of OUT:\n"
    "  .wrl   a VRML 2.0 scene: the coloured surface (positive green, negative red) on the\n"
    "         program's background, with the three coordinate axes\n"
    "  .stl   an ASCII STL mesh for 3-D printing; always printable, never with axes\n"
    "\n"
    "Options:\n"
    "  -o, --output OUT   the file to write (required); an existing file is replaced only\n"
    "                     when the new one is complete\n"
    "  --printable        VRML only: the 3-D printable scene, without axes and with every\n"
    "                     point at least 0.1 (in units of the scale) from the origin\n"
    "  --resolution N     grid resolution 1..8 (default 2): 10*N rows of angles from pole to\n"
    "                     pole\n"
    "  --no-axes          VRML only: leave out the coordinate axes\n";

std::string ExportHelp() {
  return std::string(kExportHelp) + ElasticOptions::Help(true) + FixOptionHelp();
}

int ParseResolution(const std::string& text) {
  Real value = 0;
  if (!TryParseReal(text, value) || value != static_cast<int>(value) || value < 1 || value > 8)
    throw UsageError{"--resolution needs a whole number from 1 to 8, not '" + text + "'"};
  return static_cast<int>(value);
}

}  // namespace

int ExportCommand(const Args& args, CliContext& context) {
  bool printable = false;
  ExportOptions options;
  std::vector<FixOption> fixes;
  ElasticOptions elastic;
  FileArguments files;
  const auto readOption = [&](const std::string& a, const OptionValue& value) {
    if (a == "--printable") {
      printable = true;
    } else if (a == "--resolution") {
      options.resolution = ParseResolution(value());
    } else if (a == "--no-axes") {
      options.showAxes = false;
    } else if (a == "--fix") {
      fixes.push_back(ParseFixOption(value()));
    } else if (!elastic.Read(a, value, true)) {
      return false;
    }
    return true;
  };
  if (!ReadFileArguments(args, "export", files, readOption)) {
    std::cout << ExportHelp();
    return 0;
  }
  if (!files.output) throw UsageError{"-o OUT.wrl or -o OUT.stl is required"};
  const std::filesystem::path input = *files.input;
  const std::filesystem::path output = *files.output;
  const std::string ext = LowercaseExtension(output);
  if (ext != ".wrl" && ext != ".stl")
    throw UsageError{"the output file must end in .wrl (VRML) or .stl (STL), not '" +
                     output.string() + "'"};

  SurfaceEvaluation evaluation;
  ApplyFixOptions(evaluation, fixes);

  TensorState tensor;
  ReadTensorFile(tensor, input, context.services);
  elastic.ApplyQuantity(tensor, evaluation);

  ExportVariant variant = ExportVariant::ScreenVRML;
  if (ext == ".stl")
    variant = ExportVariant::Stl;
  else if (printable)
    variant = ExportVariant::PrintableVRML;
  ExportSession session;
  SelectExportVariant(variant, evaluation, session);
  const std::filesystem::path target = output;
  options.stamp = ConventionsStamp(tensor, &evaluation);
  MakeVRML(tensor, evaluation, session, options, [&](const ExportDialogRequest&) {
    return std::optional<std::filesystem::path>(target);
  });

  const char* what = variant == ExportVariant::Stl             ? "STL mesh"
                     : variant == ExportVariant::PrintableVRML ? "3-D printable VRML scene"
                                                               : "VRML scene";
  std::cout << target.string() << ": " << what << ", resolution " << options.resolution << "\n";
  return 0;
}

}  // namespace quillmere::cli
