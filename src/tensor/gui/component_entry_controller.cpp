#include "tensor/gui/component_entry_controller.h"

#include <QPushButton>
#include <QWidget>
#include <algorithm>
#include <exception>

#include "core/user_messages.h"
#include "platform/widgets/barred_text.h"
#include "platform/widgets/spin_button.h"
#include "tensor/gui/component_grids.h"
#include "tensor/gui/entry_widgets.h"
#include "tensor/gui/new_tensor_dialog.h"
#include "tensor/gui/symmetry_choosers.h"
#include "tensor/gui/tensor_panel.h"
#include "tensor/number_text.h"
#include "tensor/point_group_search.h"
#include "tensor/point_group_symbols.h"

namespace quillmere {

namespace {

constexpr int kChooserX = 10;
constexpr int kChooserY = 32;
constexpr int kDialogX = 300;
constexpr int kBoxGap = 6;      // between the crystal-system chooser and a point-group box
constexpr int kAreaMargin = 4;  // kept free between a panel and the edge of the drawing area
constexpr int kMostKindColumns = 2;

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

ComponentEntryController::ComponentEntryController(QWidget* area, ComponentEntryContext context,
                                                   ComponentEntryHooks hooks, QObject* parent)
    : QObject(parent), area_(area), ctx_(context), hooks_(std::move(hooks)), t_(*context.tensor) {
  CreateTensorPanel();
  grid1_ = new ComponentGrid(area);
  grid2_ = new IndependentGrid(area);
  kindChooser_ = new KindChooser(area);
  kindChooser_->move(kChooserX, kChooserY);
  systemChooser_ = new CrystalSystemChooser(area);
  systemChooser_->move(kChooserX, kChooserY);
  const int boxX = kChooserX + systemChooser_->width() + kBoxGap;
  for (int s = 0; s < kCrystalSystemCount; ++s) {
    boxes_[s] = new PointGroupBox(s, area);
    boxes_[s]->move(boxX, kChooserY);
    connect(boxes_[s], &PointGroupBox::boxClicked, this, [this, s] { SystemClick(s); });
  }
  dialog_ = new NewTensorDialog(area);
  dialog_->move(kDialogX, kChooserY);
  edit1_ = new EntryField(area);
  edit1_->setObjectName("Edit1");
  edit1_->setGeometry(10, 4, 160, 24);

  for (EntryGrid* g : {static_cast<EntryGrid*>(grid1_), static_cast<EntryGrid*>(grid2_)})
    connect(g, &EntryGrid::keyTyped, this, [this] {
      if (ctx_.componentsTyped) *ctx_.componentsTyped = true;
    });
  connect(grid1_, &EntryGrid::gridDoubleClicked, this, &ComponentEntryController::StringGrid1Enter);
  connect(grid2_, &EntryGrid::gridDoubleClicked, this,
          &ComponentEntryController::StringGrid2DblClick);
  for (EntryGrid* g : {static_cast<EntryGrid*>(grid1_), static_cast<EntryGrid*>(grid2_)})
    connect(g, &EntryGrid::escapePressed, this, [this, g] { DropGrid(g); });

  connect(kindChooser_, &KindChooser::itemChosen, this, &ComponentEntryController::BitBtn1Click);
  connect(kindChooser_, &KindChooser::closeClicked, this, &ComponentEntryController::BitBtn1Click);
  connect(systemChooser_, &CrystalSystemChooser::systemClicked, this,
          &ComponentEntryController::SystemClick);
  connect(systemChooser_, &CrystalSystemChooser::closeClicked, this,
          &ComponentEntryController::GroupBox2Click);

  connect(edit1_, &EntryField::finished, this, [this] {
    if (edit1_->isVisible()) Edit1Change();
  });

  NewTensorDialog* d = dialog_;
  connect(d->okButton, &QPushButton::clicked, this, &ComponentEntryController::Button2Click);
  connect(d->cancelButton, &QPushButton::clicked, this, &ComponentEntryController::Button3Click);
  connect(d->restoreButton, &QPushButton::clicked, this, &ComponentEntryController::Button5Click);
  connect(d->fileNameCaption, &BarredLabel::clicked, this, &ComponentEntryController::Button4Click);
  connect(d->fileNameLabel, &BarredLabel::clicked, this, &ComponentEntryController::Button4Click);
  connect(d->fileNameField, &EntryField::finished, this, &ComponentEntryController::Edit2DblClick);
  connect(d->scaleCaption, &BarredLabel::clicked, this, &ComponentEntryController::Label35Click);
  connect(d->unitLabel, &BarredLabel::clicked, this, &ComponentEntryController::Label35Click);
  connect(d->unitField, &EntryField::finished, this, &ComponentEntryController::Edit3DblClick);
  connect(d->tenLabel, &BarredLabel::clicked, this, &ComponentEntryController::Label36Click);
  connect(d->exponentLabel, &BarredLabel::clicked, this, &ComponentEntryController::Label36Click);
  connect(d->kindCaption, &BarredLabel::clicked, this, &ComponentEntryController::RadioGroup1Click);
  connect(d->kindLabel, &BarredLabel::clicked, this, &ComponentEntryController::RadioGroup1Click);
  connect(d->typeCaption, &BarredLabel::clicked, this, &ComponentEntryController::axial1Click);
  connect(d->typeLabel, &BarredLabel::clicked, this, &ComponentEntryController::axial1Click);
  connect(d->pointSymmetryLabel, &BarredLabel::clicked, this,
          &ComponentEntryController::GroupBox2Click);
  connect(d->spinButton, &SpinButton::upClicked, this,
          &ComponentEntryController::SpinButton5UpClick);
  connect(d->spinButton, &SpinButton::downClicked, this,
          &ComponentEntryController::SpinButton5DownClick);

  CreateUnitSpinButton();

  const TensorPanelTexts texts = PanelTextsOf(t_);
  kindChooser_->setSelectedIndex(texts.kindListIndex);
  dialog_->showCopies(texts);
}

// ---- Small helpers ------------------------------------------------------------------------

void ComponentEntryController::ShowError(const std::string& text) {
  if (hooks_.showError)
    hooks_.showError(text);
  else if (ctx_.services)
    ctx_.services->Tell(text);
}

bool ComponentEntryController::AskYesNo(const std::string& text) {
  if (hooks_.askYesNo) return hooks_.askYesNo(text);
  if (ctx_.services && ctx_.services->messages) return ctx_.services->messages->AskYesNo(text);
  return false;
}

void ComponentEntryController::Refresh() {
  if (hooks_.refresh)
    hooks_.refresh();
  else
    refreshEntryWidgets();
}

void ComponentEntryController::DrawTensor() {
  if (hooks_.drawTensor) hooks_.drawTensor();
}

void ComponentEntryController::SetEditing(bool on) {
  if (ctx_.editingInPanel) *ctx_.editingInPanel = on;
}

int ComponentEntryController::WindowWidth() const {
  return area_->width();
}

int ComponentEntryController::WindowHeight() const {
  return area_->height();
}

GridRoom ComponentEntryController::Room() const {
  if (hooks_.gridRoom) return hooks_.gridRoom();
  return {WindowWidth() - kAreaMargin, WindowHeight() - kAreaMargin};
}

void ComponentEntryController::PlaceInside(QWidget* panel, QPoint preferred) const {
  const int x = std::max(0, std::min(preferred.x(), WindowWidth() - panel->width() - kAreaMargin));
  const int y =
      std::max(0, std::min(preferred.y(), WindowHeight() - panel->height() - kAreaMargin));
  panel->move(x, y);
}

void ComponentEntryController::PlaceKindChooser() {
  // One column where it fits below its place, else as few columns as fit.
  int columns = 1;
  while (columns < kMostKindColumns &&
         kChooserY + kindChooser_->heightWithColumns(columns) > WindowHeight() - kAreaMargin)
    ++columns;
  if (kindChooser_->columns() != columns) kindChooser_->setColumns(columns);
  PlaceInside(kindChooser_, QPoint(kChooserX, kChooserY));
}

void ComponentEntryController::PlaceSystemChooser() {
  PlaceInside(systemChooser_, QPoint(kChooserX, kChooserY));
}

void ComponentEntryController::PlacePointGroupBox(PointGroupBox* box) {
  PlaceInside(box, QPoint(systemChooser_->geometry().right() + 1 + kBoxGap, kChooserY));
}

void ComponentEntryController::PlaceNewTensorDialog() {
  PlaceInside(dialog_, QPoint(kDialogX, kChooserY));
}

void ComponentEntryController::placeOpenPanels() {
  if (grid1_->isVisible()) grid1_->placeFor(WindowWidth(), WindowHeight(), Room());
  if (grid2_->isVisible()) grid2_->placeFor(WindowWidth(), WindowHeight(), Room());
  if (kindChooser_->isVisible()) PlaceKindChooser();
  if (systemChooser_->isVisible()) PlaceSystemChooser();
  for (PointGroupBox* box : boxes_)
    if (box->isVisible()) PlacePointGroupBox(box);
  if (dialog_->isVisible()) PlaceNewTensorDialog();
  if (edit1_->isVisible()) edit1_->setGeometry(panel_->UnitFieldRect());
  // The unit spin button follows the tensor panel, which keeps to the right edge.
  if (spinButton5_->isVisible()) PlaceUnitSpinButton();
}

QSize ComponentEntryController::requiredArea() {
  int boxWidth = 0, boxHeight = 0;
  for (PointGroupBox* box : boxes_) {
    boxWidth = std::max(boxWidth, box->width());
    boxHeight = std::max(boxHeight, box->height());
  }
  const int kindHeight = kindChooser_->heightWithColumns(kMostKindColumns);
  const int kindWidth = [this] {
    const int kept = kindChooser_->columns();
    kindChooser_->setColumns(kMostKindColumns);
    const int w = kindChooser_->width();
    kindChooser_->setColumns(kept);
    return w;
  }();
  const int width =
      std::max({kChooserX + kindWidth, kChooserX + systemChooser_->width() + kBoxGap + boxWidth,
                dialog_->width()}) +
      kAreaMargin;
  const int height =
      kChooserY + std::max({kindHeight, systemChooser_->height(), boxHeight, dialog_->height()}) +
      kAreaMargin;
  return {width, height};
}

char ComponentEntryController::Separator() const {
  return ctx_.services ? ctx_.services->decimalSeparator : '.';
}

ComponentEntryController::DrawnState ComponentEntryController::Drawn() const {
  return {t_.components, t_.scale, t_.rank};
}

void ComponentEntryController::RedrawIfChanged(const DrawnState& before) {
  const DrawnState now = Drawn();
  if (now.components == before.components && now.scale == before.scale && now.rank == before.rank)
    return;
  Refresh();
  DrawTensor();
}

bool ComponentEntryController::choosersOpen() const {
  return kindChooser_->isVisible() || systemChooser_->isVisible();
}

bool ComponentEntryController::independentGridShown() const {
  return grid2_->isVisible();
}

bool ComponentEntryController::componentGridShown() const {
  return grid1_->isVisible();
}

void ComponentEntryController::TypedTakenOver() {
  // Another grid with text of its own still waiting keeps the flag.
  if (ctx_.componentsTyped)
    *ctx_.componentsTyped =
        (grid1_->isVisible() && grid1_->typed()) || (grid2_->isVisible() && grid2_->typed());
}

void ComponentEntryController::HideGrids() {
  grid1_->hide();
  grid1_->clearTyped();
  grid2_->hide();
  grid2_->clearTyped();
}

// ---- Refresh --------------------------------------------------------------------------------

void ComponentEntryController::refreshEntryWidgets() {
  const TensorPanelTexts p = PanelTextsOf(t_);
  grid1_->setCellText(0, 0, Q(p.cornerCaption));
  grid2_->setCellText(0, 0, Q(p.cornerCaption));
  kindChooser_->setSelectedIndex(p.kindListIndex);
  systemChooser_->selectNoSymmetry();
  systemChooser_->hide();
  dialog_->showCopies(p);
  Guarded([this] { RedisplayOpenGrids(); });
}

void ComponentEntryController::dropTypedText() {
  grid1_->discardTyped();
  grid2_->discardTyped();
  TypedTakenOver();
}

void ComponentEntryController::RedisplayOpenGrids() {
  if (grid1_->isVisible() && (!grid1_->typed() || grid1Kind_ != t_.kind)) {
    GridTexts cells;
    if (ShowFullGrid(t_, cells, Separator(), /*rescale=*/false)) {
      grid1_->showTexts(cells, t_.kind);
      grid1_->placeFor(WindowWidth(), WindowHeight(), Room());
      grid1Kind_ = t_.kind;
    } else {
      grid1_->hide();
    }
  }
  const Combination now{t_.kind, t_.pointGroup, t_.axial};
  if (grid2_->isVisible() && (!grid2_->typed() || !(grid2For_ == now))) {
    IndependentTexts texts;
    if (DescribeIndependent(t_, *ctx_.services, texts) > 0) {
      ShowIndependentTexts(texts);
    } else {
      grid2_->hide();
      grid2_->clearTyped();
    }
  }
}

// ---- Full component grid --------------------------------------------------------------------

void ComponentEntryController::StringGrid1Click() {
  if (choosersOpen()) return;
  Guarded([this] {
    if (grid1_->isVisible())
      CloseFullGrid();
    else
      OpenFullGrid();
  });
}

void ComponentEntryController::StringGrid1Enter() {
  // A double click or DRAW while the grid is open: the same take-over as closing it by its
  // command, which draws when something was typed.
  if (grid1_->isVisible()) StringGrid1Click();
}

void ComponentEntryController::OpenFullGrid() {
  const DrawnState before = Drawn();
  GridTexts cells;
  if (!ShowFullGrid(t_, cells, Separator())) return;
  grid1_->showTexts(cells, t_.kind);
  grid1Kind_ = t_.kind;
  grid1_->placeFor(WindowWidth(), WindowHeight(), Room());
  grid1_->show();
  grid1_->raise();
  // autoScale may just have moved the scale: the drawing and the panel follow it.
  if (Drawn().scale != before.scale && hooks_.autoRescaled) hooks_.autoRescaled();
  RedrawIfChanged(before);
}

void ComponentEntryController::CloseFullGrid() {
  const DrawnState before = Drawn();
  if (grid1_->typed()) {
    const GridTexts cells = grid1_->cellTexts();
    try {
      TakeOverFullGrid(t_, cells, Separator());
    } catch (const CellTextError& e) {
      // The grid stays open on the bad cell, so the typed text after it is not lost.
      grid1_->selectCell(e.column, e.row);
      ShowError(e.what());
      RedrawIfChanged(before);
      return;
    }
    grid1_->hide();
    grid1_->clearTyped();
    TypedTakenOver();
    Refresh();
    DrawTensor();
    return;
  }
  GridTexts cells;
  ShowFullGrid(t_, cells, Separator());
  grid1_->hide();
  RedrawIfChanged(before);
}

// ---- Independent components ---------------------------------------------------------------

void ComponentEntryController::StringGrid2Click(SymmetryMode mode) {
  if (choosersOpen()) return;
  Guarded([this, mode] {
    if (mode == SymmetryMode::ApplyTexts) {
      if (grid2_->isVisible()) CommitIndependentGrid();
      return;
    }
    if (!grid2_->isVisible()) {
      OpenIndependentGrid();
    } else if (grid2_->typed()) {
      // Closing the grid by its command takes typed values over like a double click.
      CommitIndependentGrid();
    } else {
      grid2_->hide();
    }
  });
}

void ComponentEntryController::IndependentComponents1Click() {
  StringGrid2Click(SymmetryMode::Describe);
}

void ComponentEntryController::StringGrid2DblClick() {
  StringGrid2Click(SymmetryMode::ApplyTexts);
}

void ComponentEntryController::ShowIndependentTexts(const IndependentTexts& texts) {
  grid2_->showTexts(texts, Q(ExponentCaption(DecadeExponent(t_.scale))));
  grid2For_ = {t_.kind, t_.pointGroup, t_.axial};
  grid2_->placeFor(WindowWidth(), WindowHeight(), Room());
}

void ComponentEntryController::OpenIndependentGrid() {
  IndependentTexts texts;
  if (DescribeIndependent(t_, *ctx_.services, texts) <= 0) return;
  ShowIndependentTexts(texts);
  grid2_->show();
  grid2_->raise();
}

void ComponentEntryController::CommitIndependentGrid() {
  const DrawnState before = Drawn();
  const bool typed = grid2_->typed();
  const IndependentTexts texts = grid2_->cellTexts();
  int count = 0;
  try {
    count = TakeOverIndependent(t_, *ctx_.services, texts);
  } catch (const std::exception& e) {
    // Keep the grid open on the first value that is not a number, if that was the cause.
    for (std::size_t r = 0; r < texts.values.size(); ++r) {
      Real v = 0;
      if (!TryParseReal(texts.values[r], v, Separator())) {
        grid2_->selectCell(1, static_cast<int>(r) + 1);
        break;
      }
    }
    ShowError(e.what());
    RedrawIfChanged(before);
    return;
  }
  grid2_->hide();
  grid2_->clearTyped();
  if (count <= 0) {  // the table changed under the open grid; its message has been shown
    RedrawIfChanged(before);
    return;
  }
  TypedTakenOver();
  if (typed) {
    DrawTensor();
    Refresh();
  } else {
    // Taking untyped values over still imposes the point group on the whole tensor.
    RedrawIfChanged(before);
  }
}

void ComponentEntryController::DropGrid(EntryGrid* grid) {
  // Escape: what was typed since the grid opened is forgotten and the tensor stays as it was.
  grid->discardTyped();
  grid->hide();
  TypedTakenOver();
}

bool ComponentEntryController::commitOpenGrid() {
  if (grid2_->isVisible()) {
    StringGrid2DblClick();
    return true;
  }
  if (grid1_->isVisible()) {
    StringGrid1Enter();
    return true;
  }
  return false;
}

// ---- Tensor kind --------------------------------------------------------------------------

void ComponentEntryController::RadioGroup1Click() {
  const DrawnState before = Drawn();
  HideGrids();
  kindChooser_->setVisible(!kindChooser_->isVisible());
  if (kindChooser_->isVisible()) {
    // Opening the chooser must not change the kind, whatever it was last set to.
    kindChooser_->setSelectedIndex(std::max(KindListIndex(t_.kind), 0));
    PlaceKindChooser();
    kindChooser_->raise();
  }
  SetKind(t_, TensorKinds()[kindChooser_->selectedIndex()].code);
  Refresh();
  // The array stays as it is, but a new rank reads it differently.
  if (t_.rank != before.rank) DrawTensor();
}

void ComponentEntryController::BitBtn1Click() {
  HideGrids();
  RadioGroup1Click();
  kindChooser_->hide();
}

// ---- Crystal system and point group -------------------------------------------------------

void ComponentEntryController::GroupBox2Click() {
  HideGrids();
  systemChooser_->setVisible(!systemChooser_->isVisible());
  if (systemChooser_->isVisible()) {
    PlaceSystemChooser();
    systemChooser_->raise();
  }
  systemChooser_->selectNoSymmetry();
}

void ComponentEntryController::SystemClick(int system) {
  PointGroupBox* box = boxes_.at(system);
  // A system button opens only its own box; the boxes share one place.
  if (!box->isVisible())
    for (PointGroupBox* other : boxes_)
      if (other != box) other->hide();
  box->setVisible(!box->isVisible());
  if (box->isVisible()) {
    PlacePointGroupBox(box);
    box->raise();
  }
  if (const int group = box->selectedGroup(); group != 0 && group != t_.pointGroup) {
    if (GroupAccepted(group)) {
      t_.pointGroup = group;
    } else if (BarredRadioButton* kept = box->button(t_.pointGroup)) {
      kept->setChecked(true);
    } else {
      // The refused group's button is unchecked, so that the box shows no group it does not
      // hold.
      BarredRadioButton* refused = box->button(group);
      refused->setAutoExclusive(false);
      refused->setChecked(false);
      refused->setAutoExclusive(true);
    }
  }
  Refresh();
}

bool ComponentEntryController::GroupAccepted(int group) {
  if (!ctx_.services) return true;
  const std::vector<ComponentDeviation> violations = GroupViolations(t_, group, *ctx_.services);
  if (violations.empty()) return true;
  const std::string name = PointGroupSymbol(group);
  // The table's walk would replace these components the next time the independent components
  // are taken over; the user decides with the numbers in front of them.
  return AskYesNo("The components do not obey point group " + name + ": " +
                  DescribeViolations(violations, LargestAbsoluteComponent(t_)) +
                  ".\n\nSet point group " + name +
                  " anyway? Taking the independent components over then replaces these "
                  "components by what the group gives.");
}

void ComponentEntryController::triclinicClick() {
  SystemClick(0);
}
void ComponentEntryController::monoclinicClick() {
  SystemClick(1);
}
void ComponentEntryController::orthorhombicClick() {
  SystemClick(2);
}
void ComponentEntryController::trigonalClick() {
  SystemClick(3);
}
void ComponentEntryController::tetragonalClick() {
  SystemClick(4);
}
void ComponentEntryController::hexagonalClick() {
  SystemClick(5);
}
void ComponentEntryController::cubicClick() {
  SystemClick(6);
}

void ComponentEntryController::RadioButton11Click() {
  systemChooser_->selectNoSymmetry();
}

// ---- Polar/axial, power of ten, unit text -------------------------------------------------

void ComponentEntryController::axial1Click() {
  t_.axial = !t_.axial;
  Refresh();
}

void ComponentEntryController::SpinButton5DownClick() {
  t_.scale /= 10;
  Refresh();
  if (hooks_.restartRebuildTimer) hooks_.restartRebuildTimer();
}

void ComponentEntryController::SpinButton5UpClick() {
  t_.scale *= 10;
  Refresh();
  if (hooks_.restartRebuildTimer) hooks_.restartRebuildTimer();
}

void ComponentEntryController::Edit1Change() {
  if (!edit1_->isVisible()) {
    edit1_->setText(Q(t_.unitText));
    edit1_->setGeometry(panel_->UnitFieldRect());
  }
  edit1_->setVisible(!edit1_->isVisible());
  SetEditing(edit1_->isVisible());
  if (edit1_->isVisible()) {
    edit1_->raise();
    edit1_->setFocus();
    edit1_->selectAll();
  }
  t_.unitText = edit1_->text().toStdString();
  Refresh();
}

}  // namespace quillmere
