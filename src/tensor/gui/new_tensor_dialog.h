// GroupBox3 "New Tensor": the panel shown by File > New, with the file name, the kind, the
// polar/axial type, the point symmetry, the power of ten with its unit text, and the buttons
// "OK", "Cancel" and "Restore". It lies on the main window rather than in a window of its own,
// so that the choosers it opens can be used beside it.
#pragma once

#include <QGroupBox>

#include "tensor/component_entry.h"

class QPushButton;

namespace quillmere {

class BarredLabel;
class EntryField;
class SpinButton;

class NewTensorDialog : public QGroupBox {
  Q_OBJECT
 public:
  explicit NewTensorDialog(QWidget* parent = nullptr);

  /// The copies of the tensor panel: point symmetry with its bar, type, kind and exponent.
  void showCopies(const TensorPanelTexts& texts);
  void setFileName(const QString& name);
  QString fileName() const;
  void setUnitText(const QString& unitText);

  BarredLabel* fileNameCaption;  ///< "Tensorfilename  :"
  BarredLabel* fileNameLabel;    ///< the file name; "Filename" until one is known
  EntryField* fileNameField;     ///< Edit2
  BarredLabel* kindCaption;      ///< "Tensor:"
  BarredLabel* kindLabel;
  BarredLabel* typeCaption;  ///< "Type:"
  BarredLabel* typeLabel;
  BarredLabel* pointSymmetryLabel;  ///< "Point  Symmetry:  " and the group
  BarredLabel* scaleCaption;        ///< " scale:"
  BarredLabel* tenLabel;            ///< "10"
  BarredLabel* exponentLabel;       ///< "exp"
  BarredLabel* unitLabel;           ///< "(unittext)"
  EntryField* unitField;            ///< Edit3
  SpinButton* spinButton;           ///< hidden until "10" or "exp" is clicked
  QPushButton* okButton;            ///< Button2
  QPushButton* cancelButton;        ///< Button3
  QPushButton* restoreButton;       ///< Button5
};

}  // namespace quillmere
