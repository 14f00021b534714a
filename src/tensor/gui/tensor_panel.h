// The tensor information panel over the picture: "T" and the kind, the point group ("PS: "),
// "polar"/"axial", the unit line ("10", the exponent and the unit text), the DRAW button and the
// two lines of the surface's extremes. A click on a label asks for its command through a signal.
#pragma once

#include <QFrame>
#include <QRect>
#include <QString>

#include "tensor/component_entry.h"

class QLabel;
class QPushButton;

namespace quillmere {

class BarredLabel;
class ClickableLabel;

class TensorPanel : public QFrame {
  Q_OBJECT
 public:
  /// A child of `area`, the drawing area; its positions are given in the area's coordinates.
  explicit TensorPanel(QWidget* area);

  /// The labels show the texts of the tensor (kind, point group, polarity, exponent, unit).
  void ShowTexts(const TensorPanelTexts& texts);
  /// The extremes' two lines ("max ... [x, y, z]" and "min ... [x, y, z]").
  void ShowExtremes(const QString& text);
  /// While DRAW runs its button reads "Busy".
  void ShowDrawing(bool drawing);
  /// Over the unit line, as wide as the panel allows inside the area: where the unit-text
  /// field opens.
  QRect UnitFieldRect() const;
  /// The exponent's top-left corner in the area's coordinates (the unit spin button's level).
  QPoint ExponentPosition() const;

 signals:
  void kindClicked();      ///< "T" or the kind
  void groupClicked();     ///< the point group
  void polarityClicked();  ///< "polar"/"axial"
  void unitTextClicked();  ///< the unit text
  void powerClicked();     ///< "10" or the exponent
  void drawClicked();      ///< the DRAW button

 private:
  ClickableLabel* labelT_;
  ClickableLabel* kind_;      // Label14
  BarredLabel* group_;        // Label23
  ClickableLabel* polarity_;  // Label15
  ClickableLabel* ten_;       // Label10
  ClickableLabel* exponent_;  // Label11
  ClickableLabel* unitText_;  // Label12
  QPushButton* draw_;         // DRAWButton
  QLabel* extremes_;          // ExtremesLabel
};

}  // namespace quillmere
