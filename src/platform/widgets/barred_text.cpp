#include "platform/widgets/barred_text.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace quillmere {

namespace {

// The bar over character `index` of `text` drawn in `textRect`: just above the digits' cap
// height, as wide as the character.
QLine BarOver(const QFontMetrics& fm, const QString& text, int index, const QRect& textRect) {
  if (index < 0 || index >= text.size()) return {};
  const int x0 = textRect.left() + fm.horizontalAdvance(text.left(index));
  const int x1 = x0 + fm.horizontalAdvance(text.at(index)) - 1;
  const int y = std::max(textRect.top(), textRect.top() + fm.ascent() - fm.capHeight() - 2);
  return QLine(x0, y, x1, y);
}

void DrawBar(QWidget* w, const QLine& line) {
  if (line.isNull()) return;
  QPainter p(w);
  QPen pen(w->palette().color(w->isEnabled() ? QPalette::Active : QPalette::Disabled,
                              QPalette::WindowText));
  pen.setWidth(1);
  p.setPen(pen);
  p.drawLine(line);
}

}  // namespace

BarredLabel::BarredLabel(const QString& text, QWidget* parent) : ClickableLabel(text, parent) {}

void BarredLabel::setBarIndex(int index) {
  if (index == barIndex_) return;
  barIndex_ = index;
  update();
}

void BarredLabel::SetGroup(const QString& prefix, const QString& symbol, int symbolBar) {
  setText(prefix + symbol);
  setBarIndex(symbolBar >= 0 && symbolBar < symbol.size() ? prefix.size() + symbolBar : -1);
}

QLine BarredLabel::barLine() const {
  if (barIndex_ < 0) return {};
  const QFontMetrics fm(font());
  const int m = margin();
  const QRect area = contentsRect().adjusted(m, m, -m, -m);
  const QRect textRect =
      QStyle::alignedRect(layoutDirection(), alignment(), fm.size(0, text()), area);
  return BarOver(fm, text(), barIndex_, textRect);
}

void BarredLabel::paintEvent(QPaintEvent* event) {
  ClickableLabel::paintEvent(event);
  DrawBar(this, barLine());
}

BarredRadioButton::BarredRadioButton(const QString& text, int barIndex, QWidget* parent)
    : QRadioButton(text, parent), barIndex_(barIndex) {}

QLine BarredRadioButton::barLine() const {
  if (barIndex_ < 0) return {};
  QStyleOptionButton opt;
  initStyleOption(&opt);
  const QRect contents = style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, this);
  const QFontMetrics fm(font());
  const QRect textRect = QStyle::alignedRect(layoutDirection(), Qt::AlignLeft | Qt::AlignVCenter,
                                             fm.size(Qt::TextShowMnemonic, text()), contents);
  return BarOver(fm, text(), barIndex_, textRect);
}

void BarredRadioButton::paintEvent(QPaintEvent* event) {
  QRadioButton::paintEvent(event);
  DrawBar(this, barLine());
}

}  // namespace quillmere
