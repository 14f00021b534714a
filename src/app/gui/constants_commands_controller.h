// The constants commands of the main window: Tensor > Voigt Matrix..., Crystal > Find Point Group
// and File > Import... (text matrices, Materials Project JSON, VASP OUTCAR, pymatgen's
// ElasticTensor). Import shares the matrix form and the offer of the point groups the numbers
// obey with the other two, so the three live together. The reading is the core's
// (files/constants_import.h, tensor/point_group_search.h); the controller supplies the dialogs
// and tells the window through hooks what to refresh, redraw and record.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace quillmere {

struct ProgramState;
class Dialogs;
class VoigtMatrixDialog;

/// What the constants commands ask of the window around them. Every hook is set by the window.
struct ConstantsCommandsHooks {
  /// Takes over an open component grid before a command reads the tensor.
  std::function<void()> commitOpenGrid;
  /// "Save changes to name.ten?" for a modified tensor; false when the tensor must stay.
  std::function<bool()> maySetTensorAside;
  /// Changes made so far become an undo step of their own.
  std::function<void()> recordStep;
  /// The name of the undo step the running command makes.
  std::function<void(const QString&)> nameStep;
  std::function<void(const QString&)> showCaption;
  std::function<void()> refresh;     ///< Label11Click
  std::function<void()> drawTensor;  ///< DrawTensor
};

class ConstantsCommandsController : public QObject {
  Q_OBJECT
 public:
  /// The dialogs open over `window`.
  ConstantsCommandsController(ProgramState& state, Dialogs& dialogs, QWidget* window,
                              ConstantsCommandsHooks hooks, QObject* parent = nullptr);

  /// Tensor > Voigt Matrix...: the matrix form of the shown kind; OK sets every component.
  void VoigtMatrix1Click();
  /// Crystal > Find Point Group.
  void FindPointGroup1Click();
  /// File > Import...
  void Import1Click();
  /// Import's steps after the dialog: a bare matrix opens the matrix form with its numbers, the
  /// other formats become the tensor at once; then the groups the numbers obey are offered.
  void ImportConstantsFile(const QString& path);

 private:
  /// Runs the matrix form; on OK the tensor becomes its result and is redrawn, and when the
  /// group was not kept the groups the numbers obey are offered. `importedFile`, when given,
  /// names the result (the title and Save As's proposal).
  void TakeMatrixFrom(VoigtMatrixDialog& dialog,
                      const QString& step = QStringLiteral("Voigt Matrix"),
                      const std::string& importedFile = {});
  /// Lists the groups the components obey and offers the highest; `always` also reports when
  /// there is nothing to offer.
  void OfferPointGroup(bool always);

  ProgramState& state_;
  Dialogs& dialogs_;
  QWidget* window_;
  ConstantsCommandsHooks hooks_;
};

}  // namespace quillmere
