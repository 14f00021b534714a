// The constants commands of the main window: Voigt Matrix..., Find Point Group and Import....
#include "app/gui/constants_commands_controller.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>

#include "app/file_commands.h"
#include "app/program_state.h"
#include "files/constants_import.h"
#include "platform/dialogs.h"
#include "tensor/gui/voigt_matrix_dialog.h"
#include "tensor/number_text.h"
#include "tensor/point_group_search.h"
#include "tensor/point_group_symbols.h"
#include "tensor/voigt_matrix.h"

namespace quillmere {

namespace {

constexpr const char* kImportFilter = "Constants|*.txt;*.csv;*.dat;*.json;OUTCAR*|All files|*.*";
constexpr std::size_t kListedGroups = 12;

}  // namespace

ConstantsCommandsController::ConstantsCommandsController(ProgramState& state, Dialogs& dialogs,
                                                         QWidget* window,
                                                         ConstantsCommandsHooks hooks,
                                                         QObject* parent)
    : QObject(parent), state_(state), dialogs_(dialogs), window_(window), hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("ConstantsCommands"));
}

void ConstantsCommandsController::VoigtMatrix1Click() {
  hooks_.commitOpenGrid();
  if (EmptyVoigtMatrix(state_.tensor.kind).rows == 0)
    throw std::runtime_error("The tensor's kind has no matrix form");
  VoigtMatrixDialog dialog(state_.tensor, state_.services, window_);
  TakeMatrixFrom(dialog);
}

void ConstantsCommandsController::TakeMatrixFrom(VoigtMatrixDialog& dialog, const QString& step,
                                                 const std::string& importedFile) {
  if (dialog.exec() != QDialog::Accepted) return;
  const bool groupKept = dialog.keepGroupBox()->isChecked();
  hooks_.recordStep();
  state_.tensor = dialog.takenOver();
  state_.saveNameValid = false;
  if (!importedFile.empty())
    hooks_.showCaption(FromUtf8(CaptionForFile(NameImportedTensor(state_, importedFile))));
  hooks_.nameStep(step);
  hooks_.recordStep();
  hooks_.refresh();
  hooks_.drawTensor();
  // A matrix taken over without its group has point group 1: offer what the numbers obey.
  if (!groupKept) OfferPointGroup(false);
}

void ConstantsCommandsController::FindPointGroup1Click() {
  hooks_.commitOpenGrid();
  OfferPointGroup(true);
}

void ConstantsCommandsController::OfferPointGroup(bool always) {
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
  hooks_.refresh();
}

void ConstantsCommandsController::Import1Click() {
  if (!hooks_.maySetTensorAside()) return;
  FileDialogRequest request;
  request.title = QStringLiteral("Import constants");
  request.filter = kImportFilter;
  // A folder path ending in a separator opens the dialog inside that folder.
  if (!state_.lastUsedFolder.empty()) request.proposedPath = FromUtf8(state_.lastUsedFolder + "/");
  const std::optional<QString> chosen = dialogs_.OpenFileName(request);
  if (!chosen) return;
  ImportConstantsFile(*chosen);
}

void ConstantsCommandsController::ImportConstantsFile(const QString& path) {
  hooks_.commitOpenGrid();
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
    VoigtMatrixDialog dialog(t, state_.services, window_);
    dialog.pasteText(FromUtf8(head));
    TakeMatrixFrom(dialog, QStringLiteral("Import"), file.string());
    return;
  }
  const ImportedConstants constants = ReadConstantsFile(file, ImportOptions{});
  hooks_.recordStep();
  ApplyImportedConstants(state_.tensor, constants);
  // The result is shown under a name of its own, as an opened file is.
  hooks_.showCaption(FromUtf8(CaptionForFile(NameImportedTensor(state_, file.string()))));
  hooks_.nameStep(QStringLiteral("Import"));
  hooks_.recordStep();
  hooks_.refresh();
  hooks_.drawTensor();
  OfferPointGroup(false);
}

}  // namespace quillmere
