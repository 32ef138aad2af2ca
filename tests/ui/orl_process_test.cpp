// The built `orl` program as the desktop starts it: a second start hands
// over to the first (by any path to its settings), SIGTERM closes the PLC
// link and ends with status 0 (a start-up box open or not), no display is
// reported, and --screenshots writes its images. Also the single-instance handshake
// and the raise in one process.
#include <QImage>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <csignal>

#include "saw/ui/single_instance.h"
#include "window_fixture.h"

namespace orl {
namespace {

using testing::TempFolder;
using testing::WaitFor;
using testing::WindowFixture;

constexpr int kStartMs = 15000;

// The examples in a folder of their own, so the instance name is the test's.
struct OrlProcess : ::testing::Test {
  TempFolder folder;

  void SetUp() override {
    folder.CopyExamples(ORL_EXAMPLES_DIR);
  }

  void SetSetting(const std::string& key, const std::string& value) {
    std::string ini = folder.Read("ORL.INI");
    const std::size_t at = ini.find("\n" + key + "=");
    ASSERT_NE(at, std::string::npos) << key;
    ini.replace(at + 1, ini.find('\n', at + 1) - at - 1, key + "=" + value);
    folder.Write("ORL.INI", ini);
  }

  void Launch(QProcess& orl, QStringList arguments) { LaunchOn(orl, arguments, folder.Path()); }

  void LaunchOn(QProcess& orl, QStringList arguments, const std::filesystem::path& settingsDir) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("ORL_NO_ABOUT_BOX", "1");
    orl.setProcessEnvironment(environment);
    orl.setProcessChannelMode(QProcess::ForwardedChannels);
    orl.start(ORL_BINARY, arguments << "--settings-dir" << QString::fromStdString(settingsDir.string()));
    ASSERT_TRUE(orl.waitForStarted());
  }

  bool Listening() {
    QLocalSocket probe;
    probe.connectToServer(SingleInstance(QString::fromStdString(folder.Path().string())).Name());
    return probe.waitForConnected(100);
  }

  // Starts the program on the settings, lets the box they bring come up and
  // sends SIGTERM: the program ends as at any other time, status 0.
  void ExpectSigtermEndsItWhileTheBoxIsUp() {
    QProcess orl;
    Launch(orl, {});
    ASSERT_TRUE(WaitFor([&] { return Listening(); }, kStartMs));
    QTest::qWait(1000);
    ASSERT_EQ(orl.state(), QProcess::Running) << "the box never came up";
    ASSERT_GT(orl.processId(), 0);
    ::kill(static_cast<pid_t>(orl.processId()), SIGTERM);
    const bool ended = orl.waitForFinished(kStartMs);
    if (!ended) orl.kill(), orl.waitForFinished();
    ASSERT_TRUE(ended) << "SIGTERM was lost while the box was up";
    EXPECT_EQ(orl.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(orl.exitCode(), 0);
  }
};

// A second start hands over to the first and ends, status 0, even by a
// symbolic link to the settings folder: two windows would send every
// target to its PLC twice.
TEST_F(OrlProcess, ALinkToTheSettingsFolderIsTheSameSaw) {
  TempFolder links;
  std::filesystem::create_symlink(folder.Path(), links.Path() / "saw");
  QProcess first, second;
  Launch(first, {"--simulate"});
  ASSERT_TRUE(WaitFor([&] { return Listening(); }, kStartMs));
  LaunchOn(second, {"--simulate"}, links.Path() / "saw");
  EXPECT_TRUE(second.waitForFinished(kStartMs));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);
  if (second.state() != QProcess::NotRunning) second.kill();
  second.waitForFinished();
  first.terminate();
  EXPECT_TRUE(first.waitForFinished(kStartMs));
}

TEST(SingleInstanceName, EveryPathToOneFolderGivesOneName) {
  TempFolder folder, links;
  std::filesystem::create_directories(folder.Path() / "sub");
  std::filesystem::create_symlink(folder.Path(), links.Path() / "saw");
  const auto name = [](const std::filesystem::path& path) {
    return SingleInstance(QString::fromStdString(path.string())).Name();
  };
  const QString expected = name(folder.Path());
  EXPECT_EQ(name(links.Path() / "saw"), expected);
  EXPECT_EQ(name(folder.Path() / "sub" / ".."), expected);
  EXPECT_EQ(name(links.Path() / "saw" / ""), expected);
  EXPECT_NE(name(folder.Path() / "sub"), expected);
}

TEST_F(OrlProcess, SigtermClosesThePlcLinkAndEndsWithStatusZero) {
  QTcpServer plc;  // a PLC that accepts and never answers
  ASSERT_TRUE(plc.listen(QHostAddress::LocalHost));
  SetSetting("Simulate", "0");
  SetSetting("PlcTimeoutMs", "100");
  folder.Write("ORL.INI", folder.Read("ORL.INI") + "\n[Configuration]\nPlcHost=127.0.0.1:" + std::to_string(plc.serverPort()) + "\n");
  QProcess orl;
  Launch(orl, {});
  ASSERT_TRUE(WaitFor([&] { return plc.hasPendingConnections() || !plc.isListening(); }, kStartMs));
  QTcpSocket* link = plc.nextPendingConnection();
  ASSERT_NE(link, nullptr);
  ASSERT_TRUE(WaitFor([&] { return Listening(); }, kStartMs));  // the window is up
  ASSERT_GT(orl.processId(), 0);  // never signal a whole process group
  ::kill(static_cast<pid_t>(orl.processId()), SIGTERM);
  EXPECT_TRUE(WaitFor([&] { return link->state() == QAbstractSocket::UnconnectedState; }, kStartMs));
  ASSERT_TRUE(orl.state() == QProcess::NotRunning || orl.waitForFinished(kStartMs));
  EXPECT_EQ(orl.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(orl.exitCode(), 0);
}

// The PLC port cannot be opened: its "Alert" box is up when SIGTERM comes,
// and the program ends at once as a signal always ends it.
TEST_F(OrlProcess, SigtermWhileTheStartUpAlertIsUpEndsTheProgram) {
  quint16 closedPort = 0;
  {
    QTcpServer probe;  // a port that was free a moment ago: connecting is refused
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    closedPort = probe.serverPort();
  }
  SetSetting("Simulate", "0");
  folder.Write("ORL.INI", folder.Read("ORL.INI") + "\n[Configuration]\nPlcHost=127.0.0.1:" + std::to_string(closedPort) + "\n");
  ExpectSigtermEndsItWhileTheBoxIsUp();  // the refused connection is reported in a box
}

TEST_F(OrlProcess, SigtermWhileTheFirstActivationWarnsEndsTheProgram) {
  SetSetting("ProgramPath", "no-such-folder");  // "Path error. Check path specifications."
  ExpectSigtermEndsItWhileTheBoxIsUp();
}

// No display: --help and --version print and end with status 0; a start
// says why no window opens, in one line, and ends with status 1 (no core).
TEST_F(OrlProcess, WithoutADisplayHelpAndVersionPrintAndAStartSaysWhy) {
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
  const auto run = [&](const QStringList& arguments) {
    auto orl = std::make_unique<QProcess>();
    orl->setProcessEnvironment(environment);
    orl->start(ORL_BINARY, arguments);
    EXPECT_TRUE(orl->waitForFinished(kStartMs)) << arguments.join(' ').toStdString();
    return orl;
  };
  const auto help = run({"--help"});
  EXPECT_EQ(help->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(help->exitCode(), 0);
  EXPECT_TRUE(help->readAllStandardOutput().contains("--settings-dir"));
  const auto version = run({"--version"});
  EXPECT_EQ(version->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(version->exitCode(), 0);
  EXPECT_TRUE(version->readAllStandardOutput().startsWith("orl "));
  const auto start = run({"--simulate", "--settings-dir", QString::fromStdString(folder.Path().string())});
  EXPECT_EQ(start->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(start->exitCode(), 1);
  const QByteArray said = start->readAllStandardError();
  EXPECT_EQ(said.count('\n'), 1) << said.toStdString();
  EXPECT_TRUE(said.contains("no display")) << said.toStdString();
}

// An image of more than a handful of colours: something was drawn.
int ColourCount(const QImage& image) {
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); y += 3)
    for (int x = 0; x < image.width(); x += 3) colours.insert(image.pixel(x, y));
  return colours.size();
}

TEST_F(OrlProcess, ScreenshotsAreWrittenAndTheProgramEnds) {
  const QString shots = QString::fromStdString(folder.File("shots"));
  QProcess orl;
  Launch(orl, {"--simulate", "--screenshots", shots});
  ASSERT_TRUE(orl.waitForFinished(60000));
  EXPECT_EQ(orl.exitCode(), 0);
  for (const char* name : {"program-control.png", "import.png", "parameters.png", "diagnostics.png"}) {
    const QImage image(shots + "/" + name);
    EXPECT_EQ(image.size() / image.devicePixelRatio(), QSize(800, 567)) << name;
    EXPECT_GT(ColourCount(image), 20) << name;
  }
  for (const char* name : {"about.png", "directory-chooser.png"}) {
    const QImage image(shots + "/" + name);
    EXPECT_FALSE(image.isNull()) << name;
    EXPECT_GT(ColourCount(image), 5) << name;
  }
}

TEST_F(WindowFixture, SecondInstanceRaisesTheFirstWindow) {
  Start();
  SingleInstance first(QString::fromStdString(folder.Path().string()));
  ASSERT_TRUE(first.Claim());
  QObject::connect(&first, &SingleInstance::raiseRequested, window.get(), &MainWindow::BringToFront);
  window->showMinimized();
  ASSERT_TRUE(WaitFor([&] { return window->isMinimized(); }));
  SingleInstance second(QString::fromStdString(folder.Path().string()));
  QSignalSpy raised(&first, &SingleInstance::raiseRequested);
  EXPECT_FALSE(second.Claim());
  EXPECT_TRUE(WaitFor([&] { return raised.count() == 1; }));
  EXPECT_FALSE(window->isMinimized());
}

}  // namespace
}  // namespace orl
