// The file commands of the main window: Open, Reopen, Save, Save As, their failures, and the
// registration of tensor files.
#include <QTest>

#include "app/file_commands.h"
#include "app/gui/gui_test_support.h"
#include "files/settings_file.h"
#include "platform/widgets/barred_text.h"

namespace quillmere {

using test::Q;
using test::ReadFile;
using test::StartedProgram;

namespace {

/// A program in its working state, with nothing opened yet.
struct Working {
  StartedProgram p;
  Working() {
    p.Start();
    p.EndSplash();
  }
  TForm1& form() { return p.form(); }
  void Open(const std::filesystem::path& file) {
    p.dialogs.openAnswers.push_back(Q(file));
    form().files().Open1Click();
  }
  RecentFileNames Recent() { return ReadRecentFiles(p.state().Settings()); }
};

}  // namespace

class FileCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void openShowsCaptionPanelDrawingAndRecentFile();
  void cancelledOpenChangesNothing();
  void sixOpensKeepTheLastFiveNewestFirst();
  void reopenLeavesTheRecentList();
  void saveBeforeANameBehavesAsSaveAs();
  void saveAfterSaveAsWritesWithoutAsking();
  void damagedFileShowsTheRuntimeMessageAndChangesNothing();
  void missingSymmetryTableShowsFileNotFound();
  void drawReportsAnInvalidSurface();
  void registeringWritesTheDesktopFiles();
  void registeringFailureShowsTheMessageOnly();
};

void FileCommandsTest::openShowsCaptionPanelDrawingAndRecentFile() {
  Working w;
  const QImage before = w.form().drawing().SceneBitmap().copy();
  const auto file = w.p.Example("quartz-piezoelectric.ten");
  bool opened = false;
  QObject::connect(&w.form(), &TForm1::tensorFileOpened, [&opened] { opened = true; });
  w.Open(file);
  QVERIFY(w.p.dialogs.errors.empty());
  QCOMPARE(w.p.dialogs.openRequests.back().filter,
           std::string("Tensor data file (*.ten)|*.ten|All files|*.*"));
  QCOMPARE(w.form().windowTitle(), QStringLiteral("Quillmere: quartz-piezoelectric.ten"));
  QVERIFY(opened);
  // The panel: kind "i(jk)", class 32, polar, 10^-12 C/N.
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label14")->text(), QStringLiteral("i(jk)"));
  QCOMPARE(Child<BarredLabel>(w.form(), "Label23")->text(), QStringLiteral("PS: 32"));
  QVERIFY(!Child<BarredLabel>(w.form(), "Label23")->barred());
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label15")->text(), QStringLiteral("polar"));
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label11")->text(), QStringLiteral("-12"));
  QCOMPARE(Child<ClickableLabel>(w.form(), "Label12")->text(), QStringLiteral("C/N"));
  // The drawing: the zero tensor showed no patches; quartz shows lobes of both signs.
  QCOMPARE(test::GreenPixels(before), 0);
  QVERIFY(test::GreenPixels(w.form().drawing().SceneBitmap()) > 200);
  QVERIFY(test::RedPixels(w.form().drawing().SceneBitmap()) > 200);
  QCOMPARE(w.Recent()[0], file.string());
  QVERIFY(!w.p.state().saveNameValid);
}

void FileCommandsTest::cancelledOpenChangesNothing() {
  Working w;
  w.p.dialogs.openAnswers.push_back(std::nullopt);
  w.form().files().Open1Click();
  QCOMPARE(w.form().windowTitle(), QStringLiteral("Quillmere Ver. 1.5"));
  QCOMPARE(w.Recent()[0], std::string());
  QCOMPARE(w.p.dialogs.unscripted, 0);
}

void FileCommandsTest::sixOpensKeepTheLastFiveNewestFirst() {
  Working w;
  std::vector<std::string> files;
  for (int i = 1; i <= 6; ++i) {
    files.push_back(
        w.p.Example("calcite-thermal-expansion.ten", "file" + std::to_string(i) + ".ten").string());
    w.Open(files.back());
  }
  const RecentFileNames expected{files[5], files[4], files[3], files[2], files[1]};
  QVERIFY(w.Recent() == expected);

  // The Reopen submenu shows them; with one file only item 1 is visible.
  w.form().files().OpenRecent1Click();
  for (int k = 0; k < 5; ++k) {
    QVERIFY(Item(w.form(), QStringLiteral("N%1%2").arg(k + 1).arg(1))->isVisible());
    QCOMPARE(Item(w.form(), QStringLiteral("N%1%2").arg(k + 1).arg(1))->text().toStdString(),
             expected[k]);
  }
  Working one;
  one.Open(one.p.Example("copper-elastic.ten"));
  Child<QMenu>(one.form(), "Reopen1")->popup(QPoint(0, 0));  // opening the submenu reads the list
  Child<QMenu>(one.form(), "Reopen1")->hide();
  QVERIFY(Item(one.form(), "N11")->isVisible());
  QVERIFY(!Item(one.form(), "N21")->isVisible());
}

void FileCommandsTest::reopenLeavesTheRecentList() {
  Working w;
  const auto quartz = w.p.Example("quartz-piezoelectric.ten");
  const auto copper = w.p.Example("copper-elastic.ten");
  w.Open(quartz);
  w.Open(copper);
  const RecentFileNames before = w.Recent();
  w.form().files().OpenRecent1Click();
  w.form().files().ReopenClick(2);
  QVERIFY(w.p.dialogs.errors.empty());
  QCOMPARE(w.form().windowTitle(), QStringLiteral("Quillmere: quartz-piezoelectric.ten"));
  QCOMPARE(w.p.state().tensor.kind, 5);
  QVERIFY(w.Recent() == before);
  QVERIFY(!w.p.state().saveNameValid);
}

void FileCommandsTest::saveBeforeANameBehavesAsSaveAs() {
  Working w;
  w.Open(w.p.Example("quartz-piezoelectric.ten"));
  const RecentFileNames recent = w.Recent();
  // Cancelled: nothing is written, nothing changes.
  w.p.dialogs.saveAnswers.push_back(std::nullopt);
  w.form().files().Save1Click();
  QCOMPARE(w.p.dialogs.saveRequests.size(), std::size_t{1});
  const FileDialogRequest& request = w.p.dialogs.saveRequests.back();
  QCOMPARE(request.defaultExtension, QStringLiteral("ten"));
  QVERIFY(request.overwritePrompt);
  QCOMPARE(request.filter, std::string(kTensorFileFilter));
  QVERIFY(w.Recent() == recent);
  QVERIFY(!w.p.state().saveNameValid);
  QCOMPARE(w.form().windowTitle(), QStringLiteral("Quillmere: quartz-piezoelectric.ten"));

  // Answered: the default extension is added, the file written, caption and list updated.
  const auto target = w.p.root() / "copy";
  w.p.dialogs.saveAnswers.push_back(Q(target));
  w.form().files().Save1Click();
  const auto written = w.p.root() / "copy.ten";
  QVERIFY(std::filesystem::exists(written));
  QCOMPARE(ReadFile(written), ReadFile(w.p.root() / "quartz-piezoelectric.ten"));
  QCOMPARE(w.form().windowTitle(), QStringLiteral("Quillmere: copy.ten"));
  QCOMPARE(w.Recent()[0], written.string());
  QCOMPARE(w.p.state().currentSaveName, written.string());
  QVERIFY(w.p.state().saveNameValid);
}

void FileCommandsTest::saveAfterSaveAsWritesWithoutAsking() {
  Working w;
  w.Open(w.p.Example("copper-elastic.ten"));
  w.p.dialogs.saveAnswers.push_back(Q(w.p.root() / "c.ten"));
  w.form().files().SaveAs1Click();
  const RecentFileNames recent = w.Recent();
  std::filesystem::remove(w.p.root() / "c.ten");
  w.form().files().Save1Click();
  QCOMPARE(w.p.dialogs.saveRequests.size(), std::size_t{1});
  QVERIFY(std::filesystem::exists(w.p.root() / "c.ten"));
  QVERIFY(w.Recent() == recent);
  // Open makes the next Save ask again, proposing the last name.
  w.Open(w.p.root() / "c.ten");
  w.p.dialogs.saveAnswers.push_back(std::nullopt);
  w.form().files().Save1Click();
  QCOMPARE(w.p.dialogs.saveRequests.size(), std::size_t{2});
  QCOMPARE(w.p.dialogs.saveRequests.back().proposedPath, Q(w.p.root() / "c.ten"));
}

void FileCommandsTest::damagedFileShowsTheRuntimeMessageAndChangesNothing() {
  Working w;
  const auto good = w.p.Example("quartz-piezoelectric.ten");
  w.Open(good);
  const QImage picture = w.form().drawing().SceneBitmap().copy();
  const RecentFileNames recent = w.Recent();
  const Real d11 = w.p.state().tensor.At(1, 1, 1);
  const auto bad = w.p.Write("bad.ten", "Quillmere-Datafile\r\n1 14 0  1.0E+0000 2 x\r\nabc\r\n");
  w.p.dialogs.openAnswers.push_back(Q(bad));
  w.form().Guarded([&w] { w.form().files().Open1Click(); });
  QCOMPARE(w.p.dialogs.errors.size(), std::size_t{1});
  QCOMPARE(w.p.dialogs.errors[0], "'" + bad.string() + "': Invalid numeric input (line 3)");
  QCOMPARE(w.form().windowTitle(), QStringLiteral("Quillmere: quartz-piezoelectric.ten"));
  QVERIFY(w.Recent() == recent);
  QCOMPARE(w.form().drawing().SceneBitmap(), picture);
  QCOMPARE(static_cast<double>(w.p.state().tensor.At(1, 1, 1)), static_cast<double>(d11));
  QCOMPARE(w.p.state().tensor.kind, 5);

  // Through the menu item the same failure reaches the error box.
  w.p.dialogs.openAnswers.push_back(Q(w.p.root() / "absent.ten"));
  Item(w.form(), "Open1")->trigger();
  QCOMPARE(w.p.dialogs.errors.back(),
           "'" + (w.p.root() / "absent.ten").string() + "': File not found");
}

void FileCommandsTest::missingSymmetryTableShowsFileNotFound() {
  Working w;
  std::filesystem::remove(w.p.root() / "program" / "tensor.tab");
  w.p.dialogs.openAnswers.push_back(Q(w.p.Example("quartz-piezoelectric.ten")));
  Item(w.form(), "Open1")->trigger();
  QCOMPARE(w.p.dialogs.errors.size(), std::size_t{1});
  QCOMPARE(w.p.dialogs.errors[0], "'" + w.p.programDirectory() +
                                      "tensor.tab': File not found (the symmetry table is looked "
                                      "for in " +
                                      w.p.programDirectory() + ")");
  QCOMPARE(w.form().windowTitle(), QStringLiteral("Quillmere Ver. 1.5"));
  QCOMPARE(w.Recent()[0], std::string());
}

void FileCommandsTest::drawReportsAnInvalidSurface() {
  Working w;
  w.p.state().tensor.rank = 1;
  w.p.state().tensor.At(1) = std::numeric_limits<Real>::quiet_NaN();
  w.form().DRAWClick();
  QCOMPARE(w.p.dialogs.shown.size(), std::size_t{1});
  QCOMPARE(w.p.dialogs.shown[0],
           std::string("A mathematical error occured, please cheque inputparameters"));
  QCOMPARE(Child<QPushButton>(w.form(), "DRAWButton")->text(), QStringLiteral("DRAW"));
  // A sound tensor draws without the message.
  w.p.state().tensor.At(1) = 1;
  w.form().DRAWClick();
  QCOMPARE(w.p.dialogs.shown.size(), std::size_t{1});
  QVERIFY(test::GreenPixels(w.form().drawing().SceneBitmap()) > 100);
}

void FileCommandsTest::registeringWritesTheDesktopFiles() {
  Working w;
  w.p.Write("program/quillmere.png", "icon bytes");
  Item(w.form(), "Register1")->trigger();
  QVERIFY(w.p.dialogs.errors.empty());
  const auto data = w.p.root() / "data";
  const std::string entry = ReadFile(data / "applications" / "quillmere.desktop");
  QVERIFY(entry.find("MimeType=application/x-quillmere-tensor;") != std::string::npos);
  QVERIFY(entry.find(" %f\n") != std::string::npos);
  QVERIFY(entry.find("Icon=" + w.p.programDirectory() + "quillmere.png") != std::string::npos);
  QVERIFY(std::filesystem::exists(data / "mime" / "packages" / "quillmere.xml"));
}

void FileCommandsTest::registeringFailureShowsTheMessageOnly() {
  Working w;
  w.p.Write("program/quillmere.png", "icon bytes");
  // The data folder is a plain file: nothing can be written below it.
  w.p.Write("data", "not a folder");
  const QString caption = w.form().windowTitle();
  Item(w.form(), "Register1")->trigger();
  QCOMPARE(w.p.dialogs.errors.size(), std::size_t{1});
  QVERIFY(!w.p.dialogs.errors[0].empty());
  QCOMPARE(ReadFile(w.p.root() / "data"), std::string("not a folder"));
  QCOMPARE(w.form().windowTitle(), caption);
}

}  // namespace quillmere

QTEST_MAIN(quillmere::FileCommandsTest)
#include "file_commands_test.moc"
