#include "tensor/gui/symmetry_choosers.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QMouseEvent>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/widgets/barred_text.h"
#include "tensor/point_group_symbols.h"
#include "tensor/tensor_state.h"

namespace quillmere {

namespace {

// Box captions as the program has always shown them.
constexpr std::array<const char*, kCrystalSystemCount> kBoxCaptions = {
    "triclinic", "monoclinic", "othorhombic", "trigonal", "tetetragonal", "hexagonal", "cubic"};

constexpr std::array<const char*, kCrystalSystemCount> kSystemNames = {
    "triclinic", "monoclinic", "orthorhombic", "trigonal", "tetragonal", "hexagonal", "cubic"};

QPushButton* MakeCloseButton(QWidget* parent, const char* name) {
  auto* b = new QPushButton("close", parent);
  b->setObjectName(name);
  b->setIcon(b->style()->standardIcon(QStyle::SP_DialogCloseButton));
  return b;
}

}  // namespace

KindChooser::KindChooser(QWidget* parent) : QFrame(parent) {
  setObjectName("RadioGroup1Panel");
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(this);
  group_ = new QGroupBox("Tensorsymmetry", this);
  group_->setObjectName("RadioGroup1");
  auto* items = new QGridLayout(group_);
  items->setVerticalSpacing(2);
  items->setHorizontalSpacing(12);
  for (int i = 0; i < kKindCount; ++i) {
    auto* b = new QRadioButton(TensorKinds()[i].caption, group_);
    items_.push_back(b);
    connect(b, &QRadioButton::clicked, this, &KindChooser::itemChosen);
  }
  setColumns(1);
  items_.front()->setChecked(true);
  layout->addWidget(group_);
  close_ = MakeCloseButton(this, "BitBtn1");
  layout->addWidget(close_);
  connect(close_, &QPushButton::clicked, this, &KindChooser::closeClicked);
  adjustSize();
  hide();
}

void KindChooser::setColumns(int columns) {
  columns = std::clamp(columns, 1, static_cast<int>(items_.size()));
  auto* items = static_cast<QGridLayout*>(group_->layout());
  for (QRadioButton* b : items_) items->removeWidget(b);
  // Down the first column, then down the next: the offering order reads as one list.
  const int rows = (static_cast<int>(items_.size()) + columns - 1) / columns;
  for (int i = 0; i < static_cast<int>(items_.size()); ++i)
    items->addWidget(items_[i], i % rows, i / rows);
  columns_ = columns;
  items->invalidate();
  group_->adjustSize();
  adjustSize();
}

int KindChooser::heightWithColumns(int columns) {
  const int kept = columns_;
  setColumns(columns);
  const int h = sizeHint().height();
  setColumns(kept);
  return h;
}

int KindChooser::selectedIndex() const {
  for (int i = 0; i < static_cast<int>(items_.size()); ++i)
    if (items_[i]->isChecked()) return i;
  return 0;
}

void KindChooser::setSelectedIndex(int index) {
  if (index < 0 || index >= static_cast<int>(items_.size())) index = 0;
  items_[index]->setChecked(true);  // clicked() is only emitted for the user's clicks
}

const std::array<const char*, kCrystalSystemCount>& CrystalSystemNames() {
  return kSystemNames;
}

CrystalSystemChooser::CrystalSystemChooser(QWidget* parent) : QFrame(parent) {
  setObjectName("GroupBox2Panel");
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(this);
  box_ = new QGroupBox("Crystal System", this);
  box_->setObjectName("GroupBox2");
  auto* buttons = new QVBoxLayout(box_);
  buttons->setSpacing(2);
  exclusive_ = new QButtonGroup(this);
  for (int s = 0; s < kCrystalSystemCount; ++s) {
    auto* b = new QRadioButton(kSystemNames[s], box_);
    b->setObjectName(kSystemNames[s]);
    buttons->addWidget(b);
    exclusive_->addButton(b);
    systems_[s] = b;
    connect(b, &QRadioButton::clicked, this, [this, s] { emit systemClicked(s); });
  }
  noSymmetry_ = new QRadioButton("No Symmetry", box_);
  noSymmetry_->setObjectName("RadioButton11");
  exclusive_->addButton(noSymmetry_);
  noSymmetry_->setChecked(true);
  noSymmetry_->hide();
  layout->addWidget(box_);
  close_ = MakeCloseButton(this, "BitBtn3");
  layout->addWidget(close_);
  connect(close_, &QPushButton::clicked, this, &CrystalSystemChooser::closeClicked);
  adjustSize();
  hide();
}

void CrystalSystemChooser::selectNoSymmetry() {
  noSymmetry_->setChecked(true);
}

PointGroupBox::PointGroupBox(int system, QWidget* parent)
    : QGroupBox(kBoxCaptions.at(system), parent), system_(system) {
  setObjectName(QString("PointGroupBox_") + kSystemNames[system]);
  setAutoFillBackground(true);
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(2);
  for (const PointGroupInfo& g : PointGroups()) {
    if (std::string(g.crystalSystem) != kSystemNames[system]) continue;
    const BarredSymbol symbol = PointGroupBarredSymbol(g.number);
    auto* b = new BarredRadioButton(QString::fromStdString(symbol.text), symbol.barIndex, this);
    b->setObjectName(QString("PointGroup%1").arg(g.number));
    layout->addWidget(b);
    groups_.push_back(g.number);
    buttons_.push_back(b);
    connect(b, &QRadioButton::clicked, this, &PointGroupBox::boxClicked);
  }
  // No button is checked until the user picks one; the group's own exclusivity needs a
  // start without a checked button, which auto-exclusive radio buttons allow.
  adjustSize();
  hide();
}

int PointGroupBox::selectedGroup() const {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i]->isChecked()) return groups_[i];
  return 0;
}

BarredRadioButton* PointGroupBox::button(int pointGroup) const {
  for (std::size_t i = 0; i < groups_.size(); ++i)
    if (groups_[i] == pointGroup) return buttons_[i];
  return nullptr;
}

void PointGroupBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit boxClicked();
  QGroupBox::mousePressEvent(event);
}

}  // namespace quillmere
