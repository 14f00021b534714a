#include "app/recovery.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <sstream>

#include "app/program_state.h"
#include "core/user_messages.h"
#include "files/atomic_file.h"
#include "files/tensor_file.h"

namespace quillmere {

namespace {

std::string TensorText(ProgramState& state) {
  std::ostringstream out;
  WriteTensorFile(state.tensor, out, state.services);
  return out.str();
}

}  // namespace

std::filesystem::path DefaultRecoveryDirectory() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && *data) return std::filesystem::path(data) / "quillmere" / "recovery";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / ".local" / "share" / "quillmere" /
         "recovery";
}

bool HasUnsavedChanges(ProgramState& state) {
  const TensorState& shown = state.tensor;
  const std::string file = state.saveNameValid ? state.currentSaveName : state.openDialogFileName;
  if (file.empty())
    return std::any_of(shown.components.begin(), shown.components.end(),
                       [](Real c) { return c != 0; });
  // The file is read as Open would read it, quietly: what differs from the tensor shown is
  // unsaved.
  RecordingMessages quiet;
  CoreServices services = state.services;
  services.messages = &quiet;
  TensorState fromFile = shown;
  try {
    ReadTensorFile(fromFile, std::filesystem::path(file), services);
  } catch (const std::exception&) {
    return true;
  }
  return fromFile.components != shown.components || fromFile.kind != shown.kind ||
         fromFile.pointGroup != shown.pointGroup || fromFile.axial != shown.axial ||
         fromFile.unitText != shown.unitText;
}

std::filesystem::path WriteRecoveryCopy(ProgramState& state, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  ::chmod(folder.c_str(), 0700);
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  const std::filesystem::path copy =
      folder / ("recovered-" +
                std::to_string(std::chrono::duration_cast<std::chrono::seconds>(now).count()) +
                "-" + std::to_string(::getpid()) + ".ten");
  WriteFileAtomically(copy, TensorText(state));
  return copy;
}

std::vector<std::filesystem::path> RecoveryCopies(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> copies;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (it->path().extension() == ".ten" && it->is_regular_file(ec)) copies.push_back(it->path());
  std::sort(copies.begin(), copies.end());
  return copies;
}

std::string RecoveryQuestion(const std::filesystem::path& copy) {
  return kRecoveryQuestionStart + copy.string() + " ?";
}

}  // namespace quillmere
