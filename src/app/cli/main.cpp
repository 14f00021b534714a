// quillmere-cli: batch access to the tensor core (components, info, render, export, fit,
// transform).
#include <unistd.h>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "app/cli/cli_commands.h"
#include "core/program_location.h"

namespace {

using quillmere::cli::Args;
using quillmere::cli::CliContext;

struct Command {
  const char* name;
  int (*run)(const Args&, CliContext&);
  const char* summary;
};

const Command kCommands[] = {
    {"components", quillmere::cli::ComponentsCommand,
     "independent components of a kind in a point group"},
    {"info", quillmere::cli::InfoCommand, "what a tensor file holds"},
    {"export", quillmere::cli::ExportCommand, "the surface as a VRML 2.0 scene or an STL mesh"},
    {"symmetry", quillmere::cli::SymmetryCommand, "the point groups the tensor's numbers obey"},
    {"import", quillmere::cli::ImportCommand,
     "constants from a matrix, Materials Project JSON, OUTCAR or pymatgen file"},
    {"matrix", quillmere::cli::MatrixCommand, "the tensor as its Voigt matrix (text, CSV, JSON)"},
    {"transform", quillmere::cli::TransformCommand, "a tensor file transformed by a 3x3 matrix"},
#ifdef QUILLMERE_HAVE_CANVAS
    {"render", quillmere::cli::RenderCommand,
     "the surface as a PNG, BMP, SVG, EMF, WMF or PDF picture"},
    {"map", quillmere::cli::MapCommand,
     "equal-area or stereographic map as PNG, SVG, PDF, EMF, WMF, CSV"},
#endif
    {"elastic", quillmere::cli::ElasticCommand,
     "elastic properties of a stiffness or compliance: moduli, averages, stability"},
    {"fit", quillmere::cli::FitCommand, "components fitted to measurements by least squares"},
    {"check-update", quillmere::cli::CheckUpdateCommand,
     "asks the update server for the published version"},
};

void PrintUsage(std::ostream& out) {
  out << "Usage: quillmere-cli COMMAND [ARGS...]\n\nCommands:\n";
  for (const Command& c : kCommands) {
    std::string name = c.name;
    name.resize(std::max<std::size_t>(12, name.size() + 1), ' ');
    out << "  " << name << c.summary << "\n";
  }
  out << "\nRun 'quillmere-cli COMMAND --help' for the arguments of a command.\n";
}

/// Prints the program's notices: the command-line tool has no message boxes.
class PrintedMessages : public quillmere::UserMessages {
 public:
  void ShowMessage(const std::string& text) override { std::cerr << text << "\n"; }
  bool AskYesNo(const std::string& text) override {
    std::cerr << text << " (answered No)\n";
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  // A write beyond the file-size limit then fails like a full disk (reported, the old file kept)
  // instead of killing the tool with its temporary file left behind.
  std::signal(SIGXFSZ, SIG_IGN);
  if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
    PrintUsage(argc < 2 ? std::cerr : std::cout);
    return argc < 2 ? 2 : 0;
  }
  PrintedMessages messages;
  CliContext context;
  context.services.programDirectory = quillmere::RunningProgramDirectory(argv[0]);
  context.services.messages = &messages;
  std::string name = argv[1];
  Args args(argv + 2, argv + argc);
  for (const Command& c : kCommands) {
    if (name != c.name) continue;
    try {
      return c.run(args, context);
    } catch (const quillmere::cli::UsageError& e) {
      std::cerr << "quillmere-cli " << name << ": " << e.text << "\n";
      return 2;
    } catch (const std::exception& e) {
      std::cerr << "quillmere-cli " << name << ": " << e.what() << "\n";
      return 1;
    }
  }
  std::cerr << "quillmere-cli: unknown command '" << name << "' (see quillmere-cli --help)\n";
  return 2;
}
