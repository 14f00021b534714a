// The update check of the desktop program against a real FTP server on 127.0.0.1 (pyftpdlib,
// started and stopped by each test): the real windows, the real transfer, the system's part
// (opening the installer, ending other copies) recorded.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>
#include <QFontMetrics>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <cstdint>
#include <fstream>

#include "app/gui/gui_test_support.h"
#include "update/gui/ftp_update_check.h"
#include "update/gui/tformupdate.h"

namespace quillmere {

using test::ReadFile;
using test::StartedProgram;

namespace {

const char* kUpToDateText = "This Version is up-to-date";
const char* kNoConnectionText = "could not make connection to update server";
const char* kQuestion = "new version available, download and install now?";
const char* kNotSigned = "The update is not signed by the publisher; nothing was installed";

/// A minisign key pair made by `minisign -G` (no password) in `folder`.
struct MinisignKey {
  explicit MinisignKey(const std::filesystem::path& folder, const std::string& name = "publisher")
      : secret(folder / (name + ".key")), pub(folder / (name + ".pub")) {
    std::filesystem::create_directories(folder);
    QProcess::execute(QStringLiteral("minisign"),
                      {QStringLiteral("-G"), QStringLiteral("-W"), QStringLiteral("-p"),
                       QString::fromStdString(pub.string()), QStringLiteral("-s"),
                       QString::fromStdString(secret.string())});
  }
  /// FILE.minisig beside `file`.
  void Sign(const std::filesystem::path& file) const {
    QProcess::execute(
        QStringLiteral("minisign"),
        {QStringLiteral("-S"), QStringLiteral("-s"), QString::fromStdString(secret.string()),
         QStringLiteral("-m"), QString::fromStdString(file.string())});
  }
  /// The public key line, as update.conf takes it.
  std::string Line() const {
    const std::string text = ReadFile(pub);
    return text.substr(text.find('\n') + 1,
                       text.find('\n', text.find('\n') + 1) - text.find('\n') - 1);
  }
  std::filesystem::path secret, pub;
};

/// tests/update/ftp_server.py on a free port of 127.0.0.1, with its folder and connection log
/// in `root`.
class FtpTestServer {
 public:
  FtpTestServer(const std::filesystem::path& root, const QString& mode = QStringLiteral("serve"),
                const QStringList& extra = {})
      : root_(root) {
    std::filesystem::create_directories(folder());
    process_.setStandardErrorFile(QString::fromStdString((root / "server.err").string()));
    process_.start(QStringLiteral("/usr/bin/python3"),
                   QStringList{QStringLiteral(QUILLMERE_SOURCE_DIR "/tests/update/ftp_server.py"),
                               QStringLiteral("--root"), QString::fromStdString(root.string()),
                               QStringLiteral("--log"), QString::fromStdString(log().string()),
                               QStringLiteral("--mode"), mode} +
                       extra);
    if (process_.waitForStarted(10000))
      static_cast<void>(QTest::qWaitFor([this] { return process_.canReadLine(); }, 15000));
    port_ = process_.readLine().trimmed().toInt();
  }
  ~FtpTestServer() {
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
    process_.waitForFinished(2000);
  }
  int port() const { return port_; }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
  std::filesystem::path folder() const { return root_ / "Website" / "QuillmereHome"; }
  std::filesystem::path log() const { return root_ / "connections.log"; }
  /// The connections made before this call: opens one more itself and reads the server's
  /// greeting on it. The server takes its connections one after the other and logs each before
  /// it greets, so every earlier connection is in the log by then.
  int ConnectionsSoFar() const {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    if (socket < 0) return -1;
    const timeval limit{15, 0};  // a server that never greets fails the test instead of hanging
    setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port_));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    char greeting[3] = {};
    const bool greeted =
        ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::recv(socket, greeting, sizeof greeting, MSG_WAITALL) == 3 &&
        std::string(greeting, 3) == "220";
    ::close(socket);
    return greeted ? Connections() - 1 : -1;
  }
  int Connections() const {
    std::ifstream in(log());
    int n = 0;
    for (std::string line; std::getline(in, line);) n += line == "connect";
    return n;
  }
  void Put(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder() / name, std::ios::binary) << bytes;
    if (signer) signer->Sign(folder() / name);
  }
  /// Publishes version.txt for `version` and an installer of `installer` bytes; `size` is the
  /// size that version.txt announces (the installer's own by default).
  void Publish(const std::string& version, const std::string& installer, long size = -1) const {
    const long announced = size < 0 ? static_cast<long>(installer.size()) : size;
    Put("version.txt", "Quillmere\r\n" + version + "\r\n" + std::to_string(announced) +
                           "\r\nSurfaces of rank 5\r\nFaster fit\r\n");
    Put("Quillmereinstall.deb", installer);
  }

  /// Signs every file put on the server; none: the files go unsigned.
  const MinisignKey* signer = nullptr;

 private:
  std::filesystem::path root_;
  QProcess process_;
  int port_ = 0;
};

/// Records what the check does to the system; two other copies appear to run.
class RecordingUpdateSystem : public UpdateSystem {
 public:
  void OpenWithDesktop(const std::filesystem::path& file) override {
    opened.push_back(file);
    installerSizeWhenOpened = std::filesystem::file_size(file);
  }
  std::vector<int> OtherRunningCopies() override { return {4242, 4243}; }
  void EndProcess(int pid) override { ended.push_back(pid); }
  std::vector<std::filesystem::path> opened;
  std::uintmax_t installerSizeWhenOpened = 0;
  std::vector<int> ended;
};

/// A program whose update check talks to `server` (or to no server when it is null).
struct UpdatingProgram {
  explicit UpdatingProgram(bool admin = true) : admin_(admin) {}

  void Start(const std::string& address) {
    if (!address.empty())
      p.Write("config/quillmere/update.conf",
              "server=" + address + "\npublic-key=" + key.Line() + "\n");
    programFile = p.Write("program/quillmere", "the running program");
    check = std::make_unique<FtpUpdateCheck>(p.settingsDirectory(), programFile, system,
                                             [this] { return admin_; });
    check->timeouts = FtpTimeouts{3000, 5, 5000};
    p.checkInUse = check.get();
    p.Start();
    p.program().updateWindow()->Timer1->setInterval(watchdogMs);
  }
  /// The start-up: first activation, the 100 ms timer, the silent check.
  bool RunStartupCheck() {
    p.form().FormActivate();
    return QTest::qWaitFor([this] { return p.state().updateChecked; }, 20000);
  }
  std::filesystem::path settings() const { return p.settingsDirectory(); }
  std::filesystem::path installer() const { return settings() / "update" / "Quillmereinstall.deb"; }

  StartedProgram p;
  MinisignKey key{p.root() / "keys"};
  RecordingUpdateSystem system;
  std::unique_ptr<FtpUpdateCheck> check;
  std::filesystem::path programFile;
  int watchdogMs = 1500;

 private:
  bool admin_;
};

}  // namespace

class FtpUpdateTest : public QObject {
  Q_OBJECT
 private slots:
  void sameVersionStartsSilentlyAndEndsTheSplash();
  void newerVersionDownloadsChecksBacksUpOpensAndEndsCopies();
  void decliningChangesNothing();
  void wrongInstallerSizeIsNeverOpened();
  void missingOrGarbageVersionFile();
  void unsignedOrForeignSignedUpdatesAreRefused();
  void serverThatStopsSendingIsNamed();
  void refusedLoginAndNoServer();
  void serverThatNeverAnswersIsGivenUpByTheWatchdog();
  void noAdministratorRightsNoConnection();
  void noConfigurationNoConnection();
};

void FtpUpdateTest::sameVersionStartsSilentlyAndEndsTheSplash() {
  UpdatingProgram u;
  FtpTestServer server(u.p.root() / "ftp");
  server.signer = &u.key;
  server.Publish("1.5004", "package");
  u.Start(server.address());
  QVERIFY(u.RunStartupCheck());
  QVERIFY(u.p.dialogs.shown.empty());
  QVERIFY(u.p.dialogs.asked.empty());
  QCOMPARE(server.Connections(), 1);
  // The published file stays in the settings folder; the splash ends by its timer.
  QVERIFY(ReadFile(u.settings() / "version.txt").find("1.5004") != std::string::npos);
  QVERIFY(Child<QTimer>(u.p.form(), "Timer1")->isActive());
  QVERIFY(!u.p.program().updateWindow()->isVisible());
  QVERIFY(!std::filesystem::exists(u.settings() / "update"));

  // The menu's check says so.
  QVERIFY(u.p.EndSplash());
  QVERIFY(Item(u.p.form(), "Checkforupdates1")->isEnabled());
  Item(u.p.form(), "Checkforupdates1")->trigger();
  QCOMPARE(u.p.dialogs.shown, std::vector<std::string>{kUpToDateText});
  QVERIFY(u.p.form().isVisible());
  QCOMPARE(server.Connections(), 2);
}

void FtpUpdateTest::newerVersionDownloadsChecksBacksUpOpensAndEndsCopies() {
  UpdatingProgram u;
  FtpTestServer server(u.p.root() / "ftp");
  server.signer = &u.key;
  const std::string package(300000, 'q');
  server.Publish("1.6", package);
  u.Start(server.address());
  QVERIFY(u.p.EndSplash());
  u.p.dialogs.answers = {true};
  u.p.form().Checkforupdates1Click();

  QCOMPARE(u.p.dialogs.asked, std::vector<std::string>{kQuestion});
  QCOMPARE(u.p.dialogs.shown.size(), std::size_t{2});
  QCOMPARE(u.p.dialogs.shown[0], std::string("\nSurfaces of rank 5\nFaster fit"));
  QVERIFY(u.p.dialogs.shown[1].find("Update successfully downloaded to " +
                                    (u.settings() / "update").string()) == 0);
  // Opened only once complete, backed up, the other copies asked to end, the program ended
  // through its normal exit.
  QCOMPARE(u.system.opened, std::vector<std::filesystem::path>{u.installer()});
  QCOMPARE(u.system.installerSizeWhenOpened, package.size());
  QCOMPARE(ReadFile(u.installer()), package);
  QCOMPARE(ReadFile(u.settings() / "quillmere.old"), std::string("the running program"));
  QCOMPARE(u.system.ended, (std::vector<int>{4242, 4243}));
  QVERIFY(u.p.program().ended());
  QVERIFY(!u.p.program().updateWindow()->isVisible());
  QCOMPARE(u.p.program().updateWindow()->ProgressBar1->value(), 300000);
  QCOMPARE(u.p.program().updateWindow()->Label1->text(), QStringLiteral("100 %"));
  QCOMPARE(u.p.program().updateWindow()->Label2->text(),
           QStringLiteral("Download Progress of Quillmere Update"));
  const QLabel* status = u.p.program().updateWindow()->Label2;
  QVERIFY(QFontMetrics(status->font()).horizontalAdvance(status->text()) <= status->width());
}

void FtpUpdateTest::decliningChangesNothing() {
  UpdatingProgram u;
  FtpTestServer server(u.p.root() / "ftp");
  server.signer = &u.key;
  server.Publish("1.4", "package");  // an older published version is offered too
  u.Start(server.address());
  QVERIFY(u.p.EndSplash());
  u.p.dialogs.answers = {false};
  u.p.form().Checkforupdates1Click();
  QCOMPARE(u.p.dialogs.asked, std::vector<std::string>{kQuestion});
  QVERIFY(u.p.dialogs.shown.empty());
  QVERIFY(!std::filesystem::exists(u.settings() / "update"));
  QVERIFY(!std::filesystem::exists(u.settings() / "quillmere.old"));
  QVERIFY(u.system.opened.empty());
  QVERIFY(u.system.ended.empty());
  QVERIFY(!u.p.program().ended());
  QVERIFY(u.p.form().isVisible());
}

void FtpUpdateTest::wrongInstallerSizeIsNeverOpened() {
  UpdatingProgram u;
  FtpTestServer server(u.p.root() / "ftp");
  server.signer = &u.key;
  u.Start(server.address());
  QVERIFY(u.p.EndSplash());
  // Announced bigger than sent (a truncated upload) and smaller than sent.
  for (const long announced : {5000L, 10L}) {
    server.Publish("1.6", std::string(1000, 'x'), announced);
    u.p.dialogs.shown.clear();
    u.p.dialogs.answers = {true};
    u.p.form().Checkforupdates1Click();
    QCOMPARE(u.p.dialogs.shown.size(), std::size_t{2});
    // The message says what went wrong, not that the connection failed.
    const std::string& said = u.p.dialogs.shown[1];
    QVERIFY2(said == "The installer arrived with 1000 bytes instead of 5000" ||
                 said == "The update could not be downloaded: The server sends more than expected",
             said.c_str());
    QVERIFY(std::filesystem::is_empty(u.installer().parent_path()));
    QVERIFY(u.system.opened.empty());
    QVERIFY(u.system.ended.empty());
    QVERIFY(!u.p.program().ended());
    QVERIFY(u.p.form().isVisible());
  }
}

void FtpUpdateTest::missingOrGarbageVersionFile() {
  UpdatingProgram u;
  FtpTestServer server(u.p.root() / "ftp");
  server.signer = &u.key;
  u.Start(server.address());
  QVERIFY(u.p.EndSplash());
  // No version file: silent even when asked from the menu.
  u.p.form().Checkforupdates1Click();
  QVERIFY(u.p.dialogs.shown.empty());
  QVERIFY(u.p.dialogs.asked.empty());
  QCOMPARE(server.Connections(), 1);
  // Garbage: a failed check.
  server.Put("version.txt", "Quillmere\r\nversion one point six\r\n12\r\n");
  u.p.form().Checkforupdates1Click();
  QCOMPARE(u.p.dialogs.shown, std::vector<std::string>{kNoConnectionText});
  QVERIFY(u.p.dialogs.asked.empty());
  // Too short or not a positive version: no offer either.
  for (const char* text :
       {"Quillmere\r\n", "Quillmere\r\n-1.6\r\n7\r\n", "Quillmere\r\n1E999\r\n"}) {
    u.p.dialogs.shown.clear();
    server.Put("version.txt", text);
    u.p.form().Checkforupdates1Click();
    QCOMPARE(u.p.dialogs.shown, std::vector<std::string>{kNoConnectionText});
    QVERIFY(u.p.dialogs.asked.empty());
  }
  QVERIFY(u.p.form().isVisible());
}

void FtpUpdateTest::unsignedOrForeignSignedUpdatesAreRefused() {
  UpdatingProgram u;
  FtpTestServer server(u.p.root() / "ftp");
  const MinisignKey other(u.p.root() / "keys", "other");
  u.Start(server.address());
  QVERIFY(u.p.EndSplash());
  // A version file signed by another key: no offer, and the silent start-up check stays silent.
  server.signer = &other;
  server.Publish("1.6", "package");
  u.p.form().Checkforupdates1Click();
  QCOMPARE(u.p.dialogs.shown, std::vector<std::string>{kNotSigned});
  QVERIFY(u.p.dialogs.asked.empty());
  // A good version file, an installer signed by another key: deleted, a good installer kept.
  server.signer = &u.key;
  server.Publish("1.6", "package");
  server.signer = &other;
  server.Put("Quillmereinstall.deb", "package");
  std::filesystem::create_directories(u.installer().parent_path());
  std::ofstream(u.installer()) << "good old";
  u.p.dialogs.shown.clear();
  u.p.dialogs.answers = {true};
  u.p.form().Checkforupdates1Click();
  QCOMPARE(u.p.dialogs.shown.size(), std::size_t{2});
  QCOMPARE(u.p.dialogs.shown[1], std::string(kNotSigned));
  QCOMPARE(ReadFile(u.installer()), std::string("good old"));
  QCOMPARE(std::distance(std::filesystem::directory_iterator(u.installer().parent_path()),
                         std::filesystem::directory_iterator{}),
           std::ptrdiff_t{1});
  QVERIFY(u.system.opened.empty());
  QVERIFY(!u.p.program().ended());
}

void FtpUpdateTest::serverThatStopsSendingIsNamed() {
  UpdatingProgram u;
  u.watchdogMs = 60000;  // the rate floor, not the watchdog, ends this one
  FtpTestServer server(u.p.root() / "ftp", QStringLiteral("serve"),
                       {QStringLiteral("--stall"), QStringLiteral("2000")});
  server.signer = &u.key;
  server.Publish("1.6", std::string(50000, 'q'));
  u.Start(server.address());
  u.check->timeouts.windowMilliseconds = 5000;  // short, yet long enough for a loaded machine
  QVERIFY(u.p.EndSplash());
  u.p.dialogs.answers = {true};
  u.p.form().Checkforupdates1Click();
  QCOMPARE(u.p.dialogs.shown.size(), std::size_t{2});
  QCOMPARE(u.p.dialogs.shown[1],
           std::string("The update could not be downloaded: the update server stopped sending"));
  QVERIFY(std::filesystem::is_empty(u.installer().parent_path()));
  QVERIFY(u.system.opened.empty());
}

void FtpUpdateTest::refusedLoginAndNoServer() {
  {
    UpdatingProgram u;
    FtpTestServer server(u.p.root() / "ftp", QStringLiteral("refuse"));
    server.signer = &u.key;
    server.Publish("1.6", "package");
    u.Start(server.address());
    QVERIFY(u.p.EndSplash());
    u.p.form().Checkforupdates1Click();
    QCOMPARE(u.p.dialogs.shown, std::vector<std::string>{kNoConnectionText});
    QCOMPARE(server.Connections(), 2);  // connecting is tried twice
    QVERIFY(!std::filesystem::exists(u.settings() / "version.txt"));
  }
  {
    // Nobody listens: the start-up check says nothing and is done.
    UpdatingProgram u;
    int port = 0;
    {
      FtpTestServer gone(u.p.root() / "gone");
      port = gone.port();
    }
    u.Start("127.0.0.1:" + std::to_string(port));
    QVERIFY(u.RunStartupCheck());
    QVERIFY(u.p.dialogs.shown.empty());
    QVERIFY(!u.p.program().updateWindow()->isVisible());
    QVERIFY(u.p.form().InSplash());
  }
}

void FtpUpdateTest::serverThatNeverAnswersIsGivenUpByTheWatchdog() {
  UpdatingProgram u;
  u.watchdogMs = 400;
  FtpTestServer server(u.p.root() / "ftp", QStringLiteral("silent"));
  server.signer = &u.key;
  u.Start(server.address());
  QVERIFY(u.p.EndSplash());
  // The window keeps working while the check waits: a timer of the window fires meanwhile.
  int ticks = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
  tick.start(50);
  // The watchdog is set to fire long before any of the transfer's own time-outs, and it ends
  // the wait the first time it fires.
  QVERIFY(u.watchdogMs < u.check->timeouts.connectMilliseconds);
  QVERIFY(u.watchdogMs < u.check->timeouts.responseSeconds * 1000);
  QSignalSpy watchdog(u.p.program().updateWindow()->Timer1, &QTimer::timeout);
  u.p.form().Checkforupdates1Click();
  QCOMPARE(watchdog.count(), 1);
  QVERIFY(ticks >= 4);
  QCOMPARE(u.p.dialogs.shown, std::vector<std::string>{kNoConnectionText});
  QVERIFY(!u.p.program().updateWindow()->Timer1->isActive());
  QVERIFY(u.p.form().isVisible());
}

void FtpUpdateTest::noAdministratorRightsNoConnection() {
  UpdatingProgram u(false);
  FtpTestServer server(u.p.root() / "ftp");
  server.signer = &u.key;
  server.Publish("1.6", "package");
  u.Start(server.address());
  QVERIFY(u.RunStartupCheck());
  QCOMPARE(server.ConnectionsSoFar(), 0);
  QVERIFY(u.p.dialogs.asked.empty());
  QVERIFY(u.p.form().InSplash());
}

void FtpUpdateTest::noConfigurationNoConnection() {
  UpdatingProgram u;
  FtpTestServer server(u.p.root() / "ftp");
  server.signer = &u.key;
  server.Publish("1.6", "package");
  u.Start("");
  QVERIFY(u.RunStartupCheck());
  QVERIFY(u.p.dialogs.shown.empty());
  QVERIFY(u.p.EndSplash());
  u.p.form().Checkforupdates1Click();
  // No connection was tried, so the user reads that none is configured and where to do it.
  QCOMPARE(u.p.dialogs.shown.size(), std::size_t{1});
  QVERIFY2(
      u.p.dialogs.shown[0].find("No update server is configured") == 0 &&
          u.p.dialogs.shown[0].find((u.settings() / "update.conf").string()) != std::string::npos,
      u.p.dialogs.shown[0].c_str());
  QCOMPARE(server.Connections(), 0);
  QVERIFY(!std::filesystem::exists(u.settings() / "version.txt"));
}

}  // namespace quillmere

QTEST_MAIN(quillmere::FtpUpdateTest)
#include "ftp_update_test.moc"
