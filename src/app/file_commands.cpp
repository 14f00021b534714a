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
  // The file read is the one shown: Save As proposes it, though only Save As makes it the
  // target of a plain Save.
  state.currentSaveName = path;
  state.saveNameValid = false;
}

std::string NameImportedTensor(ProgramState& state, const std::string& importedFile) {
  state.currentSaveName =
      std::filesystem::path(importedFile).replace_extension(kTensorFileExtension).string();
  state.saveNameValid = false;
  return state.currentSaveName;
}

void ChooseSaveName(ProgramState& state, const std::string& path) {
  state.currentSaveName = path;
  state.saveNameValid = true;
}

std::string ProposedSavePath(const ProgramState& state, const std::string& documentsFolder) {
  namespace fs = std::filesystem;
  const fs::path shown(state.currentSaveName.empty() ? state.openDialogFileName
                                                     : state.currentSaveName);
  const auto usable = [&](const fs::path& folder) {
    std::error_code ec;
    if (folder.empty() || !fs::is_directory(folder, ec)) return false;
    return state.programDirectory.empty() ||
           !fs::equivalent(folder, fs::path(state.programDirectory), ec);
  };
  for (const fs::path& folder :
       {shown.parent_path(), fs::path(state.openDialogFileName).parent_path(),
        fs::path(state.lastUsedFolder), fs::path(documentsFolder)})
    if (usable(folder)) return (folder / shown.filename()).string();
  return shown.filename().string();
}

std::string CountText(std::uintmax_t count, const char* singular, const char* plural) {
  // Digits in groups of three, as "10 446".
  const std::string digits = std::to_string(count);
  std::string text;
  for (std::size_t k = 0; k < digits.size(); ++k) {
    if (k > 0 && (digits.size() - k) % 3 == 0) text += ' ';
    text += digits[k];
  }
  return text + ' ' + (count == 1 ? singular : plural);
}

std::string WrittenMessage(const std::string& what, const std::string& amount,
                           const std::filesystem::path& file) {
  return what + ": " + (amount.empty() ? "" : amount + " ") + "written to " +
         file.filename().string();
}

std::string WrittenMessage(const std::string& what, const std::filesystem::path& file) {
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(file, ec);
  return WrittenMessage(what, ec ? std::string() : CountText(size, "byte", "bytes"), file);
}

void SaveTensorFile(ProgramState& state) {
  WriteTensorFile(state.tensor, std::filesystem::path(state.currentSaveName), state.services);
}

}  // namespace quillmere
