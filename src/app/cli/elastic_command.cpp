// quillmere-cli elastic: the elastic report of a stiffness or compliance tensor file, as text
// or as one JSON object.
#include <iostream>
#include <string>

#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"
#include "app/cli/elastic_options.h"
#include "elastic/elastic_report.h"
#include "files/atomic_file.h"
#include "files/tensor_file.h"

namespace quillmere::cli {

namespace {

constexpr const char* kElasticHelp =
    "Usage: quillmere-cli elastic FILE.ten [--stiffness | --compliance] [--density KG_PER_M3]\n"
    "                             [--unit-size PA] [--json] [-o OUT]\n"
    "\n"
    "Reads the ((ij)(kl)) tensor in FILE.ten as elastic constants and reports the Voigt\n"
    "matrices of the stiffness (GPa) and the compliance (1/TPa), the eigenvalues of the\n"
    "stiffness and whether the crystal is mechanically stable, the Voigt, Reuss and Hill\n"
    "averages, the universal anisotropy index, and the smallest and largest Young's modulus,\n"
    "linear compressibility, shear modulus and Poisson's ratio over all directions with where\n"
    "they occur; with a density also the sound velocities (km/s).\n"
    "\n"
    "  --json                    one JSON object instead of text\n"
    "  -o, --output OUT          write the report to OUT instead of the standard output\n";

}  // namespace

int ElasticCommand(const Args& args, CliContext& context) {
  bool json = false;
  ElasticOptions elastic;
  FileArguments files;
  const auto readOption = [&](const std::string& a, const OptionValue& value) {
    if (a == "--json") {
      json = true;
      return true;
    }
    return elastic.Read(a, value, false);
  };
  if (!ReadFileArguments(args, "elastic", files, readOption)) {
    std::cout << kElasticHelp << ElasticOptions::Help(false);
    return 0;
  }
  TensorState tensor;
  ResetComponents(tensor);
  ReadTensorFile(tensor, *files.input, context.services);
  const ElasticReport report = MakeElasticReport(elastic.Constants(tensor), elastic.density);
  const std::string text = json ? ElasticReportJson(report) : ElasticReportText(report);
  if (files.output)
    WriteFileAtomically(*files.output, std::string_view(text));
  else
    std::cout << text;
  return 0;
}

}  // namespace quillmere::cli
