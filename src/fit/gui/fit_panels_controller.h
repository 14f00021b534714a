// The fit side of the main window: the transformation panel (GroupBox4, "Transform"), the
// fixed-direction panel (Panel6, "&Fixed Directions") and the ten items of Tools > Fit, each of
// which prepares the tensor for its property kind and opens the fit window (TForm2) beside the
// main window. The controller owns the two panels (children of the drawing area) and the open
// fit window; it edits the tensor it is given and asks the window for refreshes, redraws and
// undo steps through hooks.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "fit/gui/fixed_direction_panel.h"
#include "fit/gui/transform_panel.h"

namespace quillmere {

class Dialogs;
class TForm2;
struct FitSession;
struct PropertyKind;

/// What the fit window edits; all of it lives as long as the program.
struct FitWindowContext {
  TensorState* tensor = nullptr;
  FitSession* session = nullptr;
  const CoreServices* services = nullptr;
  Dialogs* dialogs = nullptr;
};

/// What the controller asks of the window around it. Every hook is set by the window.
struct FitPanelsHooks {
  /// Takes over an open component grid; false when one stays open (its bad cell shown).
  std::function<bool()> commitOpenGrids;
  std::function<void()> stringGrid1Click;  ///< toggles the full component grid
  std::function<void()> refresh;           ///< Label11Click
  std::function<void()> drawTensor;        ///< DrawTensor
  std::function<void()> toggleUnitEditor;  ///< Edit1Change of the tensor panel
  /// Changes made so far become an undo step of their own.
  std::function<void()> recordStep;
  /// The name of the undo step the running command makes.
  std::function<void(const QString&)> nameStep;
  /// Runs a handler of the controller's own buttons under the window's error report (and
  /// undo step).
  std::function<void(const std::function<void()>&)> guarded;
  /// The tensor was replaced as a whole: text typed into the grids is dropped.
  std::function<void()> tensorReplaced;
  /// Places the fit window (of its final size) beside the main window before it is shown.
  std::function<void(QWidget*)> placeBeside;
};

class FitPanelsController : public QObject {
  Q_OBJECT
 public:
  /// The panels become hidden children of `area`, the drawing area; the fit window a window
  /// of its own owned by `window`.
  FitPanelsController(QWidget* area, QWidget* window, TransformPanelContext transform,
                      FixedDirectionPanelContext directions, FitWindowContext fit,
                      FitPanelsHooks hooks, QObject* parent = nullptr);

  TransformPanel* transformPanel() const { return groupBox4_; }
  FixedDirectionPanel* fixedDirectionPanel() const { return panel6_; }

  /// "Transform": the panel centred at the top of the drawing area, with TransformMatrix.
  void Transform1Click();
  /// "&Fixed Directions": the panel centred at the top of the drawing area.
  void FixedDirections1Click();

  /// The ten items of Tools > Fit; nothing happens while a fit window is open (it comes to the
  /// front).
  void Pyroelectricconstants1Click();
  void DielectricConstants1Click();
  void ThermalExpansion1Click();
  void MagneticSusceptibilities1Click();
  void OpticalActivity1Click();
  void FaradayEffect1Click();
  void Electrostriction1Click();
  void Piezoelectrics1Click();
  void Electrogyration1Click();
  void Halleffect1Click();
  /// The open fit window, or null.
  TForm2* FitWindow() const;
  /// True while the tensor is only borrowed: the fixed-direction panel is open (its OK ends the
  /// one step), or a fit window is being opened or is open without a fit taken over.
  bool BorrowsTensor() const;
  /// The unit shown in the fit window follows the tensor panel's.
  void RefreshFitUnit();

 private:
  void OpenFit(const PropertyKind& kind);
  void Guarded(const std::function<void()>& handler) { hooks_.guarded(handler); }

  QWidget* area_;
  QWidget* window_;
  FitWindowContext fit_;
  FitPanelsHooks hooks_;
  TransformPanel* groupBox4_ = nullptr;
  FixedDirectionPanel* panel6_ = nullptr;
  QPointer<TForm2> fitWindow_;  ///< the open fit window, null when none
  bool openingFit_ = false;     ///< the fit window is being opened: its borrowed tensor is no step
};

}  // namespace quillmere
