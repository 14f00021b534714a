// The matrix form, driven through its widgets: the present values in the proposed convention,
// read-only cells where the group ties them, a pasted block, a refused paste and a refused OK.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <cmath>

#include "core/user_messages.h"
#include "tensor/gui/voigt_matrix_dialog.h"
#include "tensor/symmetry_table.h"

using namespace quillmere;

namespace {

double D(Real x) {
  return static_cast<double>(x);
}

CoreServices Shipped(RecordingMessages& messages) {
  CoreServices s;
  s.programDirectory = QUILLMERE_SOURCE_DIR "/data";
  s.messages = &messages;
  return s;
}

/// Cubic compliances of copper in 1/TPa (s11 = 14.99, s12 = -6.28, s44 = 13.26), entered by
/// the group's independent values.
TensorState CubicCompliance(const CoreServices& s) {
  TensorState t;
  SetKind(t, 3);
  ComponentGridShape(t, 3);
  t.pointGroup = 28;
  t.unitText = "1/TPa";
  t.scale = 1;
  ApplySymmetry(t, SymmetryMode::Describe, s);
  t.independentValues[1] = "14.99";
  t.independentValues[2] = "-6.28";
  t.independentValues[3] = "3.315";  // s44 / 4
  ApplySymmetry(t, SymmetryMode::ApplyTexts, s);
  return t;
}

QString Cell(const VoigtMatrixDialog& d, int row, int column) {
  return d.table()->item(row - 1, column - 1)->text();
}

void Type(VoigtMatrixDialog& d, int row, int column, const QString& text) {
  QTableWidget* table = d.table();
  table->setFocus();
  table->setCurrentCell(row - 1, column - 1);
  // The first key opens the cell's editor (the viewport's visible child) with that key in it.
  QTest::keyClick(table, text.at(0).toLatin1());
  QWidget* editor = nullptr;
  for (QWidget* w : table->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (w->isVisible()) editor = w;
  QVERIFY2(editor, "typing did not open an editor");
  QTest::keyClicks(editor, text.mid(1));
  // Tab ends the edit and moves to the next cell.
  QTest::keyClick(editor, Qt::Key_Tab);
  QCOMPARE(Cell(d, row, column), text);
}

}  // namespace

class VoigtMatrixDialogTest : public QObject {
  Q_OBJECT
 private slots:
  void showsComplianceWithFactorsAndTiedCellsReadOnly();
  void typedCellDerivesTiedOnesThroughTheGroup();
  void pastedBlockWithoutGroupAndRefusals();
};

void VoigtMatrixDialogTest::showsComplianceWithFactorsAndTiedCellsReadOnly() {
  RecordingMessages m;
  const CoreServices s = Shipped(m);
  VoigtMatrixDialog d(CubicCompliance(s), s);
  d.show();
  // "1/TPa" proposes the compliance-type convention: s44 is shown with its factor 4.
  QCOMPARE(d.conventionChooser()->currentText(),
           QString("compliance-type (factors 2 and 4: s, d)"));
  QCOMPARE(Cell(d, 4, 4), QString("13.26"));
  QCOMPARE(Cell(d, 1, 2), QString("-6.28"));
  QVERIFY(d.keepGroupBox()->isChecked());
  // m-3m leaves s11, s12, s44 free; s22 and s13 follow, the lower triangle mirrors.
  QVERIFY(d.table()->item(0, 0)->flags() & Qt::ItemIsEditable);
  QVERIFY(!(d.table()->item(1, 1)->flags() & Qt::ItemIsEditable));
  QVERIFY(!(d.table()->item(0, 2)->flags() & Qt::ItemIsEditable));
  QVERIFY(!(d.table()->item(3, 0)->flags() & Qt::ItemIsEditable));
  // Without the group every upper cell is free.
  d.keepGroupBox()->setChecked(false);
  QVERIFY(d.table()->item(1, 1)->flags() & Qt::ItemIsEditable);
  QVERIFY(!(d.table()->item(3, 0)->flags() & Qt::ItemIsEditable));
  QVERIFY(
      d.matrixText().startsWith("# compliance-type (factors 2 and 4: s, d), unit 1/TPa x 10^0\n"));
}

void VoigtMatrixDialogTest::typedCellDerivesTiedOnesThroughTheGroup() {
  RecordingMessages m;
  const CoreServices s = Shipped(m);
  VoigtMatrixDialog d(CubicCompliance(s), s);
  d.show();
  Type(d, 4, 4, "20");  // s44 = 20, so s_2323 = 5 and by m-3m s_1313 = s_1212 = 5
  Type(d, 1, 1, "15");
  d.accept();
  QCOMPARE(d.takenOver().pointGroup, 28);
  QCOMPARE(D(d.takenOver().At(1, 2, 1, 2)), 5.0);
  QCOMPARE(D(d.takenOver().At(2, 2, 2, 2)), 15.0);
  QCOMPARE(D(d.takenOver().At(1, 1, 3, 3)), -6.28);
}

void VoigtMatrixDialogTest::pastedBlockWithoutGroupAndRefusals() {
  RecordingMessages m;
  const CoreServices s = Shipped(m);
  TensorState t;
  SetKind(t, 5);
  ComponentGridShape(t, 5);
  t.pointGroup = 2;
  t.unitText = "pC/N";
  VoigtMatrixDialog d(t, s);
  d.show();
  QVERIFY(!d.keepGroupBox()->isEnabled());
  // BaTiO3's moduli, as a paper prints them (commas and semicolons).
  QVERIFY(d.pasteText("0, 0, 0, 0, 392, 0\n0; 0; 0; 392; 0; 0\n-34.5 -34.5 85.6 0 0 0\n"));
  QCOMPARE(Cell(d, 1, 5), QString("392"));
  d.accept();
  QCOMPARE(D(d.takenOver().At(1, 1, 3)), 196.0);  // d15 / 2
  QCOMPARE(D(d.takenOver().At(3, 3, 3)), 85.6);
  QCOMPARE(d.takenOver().exponent, 2);

  QVERIFY(!d.pasteText("1 2 3\n"));
  QVERIFY(d.statusLabel()->text().startsWith(
      "Not pasted: 1 row found; 3 rows of 6 numbers are needed"));
  QCOMPARE(Cell(d, 1, 5), QString("392"));
  d.show();
  Type(d, 2, 2, "abc");
  d.accept();
  QVERIFY2(d.isVisible(), "a refused matrix closed the form");
  QCOMPARE(D(d.takenOver().At(3, 3, 3)), 85.6);
  QVERIFY2(d.statusLabel()->text().contains(
               "row 2, column 2: 'abc' is not a valid floating point value"),
           qPrintable(d.statusLabel()->text()));
  // A number the drawing's double cannot hold is refused in the same words.
  Type(d, 2, 2, "1e400");
  d.accept();
  QVERIFY(d.isVisible());
  QVERIFY2(d.statusLabel()->text().contains(
               "row 2, column 2: '1e400' is not a valid floating point value"),
           qPrintable(d.statusLabel()->text()));
}

QTEST_MAIN(VoigtMatrixDialogTest)
#include "voigt_matrix_dialog_test.moc"
