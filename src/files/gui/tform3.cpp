#include "files/gui/tform3.h"

namespace quillmere {

TForm3::TForm3(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("TForm3"));
  setWindowTitle(QStringLiteral("VRMLcreator"));
}

}  // namespace quillmere
