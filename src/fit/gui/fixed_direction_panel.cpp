#include "fit/gui/fixed_direction_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/user_messages.h"
#include "fit/fixed_directions.h"
#include "platform/dialogs.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

constexpr int kNameColumnWidth = 26;
constexpr int kFlagColumnWidth = 78;     // the heading fix="yes" in full
constexpr int kCosineColumnWidth = 112;  // a normalised cosine shows 14 digits after the point

}  // namespace

DirectionGrid::DirectionGrid(QWidget* parent) : EntryGrid(parent) {
  setObjectName(QStringLiteral("StringGrid3"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  show();
}

void DirectionGrid::showRecords(const SurfaceEvaluation& e, char decimalSeparator) {
  GridTexts g(5, 6);
  g(0, 0) = "?";
  g(1, 0) = "fix=\"yes\"";
  g(2, 0) = "u?1";
  g(3, 0) = "u?2";
  g(4, 0) = "u?3";
  for (int p = 1; p <= 5; ++p) {
    const FixedDirection& record = e.fixedDirections[p - 1];
    g(0, p) = kIndexPositionNames[p - 1];
    g(1, p) = record.flag;
    for (int c = 0; c < 3; ++c)
      g(c + 2, p) = FormatGeneral(static_cast<Real>(record.u[c]), decimalSeparator, 15);
  }
  setTexts(g, [](int c, int r) { return c > 0 && r > 0; });
  // Columns as wide as their longest text in the grid's font: a cosine is never cut.
  setColumnWidth(0, widthForTexts(0, kNameColumnWidth));
  setColumnWidth(1, widthForTexts(1, kFlagColumnWidth));
  int width = columnWidth(0) + columnWidth(1);
  for (int c = 2; c <= 4; ++c) {
    setColumnWidth(c, widthForTexts(c, kCosineColumnWidth));
    width += columnWidth(c);
  }
  const int frame = 2 * frameWidth();
  setFixedSize(width + frame, 6 * verticalHeader()->defaultSectionSize() + frame);
}

FixedDirectionPanel::FixedDirectionPanel(QWidget* parent, FixedDirectionPanelContext context,
                                         FixedDirectionPanelHooks hooks)
    : QFrame(parent), ctx_(context), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("Panel6"));
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);
  Caption = new QLabel(QStringLiteral("Fix the Direction of direction-cosines"), this);
  QFont bold = Caption->font();
  bold.setBold(true);
  Caption->setFont(bold);
  StringGrid3 = new DirectionGrid(this);
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  Button6 = new QPushButton(QStringLiteral("None Fixed"), this);
  Button6->setObjectName(QStringLiteral("Button6"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKButton);
  buttons->addWidget(Button6);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Caption);
  layout->addWidget(StringGrid3);
  layout->addLayout(buttons);

  filling_ = true;
  StringGrid3->showRecords(*ctx_.evaluation, ctx_.services->decimalSeparator);
  filling_ = false;

  // A flag toggles when the selection moves onto it (by mouse or keys), and again at each
  // further click on the flag that is already selected.
  connect(StringGrid3, &QTableWidget::currentCellChanged, this,
          [this](int row, int column, int, int) {
            if (filling_ || !isVisible()) return;
            justSelected_ = true;
            StringGrid3SelectCell(column, row);
          });
  connect(StringGrid3, &QTableWidget::cellClicked, this, [this](int row, int column) {
    if (justSelected_) {
      justSelected_ = false;
      return;
    }
    StringGrid3SelectCell(column, row);
  });
  connect(StringGrid3, &EntryGrid::keyTyped, this, [this] {
    justSelected_ = false;
    StringGrid3KeyPress();
  });
  connect(StringGrid3, &EntryGrid::escapePressed, this, &FixedDirectionPanel::StringGrid3Escape);
  adjustSize();
  hide();
}

void FixedDirectionPanel::FixedDirections1Click() {
  setVisible(!isVisible());
  if (isVisible()) opened_ = ctx_.evaluation->fixedDirections;
  if (ctx_.editingInPanel) *ctx_.editingInPanel = isVisible();
  filling_ = true;
  StringGrid3->showRecords(*ctx_.evaluation, ctx_.services->decimalSeparator);
  filling_ = false;
  justSelected_ = false;
  if (isVisible()) {
    adjustSize();
    raise();
    StringGrid3->setFocus();
  }
}

void FixedDirectionPanel::StringGrid3Escape() {
  if (!isVisible()) return;
  // The flags follow each click at once: Escape puts back those the panel opened with.
  bool flagsChanged = false;
  for (std::size_t k = 0; k < opened_.size(); ++k)
    flagsChanged = flagsChanged || ctx_.evaluation->fixedDirections[k].flag != opened_[k].flag;
  ctx_.evaluation->fixedDirections = opened_;
  StringGrid3->discardTyped();
  if (ctx_.componentsTyped) *ctx_.componentsTyped = false;
  FixedDirections1Click();
  if (flagsChanged && hooks_.drawTensor) hooks_.drawTensor();
}

void FixedDirectionPanel::StringGrid3SelectCell(int column, int row) {
  if (column != 1 || row < 1 || row > 5) return;
  const std::string flag =
      ToUtf8(StringGrid3->cellText(column, row)) == kFreeFlag ? kFixedFlag : kFreeFlag;
  StringGrid3->setCellText(column, row, FromUtf8(flag));
  ctx_.evaluation->fixedDirections[row - 1].flag = flag;
}

void FixedDirectionPanel::StringGrid3KeyPress() {
  if (ctx_.componentsTyped) *ctx_.componentsTyped = true;
}

void FixedDirectionPanel::StringGrid3Click() {
  StringGrid3->commitOpenEditor();
  ApplyFixedDirectionGrid(
      *ctx_.evaluation,
      [this](int column, int row) { return ToUtf8(StringGrid3->cellText(column, row)); },
      [this](int row, const std::string& flag) {
        StringGrid3->setCellText(1, row, FromUtf8(flag));
      },
      *ctx_.services);
}

void FixedDirectionPanel::StringGrid3DblClick() {
  StringGrid3Click();
  if (ctx_.componentsTyped && *ctx_.componentsTyped && hooks_.drawTensor) hooks_.drawTensor();
  if (ctx_.componentsTyped) *ctx_.componentsTyped = false;
  FixedDirections1Click();
}

void FixedDirectionPanel::Button6Click() {
  FreeAllDirections(*ctx_.evaluation);
  for (int p = 1; p <= 5; ++p) StringGrid3->setCellText(1, p, FromUtf8(kFreeFlag));
  if (ctx_.componentsTyped) *ctx_.componentsTyped = true;
  StringGrid3DblClick();
}

}  // namespace quillmere
