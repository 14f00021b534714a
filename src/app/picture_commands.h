// The picture items of the main window without windows: which kinds of picture there are, the
// texts of their save dialogs, and the file name a save dialog proposes.
#pragma once

#include <filesystem>
#include <string>

namespace quillmere {

/// The kinds of "Save P&icture as": the screen bitmap as it is, the two metafiles, and PNG, SVG
/// and PDF painted at the metafiles' size.
enum class PictureKind { Bmp, Emf, Wmf, Png, Svg, Pdf };

struct PictureDialogTexts {
  const char* filter;     ///< in pair form "description|patterns|..."
  const char* extension;  ///< default extension, without the dot
};

PictureDialogTexts PictureDialogTextsOf(PictureKind kind);

inline constexpr const char* kPrintAbortedMessage = "Printing has been aborted";

/// The path a picture save dialog proposes: the name of the current tensor file with the
/// picture's extension, in the tensor file's folder when it still exists, else in the folder a
/// picture was last saved to, else in the user's pictures folder. Without a tensor file the
/// name is "picture". (The program's own folder is never proposed: once installed, it cannot be
/// written.)
std::filesystem::path ProposePicturePath(const std::string& currentSaveName,
                                         const std::filesystem::path& lastPictureFolder,
                                         const std::filesystem::path& picturesFolder,
                                         const std::string& extension);

}  // namespace quillmere
