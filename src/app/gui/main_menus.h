// The main window's menu bar and speed-button bar: every menu, item and speed button, named after
// the member that holds it ("Open1", "SpeedDraw") so that it can be found by its name. The window
// routes each item to its handler; an item stays disabled until it is routed.
#pragma once

#include <QAction>
#include <QMenu>
#include <array>

class QMenuBar;
class QToolBar;

namespace quillmere {

struct ViewSettings;

struct MainMenus {
  // Menus, in the order of the menu bar.
  QMenu* FileMenu = nullptr;
  QMenu* EditMenu = nullptr;
  QMenu* ViewMenu = nullptr;
  QMenu* StylesMenu = nullptr;
  QMenu* TensorMenu = nullptr;
  QMenu* CrystalMenu = nullptr;
  QMenu* ToolsMenu = nullptr;
  QMenu* HelpMenu = nullptr;

  // "&File"
  QAction* New1 = nullptr;
  QAction* Open1 = nullptr;
  QMenu* Reopen1 = nullptr;
  std::array<QAction*, 5> ReopenItems{};  ///< N11, N21, N31, N41, N51
  QAction* Save1 = nullptr;
  QAction* SaveAs1 = nullptr;
  QAction* Import1 = nullptr;
  QAction* CreateScreenWrl1 = nullptr;
  QAction* Export3DPrintableWrl1 = nullptr;
  QAction* ExportStl1 = nullptr;
  QMenu* SavePictureAs1 = nullptr;
  QAction* SaveBmp1 = nullptr;
  QAction* SaveEmf1 = nullptr;
  QAction* SaveWmf1 = nullptr;
  QAction* SavePng1 = nullptr;
  QAction* SaveSvg1 = nullptr;
  QAction* SavePdf1 = nullptr;
  QAction* Print1 = nullptr;
  QAction* Close1 = nullptr;  ///< "&Exit"
  // "&Edit"
  QAction* Undo1 = nullptr;
  QAction* Redo1 = nullptr;
  QAction* CopyAsWindowBitmap1 = nullptr;
  QAction* CopyAsEnhancedMetafile1 = nullptr;
  QAction* CopyAsStandardMetafile1 = nullptr;
  // "&View"
  QAction* DRAW1 = nullptr;
  QAction* Grid1 = nullptr;  ///< checkable, mirrors the grid check box
  QAction* Axes1 = nullptr;
  QAction* Fill1 = nullptr;
  QAction* Scale1 = nullptr;
  QAction* Stereo1 = nullptr;
  QAction* Palette1 = nullptr;  ///< "256color&Palette"
  QAction* DrawingUtilities1 = nullptr;
  QAction* Speedbuttons1 = nullptr;
  QAction* LockScale1 = nullptr;
  QAction* ResetView1 = nullptr;
  QAction* CrossSectionX1 = nullptr;
  QAction* CrossSectionY1 = nullptr;
  QAction* CrossSectionZ1 = nullptr;
  QAction* ProjectionMap1 = nullptr;  ///< opens the projection-map window
  QAction* ShowExtremes1 = nullptr;   ///< checkable: arrows at the largest and smallest value
  // "&Styles/Colors"
  QAction* PositiveFillColor1 = nullptr;
  QAction* NegativeFillColor1 = nullptr;
  QAction* PositiveLineColor1 = nullptr;
  QAction* NegativeLineColor1 = nullptr;
  QAction* BackgroundColor1 = nullptr;
  QAction* AxesColor1 = nullptr;
  QAction* TextStyle1 = nullptr;
  QAction* ChangeAxesCaption1 = nullptr;
  // "&Tensor"
  QAction* TensorSymmetry1 = nullptr;
  QAction* Components1 = nullptr;
  QAction* IndependentComponents1 = nullptr;
  QAction* VoigtMatrix1 = nullptr;
  QAction* axial1 = nullptr;  ///< "change into &axial" / "change into &polar"
  QAction* EditUnitText1 = nullptr;
  QAction* ResetTensor1 = nullptr;
  QAction* Transform1 = nullptr;
  QAction* FixedDirections1 = nullptr;
  // "&Crystal"
  QAction* PointGroup1 = nullptr;
  QAction* FindPointGroup1 = nullptr;
  // "&Tools"
  QMenu* Fit1 = nullptr;
  QAction* Pyroelectricconstants1 = nullptr;
  QAction* DielectricConstants1 = nullptr;
  QAction* ThermalExpansion1 = nullptr;
  QAction* MagneticSusceptibilities1 = nullptr;
  QAction* OpticalActivity1 = nullptr;
  QAction* FaradayEffect1 = nullptr;
  QAction* Electrostriction1 = nullptr;
  QAction* Piezoelectrics1 = nullptr;
  QAction* Electrogyration1 = nullptr;
  QAction* Halleffect1 = nullptr;
  QAction* ElasticProperties1 = nullptr;
  QAction* Register1 = nullptr;  ///< "&Register *.ten files"
  QAction* Checkforupdates1 = nullptr;
  // "&Help"
  QAction* Contents1 = nullptr;
  QAction* Homepage1 = nullptr;
  QAction* About1 = nullptr;

  // Speed buttons (hints as tooltips).
  QAction* SpeedNew = nullptr;             ///< "New tensorfile"
  QAction* SpeedOpen = nullptr;            ///< "Load a tensorfile"
  QAction* SpeedSave = nullptr;            ///< "Save a tensorfile"
  QAction* SpeedPrint = nullptr;           ///< "Print the picture"
  QAction* SpeedDraw = nullptr;            ///< "Draw the tensor"
  QAction* SpeedTensorSymmetry = nullptr;  ///< "Tensorsymmetry"
  QAction* SpeedPointGroup = nullptr;      ///< "Pointgroup"
  QAction* SpeedIndependent = nullptr;     ///< "Independent components"
  QAction* SpeedClear = nullptr;           ///< "Clear components"
  QAction* SpeedDrawUtilities = nullptr;   ///< "Draw utilities"
  QAction* SpeedStereo = nullptr;          ///< "Stereoplot"
  QAction* SpeedNormal = nullptr;          ///< "Normal plot" (shown in stereo instead)
  QAction* SpeedPositiveFill = nullptr;    ///< "Positive fill color"
  QAction* SpeedNegativeFill = nullptr;    ///< "Negative fill color"
  QAction* SpeedBackground = nullptr;      ///< "Background color"
  QAction* SpeedAxesColour = nullptr;      ///< "Axes color"
  QAction* SpeedTextStyle = nullptr;       ///< "Text style"
  QAction* SpeedProjectionX = nullptr;     ///< "Projection on X"
  QAction* SpeedProjectionY = nullptr;     ///< "Projection on Y"
  QAction* SpeedProjectionZ = nullptr;     ///< "Projection on Z"
  QAction* SpeedHelp = nullptr;            ///< "Help"
};

/// Fills the menu bar and the speed-button bar; the view's switches give the first check marks.
/// Undo, Redo and the items other parts insert (Voigt Matrix..., Find Point Group, Import...)
/// are added by the window's routing.
void CreateMainMenus(MainMenus& menus, QMenuBar* bar, QToolBar* speedButtons,
                     const ViewSettings& view);

}  // namespace quillmere
