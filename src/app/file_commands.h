// The file side of the main window's commands, without windows: opening a tensor file into the
// program's records, saving it, and the texts the commands show.
//
// Errors follow the core's policy: a file that cannot be read or written throws
// std::runtime_error with the runtime's text ("File not found", "Invalid numeric input"), and a
// failed open leaves every record as it was, so the caption, the recent list and the drawing,
// which the window updates only after a successful open, still describe the tensor shown.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "core/program_version.h"

namespace quillmere {

struct ProgramState;

inline constexpr const char* kMainWindowTitle = "Quillmere Ver. " QUILLMERE_VERSION_TEXT;
inline constexpr const char* kCaptionPrefix = "Quillmere: ";
inline constexpr const char* kTensorFileFilter = "Tensor data file (*.ten)|*.ten|All files|*.*";
inline constexpr const char* kTensorFileExtension = "ten";
inline constexpr const char* kCloseQuestion = "Close application ?";
inline constexpr const char* kMathErrorMessage =
    "A mathematical error occured, please cheque inputparameters";
inline constexpr const char* kHelpFileName = "Quillmerehelp.html";

/// "Quillmere: " followed by the file's name without its directory.
std::string CaptionForFile(const std::string& path);

/// Reads the tensor file at `path` into the records: the components are replaced by the file's
/// (all others zero), the cross-section ends (mode 0, angles not restored), the file becomes the
/// shown tensor's name (CurrentSaveName) and the next Save asks for a name again. On failure
/// nothing changes.
void OpenTensorFile(ProgramState& state, const std::string& path);

/// Constants imported from `importedFile` have replaced the tensor: the shown tensor's name
/// becomes that file's name with the tensor file's extension, in its folder (Save As proposes
/// it; the next Save asks), and is returned.
std::string NameImportedTensor(ProgramState& state, const std::string& importedFile);

/// Save As has chosen `path`: it becomes the save target, valid for the following Saves.
void ChooseSaveName(ProgramState& state, const std::string& path);

/// The path Save As proposes: the shown tensor's name (CurrentSaveName, set by Open, Reopen, the
/// New Tensor panel and Save As; else the file last opened) in its own folder, else in the
/// folder of the file last opened, else in the folder last used in a file dialog, else in
/// `documentsFolder`. A folder that does not exist, or the program's own folder (read-only once
/// installed), is passed over.
std::string ProposedSavePath(const ProgramState& state, const std::string& documentsFolder);

/// A count with its digits in groups of three and its noun: "10 446 patches", "1 patch".
std::string CountText(std::uintmax_t count, const char* singular, const char* plural);

/// The status line's word after a file was written: "VRML: 10 446 patches written to
/// quartz.wrl" (`what`, `amount`, the file's name without the folder); an empty amount is left
/// out.
std::string WrittenMessage(const std::string& what, const std::string& amount,
                           const std::filesystem::path& file);

/// The same naming the file's size as it is now ("10 446 bytes"), for files that have no count
/// of their own to give; nothing when the size cannot be read.
std::string WrittenMessage(const std::string& what, const std::filesystem::path& file);

/// Writes the tensor to the save target (through a temporary file, so a failed write keeps the
/// previous file).
void SaveTensorFile(ProgramState& state);

}  // namespace quillmere
