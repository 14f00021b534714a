// The main window's menu bar and speed-button bar. Captions are the program's own, accelerators
// as the "&" in them gives; items whose handlers live elsewhere stay disabled until their part
// connects them with OnTriggered().
#include <QAction>
#include <QMenuBar>
#include <QToolBar>

#include "app/gui/main_menus.h"
#include "app/gui/speed_button_icons.h"
#include "app/gui/tform1.h"
#include "surface/view_settings.h"

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

void CreateMainMenus(MainMenus& m, QMenuBar* bar, QToolBar* b, const ViewSettings& view) {
  m.FileMenu = Menu(bar, "&File", "FileMenu");
  m.New1 = Item(m.FileMenu, "&New", "New1");
  m.Open1 = Item(m.FileMenu, "&Open", "Open1");
  m.Reopen1 = Menu(m.FileMenu, "&Reopen", "Reopen1");
  for (std::size_t k = 0; k < m.ReopenItems.size(); ++k) {
    m.ReopenItems[k] = m.Reopen1->addAction(QString());
    m.ReopenItems[k]->setObjectName(QStringLiteral("N%1%2").arg(k + 1).arg(1));
    m.ReopenItems[k]->setVisible(false);
  }
  m.Save1 = Item(m.FileMenu, "&Save", "Save1");
  m.SaveAs1 = Item(m.FileMenu, "Save &As", "SaveAs1");
  m.FileMenu->addSeparator();
  m.CreateScreenWrl1 = Item(m.FileMenu, "&Create Screen - *.wrl file ", "CreateScreenWrl1");
  m.Export3DPrintableWrl1 =
      Item(m.FileMenu, "&Export 3D-printable *.wrl file", "Export3DPrintableWrl1");
  m.ExportStl1 = Item(m.FileMenu, "E&xport *.stl file", "ExportStl1");
  m.FileMenu->addSeparator();
  m.SavePictureAs1 = Menu(m.FileMenu, "Save P&icture as", "SavePictureAs1");
  m.SaveBmp1 = Item(m.SavePictureAs1, "*.BMP-Windows bitmap", "SaveBmp1");
  m.SaveEmf1 = Item(m.SavePictureAs1, "*.EMF-enhanced metafile", "SaveEmf1");
  m.SaveWmf1 = Item(m.SavePictureAs1, "*.WMF-standard metafile", "SaveWmf1");
  m.SavePng1 = Item(m.SavePictureAs1, "*.PNG-picture", "SavePng1");
  m.SaveSvg1 = Item(m.SavePictureAs1, "*.SVG-vector picture", "SaveSvg1");
  m.SavePdf1 = Item(m.SavePictureAs1, "*.PDF-document", "SavePdf1");
  m.Print1 = Item(m.FileMenu, "&Print", "Print1");
  m.FileMenu->addSeparator();
  m.Close1 = Item(m.FileMenu, "&Exit", "Close1");

  m.EditMenu = Menu(bar, "&Edit", "EditMenu");
  m.CopyAsWindowBitmap1 = Item(m.EditMenu, "Copy as &WindowBitmap", "CopyAsWindowBitmap1");
  m.CopyAsEnhancedMetafile1 =
      Item(m.EditMenu, "Copy as &Enhanced Metafile ", "CopyAsEnhancedMetafile1");
  m.CopyAsStandardMetafile1 =
      Item(m.EditMenu, "Copy as &Standard metafile", "CopyAsStandardMetafile1");

  m.ViewMenu = Menu(bar, "&View", "ViewMenu");
  m.DRAW1 = Item(m.ViewMenu, "DRAW", "DRAW1");
  m.ViewMenu->addSeparator();
  m.Grid1 = Check(m.ViewMenu, "&Grid", "Grid1", view.showGrid);
  m.Axes1 = Check(m.ViewMenu, "&Axes", "Axes1", view.showAxes);
  m.Fill1 = Check(m.ViewMenu, "&Fill", "Fill1", view.fillPatches);
  m.Scale1 = Check(m.ViewMenu, "S&cale", "Scale1", view.showScale);
  m.ViewMenu->addSeparator();
  m.Stereo1 = Check(m.ViewMenu, "&Stereo (crossed eyes)", "Stereo1", view.stereo);
  m.Palette1 = Check(m.ViewMenu, "256color&Palette", "Palette1", view.paletteMode);
  m.DrawingUtilities1 = Check(m.ViewMenu, "&Drawing utilities", "DrawingUtilities1", true);
  m.Speedbuttons1 = Check(m.ViewMenu, "Speed&buttons", "Speedbuttons1", true);
  m.LockScale1 = Check(m.ViewMenu, "Lock Scale", "LockScale1", false);
  m.ViewMenu->addSeparator();
  m.ResetView1 = Item(m.ViewMenu, "&Reset View Parametrs", "ResetView1");
  m.ViewMenu->addSeparator();
  m.CrossSectionX1 = Item(m.ViewMenu, "Cross-section on &X-axis", "CrossSectionX1");
  m.CrossSectionY1 = Item(m.ViewMenu, "Cross-section on &Y-axis", "CrossSectionY1");
  m.CrossSectionZ1 = Item(m.ViewMenu, "Cross-section on &Z-axis", "CrossSectionZ1");
  m.ViewMenu->addSeparator();
  m.ProjectionMap1 = Item(m.ViewMenu, "Projection map", "ProjectionMap1");
  m.ShowExtremes1 = Check(m.ViewMenu, "Show extremes", "ShowExtremes1", false);

  m.StylesMenu = Menu(bar, "&Styles/Colors", "StylesMenu");
  m.PositiveFillColor1 = Item(m.StylesMenu, "&Positive fill color", "PositiveFillColor1");
  m.NegativeFillColor1 = Item(m.StylesMenu, "&Negative fill  color", "NegativeFillColor1");
  m.PositiveLineColor1 = Item(m.StylesMenu, "P&ositive line color", "PositiveLineColor1");
  m.NegativeLineColor1 = Item(m.StylesMenu, "N&egative line color", "NegativeLineColor1");
  m.BackgroundColor1 = Item(m.StylesMenu, "&Background color", "BackgroundColor1");
  m.AxesColor1 = Item(m.StylesMenu, "Set &Axes color", "AxesColor1");
  m.StylesMenu->addSeparator();
  m.TextStyle1 = Item(m.StylesMenu, "&Text Style", "TextStyle1");
  m.ChangeAxesCaption1 = Item(m.StylesMenu, "Change axes &Caption", "ChangeAxesCaption1");

  m.TensorMenu = Menu(bar, "&Tensor", "TensorMenu");
  m.TensorSymmetry1 = Item(m.TensorMenu, "&Tensor symmetry", "TensorSymmetry1");
  m.Components1 = Item(m.TensorMenu, "&Components", "Components1");
  m.IndependentComponents1 =
      Item(m.TensorMenu, "&Independent Components", "IndependentComponents1");
  m.axial1 = Item(m.TensorMenu, "change into &axial", "axial1");
  m.EditUnitText1 = Item(m.TensorMenu, "&Edit UnitText", "EditUnitText1");
  m.ResetTensor1 = Item(m.TensorMenu, "&Reset Tensor", "ResetTensor1");
  m.TensorMenu->addSeparator();
  m.Transform1 = Item(m.TensorMenu, "Transform", "Transform1");
  m.FixedDirections1 = Item(m.TensorMenu, "&Fixed Directions", "FixedDirections1");

  m.CrystalMenu = Menu(bar, "&Crystal", "CrystalMenu");
  m.PointGroup1 = Item(m.CrystalMenu, "&PointGroup", "PointGroup1");

  m.ToolsMenu = Menu(bar, "&Tools", "ToolsMenu");
  m.Fit1 = Menu(m.ToolsMenu, "Fit", "Fit1");
  m.Pyroelectricconstants1 = Item(m.Fit1, "&Pyroelectric Constants", "Pyroelectricconstants1");
  m.DielectricConstants1 = Item(m.Fit1, "&Dielectric Constants", "DielectricConstants1");
  m.ThermalExpansion1 = Item(m.Fit1, "&Thermal Expansion", "ThermalExpansion1");
  m.MagneticSusceptibilities1 =
      Item(m.Fit1, "&Magnetic Susceptibility", "MagneticSusceptibilities1");
  m.OpticalActivity1 = Item(m.Fit1, "&Optical Activity", "OpticalActivity1");
  m.FaradayEffect1 = Item(m.Fit1, "&Faraday Effect", "FaradayEffect1");
  m.Electrostriction1 = Item(m.Fit1, "&Electrostriction", "Electrostriction1");
  m.Piezoelectrics1 = Item(m.Fit1, "P&iezoelectrics", "Piezoelectrics1");
  m.Electrogyration1 = Item(m.Fit1, "Electro&gyration", "Electrogyration1");
  m.Halleffect1 = Item(m.Fit1, "&Hall Effect", "Halleffect1");
  m.ElasticProperties1 = Item(m.ToolsMenu, "&Elastic Properties", "ElasticProperties1");
  m.ToolsMenu->addSeparator();
  m.Register1 = Item(m.ToolsMenu, "&Register *.ten files", "Register1");
  m.Checkforupdates1 = Item(m.ToolsMenu, "Check for &updates", "Checkforupdates1");

  m.HelpMenu = Menu(bar, "&Help", "HelpMenu");
  m.Contents1 = Item(m.HelpMenu, "&Contents", "Contents1");
  m.Homepage1 = Item(m.HelpMenu, "&Homepage", "Homepage1");
  m.HelpMenu->addSeparator();
  m.About1 = Item(m.HelpMenu, "&About", "About1");

  m.SpeedNew = Button(b, SpeedIcon::New, "New tensorfile", "SpeedNew");
  m.SpeedOpen = Button(b, SpeedIcon::Open, "Load a tensorfile", "SpeedOpen");
  m.SpeedSave = Button(b, SpeedIcon::Save, "Save a tensorfile", "SpeedSave");
  m.SpeedPrint = Button(b, SpeedIcon::Print, "Print the picture", "SpeedPrint");
  b->addSeparator();
  m.SpeedDraw = Button(b, SpeedIcon::Draw, "Draw the tensor", "SpeedDraw");
  m.SpeedTensorSymmetry =
      Button(b, SpeedIcon::TensorSymmetry, "Tensorsymmetry", "SpeedTensorSymmetry");
  m.SpeedPointGroup = Button(b, SpeedIcon::PointGroup, "Pointgroup", "SpeedPointGroup");
  m.SpeedIndependent =
      Button(b, SpeedIcon::IndependentComponents, "Independent components", "SpeedIndependent");
  m.SpeedClear = Button(b, SpeedIcon::ClearComponents, "Clear components", "SpeedClear");
  b->addSeparator();
  m.SpeedDrawUtilities =
      Button(b, SpeedIcon::DrawUtilities, "Draw utilities", "SpeedDrawUtilities");
  m.SpeedStereo = Button(b, SpeedIcon::Stereo, "Stereoplot", "SpeedStereo");
  m.SpeedNormal = Button(b, SpeedIcon::Normal, "Normal plot", "SpeedNormal");
  m.SpeedNormal->setVisible(false);
  b->addSeparator();
  m.SpeedPositiveFill =
      Button(b, SpeedIcon::PositiveFill, "Positive fill color", "SpeedPositiveFill");
  m.SpeedNegativeFill =
      Button(b, SpeedIcon::NegativeFill, "Negative fill color", "SpeedNegativeFill");
  m.SpeedBackground = Button(b, SpeedIcon::Background, "Background color", "SpeedBackground");
  m.SpeedAxesColour = Button(b, SpeedIcon::AxesColour, "Axes color", "SpeedAxesColour");
  m.SpeedTextStyle = Button(b, SpeedIcon::TextStyle, "Text style", "SpeedTextStyle");
  b->addSeparator();
  m.SpeedProjectionX = Button(b, SpeedIcon::ProjectionX, "Projection on X", "SpeedProjectionX");
  m.SpeedProjectionY = Button(b, SpeedIcon::ProjectionY, "Projection on Y", "SpeedProjectionY");
  m.SpeedProjectionZ = Button(b, SpeedIcon::ProjectionZ, "Projection on Z", "SpeedProjectionZ");
  b->addSeparator();
  m.SpeedHelp = Button(b, SpeedIcon::Help, "Help", "SpeedHelp");
}

void TForm1::CreateSpeedButtonBar() {
  speedButtonBar = new QToolBar(QStringLiteral("Speedbuttons"), this);
  speedButtonBar->setObjectName(QStringLiteral("SpeedButtonBar"));
  speedButtonBar->setMovable(false);
  speedButtonBar->setFloatable(false);
  speedButtonBar->setIconSize(QSize(24, 24));
  speedButtonBar->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, speedButtonBar);
}

}  // namespace quillmere
