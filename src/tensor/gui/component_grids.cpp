#include "tensor/gui/component_grids.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

#include "platform/widgets/grid_escape.h"

namespace quillmere {

namespace {

// Both grids may move left as far as the full grid's place.
constexpr int kLeftmostGridX = 10;

void ApplyRect(QWidget* w, const GridRect& r, const GridRoom& room) {
  const GridRect inside = KeepGridInside(r, room, kLeftmostGridX);
  w->setGeometry(inside.x, inside.y, inside.width, inside.height);
}

}  // namespace

EntryGrid::EntryGrid(QWidget* parent) : QTableWidget(parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setMinimumSectionSize(8);
  verticalHeader()->setMinimumSectionSize(8);
  verticalHeader()->setDefaultSectionSize(kGridRowPitch);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Typing into a cell replaces its text, F2 edits it; clicks only select, so that a double
  // click is free to commit the grid.
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // An edit that ends with the editor's commit counts as typing even when no key reached the
  // grid itself (an edit opened from the keyboard of another widget, or pasted text).
  connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem*) {
    if (!filling_) markTyped();
  });
  // Escape in a cell drops its text, then ends the whole grid, as it does when no cell is open.
  OnGridEscape(this, [this] { emit escapePressed(); });
  hide();
}

QString EntryGrid::cellText(int column, int row) const {
  const QTableWidgetItem* it = item(row, column);
  return it ? it->text() : QString();
}

void EntryGrid::setCellText(int column, int row, const QString& text) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
  filling_ = true;
  QTableWidgetItem* it = item(row, column);
  if (!it) {
    it = new QTableWidgetItem;
    setItem(row, column, it);
  }
  it->setText(text);
  filling_ = false;
}

void EntryGrid::commitOpenEditor() {
  if (state() != QAbstractItemView::EditingState) return;
  // The delegate's editor is a child of the viewport; the focus may be elsewhere (another
  // window active) while it is open.
  for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!editor->isVisible()) continue;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
}

void EntryGrid::discardTyped() {
  if (state() == QAbstractItemView::EditingState)
    for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (editor->isVisible()) closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
  typed_ = false;
}

int EntryGrid::widthForTexts(int column, int minimum, const QString& sample) const {
  // The cell's text is inset from its grid lines on both sides; a number must never be cut.
  constexpr int kTextInset = 14;
  const QFontMetrics metrics(font());
  int widest = metrics.horizontalAdvance(sample);
  for (int r = 0; r < rowCount(); ++r)
    widest = std::max(widest, metrics.horizontalAdvance(cellText(column, r)));
  return std::max(minimum, widest + kTextInset);
}

void EntryGrid::selectCell(int column, int row) {
  if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
  setCurrentCell(row, column);
  setFocus();
  if (QTableWidgetItem* it = item(row, column); it && (it->flags() & Qt::ItemIsEditable))
    editItem(it);
}

void EntryGrid::setTexts(const GridTexts& texts, const std::function<bool(int, int)>& editable) {
  commitOpenEditor();
  filling_ = true;
  clearContents();
  setColumnCount(texts.columns());
  setRowCount(texts.rows());
  const QColor fixedBackground = palette().color(QPalette::Button);
  const QColor mirrorText = palette().color(QPalette::Disabled, QPalette::Text);
  for (int r = 0; r < texts.rows(); ++r) {
    for (int c = 0; c < texts.columns(); ++c) {
      auto* it = new QTableWidgetItem(QString::fromStdString(texts(c, r)));
      const bool header = r == 0 || c == 0;
      const bool canEdit = editable(c, r);
      Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
      if (canEdit) flags |= Qt::ItemIsEditable;
      it->setFlags(flags);
      if (header && !canEdit) it->setBackground(fixedBackground);
      if (!header && !canEdit) {
        it->setForeground(mirrorText);
        it->setToolTip("follows from the index symmetry");
      }
      setItem(r, c, it);
    }
  }
  filling_ = false;
  typed_ = false;
}

GridTexts EntryGrid::texts() {
  commitOpenEditor();
  GridTexts t(columnCount(), rowCount());
  for (int r = 0; r < rowCount(); ++r)
    for (int c = 0; c < columnCount(); ++c) t(c, r) = cellText(c, r).toStdString();
  return t;
}

void EntryGrid::markTyped() {
  typed_ = true;
  emit keyTyped();
}

void EntryGrid::keyPressEvent(QKeyEvent* event) {
  if (!event->text().isEmpty() || event->key() == Qt::Key_F2) markTyped();
  QTableWidget::keyPressEvent(event);
}

void EntryGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  emit gridDoubleClicked();
}

ComponentGrid::ComponentGrid(QWidget* parent) : EntryGrid(parent) {
  setObjectName("StringGrid1");
  horizontalHeader()->setDefaultSectionSize(kFullGridColumnPitch);
}

void ComponentGrid::showTexts(const GridTexts& texts, int kind) {
  setTexts(texts,
           [kind](int c, int r) { return r > 0 && c > 0 && FullGridCellOf(kind, r, c).editable; });
  // One pitch for every column, wide enough for the longest number shown.
  pitch_ = kFullGridColumnPitch;
  for (int c = 0; c < columnCount(); ++c) pitch_ = widthForTexts(c, pitch_);
  horizontalHeader()->setDefaultSectionSize(pitch_);
  for (int c = 0; c < columnCount(); ++c) setColumnWidth(c, pitch_);
}

void ComponentGrid::placeFor(int windowWidth, int windowHeight, const GridRoom& room) {
  ApplyRect(this,
            FullGridRect(columnCount() - 1, rowCount() - 1, windowWidth, windowHeight, pitch_),
            room);
}

IndependentGrid::IndependentGrid(QWidget* parent) : EntryGrid(parent) {
  setObjectName("StringGrid2");
}

void IndependentGrid::showTexts(const IndependentTexts& texts, const QString& cornerCaption) {
  const int count = static_cast<int>(texts.labels.size());
  GridTexts g(2, count + 1);
  g(0, 0) = cornerCaption.toStdString();
  g(1, 0) = texts.unitText;
  for (int r = 1; r <= count; ++r) {
    g(0, r) = texts.labels[r - 1];
    if (static_cast<std::size_t>(r - 1) < texts.values.size()) g(1, r) = texts.values[r - 1];
  }
  setTexts(g, [](int c, int) { return c == 1; });
  setColumnWidth(0, widthForTexts(0, kIndependentLabelWidth));
  setColumnWidth(1, widthForTexts(1, kIndependentValueWidth));
}

IndependentTexts IndependentGrid::cellTexts() {
  const GridTexts g = texts();
  IndependentTexts t;
  if (g.columns() < 2 || g.rows() < 1) return t;
  t.unitText = g(1, 0);
  for (int r = 1; r < g.rows(); ++r) {
    t.labels.push_back(g(0, r));
    t.values.push_back(g(1, r));
  }
  return t;
}

void IndependentGrid::placeFor(int windowWidth, int windowHeight, const GridRoom& room) {
  ApplyRect(this, IndependentGridRect(count(), windowWidth, windowHeight), room);
}

}  // namespace quillmere
