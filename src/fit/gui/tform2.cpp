#include "fit/gui/tform2.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "fit/fit_layout.h"
#include "fit/fit_residuals.h"
#include "fit/measurement_csv.h"
#include "fit/property_kinds.h"
#include "platform/dialogs.h"
#include "platform/widgets/grid_escape.h"
#include "platform/widgets/panel_labels.h"
#include "platform/widgets/spin_button.h"
#include "tensor/number_text.h"
#include "tensor/symmetry_table.h"

namespace quillmere {

namespace {

constexpr const char* kHintDirections = "Insert the direction cosines";
constexpr const char* kHintValues = "Insert the measured values and their errors";
constexpr const char* kHintResult = "Result of fit";
constexpr const char* kHintEigen =
    "Eigenvalues and direction cosines for second-rank symmetric tensors";
constexpr const char* kHintSpin = "Change the dimension ";
constexpr const char* kHintAdd = "Insert a new measurement";
constexpr const char* kHintRemove = "Remove a measurement";
constexpr const char* kHintFit = "Start the evaluation of the system of equations";
constexpr const char* kResidualHeading = "y - fit";

// Most measurement rows the grids show before they scroll, and most rows of the result table.
constexpr int kVisibleDirectionRows = 15;
constexpr int kVisibleResultRows = 12;

QString Q(const std::string& s) {
  return FromUtf8(s);
}

}  // namespace

// ---- FitGrid ----------------------------------------------------------------------------------

FitGrid::FitGrid(QWidget* parent) : QTableWidget(parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                  QAbstractItemView::EditKeyPressed);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    const bool inside = now && (now == this || isAncestorOf(now));
    if (inside && !entered_) keepTexts();
    entered_ = inside;
  });
  OnGridEscape(this, [this] { DropTyping(); });
}

void FitGrid::keepTexts() {
  keptRows_ = rowCount();
  keptColumns_ = columnCount();
  keptTexts_.clear();
  for (int r = 0; r < keptRows_; ++r)
    for (int c = 0; c < keptColumns_; ++c) keptTexts_ << cellText(c, r);
}

void FitGrid::DropTyping() {
  if (state() == QAbstractItemView::EditingState)
    for (QWidget* editor : viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (editor->isVisible()) closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
  // Rows are added and removed only by the window's commands, which take the focus out of the
  // grid; typing changes texts alone.
  if (rowCount() == keptRows_ && columnCount() == keptColumns_) {
    // The texts come back without a change signal: the residuals of the last fit belong to
    // them again.
    const QSignalBlocker quiet(this);
    for (int r = 0; r < keptRows_; ++r)
      for (int c = 0; c < keptColumns_; ++c)
        if (QTableWidgetItem* it = item(r, c)) it->setText(keptTexts_[r * keptColumns_ + c]);
  }
  clearFocus();
}

QString FitGrid::cellText(int column, int row) const {
  const QTableWidgetItem* it = item(row, column);
  return it ? it->text() : QString();
}

void FitGrid::setCell(int column, int row, const QString& text, bool editable) {
  QTableWidgetItem* it = item(row, column);
  if (!it) {
    it = new QTableWidgetItem;
    setItem(row, column, it);
  }
  it->setText(text);
  if (editable) {
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    it->setBackground(QBrush());
  } else {
    it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    it->setBackground(palette().button());
  }
}

void FitGrid::commitOpenEditor() {
  if (state() != QAbstractItemView::EditingState) return;
  // Moving the current cell ends the edit and commits it; then the old cell is current again.
  const QModelIndex current = currentIndex();
  QWidget* editor = indexWidget(current);
  if (!editor) editor = focusWidget();
  if (editor) commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void FitGrid::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    emit pasteRequested();
    return;
  }
  if (event->matches(QKeySequence::Copy)) {
    emit copyRequested();
    return;
  }
  QTableWidget::keyPressEvent(event);
}

// ---- TForm2 -----------------------------------------------------------------------------------

TForm2::TForm2(TensorState& tensor, FitSession& session, const CoreServices& services,
               Dialogs& dialogs, FitWindowHooks hooks, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      t_(tensor),
      session_(session),
      services_(services),
      dialogs_(dialogs),
      hooks_(std::move(hooks)),
      workspace_(std::make_unique<FitWorkspace>(session.indexDirectionFlags)),
      directions_(DirectionCount(session.indexDirectionFlags)) {
  setObjectName(QStringLiteral("TForm2"));
  setWindowTitle(QStringLiteral("TensorFit"));
  rowHeight_ = fontMetrics().height() + 8;

  // Heading strip: the unit, its spin button and the buttons.
  Label2 = new QLabel(QStringLiteral("unit = 10"), this);
  Label3 = new QLabel(this);
  Label3->setObjectName(QStringLiteral("Label3"));
  QFont small = Label3->font();
  small.setPointSizeF(small.pointSizeF() * 0.75);
  Label3->setFont(small);
  Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1 = new ClickableLabel(QString(), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setToolTip(QStringLiteral("Click to edit the unit text"));
  Label1->setCursor(Qt::PointingHandCursor);
  SpinButton1 = new SpinButton(QString::fromLatin1(kHintSpin), this, QSize(17, 11));
  SpinButton1->setObjectName(QStringLiteral("SpinButton1"));
  const auto button = [this](const char* caption, const char* name, const char* hint) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    if (hint) b->setToolTip(QString::fromLatin1(hint));
    b->setAutoDefault(false);
    return b;
  };
  Button1 = button("ADD", "Button1", kHintAdd);
  Button3 = button("REMOVE", "Button3", kHintRemove);
  Button2 = button("FIT", "Button2", kHintFit);
  LoadButton = button("Load…", "LoadButton", "Read the measurements from a CSV file");
  SaveButton = button("Save…", "SaveButton", "Write the measurements to a CSV file");

  auto* strip = new QHBoxLayout;
  strip->setSpacing(2);
  strip->addWidget(Label2, 0, Qt::AlignVCenter);
  strip->addWidget(Label3, 0, Qt::AlignTop);
  strip->addSpacing(6);
  strip->addWidget(Label1, 0, Qt::AlignVCenter);
  strip->addSpacing(6);
  strip->addWidget(SpinButton1, 0, Qt::AlignVCenter);
  strip->addStretch(1);
  strip->addSpacing(12);
  for (QPushButton* b : {Button1, Button3, Button2}) strip->addWidget(b);
  strip->addSpacing(12);
  strip->addWidget(LoadButton);
  strip->addWidget(SaveButton);

  // The two measurement grids side by side; the value grid's scroll bar moves both.
  StringGrid1 = new FitGrid(this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setToolTip(QString::fromLatin1(kHintDirections));
  StringGrid1->setColumnCount(4);
  StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid2 = new FitGrid(this);
  StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
  StringGrid2->setToolTip(QString::fromLatin1(kHintValues));
  StringGrid2->setColumnCount(3);
  StringGrid2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  connect(StringGrid2->verticalScrollBar(), &QScrollBar::valueChanged,
          StringGrid1->verticalScrollBar(), &QScrollBar::setValue);
  connect(StringGrid1->verticalScrollBar(), &QScrollBar::valueChanged,
          StringGrid2->verticalScrollBar(), &QScrollBar::setValue);
  auto* grids = new QHBoxLayout;
  grids->setSpacing(0);
  grids->addWidget(StringGrid1, 0, Qt::AlignTop);
  grids->addWidget(StringGrid2, 0, Qt::AlignTop);
  grids->addStretch(1);

  StringGrid3 = new FitGrid(this);
  StringGrid3->setObjectName(QStringLiteral("StringGrid3"));
  StringGrid3->setToolTip(QString::fromLatin1(kHintResult));
  StringGrid3->setColumnCount(3);
  StringGrid3->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid3->hide();
  StringGrid4 = new FitGrid(this);
  StringGrid4->setObjectName(QStringLiteral("StringGrid4"));
  StringGrid4->setToolTip(QString::fromLatin1(kHintEigen));
  StringGrid4->setColumnCount(4);
  StringGrid4->setRowCount(4);
  StringGrid4->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid4->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid4->hide();

  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->addLayout(strip);
  layout->addLayout(grids);
  layout->addWidget(StringGrid3, 0, Qt::AlignLeft);
  layout->addWidget(StringGrid4, 0, Qt::AlignLeft);

  connect(Button1, &QPushButton::clicked, this, [this] { Guarded([this] { Button1Click(); }); });
  connect(Button3, &QPushButton::clicked, this, [this] { Guarded([this] { Button3Click(); }); });
  connect(Button2, &QPushButton::clicked, this, [this] { Guarded([this] { Button2Click(); }); });
  connect(LoadButton, &QPushButton::clicked, this, [this] { Guarded([this] { LoadClick(); }); });
  connect(SaveButton, &QPushButton::clicked, this, [this] { Guarded([this] { SaveClick(); }); });
  connect(SpinButton1, &SpinButton::upClicked, this,
          [this] { Guarded([this] { SpinButton1UpClick(); }); });
  connect(SpinButton1, &SpinButton::downClicked, this,
          [this] { Guarded([this] { SpinButton1DownClick(); }); });
  connect(Label1, &ClickableLabel::clicked, this, [this] { Guarded([this] { Label1Click(); }); });
  connect(StringGrid3, &QTableWidget::cellDoubleClicked, this, [this] { StringGrid3DblClick(); });
  connect(StringGrid4, &QTableWidget::cellDoubleClicked, this, [this] { StringGrid4DblClick(); });
  for (FitGrid* g : {StringGrid1, StringGrid2}) {
    connect(g, &FitGrid::pasteRequested, this, [this, g] {
      Guarded([this, g] { PasteIntoGrid(g); });
      StringGrid1->keepTexts();
      StringGrid2->keepTexts();
    });
    connect(g, &FitGrid::copyRequested, this, [this, g] { CopyTable(g); });
    // A residual belongs to the data it was computed from.
    connect(g, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* it) {
      if (!filling_ && !(it->tableWidget() == StringGrid2 && it->column() == kResidualColumn))
        ClearResiduals();
    });
  }
  for (FitGrid* g : {StringGrid3, StringGrid4})
    connect(g, &FitGrid::copyRequested, this, [this, g] { CopyTable(g); });
}

TForm2::~TForm2() = default;

void TForm2::Guarded(const std::function<void()>& handler) {
  ReportErrors(dialogs_, handler);
  // A message box or file dialog of the handler hands the focus back to the main window: the
  // fit window comes back to the front.
  if (isVisible() && !closeConfirmed_) {
    raise();
    activateWindow();
  }
}

// ---- Creation and closing ---------------------------------------------------------------------

void TForm2::FormCreate() {
  FitWindowCreated(session_);
  measurementScale_ = t_.scale;
  filling_ = true;
  // Heading rows: "u" with the start position of each direction and the cosine's number.
  StringGrid1->setRowCount(directions_);
  for (int d = 1; d <= directions_; ++d) {
    StringGrid1->setCell(0, d - 1, QString(), false);
    for (int column = 1; column <= 3; ++column)
      StringGrid1->setCell(column, d - 1,
                           Q(DirectionHeading(session_.indexDirectionFlags, d, column)), false);
  }
  StringGrid2->setRowCount(1);
  StringGrid2->setCell(0, 0, QString::fromLatin1(kValueHeadingY), false);
  StringGrid2->setCell(1, 0, QString::fromLatin1(kValueHeadingDy), false);
  StringGrid2->setCell(kResidualColumn, 0, QString::fromLatin1(kResidualHeading), false);
  StringGrid2->item(0, kResidualColumn)
      ->setToolTip(QStringLiteral("Residual of the last fit: y minus the fitted prediction"));
  filling_ = false;
  SetMeasurementCount(1);
  // The unit text widens the heading strip: the window is measured and placed with it.
  RefreshUnit();
  layout()->activate();
  adjustSize();
  if (hooks_.place) hooks_.place(this);
  show();

  if (t_.pointGroup == 0) {
    services_.Tell(kMsgNoPointGroup);
    RequestClose();
    if (closeConfirmed_) return;
  }
  ApplySymmetry(t_, SymmetryMode::Describe, services_);
}

void TForm2::RequestClose() {
  close();
}

void TForm2::closeEvent(QCloseEvent* event) {
  if (closeConfirmed_ || !dialogs_.AskYesNo(kAskCloseFit)) {
    if (!closeConfirmed_) event->ignore();
    return;
  }
  closeConfirmed_ = true;
  FitWindowClosed(session_);
  setAttribute(Qt::WA_DeleteOnClose);
  event->accept();
  emit fitClosed();
}

// ---- Measurements ----------------------------------------------------------------------------

int TForm2::measurementCount() const {
  return std::max(0, StringGrid2->rowCount() - 1);
}

void TForm2::SetMeasurementCount(int count) {
  count = std::max(1, count);
  filling_ = true;
  const int before = measurementCount();
  StringGrid1->setRowCount(directions_ * (count + 1));
  StringGrid2->setRowCount(count + 1);
  for (int k = before; k < count; ++k) {
    for (int d = 1; d <= directions_; ++d) {
      const int row = DirectionGridRow(directions_, k, d);
      StringGrid1->setCell(
          0, row, QString::number(DirectionLabel(session_.indexDirectionFlags, t_.rank, d)), false);
      for (int column = 1; column <= 3; ++column)
        StringGrid1->setCell(column, row, QString(), true);
    }
    StringGrid2->setCell(0, k + 1, QString(), true);
    StringGrid2->setCell(1, k + 1, QString(), true);
    StringGrid2->setCell(kResidualColumn, k + 1, QString(), false);
  }
  filling_ = false;
  FitSizes();
}

void TForm2::Button1Click() {
  CommitEditors();
  SetMeasurementCount(measurementCount() + 1);
  ClearResiduals();
}

void TForm2::Button3Click() {
  CommitEditors();
  if (StringGrid1->rowCount() <= 2 * directions_) return;
  SetMeasurementCount(measurementCount() - 1);
  ClearResiduals();
}

void TForm2::CommitEditors() {
  StringGrid1->commitOpenEditor();
  StringGrid2->commitOpenEditor();
}

void TForm2::ClearResiduals() {
  filling_ = true;
  for (int row = 1; row < StringGrid2->rowCount(); ++row)
    StringGrid2->setCell(kResidualColumn, row, QString(), false);
  filling_ = false;
}

void TForm2::ShowResiduals(const std::vector<Real>& residuals) {
  filling_ = true;
  for (int row = 1; row < StringGrid2->rowCount(); ++row) {
    const std::size_t k = static_cast<std::size_t>(row - 1);
    StringGrid2->setCell(kResidualColumn, row,
                         k < residuals.size()
                             ? Q(FormatFitResult(residuals[k], services_.decimalSeparator))
                             : QString(),
                         false);
  }
  filling_ = false;
}

/// Every grid as large as its texts; the measurement grids scroll together beyond a limit, the
/// value rows D direction rows tall so that each lines up with its directions.
void TForm2::FitSizes() {
  const auto fitColumns = [](FitGrid* g, int minimum) {
    g->resizeColumnsToContents();
    int width = 0;
    for (int c = 0; c < g->columnCount(); ++c) {
      g->setColumnWidth(c, std::max(g->columnWidth(c) + 6, minimum));
      width += g->columnWidth(c);
    }
    return width + 2 * g->frameWidth();
  };
  for (int r = 0; r < StringGrid1->rowCount(); ++r) StringGrid1->setRowHeight(r, rowHeight_);
  for (int r = 0; r < StringGrid2->rowCount(); ++r)
    StringGrid2->setRowHeight(r, rowHeight_ * directions_);
  const int rows =
      std::min(StringGrid1->rowCount(),
               std::max(2 * directions_, kVisibleDirectionRows / directions_ * directions_));
  const int height = rows * rowHeight_ + 2 * StringGrid1->frameWidth();
  StringGrid1->setFixedSize(fitColumns(StringGrid1, 60), height);
  StringGrid2->setFixedSize(
      fitColumns(StringGrid2, 80) + StringGrid2->verticalScrollBar()->sizeHint().width(), height);

  for (FitGrid* g : {StringGrid3, StringGrid4}) {
    for (int r = 0; r < g->rowCount(); ++r) g->setRowHeight(r, rowHeight_);
    const int visible = std::min(g->rowCount(), kVisibleResultRows);
    const bool scrolls = visible < g->rowCount();
    g->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    g->setFixedSize(fitColumns(g, 70) + (scrolls ? g->verticalScrollBar()->sizeHint().width() : 0),
                    visible * rowHeight_ + 2 * g->frameWidth());
  }
}

// ---- FitCells ---------------------------------------------------------------------------------

std::string TForm2::Cosine(int k, int d, int axis) const {
  return ToUtf8(StringGrid1->cellText(axis + 1, DirectionGridRow(directions_, k, d)));
}

std::string TForm2::Value(int k, int column) const {
  return ToUtf8(StringGrid2->cellText(column, k + 1));
}

// ---- The fit and its result ---------------------------------------------------------------------

void TForm2::CheckNumberCells() {
  // A cell holding text that is no number is named by its measurement and column heading and
  // selected, so that it can be corrected; empty cells are left to the fit's own notices.
  const auto check = [this](FitGrid* grid, int column, int row, int measurement,
                            const QString& heading) {
    const std::string text = ToUtf8(grid->cellText(column, row).trimmed());
    Real v = 0;
    if (text.empty() || TryParseReal(text, v, services_.decimalSeparator)) return;
    grid->setCurrentCell(row, column);
    grid->setFocus();
    throw std::runtime_error(NotAFloatMessage(text) + " (measurement " +
                             std::to_string(measurement) + ", " + ToUtf8(heading) + ")");
  };
  for (int k = 0; k < measurementCount(); ++k) {
    for (int d = 1; d <= directions_; ++d)
      for (int column = 1; column <= 3; ++column)
        check(StringGrid1, column, DirectionGridRow(directions_, k, d), k + 1,
              StringGrid1->cellText(column, d - 1));
    for (int column = 0; column <= 1; ++column)
      check(StringGrid2, column, k + 1, k + 1,
            StringGrid2->cellText(column, 0).remove(QLatin1Char('=')));
  }
}

void TForm2::Button2Click() {
  CommitEditors();
  ClearResiduals();
  CheckNumberCells();
  // The measurements are read in their own power of ten, whatever the main window's unit was
  // changed to since: the result is expressed in it too.
  if (t_.scale != measurementScale_) {
    t_.scale = measurementScale_;
    if (hooks_.refresh) hooks_.refresh();
  }
  const FitOutcome outcome = RunFit(*workspace_, t_, *this, services_);
  if (outcome == FitOutcome::CloseRequested) {
    RequestClose();
    return;
  }
  if (outcome != FitOutcome::Done) return;
  const std::vector<Real> residuals = FitResiduals(*workspace_, t_, *this, services_);
  StringGrid3Click();
  ShowResiduals(residuals);
}

void TForm2::StringGrid3Click() {
  result_ = ApplyFitResult(t_, *workspace_, services_);
  if (!result_.shown) return;
  fitApplied_ = true;
  if (hooks_.fitTaken) hooks_.fitTaken();
  StringGrid3->setRowCount(static_cast<int>(result_.rows.size()));
  for (int r = 0; r < StringGrid3->rowCount(); ++r)
    for (int c = 0; c < 3; ++c)
      StringGrid3->setCell(
          c, r, Q(result_.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]), false);
  StringGrid3->show();
  // The main window's panel, its grids and choosers show the fitted tensor.
  if (hooks_.refresh) hooks_.refresh();
  StringGrid4Click();
  FitSizes();
}

void TForm2::StringGrid4Click() {
  if (t_.rank != 2 || !result_.eigenShown) return;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      StringGrid4->setCell(
          c, r, Q(result_.eigen[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]), false);
  StringGrid4->show();
  FitSizes();
}

void TForm2::StringGrid3DblClick() {
  StringGrid3->hide();
}

void TForm2::StringGrid4DblClick() {
  StringGrid4->hide();
}

// ---- Unit ---------------------------------------------------------------------------------------

void TForm2::RefreshUnit() {
  Label3->setText(QString::number(DecadeExponent(measurementScale_)));
  Label1->setText(t_.unitText.empty() ? QStringLiteral(" ") : Q(t_.unitText));
}

void TForm2::SpinButton1UpClick() {
  measurementScale_ *= 10;
  t_.scale = measurementScale_;
  DecadeOf(t_, t_.scale);
  if (hooks_.refresh) hooks_.refresh();
  RefreshUnit();
}

void TForm2::SpinButton1DownClick() {
  measurementScale_ /= 10;
  t_.scale = measurementScale_;
  DecadeOf(t_, t_.scale);
  if (hooks_.refresh) hooks_.refresh();
  RefreshUnit();
}

void TForm2::Label1Click() {
  if (hooks_.toggleUnitEditor) hooks_.toggleUnitEditor();
  RefreshUnit();
}

}  // namespace quillmere
