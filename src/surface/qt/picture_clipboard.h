// The pictures on the system clipboard, in the forms other programs paste: the screen bitmap
// as PNG and BMP (and Qt's own image), a metafile under both of its MIME names, each with an SVG
// copy of the same picture for the programs on Linux that paste SVG.
#pragma once

#include <QImage>
#include <string>

namespace quillmere {

/// image/png, image/bmp and the image itself.
void PutImageOnClipboard(const QImage& image);

/// image/emf and image/x-emf (`enhanced`), or image/wmf and image/x-wmf, and image/svg+xml.
void PutMetafileOnClipboard(const std::string& metafile, bool enhanced, const std::string& svg);

}  // namespace quillmere
