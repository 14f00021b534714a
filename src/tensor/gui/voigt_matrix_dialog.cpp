#include "tensor/gui/voigt_matrix_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "tensor/matrix_entry.h"
#include "tensor/number_text.h"
#include "tensor/point_group_symbols.h"

namespace quillmere {

namespace {

QString Q(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

}  // namespace

VoigtMatrixDialog::VoigtMatrixDialog(const TensorState& t, const CoreServices& services,
                                     QWidget* parent)
    : QDialog(parent), tensor_(t), result_(t), services_(services) {
  setWindowTitle(QStringLiteral("Voigt Matrix"));
  setObjectName(QStringLiteral("VoigtMatrixDialog"));
  services_.messages = nullptr;
  const TensorKindInfo* kind = FindKind(t.kind);
  const VoigtMatrix shape = EmptyVoigtMatrix(t.kind);

  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(
      Q("Kind " + std::string(kind ? kind->caption : "?") + ", point group " +
        (t.pointGroup >= 1 && t.pointGroup <= kPointGroupCount ? PointGroupSymbol(t.pointGroup)
                                                               : std::string("none")) +
        ", values x 10^" + std::to_string(DecadeExponent(t.scale)) + " " + t.unitText),
      this);
  layout->addWidget(heading);

  auto* conventionRow = new QHBoxLayout;
  conventionRow->addWidget(new QLabel(QStringLiteral("Convention:"), this));
  convention_ = new QComboBox(this);
  convention_->setObjectName(QStringLiteral("ConventionChooser"));
  convention_->addItem(Q(ConventionCaption(VoigtConvention::Stiffness)));
  convention_->addItem(Q(ConventionCaption(VoigtConvention::Compliance)));
  convention_->setCurrentIndex(
      ConventionFromUnit(t.unitText).value_or(VoigtConvention::Stiffness) ==
              VoigtConvention::Compliance
          ? 1
          : 0);
  convention_->setEnabled(ConventionMatters(t.kind));
  conventionRow->addWidget(convention_, 1);
  layout->addLayout(conventionRow);

  table_ = new QTableWidget(shape.rows, shape.columns, this);
  table_->setObjectName(QStringLiteral("VoigtMatrixCells"));
  QStringList rowLabels, columnLabels;
  for (int r = 1; r <= shape.rows; ++r) rowLabels << Q(VoigtRowLabel(t.kind, r));
  for (int c = 1; c <= shape.columns; ++c) columnLabels << Q(VoigtColumnLabel(t.kind, c));
  table_->setVerticalHeaderLabels(rowLabels);
  table_->setHorizontalHeaderLabels(columnLabels);
  table_->horizontalHeader()->setDefaultSectionSize(74);
  table_->verticalHeader()->setDefaultSectionSize(24);
  layout->addWidget(table_, 1);

  keepGroup_ = new QCheckBox(
      QStringLiteral("Keep the point group: the cells it ties are read-only and follow"), this);
  keepGroup_->setObjectName(QStringLiteral("KeepGroup"));
  layout->addWidget(keepGroup_);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("VoigtMatrixStatus"));
  status_->setWordWrap(true);
  layout->addWidget(status_);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* paste = buttons->addButton(QStringLiteral("&Paste"), QDialogButtonBox::ActionRole);
  QPushButton* copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
  // Return ends a cell's edit; it must not also close the form.
  for (QAbstractButton* b : buttons->buttons())
    if (auto* p = qobject_cast<QPushButton*>(b)) {
      p->setAutoDefault(false);
      p->setDefault(false);
    }
  paste->setObjectName(QStringLiteral("PasteMatrix"));
  copy->setObjectName(QStringLiteral("CopyMatrix"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &VoigtMatrixDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &VoigtMatrixDialog::reject);
  connect(paste, &QPushButton::clicked, this,
          [this] { pasteText(QApplication::clipboard()->text()); });
  connect(copy, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(matrixText()); });
  // Ctrl+V in the cells pastes a whole block, as a spreadsheet does.
  auto* pasteKey = new QShortcut(QKeySequence::Paste, table_);
  pasteKey->setContext(Qt::WidgetWithChildrenShortcut);
  connect(pasteKey, &QShortcut::activated, this,
          [this] { pasteText(QApplication::clipboard()->text()); });

  // A group with relations ties cells; without any there is nothing to keep.
  free_ = FreeMatrixCells(tensor_, services_);
  std::vector<bool> all(free_.size());
  for (int r = 1; r <= shape.rows; ++r)
    for (int c = 1; c <= shape.columns; ++c)
      all[static_cast<std::size_t>(r - 1) * shape.columns + c - 1] =
          VoigtCellIndependent(t.kind, r, c);
  keepGroup_->setChecked(free_ != all);
  keepGroup_->setEnabled(free_ != all);
  connect(keepGroup_, &QCheckBox::toggled, this, [this] { MarkTiedCells(); });
  connect(convention_, &QComboBox::currentIndexChanged, this, [this] {
    status_->setText(QStringLiteral("The numbers in the cells are read in the chosen convention."));
  });
  FillCells();
  MarkTiedCells();
  resize(std::min(120 + 78 * shape.columns, 1300), std::min(220 + 26 * shape.rows, 860));
}

VoigtConvention VoigtMatrixDialog::convention() const {
  return convention_->currentIndex() == 1 ? VoigtConvention::Compliance
                                          : VoigtConvention::Stiffness;
}

void VoigtMatrixDialog::FillCells() {
  const Real decade = std::pow(10.0L, static_cast<Real>(DecadeExponent(tensor_.scale)));
  const VoigtMatrix m = ToVoigtMatrix(tensor_, convention());
  for (int r = 1; r <= m.rows; ++r)
    for (int c = 1; c <= m.columns; ++c)
      table_->setItem(
          r - 1, c - 1,
          new QTableWidgetItem(Q(FormatGeneral(m(r, c) / decade, services_.decimalSeparator, 15))));
}

void VoigtMatrixDialog::MarkTiedCells() {
  const bool keep = keepGroup_->isChecked();
  for (int r = 1; r <= table_->rowCount(); ++r)
    for (int c = 1; c <= table_->columnCount(); ++c) {
      QTableWidgetItem* item = table_->item(r - 1, c - 1);
      const bool read = VoigtCellIndependent(tensor_.kind, r, c);
      const bool editable =
          read && (!keep || free_[static_cast<std::size_t>(r - 1) * table_->columnCount() + c - 1]);
      item->setFlags(editable ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable
                              : Qt::ItemIsSelectable | Qt::ItemIsEnabled);
      item->setBackground(editable ? palette().base() : palette().window());
    }
}

VoigtMatrix VoigtMatrixDialog::CellMatrix() const {
  const Real decade = std::pow(10.0L, static_cast<Real>(DecadeExponent(tensor_.scale)));
  VoigtMatrix m(table_->rowCount(), table_->columnCount());
  for (int r = 1; r <= m.rows; ++r)
    for (int c = 1; c <= m.columns; ++c) {
      const std::string text = table_->item(r - 1, c - 1)->text().toStdString();
      if (!VoigtCellIndependent(tensor_.kind, r, c)) continue;  // mirrors are never read
      try {
        m(r, c) = ParseReal(text, services_.decimalSeparator) * decade;
      } catch (const std::runtime_error& e) {
        throw std::runtime_error("row " + VoigtRowLabel(tensor_.kind, r) + ", column " +
                                 VoigtColumnLabel(tensor_.kind, c) + ": " + e.what());
      }
    }
  return m;
}

bool VoigtMatrixDialog::pasteText(const QString& text) {
  try {
    const VoigtMatrix m = ShapeMatrixRows(tensor_.kind, ReadMatrixRows(text.toStdString()));
    // A pasted full matrix must have the kind's own symmetry.
    TensorState check = tensor_;
    SetFromVoigtMatrix(check, m, convention());
    const bool keep = keepGroup_->isChecked();
    const Real decade = std::pow(10.0L, static_cast<Real>(DecadeExponent(tensor_.scale)));
    for (int r = 1; r <= m.rows; ++r)
      for (int c = 1; c <= m.columns; ++c) {
        const std::size_t n = static_cast<std::size_t>(r - 1) * m.columns + c - 1;
        if (keep && !free_[n] && VoigtCellIndependent(tensor_.kind, r, c)) continue;
        table_->item(r - 1, c - 1)
            ->setText(Q(FormatGeneral(m(r, c) / decade, services_.decimalSeparator, 15)));
      }
    status_->setText(QStringLiteral("Pasted %1 x %2 numbers.").arg(m.rows).arg(m.columns));
    return true;
  } catch (const std::exception& e) {
    status_->setText(QStringLiteral("Not pasted: ") + Q(e.what()));
    return false;
  }
}

QString VoigtMatrixDialog::matrixText() const {
  std::string out = "# " + ConventionCaption(convention()) + ", unit " +
                    (tensor_.unitText.empty() ? std::string("(none)") : tensor_.unitText) +
                    " x 10^" + std::to_string(DecadeExponent(tensor_.scale)) + "\n";
  for (int r = 0; r < table_->rowCount(); ++r) {
    for (int c = 0; c < table_->columnCount(); ++c) {
      if (c) out += '\t';
      out += table_->item(r, c)->text().toStdString();
    }
    out += '\n';
  }
  return Q(out);
}

void VoigtMatrixDialog::accept() {
  try {
    TensorState t = tensor_;
    TakeOverMatrix(t, CellMatrix(), convention(), keepGroup_->isChecked(), services_);
    result_ = t;
  } catch (const std::exception& e) {
    status_->setText(QStringLiteral("Not taken over: ") + Q(e.what()));
    return;
  }
  QDialog::accept();
}

}  // namespace quillmere
