#include "fit/gui/transform_panel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/user_messages.h"
#include "platform/dialogs.h"
#include "tensor/number_text.h"
#include "tensor/point_group_symbols.h"

namespace quillmere {

namespace {

constexpr int kMatrixColumnWidth = 92;  // room for 15 significant digits and a sign
constexpr int kMatrixHeadingWidth = 30;

}  // namespace

MatrixGrid::MatrixGrid(QWidget* parent) : EntryGrid(parent) {
  setObjectName(QStringLiteral("StringGrid4"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  show();
}

void MatrixGrid::showMatrix(const TransformMatrix& u, char decimalSeparator) {
  GridTexts g(4, 4);
  g(0, 0) = "uij";
  for (int n = 1; n <= 3; ++n) {
    g(n, 0) = std::to_string(n);
    g(0, n) = std::to_string(n);
  }
  for (int a = 1; a <= 3; ++a)
    for (int b = 1; b <= 3; ++b) g(a, b) = FormatGeneral(u[a - 1][b - 1], decimalSeparator, 15);
  setTexts(g, [](int c, int r) { return c > 0 && r > 0; });
  // Every column as wide as the longest number it holds in the grid's font.
  setColumnWidth(0, kMatrixHeadingWidth);
  int width = kMatrixHeadingWidth;
  for (int c = 1; c <= 3; ++c) {
    setColumnWidth(c, widthForTexts(c, kMatrixColumnWidth));
    width += columnWidth(c);
  }
  const int frame = 2 * frameWidth();
  setFixedSize(width + frame, 4 * verticalHeader()->defaultSectionSize() + frame);
}

TransformPanel::TransformPanel(QWidget* parent, TransformPanelContext context,
                               TransformPanelHooks hooks)
    : QGroupBox(QStringLiteral("Transform Tensor by:"), parent),
      ctx_(context),
      hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("GroupBox4"));
  setAutoFillBackground(true);
  StringGrid4 = new MatrixGrid(this);
  StringGrid4->showMatrix(*ctx_.matrix, ctx_.services->decimalSeparator);
  // Escape is Cancel: the typed matrix is not applied.
  connect(StringGrid4, &EntryGrid::escapePressed, this, [this] {
    StringGrid4->discardTyped();
    Button8Click();
  });
  Button7 = new QPushButton(QStringLiteral("Apply"), this);
  Button7->setObjectName(QStringLiteral("Button7"));
  Button8 = new QPushButton(QStringLiteral("Cancel"), this);
  Button8->setObjectName(QStringLiteral("Button8"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Button7);
  buttons->addWidget(Button8);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(StringGrid4);
  layout->addLayout(buttons);
  adjustSize();
  hide();
}

void TransformPanel::ransform1Click() {
  StringGrid4->showMatrix(*ctx_.matrix, ctx_.services->decimalSeparator);
  adjustSize();
  show();
  raise();
}

void TransformPanel::Button7Click() {
  if (hooks_.commitOpenGrids && !hooks_.commitOpenGrids()) return;
  TensorState& t = *ctx_.tensor;
  const GridTexts cells = [this] {
    StringGrid4->commitOpenEditor();
    GridTexts g(4, 4);
    for (int c = 0; c < 4; ++c)
      for (int r = 0; r < 4; ++r) g(c, r) = ToUtf8(StringGrid4->cellText(c, r));
    return g;
  }();
  ReadTransformMatrix(
      *ctx_.matrix, [&](int column, int row) { return cells(column, row); },
      ctx_.services->decimalSeparator);
  TransformTensor(t, *ctx_.matrix);
  const TransformedSymmetry kept = KeepTransformedTensor(t, *ctx_.services);
  hide();
  if (hooks_.refresh) hooks_.refresh();
  if (kept.groupChanged)
    ctx_.services->Tell("The transformed tensor no longer has the symmetry of point group " +
                        PointGroupSymbol(kept.oldGroup) +
                        "; it now has point group 1, so that every component is kept.");
  if (hooks_.stringGrid1Click) hooks_.stringGrid1Click();
  if (hooks_.drawTensor) hooks_.drawTensor();
}

void TransformPanel::Button8Click() {
  hide();
}

}  // namespace quillmere
