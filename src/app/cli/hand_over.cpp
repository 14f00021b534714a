// The commands that need the Qt picture canvases or libcurl, in quillmere-cli itself: the tool
// starts without those libraries (loading them took most of the start of a short command), and
// these commands are handed to the full tool beside it, which replaces this process, so that
// their output, messages and exit status are the full tool's own.
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/cli/cli_commands.h"

namespace quillmere::cli {

namespace {

int HandOver(const char* name, const Args& args, const CliContext& context) {
  const std::string full = (context.services.programDirectory / kFullToolName).string();
  std::vector<std::string> texts = {full, name};
  texts.insert(texts.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& text : texts) argv.push_back(text.data());
  argv.push_back(nullptr);
  std::cout.flush();
  execv(full.c_str(), argv.data());
  throw std::runtime_error("cannot start " + full + ": " + std::strerror(errno));
}

}  // namespace

int RenderCommand(const Args& args, CliContext& context) {
  return HandOver("render", args, context);
}

int MapCommand(const Args& args, CliContext& context) {
  return HandOver("map", args, context);
}

int CheckUpdateCommand(const Args& args, CliContext& context) {
  return HandOver("check-update", args, context);
}

}  // namespace quillmere::cli
