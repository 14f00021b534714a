// The tensor information panel over the picture.
#include "tensor/gui/tensor_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "platform/dialogs.h"
#include "platform/widgets/barred_text.h"
#include "platform/widgets/panel_labels.h"

namespace quillmere {

TensorPanel::TensorPanel(QWidget* area) : QFrame(area) {
  setObjectName(QStringLiteral("TensorPanel"));
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(2);

  labelT_ = new ClickableLabel(QStringLiteral("T"), this);
  QFont bold = labelT_->font();
  bold.setBold(true);
  labelT_->setFont(bold);
  kind_ = new ClickableLabel(QStringLiteral("tensor"), this);
  kind_->setObjectName(QStringLiteral("Label14"));
  group_ = new BarredLabel({}, this);
  group_->setObjectName(QStringLiteral("Label23"));
  // Room above the text for the bar.
  group_->setContentsMargins(0, 3, 0, 0);
  group_->SetGroup(QStringLiteral("PS: "), QString(), -1);
  polarity_ = new ClickableLabel(QStringLiteral("polar"), this);
  polarity_->setObjectName(QStringLiteral("Label15"));

  auto* unitRow = new QHBoxLayout;
  unitRow->setSpacing(1);
  ten_ = new ClickableLabel(QStringLiteral("10"), this);
  ten_->setObjectName(QStringLiteral("Label10"));
  exponent_ = new ClickableLabel(QStringLiteral("exp"), this);
  exponent_->setObjectName(QStringLiteral("Label11"));
  QFont small = exponent_->font();
  small.setPointSizeF(small.pointSizeF() * 0.75);
  exponent_->setFont(small);
  exponent_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  unitText_ = new ClickableLabel(QStringLiteral("unitText"), this);
  unitText_->setObjectName(QStringLiteral("Label12"));
  unitRow->addWidget(ten_);
  unitRow->addWidget(exponent_, 0, Qt::AlignTop);
  unitRow->addSpacing(4);
  unitRow->addWidget(unitText_);
  unitRow->addStretch(1);

  draw_ = new QPushButton(QStringLiteral("DRAW"), this);
  draw_->setObjectName(QStringLiteral("DRAWButton"));
  draw_->setToolTip(QStringLiteral("Draw the tensor"));

  grid->addWidget(labelT_, 0, 0);
  grid->addWidget(kind_, 0, 1);
  grid->addWidget(group_, 1, 0, 1, 2);
  grid->addWidget(polarity_, 2, 0, 1, 2);
  grid->addLayout(unitRow, 3, 0, 1, 2);
  grid->addWidget(draw_, 4, 0, 1, 2);
  extremes_ = new QLabel(this);
  extremes_->setObjectName(QStringLiteral("ExtremesLabel"));
  extremes_->setToolTip(
      QStringLiteral("Largest and smallest value (times the power of ten) and a direction"));
  // A little smaller than the panel's labels: the two lines set the panel's width, and a narrow
  // panel leaves the grids beside it their full width in the default window.
  QFont readout = extremes_->font();
  readout.setPointSizeF(readout.pointSizeF() * 0.9);
  extremes_->setFont(readout);
  grid->addWidget(extremes_, 5, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  adjustSize();

  for (ClickableLabel* label : {labelT_, kind_})
    connect(label, &ClickableLabel::clicked, this, &TensorPanel::kindClicked);
  connect(group_, &ClickableLabel::clicked, this, &TensorPanel::groupClicked);
  connect(polarity_, &ClickableLabel::clicked, this, &TensorPanel::polarityClicked);
  connect(unitText_, &ClickableLabel::clicked, this, &TensorPanel::unitTextClicked);
  for (ClickableLabel* label : {ten_, exponent_})
    connect(label, &ClickableLabel::clicked, this, &TensorPanel::powerClicked);
  connect(draw_, &QPushButton::clicked, this, &TensorPanel::drawClicked);
}

void TensorPanel::ShowTexts(const TensorPanelTexts& texts) {
  exponent_->setText(FromUtf8(texts.exponent));
  unitText_->setText(FromUtf8(texts.unitText));
  kind_->setText(FromUtf8(texts.kindCaption));
  polarity_->setText(FromUtf8(texts.polarity));
  group_->SetGroup(QStringLiteral("PS: "), FromUtf8(texts.groupName), texts.groupBarIndex);
  adjustSize();
}

void TensorPanel::ShowExtremes(const QString& text) {
  extremes_->setText(text);
}

void TensorPanel::ShowDrawing(bool drawing) {
  draw_->setText(drawing ? QStringLiteral("Busy") : QStringLiteral("DRAW"));
}

QRect TensorPanel::UnitFieldRect() const {
  // Over the unit line of the panel ("10", exponent, unit text), as wide as the panel allows,
  // so that it never runs past the panel or the drawing area.
  const QWidget* area = parentWidget();
  const QPoint at = ten_->mapTo(area, QPoint(0, 0));
  const int right = std::min(geometry().right() - 3, area->width() - 4);
  const int x = std::clamp(at.x(), 0, std::max(0, right - 60));
  return QRect(x, at.y() - 2, right + 1 - x, unitText_->sizeHint().height() + 8);
}

QPoint TensorPanel::ExponentPosition() const {
  return exponent_->mapTo(parentWidget(), QPoint(0, 0));
}

}  // namespace quillmere
