#include "app/file_commands.h"

#include <filesystem>

#include "app/program_state.h"
#include "files/tensor_file.h"

namespace quillmere {

std::string CaptionForFile(const std::string& path) {
  return std::string(kCaptionPrefix) + std::filesystem::path(path).filename().string();
}

void OpenTensorFile(ProgramState& state, const std::string& path) {
  // The reader resets the components itself and puts the previous tensor back when the file
  // fails, so the other records change only after a good read.
  ReadTensorFile(state.tensor, std::filesystem::path(path), state.services);
  state.crossSectionMode = kFullSurface;
  state.saveNameValid = false;
}

void ChooseSaveName(ProgramState& state, const std::string& path) {
  state.currentSaveName = path;
  state.saveNameValid = true;
}

void SaveTensorFile(ProgramState& state) {
  WriteTensorFile(state.tensor, std::filesystem::path(state.currentSaveName), state.services);
}

}  // namespace quillmere
