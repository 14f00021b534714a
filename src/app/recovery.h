// Recovery copies: when the program is told to end (SIGTERM: the desktop's logout, or the update
// ending other copies) while the tensor shown differs from its file, the tensor is written to a
// file of its own in the recovery folder, and the next start offers to open it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quillmere {

struct ProgramState;

inline constexpr const char* kRecoveryQuestionStart =
    "Quillmere was ended while a tensor had unsaved changes. Open the recovery copy ";

/// $XDG_DATA_HOME/quillmere/recovery, else ~/.local/share/quillmere/recovery (not created).
std::filesystem::path DefaultRecoveryDirectory();

/// Whether saving would change anything: the tensor's file text differs from the file last
/// saved or opened (or that file cannot be read); with no file, whether any component is set.
bool HasUnsavedChanges(ProgramState& state);

/// Writes the tensor as a new tensor file in `folder` (created, private to the user) and returns
/// its path. Throws std::runtime_error when it cannot.
std::filesystem::path WriteRecoveryCopy(ProgramState& state, const std::filesystem::path& folder);

/// The recovery copies in `folder`, oldest name first.
std::vector<std::filesystem::path> RecoveryCopies(const std::filesystem::path& folder);

/// The question the start asks for `copy`.
std::string RecoveryQuestion(const std::filesystem::path& copy);

}  // namespace quillmere
