// The "Projection map" window: the map of the current tensor's value over a hemisphere (the
// same picture as quillmere-cli map), with choosers for the projection and the hemisphere and
// buttons that copy the picture or save it as PNG, SVG, PDF, EMF, WMF or CSV. The main window
// hands it the tensor after every build.
#pragma once

#include <QImage>
#include <QWidget>

#include "platform/dialogs.h"
#include "surface/qt/map_picture.h"

class QComboBox;
class QPushButton;

namespace quillmere {

class ProjectionMapWindow : public QWidget {
  Q_OBJECT
 public:
  ProjectionMapWindow(Dialogs& dialogs, QWidget* parent = nullptr);

  /// Shows the map of `t` under the fixed directions of `e`, with the axis captions of
  /// `captionStyle` and numbers in `decimalSeparator`.
  void ShowTensor(const TensorState& t, const SurfaceEvaluation& e, int captionStyle,
                  char decimalSeparator);

  MapPictureOptions Options() const;
  /// The picture `width` pixels wide, as the window shows it.
  QImage Picture(int width) const;
  /// "Copy": the picture (800 pixels wide) on the clipboard.
  void CopyClick();
  /// "Save...": asks for a file and writes the map in the format of its extension.
  void SaveClick();

  QComboBox* projectionBox = nullptr;
  QComboBox* hemisphereBox = nullptr;
  QPushButton* copyButton = nullptr;
  QPushButton* saveButton = nullptr;
  QWidget* mapView = nullptr;

 private:
  friend class MapView;
  void PaintView(QPainter& painter, int width, int height);

  Dialogs& dialogs_;
  TensorState tensor_;
  SurfaceEvaluation evaluation_;
  int captionStyle_ = 1;
  char decimalSeparator_ = '.';
  bool haveTensor_ = false;
  /// The last painted map and what it was painted for.
  QImage cache_;
  QSize cacheSize_;
  bool cacheValid_ = false;
};

}  // namespace quillmere
