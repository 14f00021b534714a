// Start-up, splash, settings file and close of the desktop program.
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <csignal>

#include "app/file_commands.h"
#include "app/gui/gui_test_support.h"
#include "files/gui/tform3.h"
#include "files/settings_file.h"
#include "platform/termination_signal.h"
#include "update/gui/tformupdate.h"

namespace quillmere {

using test::ReadFile;
using test::StartedProgram;

namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* l : lines) text += std::string(l) + "\r\n";
  return text;
}

}  // namespace

class StartupTest : public QObject {
  Q_OBJECT
 private slots:
  void firstStartWritesTheDefaultSettings();
  void settingsBesideTheProgramAreCopiedAndSizeTheWindow();
  void splashStaysUntilClickedWithoutAdministratorRights();
  void administratorsGetTheSilentCheck();
  void closingRewritesOnlyWorkdirAndWindowLine();
  void closingRepairsAFirstLineWithoutRelease();
  void decliningTheCloseKeepsEverything();
  void aConfirmedCloseEndsTheEventLoopWithOneQuestion();
  void commandLineWithOneFileOpensIt();
  void commandLineWithTwoArgumentsBehavesAsNone();
  void aboutShowsTheSplashOverTheWorkingWindow();
  void settingsFolderIsTheUsersConfigurationFolder();
  void aStoredSizeBeyondTheScreenIsLimitedToIt();
  void anUnreadableSettingsFileGivesTheDefaults();
  void terminationClosesNormallyAndKeepsUnsavedWork();
  void terminationSignalReachesTheEventLoop();
};

void StartupTest::firstStartWritesTheDefaultSettings() {
  StartedProgram p;
#if defined(__GLIBC__)
  // A library may have unmasked a trap before the window exists: the window masks it again.
  feenableexcept(FE_DIVBYZERO);
#endif
  p.Start();
  // A division by zero gives an infinity, and the extended numbers keep their 64-bit mantissa.
  volatile Real one = 1, zero = 0, epsilon = LDBL_EPSILON;
  QVERIFY(std::isinf(one / zero));
  QVERIFY(one + epsilon != one);
  QCOMPARE(ReadFile(p.settingsFile()), DefaultSettingsText(p.programDirectory()));
  QCOMPARE(p.state().startWindow.width, 525);
  QCOMPARE(p.state().startWindow.height, 409);
  QVERIFY(!std::filesystem::exists(p.settingsDirectory() / "halvik1.ini"));

  // The splash: borderless, 343 x 343, no menus; the other two windows exist and stay hidden.
  TForm1& form = p.form();
  QCOMPARE(form.windowTitle(), QStringLiteral("Quillmere Ver. 1.5"));
  QCOMPARE(form.size(), QSize(343, 343));
  QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
  QVERIFY(form.menuBar()->isHidden());
  QVERIFY(form.InSplash());
  QVERIFY(!p.program().updateWindow()->isVisible());
  QCOMPARE(p.program().updateWindow()->windowTitle(), QStringLiteral("Updates"));
  QVERIFY(!p.program().exportWindow()->isVisible());
  QCOMPARE(p.program().exportWindow()->windowTitle(), QStringLiteral("VRMLcreator"));
}

void StartupTest::settingsBesideTheProgramAreCopiedAndSizeTheWindow() {
  StartedProgram p;
  const std::string beside =
      Replaced(DefaultSettingsText(p.programDirectory()), "525 409", "800 600");
  p.Write("program/halvik.ini", beside);
  p.Start();
  QCOMPARE(ReadFile(p.settingsFile()), beside);
  QVERIFY(p.EndSplash());
  TForm1& form = p.form();
  QCOMPARE(form.size(), QSize(800, 600));
  QVERIFY(!(form.windowFlags() & Qt::FramelessWindowHint));
  QVERIFY(form.menuBar()->isVisible());
  QVERIFY(Child<QToolBar>(form, "SpeedButtonBar")->isVisible());
  QVERIFY(!Child<ClickableLabel>(form, "Image1")->isVisible());
  QStringList menus;
  for (QAction* a : form.menuBar()->actions()) menus << a->text();
  QCOMPARE(menus, (QStringList{"&File", "&Edit", "&View", "&Styles/Colors", "&Tensor", "&Crystal",
                               "&Tools", "&Help"}));
}

void StartupTest::splashStaysUntilClickedWithoutAdministratorRights() {
  StartedProgram p;
  p.updateCheck.admin = false;
  p.Start();
  p.form().activateWindow();
  p.form().FormActivate();  // the first activation, whether or not the platform reports one
  QTRY_VERIFY_WITH_TIMEOUT(p.state().updateChecked, 3000);
  QCOMPARE(p.updateCheck.adminAsked, 1);
  QCOMPARE(p.updateCheck.checks, 0);
  QCoreApplication::processEvents();
  QVERIFY(p.form().InSplash());
  QVERIFY(!p.program().updateWindow()->isVisible());
  QVERIFY(p.EndSplash());
}

void StartupTest::administratorsGetTheSilentCheck() {
  StartedProgram p;
  p.updateCheck.admin = true;
  p.Start();
  p.form().FormActivate();
  QTRY_VERIFY_WITH_TIMEOUT(p.state().updateChecked, 3000);
  QCOMPARE(p.updateCheck.checks, 1);
  QVERIFY(!p.updateCheck.lastVerbose);
  QVERIFY(p.dialogs.shown.empty());
  // Later activations do not repeat it.
  p.state().firstActivation = true;
  p.form().FormActivate();
  QTRY_VERIFY(!Child<QTimer>(p.form(), "Timer3")->isActive());
  QCOMPARE(p.updateCheck.checks, 1);
}

void StartupTest::closingRewritesOnlyWorkdirAndWindowLine() {
  StartedProgram p;
  const std::string before =
      Lines({"[Release]", "1.1.3", "", "[Directories]", "Workdir=/somewhere/else/", "",
             "[Startwindow]", "640 480  0.00000000000000E+0000", "", "[RecentFiles]", "1 /a.ten",
             "2 /b.ten", "3", "4", "5"});
  std::filesystem::create_directories(p.settingsDirectory());
  p.Write("config/quillmere/halvik.ini", before);
  p.Start();
  QVERIFY(p.EndSplash());
  QCOMPARE(p.form().size(), QSize(640, 480));
  p.form().resize(700, 500);
  QTRY_COMPARE(p.form().size(), QSize(700, 500));
  p.dialogs.answers.push_back(true);
  QVERIFY(p.form().close());
  QCOMPARE(p.dialogs.asked.back(), std::string("Close application ?"));
  std::string expected =
      Replaced(before, "Workdir=/somewhere/else/", "Workdir=" + p.programDirectory());
  expected = Replaced(expected, "640 480", "700 500");
  QCOMPARE(ReadFile(p.settingsFile()), expected);
  QVERIFY(p.program().ended());
}

void StartupTest::aStoredSizeBeyondTheScreenIsLimitedToIt() {
  StartedProgram p;
  std::filesystem::create_directories(p.settingsDirectory());
  p.Write("config/quillmere/halvik.ini",
          Replaced(DefaultSettingsText(p.programDirectory()), "525 409", "2147483647 2147483647"));
  p.Start();
  const QSize available = p.form().screen()->availableGeometry().size();
  // Closed during the splash: the stored size is written back, limited.
  p.dialogs.answers.push_back(true);
  QVERIFY(p.form().close());
  const std::string limited = std::to_string(available.width()) + " " +
                              std::to_string(available.height()) + "  0.00000000000000E+0000";
  QVERIFY2(ReadFile(p.settingsFile()).find(limited) != std::string::npos,
           ReadFile(p.settingsFile()).c_str());

  StartedProgram again;
  std::filesystem::create_directories(again.settingsDirectory());
  again.Write("config/quillmere/halvik.ini",
              Replaced(DefaultSettingsText(again.programDirectory()), "525 409", "2147483647 400"));
  again.Start();
  QVERIFY(again.EndSplash());
  QVERIFY2(again.form().width() <= available.width(), QByteArray::number(again.form().width()));
  QCOMPARE(again.form().height(), 400);
}

void StartupTest::anUnreadableSettingsFileGivesTheDefaults() {
  StartedProgram p;
  std::filesystem::create_directories(p.settingsFile());  // a folder where the file should be
  p.Start();
  QVERIFY(p.EndSplash());
  QCOMPARE(p.form().size(), QSize(524, 409));
  p.dialogs.answers.push_back(true);
  QVERIFY(p.form().close());
  QVERIFY(std::filesystem::is_directory(p.settingsFile()));
}

void StartupTest::closingRepairsAFirstLineWithoutRelease() {
  StartedProgram p;
  std::filesystem::create_directories(p.settingsDirectory());
  p.Write("config/quillmere/halvik.ini",
          Lines({"1.1.3", "[Directories]", "Workdir=/x/", "[Startwindow]", "600 400 0",
                 "[RecentFiles]", "1"}));
  p.Start();
  QVERIFY(p.EndSplash());
  p.dialogs.answers.push_back(true);
  p.form().Close1Click();  // "&Exit" goes through the same question
  QCOMPARE(p.dialogs.asked.size(), std::size_t{1});
  QCOMPARE(
      ReadFile(p.settingsFile()),
      Lines({"[Release]", "1.1", " ", "[Directories]", ("Workdir=" + p.programDirectory()).c_str(),
             "[Startwindow]", "600 400  0.00000000000000E+0000", "[RecentFiles]", "1"}));
}

void StartupTest::decliningTheCloseKeepsEverything() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  const std::string settings = ReadFile(p.settingsFile());
  const QString caption = p.form().windowTitle();
  p.dialogs.answers.push_back(false);
  QVERIFY(!p.form().close());
  QVERIFY(p.form().isVisible());
  QVERIFY(!p.program().ended());
  QCOMPARE(p.form().windowTitle(), caption);
  QCOMPARE(ReadFile(p.settingsFile()), settings);
  // The program goes on working: a second attempt asks again.
  p.dialogs.answers.push_back(true);
  QVERIFY(p.form().close());
  QCOMPARE(p.dialogs.asked.size(), std::size_t{2});
}

void StartupTest::aConfirmedCloseEndsTheEventLoopWithOneQuestion() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  p.dialogs.answers.push_back(true);
  QTimer::singleShot(0, &p.form(), [&p] { p.form().close(); });
  QTimer watchdog;  // a loop that does not end fails the test instead of hanging it
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(1); });
  watchdog.start(5000);
  QCOMPARE(QCoreApplication::exec(), 0);
  QCOMPARE(p.dialogs.asked.size(), std::size_t{1});
  QVERIFY(p.program().ended());
}

void StartupTest::commandLineWithOneFileOpensIt() {
  StartedProgram p;
  const auto file = p.Example("quartz-piezoelectric.ten");
  p.Start({QString::fromStdString(file.string())});
  QVERIFY(p.EndSplash());
  QCOMPARE(p.form().windowTitle(), QStringLiteral("Quillmere: quartz-piezoelectric.ten"));
  QCOMPARE(p.state().tensor.kind, 5);
  QCOMPARE(p.state().openDialogFileName, file.string());
  QCOMPARE(ReadRecentFiles(p.state().Settings())[0], file.string());
  QVERIFY2(p.dialogs.errors.empty(), p.dialogs.errors.empty() ? "" : p.dialogs.errors[0].c_str());
  // The odd-rank surface shows both colours.
  QVERIFY(test::GreenPixels(p.form().drawing().SceneBitmap()) > 100);
  QVERIFY(test::RedPixels(p.form().drawing().SceneBitmap()) > 100);
}

void StartupTest::commandLineWithTwoArgumentsBehavesAsNone() {
  StartedProgram p;
  const auto a = p.Example("quartz-piezoelectric.ten");
  const auto b = p.Example("copper-elastic.ten");
  p.Start({QString::fromStdString(a.string()), QString::fromStdString(b.string())});
  QVERIFY(p.EndSplash());
  QCOMPARE(p.form().windowTitle(), QStringLiteral("Quillmere Ver. 1.5"));
  QCOMPARE(p.state().tensor.kind, 0);
  QCOMPARE(ReadRecentFiles(p.state().Settings())[0], std::string());
  QVERIFY(p.dialogs.errors.empty());
  // The default tensor is drawn: the zero tensor leaves only the blue axes.
  QCOMPARE(p.form().drawing().SceneBitmap().size(), p.form().DrawingArea()->size());
  QCOMPARE(Child<ClickableLabel>(p.form(), "Label14")->text(), QStringLiteral("(i)"));
  QCOMPARE(Child<BarredLabel>(p.form(), "Label23")->text(), QStringLiteral("PS: 1"));
  QCOMPARE(Child<ClickableLabel>(p.form(), "Label15")->text(), QStringLiteral("polar"));
}

void StartupTest::aboutShowsTheSplashOverTheWorkingWindow() {
  StartedProgram p;
  p.Start();
  QVERIFY(p.EndSplash());
  const QSize working = p.form().size();
  p.form().Image3Click();
  QVERIFY(Child<ClickableLabel>(p.form(), "Image1")->isVisible());
  QVERIFY(
      (Child<ClickableLabel>(p.form(), "Image1")->geometry().center() - p.form().rect().center())
          .manhattanLength() <= 2);
  // A click hides it again and does not end the splash a second time.
  p.form().Image1Click();
  QVERIFY(!Child<ClickableLabel>(p.form(), "Image1")->isVisible());
  QCoreApplication::processEvents();
  QCOMPARE(p.form().size(), working);
}

void StartupTest::settingsFolderIsTheUsersConfigurationFolder() {
  StartedProgram p;  // points XDG_CONFIG_HOME into its folder
  std::filesystem::remove_all(p.root() / "config");
  const std::filesystem::path folder = UserSettingsDirectory();
  QCOMPARE(folder, p.root() / "config" / "quillmere");
  QVERIFY(std::filesystem::is_directory(folder));
}

void StartupTest::terminationClosesNormallyAndKeepsUnsavedWork() {
  {
    StartedProgram p;
    const auto file = p.Example("quartz-piezoelectric.ten");
    p.Start({QString::fromStdString(file.string())});
    QVERIFY(p.EndSplash());
    // Unchanged since it was opened: nothing to keep.
    p.program().CloseOnTermination();
    QVERIFY(p.program().ended());
    QVERIFY(p.dialogs.asked.empty());
    QVERIFY(!std::filesystem::exists(p.root() / "recovery"));
  }
  StartedProgram p;
  const auto file = p.Example("quartz-piezoelectric.ten");
  p.Start({QString::fromStdString(file.string())});
  QVERIFY(p.EndSplash());
  p.state().tensor.At(1, 1, 1) = 7.5e-12L;  // an edit not yet saved
  p.program().CloseOnTermination();
  // No question, the settings written as at a confirmed close, the tensor kept.
  QVERIFY(p.dialogs.asked.empty());
  QVERIFY(p.program().ended());
  QVERIFY(ReadFile(p.settingsFile()).find("[Startwindow]") != std::string::npos);
  const auto copies = std::vector<std::filesystem::directory_entry>(
      std::filesystem::directory_iterator(p.root() / "recovery"), {});
  QCOMPARE(copies.size(), std::size_t{1});

  // The next start offers it; Yes opens it as a file without a name, and the copy is gone.
  StartedProgram next;
  std::filesystem::create_directories(next.root() / "recovery");
  std::filesystem::copy_file(copies[0].path(),
                             next.root() / "recovery" / copies[0].path().filename());
  next.dialogs.answers.push_back(true);
  next.Start();
  QVERIFY(next.EndSplash());
  QCOMPARE(next.dialogs.asked.size(), std::size_t{1});
  QVERIFY(next.dialogs.asked[0].find("unsaved changes") != std::string::npos);
  QCOMPARE(static_cast<double>(next.state().tensor.At(1, 1, 1)), 7.5e-12);
  QVERIFY(!next.state().saveNameValid);
  QVERIFY(std::filesystem::is_empty(next.root() / "recovery"));
}

void StartupTest::terminationSignalReachesTheEventLoop() {
  TerminationSignal termination;
  QSignalSpy received(&termination, &TerminationSignal::received);
  ::raise(SIGTERM);
  QVERIFY(received.wait(5000));
}

}  // namespace quillmere

QTEST_MAIN(quillmere::StartupTest)
#include "startup_test.moc"
