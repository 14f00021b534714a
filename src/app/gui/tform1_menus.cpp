// TForm1: the menu bar and the speed-button bar. Captions are the program's own, accelerators
// as the "&" in them gives; items whose handlers live elsewhere stay disabled until their part
// connects them with OnTriggered().
#include <QAction>
#include <QMenuBar>
#include <QToolBar>

#include "app/gui/speed_button_icons.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"

namespace quillmere {

namespace {

// Every item and button is named after the member that holds it ("Open1", "SpeedDraw"), so that
// it can be found by its name.

QAction* Item(QMenu* menu, const char* caption, const char* name) {
  QAction* a = menu->addAction(QString::fromUtf8(caption));
  a->setObjectName(QString::fromLatin1(name));
  a->setEnabled(false);
  return a;
}

QAction* Check(QMenu* menu, const char* caption, const char* name, bool checked) {
  QAction* a = Item(menu, caption, name);
  a->setCheckable(true);
  a->setChecked(checked);
  return a;
}

QAction* Button(QToolBar* bar, SpeedIcon icon, const char* hint, const char* name) {
  QAction* a = bar->addAction(SpeedButtonIcon(icon), QString::fromUtf8(hint));
  a->setObjectName(QString::fromLatin1(name));
  a->setToolTip(QString::fromUtf8(hint));
  a->setEnabled(false);
  return a;
}

template <class Parent>  // the menu bar or a menu
QMenu* Menu(Parent* parent, const char* caption, const char* name) {
  QMenu* m = parent->addMenu(QString::fromUtf8(caption));
  m->setObjectName(QString::fromLatin1(name));
  return m;
}

}  // namespace

void TForm1::CreateMenus() {
  QMenuBar* bar = menuBar();

  FileMenu = Menu(bar, "&File", "FileMenu");
  New1 = Item(FileMenu, "&New", "New1");
  Open1 = Item(FileMenu, "&Open", "Open1");
  Reopen1 = Menu(FileMenu, "&Reopen", "Reopen1");
  for (std::size_t k = 0; k < ReopenItems.size(); ++k) {
    ReopenItems[k] = Reopen1->addAction(QString());
    ReopenItems[k]->setObjectName(QStringLiteral("N%1%2").arg(k + 1).arg(1));
    ReopenItems[k]->setVisible(false);
  }
  Save1 = Item(FileMenu, "&Save", "Save1");
  SaveAs1 = Item(FileMenu, "Save &As", "SaveAs1");
  FileMenu->addSeparator();
  CreateScreenWrl1 = Item(FileMenu, "&Create Screen - *.wrl file ", "CreateScreenWrl1");
  Export3DPrintableWrl1 =
      Item(FileMenu, "&Export 3D-printable *.wrl file", "Export3DPrintableWrl1");
  ExportStl1 = Item(FileMenu, "E&xport *.stl file", "ExportStl1");
  FileMenu->addSeparator();
  SavePictureAs1 = Menu(FileMenu, "Save P&icture as", "SavePictureAs1");
  SaveBmp1 = Item(SavePictureAs1, "*.BMP-Windows bitmap", "SaveBmp1");
  SaveEmf1 = Item(SavePictureAs1, "*.EMF-enhanced metafile", "SaveEmf1");
  SaveWmf1 = Item(SavePictureAs1, "*.WMF-standard metafile", "SaveWmf1");
  SavePng1 = Item(SavePictureAs1, "*.PNG-picture", "SavePng1");
  SaveSvg1 = Item(SavePictureAs1, "*.SVG-vector picture", "SaveSvg1");
  SavePdf1 = Item(SavePictureAs1, "*.PDF-document", "SavePdf1");
  Print1 = Item(FileMenu, "&Print", "Print1");
  FileMenu->addSeparator();
  Close1 = Item(FileMenu, "&Exit", "Close1");

  EditMenu = Menu(bar, "&Edit", "EditMenu");
  CopyAsWindowBitmap1 = Item(EditMenu, "Copy as &WindowBitmap", "CopyAsWindowBitmap1");
  CopyAsEnhancedMetafile1 =
      Item(EditMenu, "Copy as &Enhanced Metafile ", "CopyAsEnhancedMetafile1");
  CopyAsStandardMetafile1 = Item(EditMenu, "Copy as &Standard metafile", "CopyAsStandardMetafile1");

  ViewMenu = Menu(bar, "&View", "ViewMenu");
  DRAW1 = Item(ViewMenu, "DRAW", "DRAW1");
  ViewMenu->addSeparator();
  Grid1 = Check(ViewMenu, "&Grid", "Grid1", state().view.showGrid);
  Axes1 = Check(ViewMenu, "&Axes", "Axes1", state().view.showAxes);
  Fill1 = Check(ViewMenu, "&Fill", "Fill1", state().view.fillPatches);
  Scale1 = Check(ViewMenu, "S&cale", "Scale1", state().view.showScale);
  ViewMenu->addSeparator();
  Stereo1 = Check(ViewMenu, "&Stereo (crossed eyes)", "Stereo1", state().view.stereo);
  Palette1 = Check(ViewMenu, "256color&Palette", "Palette1", state().view.paletteMode);
  DrawingUtilities1 = Check(ViewMenu, "&Drawing utilities", "DrawingUtilities1", true);
  Speedbuttons1 = Check(ViewMenu, "Speed&buttons", "Speedbuttons1", true);
  LockScale1 = Check(ViewMenu, "Lock Scale", "LockScale1", false);
  ViewMenu->addSeparator();
  ResetView1 = Item(ViewMenu, "&Reset View Parametrs", "ResetView1");
  ViewMenu->addSeparator();
  CrossSectionX1 = Item(ViewMenu, "Cross-section on &X-axis", "CrossSectionX1");
  CrossSectionY1 = Item(ViewMenu, "Cross-section on &Y-axis", "CrossSectionY1");
  CrossSectionZ1 = Item(ViewMenu, "Cross-section on &Z-axis", "CrossSectionZ1");
  ViewMenu->addSeparator();
  ProjectionMap1 = Item(ViewMenu, "Projection map", "ProjectionMap1");
  ShowExtremes1 = Check(ViewMenu, "Show extremes", "ShowExtremes1", false);

  StylesMenu = Menu(bar, "&Styles/Colors", "StylesMenu");
  PositiveFillColor1 = Item(StylesMenu, "&Positive fill color", "PositiveFillColor1");
  NegativeFillColor1 = Item(StylesMenu, "&Negative fill  color", "NegativeFillColor1");
  PositiveLineColor1 = Item(StylesMenu, "P&ositive line color", "PositiveLineColor1");
  NegativeLineColor1 = Item(StylesMenu, "N&egative line color", "NegativeLineColor1");
  BackgroundColor1 = Item(StylesMenu, "&Background color", "BackgroundColor1");
  AxesColor1 = Item(StylesMenu, "Set &Axes color", "AxesColor1");
  StylesMenu->addSeparator();
  TextStyle1 = Item(StylesMenu, "&Text Style", "TextStyle1");
  ChangeAxesCaption1 = Item(StylesMenu, "Change axes &Caption", "ChangeAxesCaption1");

  TensorMenu = Menu(bar, "&Tensor", "TensorMenu");
  TensorSymmetry1 = Item(TensorMenu, "&Tensor symmetry", "TensorSymmetry1");
  Components1 = Item(TensorMenu, "&Components", "Components1");
  IndependentComponents1 = Item(TensorMenu, "&Independent Components", "IndependentComponents1");
  axial1 = Item(TensorMenu, "change into &axial", "axial1");
  EditUnitText1 = Item(TensorMenu, "&Edit UnitText", "EditUnitText1");
  ResetTensor1 = Item(TensorMenu, "&Reset Tensor", "ResetTensor1");
  TensorMenu->addSeparator();
  Transform1 = Item(TensorMenu, "Transform", "Transform1");
  FixedDirections1 = Item(TensorMenu, "&Fixed Directions", "FixedDirections1");

  CrystalMenu = Menu(bar, "&Crystal", "CrystalMenu");
  PointGroup1 = Item(CrystalMenu, "&PointGroup", "PointGroup1");

  ToolsMenu = Menu(bar, "&Tools", "ToolsMenu");
  Fit1 = Menu(ToolsMenu, "Fit", "Fit1");
  Pyroelectricconstants1 = Item(Fit1, "&Pyroelectric Constants", "Pyroelectricconstants1");
  DielectricConstants1 = Item(Fit1, "&Dielectric Constants", "DielectricConstants1");
  ThermalExpansion1 = Item(Fit1, "&Thermal Expansion", "ThermalExpansion1");
  MagneticSusceptibilities1 = Item(Fit1, "&Magnetic Susceptibility", "MagneticSusceptibilities1");
  OpticalActivity1 = Item(Fit1, "&Optical Activity", "OpticalActivity1");
  FaradayEffect1 = Item(Fit1, "&Faraday Effect", "FaradayEffect1");
  Electrostriction1 = Item(Fit1, "&Electrostriction", "Electrostriction1");
  Piezoelectrics1 = Item(Fit1, "P&iezoelectrics", "Piezoelectrics1");
  Electrogyration1 = Item(Fit1, "Electro&gyration", "Electrogyration1");
  Halleffect1 = Item(Fit1, "&Hall Effect", "Halleffect1");
  ElasticProperties1 = Item(ToolsMenu, "&Elastic Properties", "ElasticProperties1");
  ToolsMenu->addSeparator();
  Register1 = Item(ToolsMenu, "&Register *.ten files", "Register1");
  Checkforupdates1 = Item(ToolsMenu, "Check for &updates", "Checkforupdates1");

  HelpMenu = Menu(bar, "&Help", "HelpMenu");
  Contents1 = Item(HelpMenu, "&Contents", "Contents1");
  Homepage1 = Item(HelpMenu, "&Homepage", "Homepage1");
  HelpMenu->addSeparator();
  About1 = Item(HelpMenu, "&About", "About1");
}

void TForm1::CreateSpeedButtons() {
  speedButtonBar = new QToolBar(QStringLiteral("Speedbuttons"), this);
  speedButtonBar->setObjectName(QStringLiteral("SpeedButtonBar"));
  speedButtonBar->setMovable(false);
  speedButtonBar->setFloatable(false);
  speedButtonBar->setIconSize(QSize(24, 24));
  speedButtonBar->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, speedButtonBar);

  QToolBar* b = speedButtonBar;
  SpeedNew = Button(b, SpeedIcon::New, "New tensorfile", "SpeedNew");
  SpeedOpen = Button(b, SpeedIcon::Open, "Load a tensorfile", "SpeedOpen");
  SpeedSave = Button(b, SpeedIcon::Save, "Save a tensorfile", "SpeedSave");
  SpeedPrint = Button(b, SpeedIcon::Print, "Print the picture", "SpeedPrint");
  b->addSeparator();
  SpeedDraw = Button(b, SpeedIcon::Draw, "Draw the tensor", "SpeedDraw");
  SpeedTensorSymmetry =
      Button(b, SpeedIcon::TensorSymmetry, "Tensorsymmetry", "SpeedTensorSymmetry");
  SpeedPointGroup = Button(b, SpeedIcon::PointGroup, "Pointgroup", "SpeedPointGroup");
  SpeedIndependent =
      Button(b, SpeedIcon::IndependentComponents, "Independent components", "SpeedIndependent");
  SpeedClear = Button(b, SpeedIcon::ClearComponents, "Clear components", "SpeedClear");
  b->addSeparator();
  SpeedDrawUtilities = Button(b, SpeedIcon::DrawUtilities, "Draw utilities", "SpeedDrawUtilities");
  SpeedStereo = Button(b, SpeedIcon::Stereo, "Stereoplot", "SpeedStereo");
  SpeedNormal = Button(b, SpeedIcon::Normal, "Normal plot", "SpeedNormal");
  SpeedNormal->setVisible(false);
  b->addSeparator();
  SpeedPositiveFill =
      Button(b, SpeedIcon::PositiveFill, "Positive fill color", "SpeedPositiveFill");
  SpeedNegativeFill =
      Button(b, SpeedIcon::NegativeFill, "Negative fill color", "SpeedNegativeFill");
  SpeedBackground = Button(b, SpeedIcon::Background, "Background color", "SpeedBackground");
  SpeedAxesColour = Button(b, SpeedIcon::AxesColour, "Axes color", "SpeedAxesColour");
  SpeedTextStyle = Button(b, SpeedIcon::TextStyle, "Text style", "SpeedTextStyle");
  b->addSeparator();
  SpeedProjectionX = Button(b, SpeedIcon::ProjectionX, "Projection on X", "SpeedProjectionX");
  SpeedProjectionY = Button(b, SpeedIcon::ProjectionY, "Projection on Y", "SpeedProjectionY");
  SpeedProjectionZ = Button(b, SpeedIcon::ProjectionZ, "Projection on Z", "SpeedProjectionZ");
  b->addSeparator();
  SpeedHelp = Button(b, SpeedIcon::Help, "Help", "SpeedHelp");
}

}  // namespace quillmere
