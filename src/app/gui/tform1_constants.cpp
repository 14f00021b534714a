// TForm1: constants in the form people have them — Tensor > Voigt Matrix..., Crystal > Find
// Point Group and File > Import... (text matrices, Materials Project JSON, VASP OUTCAR,
// pymatgen's ElasticTensor).
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include "app/file_commands.h"
#include "app/gui/drawing_area_controller.h"
#include "app/gui/tform1.h"
#include "app/program_state.h"
#include "files/constants_import.h"
#include "platform/dialogs.h"
#include "tensor/gui/component_entry_controller.h"
#include "tensor/gui/voigt_matrix_dialog.h"
#include "tensor/number_text.h"
#include "tensor/point_group_search.h"
#include "tensor/point_group_symbols.h"
#include "tensor/voigt_matrix.h"

namespace quillmere {

namespace {

constexpr const char* kImportFilter = "Constants|*.txt;*.csv;*.dat;*.json;OUTCAR*|All files|*.*";
constexpr std::size_t kListedGroups = 12;

/// The window's action inserted after `after` in `menu`.
QAction* ItemAfter(QMenu* menu, QAction* after, const char* caption, const char* name) {
  QAction* a = new QAction(QString::fromUtf8(caption), menu);
  a->setObjectName(QString::fromUtf8(name));
  const QList<QAction*> actions = menu->actions();
  const qsizetype at = actions.indexOf(after);
  if (at >= 0 && at + 1 < actions.size())
    menu->insertAction(actions[at + 1], a);
  else
    menu->addAction(a);
  return a;
}

}  // namespace

void TForm1::ConnectConstantsCommands() {
  VoigtMatrix1 = ItemAfter(TensorMenu, IndependentComponents1, "Voigt &Matrix...", "VoigtMatrix1");
  FindPointGroup1 = ItemAfter(CrystalMenu, PointGroup1, "&Find Point Group", "FindPointGroup1");
  Import1 = ItemAfter(FileMenu, SaveAs1, "&Import...", "Import1");
  OnTriggered(VoigtMatrix1, [this] { VoigtMatrix1Click(); });
  OnTriggered(FindPointGroup1, [this] { FindPointGroup1Click(); });
  OnTriggered(Import1, [this] { Import1Click(); });
}

void TForm1::VoigtMatrix1Click() {
  componentEntry_->commitOpenGrid();
  if (EmptyVoigtMatrix(state_.tensor.kind).rows == 0)
    throw std::runtime_error("The tensor's kind has no matrix form");
  VoigtMatrixDialog dialog(state_.tensor, state_.services, this);
  TakeMatrixFrom(dialog);
}

void TForm1::TakeMatrixFrom(VoigtMatrixDialog& dialog, const QString& step,
                            const std::string& importedFile) {
  if (dialog.exec() != QDialog::Accepted) return;
  const bool groupKept = dialog.keepGroupBox()->isChecked();
  RecordStep();
  state_.tensor = dialog.takenOver();
  state_.saveNameValid = false;
  if (!importedFile.empty())
    ShowCaption(FromUtf8(CaptionForFile(NameImportedTensor(state_, importedFile))));
  stepName_ = step;
  RecordStep();
  Label11Click();
  drawing_->DrawTensor();
  // A matrix taken over without its group has point group 1: offer what the numbers obey.
  if (!groupKept) OfferPointGroup(false);
}

void TForm1::FindPointGroup1Click() {
  componentEntry_->commitOpenGrid();
  OfferPointGroup(true);
}

void TForm1::OfferPointGroup(bool always) {
  TensorState& t = state_.tensor;
  const std::vector<GroupMatch> found = FindPointGroups(t, state_.services);
  if (found.empty()) {
    if (always)
      dialogs_.ShowMessage(
          "The components obey no point group of the table in this axis setting "
          "within a deviation of 1E-6 of the largest component.");
    return;
  }
  std::string list;
  for (std::size_t n = 0; n < found.size() && n < kListedGroups; ++n) {
    const PointGroupInfo& g = PointGroups()[found[n].group - 1];
    list += "\n  " + PointGroupSymbol(g.number) + " (" + g.crystalSystem + "), deviation " +
            FormatGeneral(found[n].deviation, '.', 3);
  }
  if (found.size() > kListedGroups)
    list += "\n  ... and " + std::to_string(found.size() - kListedGroups) + " more";
  const int highest = found.front().group;
  const std::string name = PointGroupSymbol(highest);
  const std::string heading =
      "The components obey these point groups in the present axis setting (deviation relative "
      "to the largest component), highest symmetry first:" +
      list;
  if (highest == t.pointGroup) {
    if (always) dialogs_.ShowMessage(heading + "\n\nThe tensor has point group " + name + ".");
    return;
  }
  if (!dialogs_.AskYesNo(heading + "\n\nSet point group " + name + "?")) return;
  t.pointGroup = highest;
  state_.saveNameValid = false;
  Label11Click();
}

void TForm1::Import1Click() {
  if (!MaySetTensorAside()) return;
  FileDialogRequest request;
  request.title = QStringLiteral("Import constants");
  request.filter = kImportFilter;
  // A folder path ending in a separator opens the dialog inside that folder.
  if (!state_.lastUsedFolder.empty()) request.proposedPath = FromUtf8(state_.lastUsedFolder + "/");
  const std::optional<QString> chosen = dialogs_.OpenFileName(request);
  if (!chosen) return;
  ImportConstantsFile(*chosen);
}

void TForm1::ImportConstantsFile(const QString& path) {
  componentEntry_->commitOpenGrid();
  const std::filesystem::path file = ToUtf8(path);
  state_.lastUsedFolder = ToUtf8(QFileInfo(path).absolutePath());
  QFile in(path);
  std::string head;
  if (in.open(QIODevice::ReadOnly)) head = in.read(1 << 20).toStdString();
  if (DetectImportFormat(head) == ImportFormat::Text) {
    // A bare matrix says nothing of its kind or convention: the matrix form shows it with the
    // numbers in place, for the user to choose before OK. The present kind is kept when the
    // numbers fit its matrix, else they are taken as elastic constants.
    TensorState t = state_.tensor;
    try {
      const std::vector<MatrixTextRow> rows = ReadMatrixRows(head);
      try {
        ShapeMatrixRows(t.kind, rows);
      } catch (const std::runtime_error&) {
        SetKind(t, 3);
        ComponentGridShape(t, 3);
        ResetComponents(t);
        ShapeMatrixRows(3, rows);
      }
    } catch (const std::runtime_error& e) {
      throw std::runtime_error("'" + file.string() + "': " + e.what());
    }
    t.pointGroup = 2;
    VoigtMatrixDialog dialog(t, state_.services, this);
    dialog.pasteText(FromUtf8(head));
    TakeMatrixFrom(dialog, QStringLiteral("Import"), file.string());
    return;
  }
  const ImportedConstants constants = ReadConstantsFile(file, ImportOptions{});
  RecordStep();
  ApplyImportedConstants(state_.tensor, constants);
  // The result is shown under a name of its own, as an opened file is.
  ShowCaption(FromUtf8(CaptionForFile(NameImportedTensor(state_, file.string()))));
  stepName_ = QStringLiteral("Import");
  RecordStep();
  Label11Click();
  drawing_->DrawTensor();
  OfferPointGroup(false);
}

}  // namespace quillmere
