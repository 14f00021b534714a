// File > Import... and Crystal > Find Point Group in the main window: a database record becomes
// the tensor with the group its numbers obey, a damaged one is refused with its key named, and
// the group search reports the tensor's own group.
#include <QTest>

#include "app/gui/gui_test_support.h"

namespace quillmere {

using test::Q;
using test::StartedProgram;

namespace {

struct Working {
  StartedProgram p;
  Working() {
    p.Start();
    p.EndSplash();
  }
  TForm1& form() { return p.form(); }
};

// Copper's stiffnesses (GPa) as the Materials Project's API answers them.
const char kCopperRecord[] =
    "{\"data\": [{\"material_id\": \"mp-30\", \"elastic_tensor\": {\"ieee_format\": [\n"
    "[168.4, 121.4, 121.4, 0, 0, 0], [121.4, 168.4, 121.4, 0, 0, 0],\n"
    "[121.4, 121.4, 168.4, 0, 0, 0], [0, 0, 0, 75.4, 0, 0],\n"
    "[0, 0, 0, 0, 75.4, 0], [0, 0, 0, 0, 0, 75.4]]}}]}\n";

}  // namespace

class ConstantsCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void importedRecordGetsTheGroupItsNumbersObey();
  void damagedRecordIsRefusedWithItsKey();
  void findPointGroupReportsTheTensorsOwnGroup();
};

void ConstantsCommandsTest::importedRecordGetsTheGroupItsNumbersObey() {
  Working w;
  w.p.dialogs.openAnswers.push_back(Q(w.p.Write("mp-30.json", kCopperRecord)));
  w.p.dialogs.answers.push_back(true);
  Item(w.form(), "Import1")->trigger();
  QVERIFY2(w.p.dialogs.errors.empty(),
           w.p.dialogs.errors.empty() ? "" : w.p.dialogs.errors[0].c_str());
  const TensorState& t = w.p.state().tensor;
  QCOMPARE(t.kind, 3);
  QCOMPARE(t.unitText, std::string("GPa"));
  QCOMPARE(static_cast<double>(t.At(2, 3, 3, 2)), 75.4);
  QCOMPARE(w.p.dialogs.asked.size(), std::size_t(1));
  QVERIFY(w.p.dialogs.asked[0].find("Set point group m3\xCC\x85m?") != std::string::npos);
  QCOMPARE(t.pointGroup, 28);
  QCOMPARE(QtNameFilters(w.p.dialogs.openRequests.back().filter).first(),
           QStringLiteral("Constants (*.txt *.csv *.dat *.json OUTCAR*)"));
  // The result is named as an opened file would be (the title, marked as not saved yet, and
  // Save As's proposal).
  QCOMPARE(w.form().windowTitle(), QStringLiteral("Quillmere: mp-30.ten*"));
  QCOMPARE(w.p.state().currentSaveName, (w.p.root() / "mp-30.ten").string());
  QVERIFY(!w.p.state().saveNameValid);
}

void ConstantsCommandsTest::damagedRecordIsRefusedWithItsKey() {
  Working w;
  const TensorState before = w.p.state().tensor;
  std::string damaged = kCopperRecord;
  damaged.replace(damaged.find("75.4]]"), 4, "\"x\"");
  w.p.dialogs.openAnswers.push_back(Q(w.p.Write("bad.json", damaged)));
  Item(w.form(), "Import1")->trigger();
  QCOMPARE(w.p.dialogs.errors.size(), std::size_t(1));
  QVERIFY2(w.p.dialogs.errors[0].find("line 4, key elastic_tensor.ieee_format[5][5]: a number "
                                      "expected") != std::string::npos,
           w.p.dialogs.errors[0].c_str());
  QCOMPARE(w.p.state().tensor.kind, before.kind);
  QVERIFY(w.p.state().tensor.components == before.components);
}

void ConstantsCommandsTest::findPointGroupReportsTheTensorsOwnGroup() {
  Working w;
  w.p.dialogs.openAnswers.push_back(Q(w.p.Example("copper-elastic.ten")));
  w.form().files().Open1Click();
  Item(w.form(), "FindPointGroup1")->trigger();
  QVERIFY(w.p.dialogs.asked.empty());
  QCOMPARE(w.p.dialogs.shown.size(), std::size_t(1));
  QVERIFY(w.p.dialogs.shown[0].find("  m3\xCC\x85m (cubic), deviation 0\n") != std::string::npos);
  QVERIFY(w.p.dialogs.shown[0].find("The tensor has point group m3\xCC\x85m.") !=
          std::string::npos);
}

}  // namespace quillmere

QTEST_MAIN(quillmere::ConstantsCommandsTest)
#include "constants_commands_test.moc"
