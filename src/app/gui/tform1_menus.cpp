// TForm1: the menu bar and the speed-button bar. Captions are the program's own, accelerators
// as the "&" in them gives; items whose handlers live elsewhere stay disabled until their part
// connects them with OnTriggered().
#include <QMenuBar>

#include "app/gui/speed_button_icons.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"

namespace quillmere {

namespace {

QAction* Item(QMenu* menu, const char* caption, bool enabled = false) {
  QAction* a = menu->addAction(QString::fromUtf8(caption));
  a->setEnabled(enabled);
  return a;
}

QAction* Check(QMenu* menu, const char* caption, bool checked) {
  QAction* a = Item(menu, caption);
  a->setCheckable(true);
  a->setChecked(checked);
  return a;
}

QAction* Button(QToolBar* bar, SpeedIcon icon, const char* hint) {
  QAction* a = bar->addAction(SpeedButtonIcon(icon), QString::fromUtf8(hint));
  a->setToolTip(QString::fromUtf8(hint));
  a->setEnabled(false);
  return a;
}

}  // namespace

void TForm1::CreateMenus() {
  QMenuBar* bar = menuBar();

  FileMenu = bar->addMenu(QStringLiteral("&File"));
  New1 = Item(FileMenu, "&New");
  Open1 = Item(FileMenu, "&Open");
  Reopen1 = FileMenu->addMenu(QStringLiteral("&Reopen"));
  for (std::size_t k = 0; k < ReopenItems.size(); ++k) {
    ReopenItems[k] = Reopen1->addAction(QString());
    ReopenItems[k]->setObjectName(QStringLiteral("N%1%2").arg(k + 1).arg(1));
    ReopenItems[k]->setVisible(false);
  }
  Save1 = Item(FileMenu, "&Save");
  SaveAs1 = Item(FileMenu, "Save &As");
  FileMenu->addSeparator();
  CreateScreenWrl1 = Item(FileMenu, "&Create Screen - *.wrl file ");
  Export3DPrintableWrl1 = Item(FileMenu, "&Export 3D-printable *.wrl file");
  ExportStl1 = Item(FileMenu, "E&xport *.stl file");
  FileMenu->addSeparator();
  SavePictureAs1 = FileMenu->addMenu(QStringLiteral("Save P&icture as"));
  SaveBmp1 = Item(SavePictureAs1, "*.BMP-Windows bitmap");
  SaveEmf1 = Item(SavePictureAs1, "*.EMF-enhanced metafile");
  SaveWmf1 = Item(SavePictureAs1, "*.WMF-standard metafile");
  SavePng1 = Item(SavePictureAs1, "*.PNG-picture");
  SaveSvg1 = Item(SavePictureAs1, "*.SVG-vector picture");
  SavePdf1 = Item(SavePictureAs1, "*.PDF-document");
  Print1 = Item(FileMenu, "&Print");
  FileMenu->addSeparator();
  Close1 = Item(FileMenu, "&Exit");

  EditMenu = bar->addMenu(QStringLiteral("&Edit"));
  CopyAsWindowBitmap1 = Item(EditMenu, "Copy as &WindowBitmap");
  CopyAsEnhancedMetafile1 = Item(EditMenu, "Copy as &Enhanced Metafile ");
  CopyAsStandardMetafile1 = Item(EditMenu, "Copy as &Standard metafile");

  ViewMenu = bar->addMenu(QStringLiteral("&View"));
  DRAW1 = Item(ViewMenu, "DRAW");
  ViewMenu->addSeparator();
  Grid1 = Check(ViewMenu, "&Grid", state().view.showGrid);
  Axes1 = Check(ViewMenu, "&Axes", state().view.showAxes);
  Fill1 = Check(ViewMenu, "&Fill", state().view.fillPatches);
  Scale1 = Check(ViewMenu, "S&cale", state().view.showScale);
  ViewMenu->addSeparator();
  Stereo1 = Check(ViewMenu, "&Stereo (crossed eyes)", state().view.stereo);
  Palette1 = Check(ViewMenu, "256color&Palette", state().view.paletteMode);
  DrawingUtilities1 = Check(ViewMenu, "&Drawing utilities", true);
  Speedbuttons1 = Check(ViewMenu, "Speed&buttons", true);
  LockScale1 = Check(ViewMenu, "Lock Scale", false);
  ViewMenu->addSeparator();
  ResetView1 = Item(ViewMenu, "&Reset View Parametrs");
  ViewMenu->addSeparator();
  CrossSectionX1 = Item(ViewMenu, "Cross-section on &X-axis");
  CrossSectionY1 = Item(ViewMenu, "Cross-section on &Y-axis");
  CrossSectionZ1 = Item(ViewMenu, "Cross-section on &Z-axis");
  ViewMenu->addSeparator();
  ProjectionMap1 = Item(ViewMenu, "Projection map");
  ShowExtremes1 = Check(ViewMenu, "Show extremes", false);

  StylesMenu = bar->addMenu(QStringLiteral("&Styles/Colors"));
  PositiveFillColor1 = Item(StylesMenu, "&Positive fill color");
  NegativeFillColor1 = Item(StylesMenu, "&Negative fill  color");
  PositiveLineColor1 = Item(StylesMenu, "P&ositive line color");
  NegativeLineColor1 = Item(StylesMenu, "N&egative line color");
  BackgroundColor1 = Item(StylesMenu, "&Background color");
  AxesColor1 = Item(StylesMenu, "Set &Axes color");
  StylesMenu->addSeparator();
  TextStyle1 = Item(StylesMenu, "&Text Style");
  ChangeAxesCaption1 = Item(StylesMenu, "Change axes &Caption");

  TensorMenu = bar->addMenu(QStringLiteral("&Tensor"));
  TensorSymmetry1 = Item(TensorMenu, "&Tensor symmetry");
  Components1 = Item(TensorMenu, "&Components");
  IndependentComponents1 = Item(TensorMenu, "&Independent Components");
  axial1 = Item(TensorMenu, "change into &axial");
  EditUnitText1 = Item(TensorMenu, "&Edit UnitText");
  ResetTensor1 = Item(TensorMenu, "&Reset Tensor");
  TensorMenu->addSeparator();
  Transform1 = Item(TensorMenu, "Transform");
  FixedDirections1 = Item(TensorMenu, "&Fixed Directions");

  CrystalMenu = bar->addMenu(QStringLiteral("&Crystal"));
  PointGroup1 = Item(CrystalMenu, "&PointGroup");

  ToolsMenu = bar->addMenu(QStringLiteral("&Tools"));
  Fit1 = ToolsMenu->addMenu(QStringLiteral("Fit"));
  Pyroelectricconstants1 = Item(Fit1, "&Pyroelectric Constants");
  DielectricConstants1 = Item(Fit1, "&Dielectric Constants");
  ThermalExpansion1 = Item(Fit1, "&Thermal Expansion");
  MagneticSusceptibilities1 = Item(Fit1, "&Magnetic Susceptibility");
  OpticalActivity1 = Item(Fit1, "&Optical Activity");
  FaradayEffect1 = Item(Fit1, "&Faraday Effect");
  Electrostriction1 = Item(Fit1, "&Electrostriction");
  Piezoelectrics1 = Item(Fit1, "P&iezoelectrics");
  Electrogyration1 = Item(Fit1, "Electro&gyration");
  Halleffect1 = Item(Fit1, "&Hall Effect");
  ElasticProperties1 = Item(ToolsMenu, "&Elastic Properties");
  ToolsMenu->addSeparator();
  Register1 = Item(ToolsMenu, "&Register *.ten files");
  Checkforupdates1 = Item(ToolsMenu, "Check for &updates");

  HelpMenu = bar->addMenu(QStringLiteral("&Help"));
  Contents1 = Item(HelpMenu, "&Contents");
  Homepage1 = Item(HelpMenu, "&Homepage");
  HelpMenu->addSeparator();
  About1 = Item(HelpMenu, "&About");
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
  SpeedNew = Button(b, SpeedIcon::New, "New tensorfile");
  SpeedOpen = Button(b, SpeedIcon::Open, "Load a tensorfile");
  SpeedSave = Button(b, SpeedIcon::Save, "Save a tensorfile");
  SpeedPrint = Button(b, SpeedIcon::Print, "Print the picture");
  b->addSeparator();
  SpeedDraw = Button(b, SpeedIcon::Draw, "Draw the tensor");
  SpeedTensorSymmetry = Button(b, SpeedIcon::TensorSymmetry, "Tensorsymmetry");
  SpeedPointGroup = Button(b, SpeedIcon::PointGroup, "Pointgroup");
  SpeedIndependent = Button(b, SpeedIcon::IndependentComponents, "Independent components");
  SpeedClear = Button(b, SpeedIcon::ClearComponents, "Clear components");
  b->addSeparator();
  SpeedDrawUtilities = Button(b, SpeedIcon::DrawUtilities, "Draw utilities");
  SpeedStereo = Button(b, SpeedIcon::Stereo, "Stereoplot");
  SpeedNormal = Button(b, SpeedIcon::Normal, "Normal plot");
  SpeedNormal->setVisible(false);
  b->addSeparator();
  SpeedPositiveFill = Button(b, SpeedIcon::PositiveFill, "Positive fill color");
  SpeedNegativeFill = Button(b, SpeedIcon::NegativeFill, "Negative fill color");
  SpeedBackground = Button(b, SpeedIcon::Background, "Background color");
  SpeedAxesColour = Button(b, SpeedIcon::AxesColour, "Axes color");
  SpeedTextStyle = Button(b, SpeedIcon::TextStyle, "Text style");
  b->addSeparator();
  SpeedProjectionX = Button(b, SpeedIcon::ProjectionX, "Projection on X");
  SpeedProjectionY = Button(b, SpeedIcon::ProjectionY, "Projection on Y");
  SpeedProjectionZ = Button(b, SpeedIcon::ProjectionZ, "Projection on Z");
  b->addSeparator();
  SpeedHelp = Button(b, SpeedIcon::Help, "Help");
}

}  // namespace quillmere
