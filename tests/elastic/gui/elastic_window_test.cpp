// Tools > Elastic Properties in the desktop program: the report of copper, the "Surface of"
// chooser drawing a quantity in place of the tensor (its extremes, its negative colour, its
// following the tensor), copying and saving the report, and the menu item only for ((ij)(kl)).
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

#include "app/gui/gui_test_support.h"
#include "elastic/gui/elastic_window.h"

namespace quillmere {

using test::StartedProgram;

class ElasticWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void theReportAndTheChosenSurfaceFollowTheTensor();
  void theReportIsCopiedAndSavedAndTheItemNeedsAnElasticTensor();
};

namespace {

ElasticWindow& OpenElasticWindow(TForm1& form) {
  emit Child<QMenu>(form, "ToolsMenu")->aboutToShow();
  Item(form, "ElasticProperties1")->trigger();
  return *form.findChild<ElasticWindow*>();
}

int NegativePatches(const ProgramState& state) {
  int n = 0;
  for (std::size_t i = 0; i < state.scene.count; ++i)
    n += state.scene.records[i].baseColour[0] == state.view.negativeFill.red &&
         state.scene.records[i].baseColour[1] == state.view.negativeFill.green &&
         state.scene.records[i].label.empty();
  return n;
}

}  // namespace

void ElasticWindowTest::theReportAndTheChosenSurfaceFollowTheTensor() {
  StartedProgram p;
  p.Start({QString::fromStdString(p.Example("copper-elastic.ten").string())});
  QVERIFY(p.EndSplash());
  TForm1& form = p.form();
  const QString tensorExtremes = Child<QLabel>(form, "ExtremesLabel")->text();
  ElasticWindow& w = OpenElasticWindow(form);
  QVERIFY(w.isVisible());
  QVERIFY(w.stiffnessButton->isChecked());  // proposed from "GPa"
  QVERIFY(w.ReportText().contains(QStringLiteral("min    66.6888 GPa  along [1.0000, 0.0000")));

  // Young's modulus: 66.7 GPa along <100> to 191.1 GPa along <111>, the surface all positive.
  w.surfaceBox->setCurrentIndex(1 + static_cast<int>(ElasticQuantity::Youngs));
  QVERIFY(p.state().drawnQuantity.has_value());
  QCOMPARE(Child<QLabel>(form, "ExtremesLabel")->text(),
           QStringLiteral("max 1.911 [0.577, 0.577, 0.577]\nmin 0.6669 [1.000, 0.000, 0.000]"));
  const int redOfYoungs = test::RedPixels(form.drawing().SceneBitmap());  // the axis captions only
  QCOMPARE(NegativePatches(p.state()), 0);
  // Poisson's minimum is negative around <110>: those patches take the negative colour.
  w.surfaceBox->setCurrentIndex(1 + static_cast<int>(ElasticQuantity::PoissonMin));
  QVERIFY(Child<QLabel>(form, "ExtremesLabel")->text().contains(QStringLiteral("min -0.1357")));
  QVERIFY(test::RedPixels(form.drawing().SceneBitmap()) > redOfYoungs + 40);
  QVERIFY(NegativePatches(p.state()) > 100);

  // The velocities wait for a density; 5.15 km/s is shown as 0.515 x 10^1.
  w.surfaceBox->setCurrentIndex(1 + static_cast<int>(ElasticQuantity::VelocityP));
  QVERIFY(!w.ChosenQuantity());
  QVERIFY(!p.state().drawnQuantity);
  w.densityEdit->setText(QStringLiteral("8960"));
  emit w.densityEdit->editingFinished();
  QCOMPARE(w.ChosenQuantity(), std::optional(ElasticQuantity::VelocityP));
  QVERIFY2(
      Child<QLabel>(form, "ExtremesLabel")->text().startsWith(QStringLiteral("max 0.515 [0.577")),
      qPrintable(Child<QLabel>(form, "ExtremesLabel")->text()));

  // A changed tensor, drawn again: the quantity is worked out anew (c11 of copper doubled).
  for (int i = 1; i <= 3; ++i) p.state().tensor.At(i, i, i, i) *= 2;
  form.DRAWClick();
  QVERIFY(w.ReportText().contains(QStringLiteral("336.8")));
  QVERIFY(!Child<QLabel>(form, "ExtremesLabel")->text().startsWith(QStringLiteral("max 0.515 ")));

  // Read as a compliance, copper's numbers give another crystal; the report says so at once.
  w.complianceButton->setChecked(true);
  QVERIFY(w.ReportText().contains(QStringLiteral("Compliance s_IJ")));
  QVERIFY(!w.ReportText().contains(QStringLiteral("336.8      121.4")));

  // Closing the window draws the tensor again.
  for (int i = 1; i <= 3; ++i) p.state().tensor.At(i, i, i, i) /= 2;
  w.close();
  QVERIFY(!p.state().drawnQuantity);
  QVERIFY(!p.state().evaluation.derivedValue);
  QCOMPARE(Child<QLabel>(form, "ExtremesLabel")->text(), tensorExtremes);
}

void ElasticWindowTest::theReportIsCopiedAndSavedAndTheItemNeedsAnElasticTensor() {
  StartedProgram p;
  p.Start({QString::fromStdString(p.Example("quartz-elastic.ten").string())});
  QVERIFY(p.EndSplash());
  TForm1& form = p.form();
  ElasticWindow& w = OpenElasticWindow(form);
  w.CopyClick();
  QCOMPARE(QApplication::clipboard()->text(), w.ReportText());
  p.dialogs.saveAnswers.push_back(QString::fromStdString((p.root() / "quartz.json").string()));
  w.SaveJsonClick();
  QVERIFY(p.dialogs.errors.empty());
  const std::string json = test::ReadFile(p.root() / "quartz.json");
  QVERIFY(json.find("\"shear_modulus\"") != std::string::npos);
  QVERIFY(json.find("\"stable\": true") != std::string::npos);
  w.close();

  // A piezoelectric tensor is no stiffness: the item is off, and an open window says why.
  p.Start({QString::fromStdString(p.Example("quartz-piezoelectric.ten").string())});
  QVERIFY(p.EndSplash());
  emit Child<QMenu>(p.form(), "ToolsMenu")->aboutToShow();
  QVERIFY(!Item(p.form(), "ElasticProperties1")->isEnabled());
}

}  // namespace quillmere

QTEST_MAIN(quillmere::ElasticWindowTest)
#include "elastic_window_test.moc"
