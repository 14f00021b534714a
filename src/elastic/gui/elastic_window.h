// The "Elastic Properties" window: the elastic report of the current ((ij)(kl)) tensor read as a
// stiffness or a compliance (proposed from its unit), a density for the sound velocities, and
// the chooser "Surface of" that picks what the main window draws. The report can be copied as
// text and saved as JSON. The main window hands it the tensor before every build and reads the
// choice back.
#pragma once

#include <QWidget>
#include <optional>
#include <string>

#include "elastic/elastic_quantity.h"
#include "elastic/elastic_tensor.h"
#include "platform/dialogs.h"
#include "tensor/tensor_state.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace quillmere {

class ElasticWindow : public QWidget {
  Q_OBJECT
 public:
  ElasticWindow(Dialogs& dialogs, QWidget* parent = nullptr);

  /// Reads `t` as elastic constants under the window's choices and shows its report; a tensor
  /// with the same kind, unit and components as the last one changes nothing. A new unit text
  /// proposes stiffness or compliance again.
  void ShowTensor(const TensorState& t);

  /// The elastic constants as now read, or nothing (the report then says why).
  const std::optional<ElasticTensor>& Constants() const { return constants_; }
  /// The quantity chosen under "Surface of", or nothing for the tensor itself (also when the
  /// constants cannot be had, or a velocity is chosen without a density).
  std::optional<ElasticQuantity> ChosenQuantity() const;
  /// The density in kg/m^3, 0 when none is given.
  double Density() const { return density_; }
  /// Counts the readings of the constants: a new one after every change of tensor or choice.
  int Revision() const { return revision_; }
  /// The report text as shown.
  QString ReportText() const;

  /// "Copy": the report as text on the clipboard.
  void CopyClick();
  /// "Save JSON...": asks for a file and writes the report as JSON.
  void SaveJsonClick();

  QRadioButton* stiffnessButton = nullptr;
  QRadioButton* complianceButton = nullptr;
  QLineEdit* unitSizeEdit = nullptr;
  QLineEdit* densityEdit = nullptr;
  QComboBox* surfaceBox = nullptr;
  QPlainTextEdit* reportView = nullptr;
  QPushButton* copyButton = nullptr;
  QPushButton* saveButton = nullptr;

 signals:
  /// What the main window draws may have changed: the choice, the constants or the density.
  void surfaceChanged();

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void Recompute();

  Dialogs& dialogs_;
  TensorState tensor_;
  bool haveTensor_ = false;
  std::optional<ElasticTensor> constants_;
  double density_ = 0;
  int revision_ = 0;
  std::string json_;
};

}  // namespace quillmere
