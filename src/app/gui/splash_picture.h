// The splash picture (Image1): a representation surface drawn by the program itself, with the
// program's name, its version and the note that a click starts the program.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace quillmere {

/// The picture, `size` x `size` pixels.
/// `pixelRatio` is the screen's device pixels per logical pixel: the picture is `size` logical
/// pixels square, painted at the device pixels so that it is sharp on a scaled screen.
QImage SplashPicture(int size, double pixelRatio = 1.0);

/// The surface alone on a transparent background: the program's icon.
QImage ProgramIconPicture(int size);

/// The program's icon in the sizes of the icon theme's small and middle sizes, drawn as the
/// installed icons are: the window icon of every window of the program.
QIcon ProgramIcon();

/// The same surface as a scalable SVG picture with a transparent background; false when the
/// file could not be written.
bool WriteProgramIconSvg(const QString& fileName);

}  // namespace quillmere
