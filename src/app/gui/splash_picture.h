// The splash picture (Image1): a representation surface drawn by the program itself, with the
// program's name, its version and the note that a click starts the program.
#pragma once

#include <QImage>
#include <QString>

namespace quillmere {

/// The picture, `size` x `size` pixels.
QImage SplashPicture(int size);

/// The surface alone on a transparent background: the program's icon.
QImage ProgramIconPicture(int size);

/// The same surface as a scalable SVG picture with a transparent background; false when the
/// file could not be written.
bool WriteProgramIconSvg(const QString& fileName);

}  // namespace quillmere
