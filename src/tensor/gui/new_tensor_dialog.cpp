#include "tensor/gui/new_tensor_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "platform/widgets/barred_text.h"
#include "platform/widgets/spin_button.h"
#include "tensor/gui/entry_widgets.h"

namespace quillmere {

namespace {

BarredLabel* Clickable(const char* text, const char* name, QWidget* parent) {
  auto* l = new BarredLabel(text, parent);
  l->setObjectName(name);
  l->setCursor(Qt::PointingHandCursor);
  return l;
}

}  // namespace

NewTensorDialog::NewTensorDialog(QWidget* parent) : QGroupBox("New Tensor", parent) {
  setObjectName("GroupBox3");
  setAutoFillBackground(true);
  auto* grid = new QGridLayout(this);
  grid->setHorizontalSpacing(6);

  fileNameCaption = Clickable("Tensorfilename  :", "Label_Tensorfilename", this);
  fileNameLabel = Clickable("Filename", "Label_Filename", this);
  fileNameField = new EntryField(this);
  fileNameField->setObjectName("Edit2");
  grid->addWidget(fileNameCaption, 0, 0);
  grid->addWidget(fileNameLabel, 0, 1);
  grid->addWidget(fileNameField, 0, 1);

  kindCaption = Clickable("Tensor:", "Label_NewKindCaption", this);
  kindLabel = Clickable("tensor", "Label_NewKind", this);
  grid->addWidget(kindCaption, 1, 0);
  grid->addWidget(kindLabel, 1, 1);

  typeCaption = Clickable("Type:", "Label_NewTypeCaption", this);
  typeLabel = Clickable("polar", "Label_NewType", this);
  grid->addWidget(typeCaption, 2, 0);
  grid->addWidget(typeLabel, 2, 1);

  pointSymmetryLabel = Clickable("Point  Symmetry:", "Label_NewPointSymmetry", this);
  grid->addWidget(pointSymmetryLabel, 3, 0, 1, 2);

  scaleCaption = Clickable(" scale:", "Label35", this);
  grid->addWidget(scaleCaption, 4, 0);
  auto* scaleRow = new QHBoxLayout;
  scaleRow->setSpacing(2);
  tenLabel = Clickable("10", "Label36", this);
  exponentLabel = Clickable("exp", "Label_NewExponent", this);
  exponentLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont small = exponentLabel->font();
  small.setPointSizeF(small.pointSizeF() * 0.8);
  exponentLabel->setFont(small);
  spinButton = new SpinButton("Change the dimension of the unit", this, QSize(17, 11));
  spinButton->setObjectName("NewTensorSpinButton");
  spinButton->hide();
  unitLabel = Clickable("(unittext)", "Label_NewUnit", this);
  unitField = new EntryField(this);
  unitField->setObjectName("Edit3");
  scaleRow->addWidget(tenLabel);
  scaleRow->addWidget(exponentLabel);
  scaleRow->addWidget(spinButton);
  scaleRow->addWidget(unitLabel, 1);
  scaleRow->addWidget(unitField, 1);
  grid->addLayout(scaleRow, 4, 1);

  auto* buttons = new QHBoxLayout;
  okButton = new QPushButton("OK", this);
  okButton->setObjectName("Button2");
  cancelButton = new QPushButton("Cancel", this);
  cancelButton->setObjectName("Button3");
  restoreButton = new QPushButton("Restore", this);
  restoreButton->setObjectName("Button5");
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);
  buttons->addWidget(restoreButton);
  grid->addLayout(buttons, 5, 0, 1, 2);

  setMinimumWidth(300);
  adjustSize();
  hide();
}

void NewTensorDialog::showCopies(const TensorPanelTexts& t) {
  pointSymmetryLabel->SetGroup(QStringLiteral("Point  Symmetry:  "),
                               QString::fromStdString(t.groupName), t.groupBarIndex);
  typeLabel->setText(QString::fromStdString(t.polarity));
  kindLabel->setText(QString::fromStdString(t.kindCaption));
  exponentLabel->setText(QString::fromStdString(t.exponent));
}

void NewTensorDialog::setFileName(const QString& name) {
  fileNameLabel->setText(name);
}

QString NewTensorDialog::fileName() const {
  return fileNameLabel->text();
}

void NewTensorDialog::setUnitText(const QString& unitText) {
  unitLabel->setText(unitText);
}

}  // namespace quillmere
