#include "app/picture_commands.h"

#include <system_error>

namespace quillmere {

PictureDialogTexts PictureDialogTextsOf(PictureKind kind) {
  switch (kind) {
    case PictureKind::Bmp:
      return {"Windows-Bitmap *.BMP)|*.BMP|All files|*.*", "BMP"};
    case PictureKind::Emf:
      return {"Enhanced Metafile *.EMF)|*.EMF|All files|*.*", "EMF"};
    case PictureKind::Wmf:
      return {"Standard Metafile *.WMF)|*.WMF|All files|*.*", "WMF"};
    case PictureKind::Png:
      return {"PNG picture (*.PNG)|*.PNG|All files|*.*", "PNG"};
    case PictureKind::Svg:
      return {"SVG vector picture (*.SVG)|*.SVG|All files|*.*", "SVG"};
    case PictureKind::Pdf:
      return {"PDF document (*.PDF)|*.PDF|All files|*.*", "PDF"};
  }
  return {"All files|*.*", ""};
}

std::filesystem::path ProposePicturePath(const std::string& currentSaveName,
                                         const std::filesystem::path& lastPictureFolder,
                                         const std::filesystem::path& picturesFolder,
                                         const std::string& extension) {
  const std::filesystem::path current(currentSaveName);
  std::filesystem::path name = current.filename();
  if (name.empty() || name == "." || name == "..") name = "picture";
  name.replace_extension("." + extension);

  std::error_code ec;
  auto usable = [&ec](const std::filesystem::path& folder) {
    return !folder.empty() && std::filesystem::is_directory(folder, ec);
  };
  std::filesystem::path folder;
  if (!currentSaveName.empty() && usable(current.parent_path()))
    folder = current.parent_path();
  else if (usable(lastPictureFolder))
    folder = lastPictureFolder;
  else
    folder = picturesFolder;
  return folder / name;
}

}  // namespace quillmere
