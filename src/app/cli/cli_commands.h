// The commands of quillmere-cli. Each takes the arguments after its own name and returns the
// process's exit status: 0 done, 1 the work failed (message on stderr), 2 bad arguments.
#pragma once

#include <string>
#include <vector>

#include "core/user_messages.h"

namespace quillmere::cli {

using Args = std::vector<std::string>;

/// What every command gets: the program directory (holding tensor.tab) and a message sink that
/// prints the program's notices to stderr.
struct CliContext {
  CoreServices services;
};

/// Thrown for bad command-line arguments; main prints the text on one line and exits with 2.
struct UsageError {
  std::string text;
};

/// The full tool, beside quillmere-cli in the program directory: quillmere-cli starts without
/// Qt and libcurl and hands render, map and check-update to it.
inline constexpr const char* kFullToolName = "quillmere-cli-full";

int ComponentsCommand(const Args& args, CliContext& context);
int InfoCommand(const Args& args, CliContext& context);
int ExportCommand(const Args& args, CliContext& context);
int TransformCommand(const Args& args, CliContext& context);
// Render, map and check-update run in the full tool; in quillmere-cli they hand over to it.
/// Only in builds with the picture canvases (QUILLMERE_HAVE_CANVAS).
int RenderCommand(const Args& args, CliContext& context);
/// Only in builds with the picture canvases (QUILLMERE_HAVE_CANVAS).
int MapCommand(const Args& args, CliContext& context);
int ElasticCommand(const Args& args, CliContext& context);
/// The point groups the tensor's numbers obey.
int SymmetryCommand(const Args& args, CliContext& context);
/// Constants from a text matrix, a Materials Project record, an OUTCAR or pymatgen's JSON.
int ImportCommand(const Args& args, CliContext& context);
/// The tensor as its Voigt matrix in text, CSV or JSON.
int MatrixCommand(const Args& args, CliContext& context);
int FitCommand(const Args& args, CliContext& context);
/// The update check without questions; exits 3 when a different version is published.
int CheckUpdateCommand(const Args& args, CliContext& context);

}  // namespace quillmere::cli
