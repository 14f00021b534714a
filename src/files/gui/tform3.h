// TForm3, the VRML export window: created at start-up and never shown. It owns the export's
// file dialog; the export sets its caption to "Quillmere: " and the chosen file's name.
#pragma once

#include <QWidget>

namespace quillmere {

class TForm3 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm3(QWidget* parent = nullptr);
};

}  // namespace quillmere
