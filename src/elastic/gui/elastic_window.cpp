#include "elastic/gui/elastic_window.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <cmath>
#include <exception>

#include "elastic/elastic_report.h"
#include "elastic/elastic_units.h"
#include "files/atomic_file.h"
#include "tensor/number_text.h"

namespace quillmere {

namespace {

/// A positive number typed in a field, or nothing for an empty field; throws for anything else.
std::optional<Real> PositiveField(const QLineEdit* edit, const char* what) {
  const std::string text = ToUtf8(edit->text().trimmed());
  if (text.empty()) return std::nullopt;
  Real x = 0;
  if (!TryParseReal(text, x) || !(x > 0) || !std::isfinite(x))
    throw std::runtime_error(std::string("The ") + what + " must be a positive number, not '" +
                             text + "'");
  return x;
}

}  // namespace

ElasticWindow::ElasticWindow(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs) {
  setObjectName(QStringLiteral("ElasticWindow"));
  setWindowTitle(QStringLiteral("Elastic Properties"));
  stiffnessButton = new QRadioButton(QStringLiteral("&stiffness c"), this);
  complianceButton = new QRadioButton(QStringLiteral("c&ompliance s"), this);
  auto* roles = new QButtonGroup(this);
  roles->addButton(stiffnessButton);
  roles->addButton(complianceButton);
  unitSizeEdit = new QLineEdit(this);
  unitSizeEdit->setPlaceholderText(QStringLiteral("from the unit"));
  unitSizeEdit->setToolTip(
      QStringLiteral("The size of the tensor's unit in Pa, for a unit the program does not know "
                     "(for a compliance: of the unit it is the inverse of)"));
  densityEdit = new QLineEdit(this);
  densityEdit->setPlaceholderText(QStringLiteral("for the velocities"));
  surfaceBox = new QComboBox(this);
  surfaceBox->addItem(QStringLiteral("The tensor"));
  for (int q = 0; q < kElasticQuantityCount; ++q)
    surfaceBox->addItem(QString::fromUtf8(QuantityCaption(static_cast<ElasticQuantity>(q))));
  reportView = new QPlainTextEdit(this);
  reportView->setReadOnly(true);
  reportView->setLineWrapMode(QPlainTextEdit::NoWrap);
  reportView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  copyButton = new QPushButton(QStringLiteral("&Copy"), this);
  copyButton->setToolTip(QStringLiteral("Copy the report to the clipboard as text"));
  saveButton = new QPushButton(QStringLiteral("Save &JSON..."), this);
  saveButton->setToolTip(QStringLiteral("Save the report as a JSON file"));
  auto* closeButton = new QPushButton(QStringLiteral("Close"), this);

  auto* roleRow = new QHBoxLayout;
  roleRow->addWidget(new QLabel(QStringLiteral("The tensor is the"), this));
  roleRow->addWidget(stiffnessButton);
  roleRow->addWidget(complianceButton);
  roleRow->addSpacing(12);
  roleRow->addWidget(new QLabel(QStringLiteral("Unit size (Pa):"), this));
  roleRow->addWidget(unitSizeEdit);
  auto* surfaceRow = new QHBoxLayout;
  surfaceRow->addWidget(new QLabel(QStringLiteral("Density (kg/m\u00b3):"), this));
  surfaceRow->addWidget(densityEdit);
  surfaceRow->addSpacing(12);
  surfaceRow->addWidget(new QLabel(QStringLiteral("Surface of:"), this));
  surfaceRow->addWidget(surfaceBox, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(copyButton);
  buttons->addWidget(saveButton);
  buttons->addWidget(closeButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(roleRow);
  layout->addLayout(surfaceRow);
  layout->addWidget(reportView, 1);
  layout->addLayout(buttons);
  resize(900, 640);

  connect(stiffnessButton, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Recompute();
  });
  connect(complianceButton, &QRadioButton::toggled, this, [this](bool on) {
    if (on) Recompute();
  });
  connect(unitSizeEdit, &QLineEdit::editingFinished, this, [this] { Recompute(); });
  connect(densityEdit, &QLineEdit::editingFinished, this, [this] { Recompute(); });
  connect(surfaceBox, &QComboBox::currentIndexChanged, this, [this] { emit surfaceChanged(); });
  connect(copyButton, &QPushButton::clicked, this, [this] { CopyClick(); });
  connect(saveButton, &QPushButton::clicked, this, [this] {
    try {
      SaveJsonClick();
    } catch (const std::exception& e) {
      dialogs_.ShowError(e.what());
    }
  });
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

void ElasticWindow::ShowTensor(const TensorState& t) {
  const bool same = haveTensor_ && t.kind == tensor_.kind && t.unitText == tensor_.unitText &&
                    t.components == tensor_.components;
  if (same) return;
  const bool newUnit = !haveTensor_ || t.unitText != tensor_.unitText;
  tensor_ = t;
  haveTensor_ = true;
  if (newUnit) {
    // Propose the role from the unit; where the unit does not tell, neither is chosen.
    const std::optional<ElasticUnit> unit = ParseElasticUnit(t.unitText);
    const QSignalBlocker a(stiffnessButton), b(complianceButton);
    auto* group = stiffnessButton->group();
    group->setExclusive(false);
    stiffnessButton->setChecked(unit && unit->role == ElasticRole::Stiffness);
    complianceButton->setChecked(unit && unit->role == ElasticRole::Compliance);
    group->setExclusive(true);
  }
  Recompute();
}

std::optional<ElasticQuantity> ElasticWindow::ChosenQuantity() const {
  const int index = surfaceBox->currentIndex();
  if (index < 1 || !constants_) return std::nullopt;
  const auto q = static_cast<ElasticQuantity>(index - 1);
  if (NeedsDensity(q) && !(density_ > 0)) return std::nullopt;
  return q;
}

QString ElasticWindow::ReportText() const {
  return reportView->toPlainText();
}

void ElasticWindow::Recompute() {
  ++revision_;
  constants_.reset();
  json_.clear();
  density_ = 0;
  std::string text;
  try {
    if (!haveTensor_ || tensor_.kind != 3)
      throw std::runtime_error(
          "Elastic properties need a ((ij)(kl)) tensor: a stiffness or a compliance.");
    std::optional<ElasticRole> role;
    if (stiffnessButton->isChecked()) role = ElasticRole::Stiffness;
    if (complianceButton->isChecked()) role = ElasticRole::Compliance;
    const std::optional<Real> size = PositiveField(unitSizeEdit, "unit size");
    const std::optional<Real> density = PositiveField(densityEdit, "density");
    const ElasticUnit unit = ResolveElasticUnit(tensor_.unitText, role, size);
    constants_ = ElasticTensor::FromTensor(tensor_, unit.role, unit.pascal);
    if (density) density_ = static_cast<double>(*density);
    const ElasticReport report =
        MakeElasticReport(*constants_, density ? std::optional<double>(density_) : std::nullopt);
    text = ElasticReportText(report);
    json_ = ElasticReportJson(report);
  } catch (const std::exception& e) {
    text = e.what();
  }
  // The velocities can be chosen only with a density.
  if (auto* model = qobject_cast<QStandardItemModel*>(surfaceBox->model()))
    for (int q = 0; q < kElasticQuantityCount; ++q)
      if (QStandardItem* item = model->item(q + 1))
        item->setEnabled(!NeedsDensity(static_cast<ElasticQuantity>(q)) || density_ > 0);
  reportView->setPlainText(FromUtf8(text));
  saveButton->setEnabled(!json_.empty());
  emit surfaceChanged();
}

void ElasticWindow::CopyClick() {
  QApplication::clipboard()->setText(ReportText());
}

void ElasticWindow::SaveJsonClick() {
  if (json_.empty()) return;
  FileDialogRequest request;
  request.title = QStringLiteral("Save the elastic report");
  request.filter = "JSON file (*.json)|*.json|All files (*.*)|*.*";
  request.defaultExtension = QStringLiteral("json");
  request.proposedPath = QStringLiteral("elastic.json");
  const std::optional<QString> chosen = dialogs_.SaveFileName(request);
  if (!chosen) return;
  WriteFileAtomically(std::filesystem::path(ToUtf8(QFileInfo(*chosen).absoluteFilePath())),
                      std::string_view(json_));
}

void ElasticWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // The main window goes back to the tensor's own surface.
  emit surfaceChanged();
}

}  // namespace quillmere
