// The program-wide records of the desktop program: they exist from start-up to exit, are owned
// by the program object (app/gui/program.h) and handed by reference to the windows and to the
// core routines. Start values are those of the program's start-up; nothing here is hidden
// global state.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/user_messages.h"
#include "elastic/elastic_quantity.h"
#include "files/settings_file.h"
#include "files/surface_export.h"
#include "fit/property_kinds.h"
#include "fit/transformation.h"
#include "surface/cross_section.h"
#include "surface/scene.h"
#include "surface/surface_value.h"
#include "surface/view_settings.h"
#include "tensor/tensor_state.h"

namespace quillmere {

struct ProgramState {
  // ---- Tensor and surface ----
  TensorState tensor;
  ViewSettings view;
  SceneList scene;
  /// FixedDirectionTable, AnyDirectionFixed and PrintableExport, read by SurfaceValue.
  SurfaceEvaluation evaluation;
  int crossSectionMode = kFullSurface;
  ExportSession exportSession;  ///< LastExportPath and StlExport of the VRML/STL exports
  SavedViewAngles savedViewAngles;
  TransformMatrix transformMatrix = IdentityMatrix();
  /// An elastic quantity drawn in place of the tensor's own value (Tools > Elastic Properties).
  /// While it is set, evaluation.derivedValue gives the quantity.
  struct DrawnQuantity {
    ElasticQuantity quantity;
    double density = 0;
    /// Which reading of the elastic window (stiffness or compliance, unit size) it came from.
    int revision = 0;
    /// The tensor the quantity was worked out from: kind, unit and components.
    TensorState source;
    /// What the drawing reads: the tensor with the quantity's scale, power of ten and unit.
    TensorState tensor;
  };
  std::optional<DrawnQuantity> drawnQuantity;
  /// The tensor the scene, the legend, the extremes and the exports read.
  const TensorState& DrawnTensor() const { return drawnQuantity ? drawnQuantity->tensor : tensor; }
  TensorState& DrawnTensor() { return drawnQuantity ? drawnQuantity->tensor : tensor; }

  // ---- Shell ----
  /// ProgramDirectory: the folder of the program's own file, with a trailing separator;
  /// tensor.tab, the help file and the icon lie there.
  std::string programDirectory;
  /// SettingsDirectory: holds halvik.ini and its scratch copy.
  std::filesystem::path settingsDirectory;
  /// Where a copy ended by SIGTERM keeps its unsaved tensor for the next start.
  std::filesystem::path recoveryDirectory;
  /// The path Save writes to, and whether Save As has chosen it.
  std::string currentSaveName;
  bool saveNameValid = false;
  /// The file name in the open dialog: the file last opened (also from the command line).
  std::string openDialogFileName;
  /// The folder of the file last chosen in an open or save dialog.
  std::string lastUsedFolder;
  /// The window size from the settings file.
  StartWindow startWindow;
  bool updateChecked = false;
  /// Set while the display palette is to be built at the next activation.
  bool firstActivation = true;
  /// FitWindowFree and the IndexDirectionFlags of the last chosen property kind.
  FitSession fitSession;
  bool editingInPanel = false;
  bool componentsTyped = false;

  /// Where the tensor routines find the table and whom they tell; `messages` is set by the
  /// program object.
  CoreServices services;

  SettingsLocation Settings() const { return {programDirectory, settingsDirectory}; }
};

}  // namespace quillmere
