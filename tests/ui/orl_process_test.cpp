// The built `orl` program as the desktop starts it: a second start hands
// over to the first, SIGTERM closes the PLC link and ends with status 0,
// and --screenshots writes its images. Also the single-instance handshake
// and the raise in one process.
#include <QImage>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
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
    std::filesystem::copy(ORL_EXAMPLES_DIR, folder.Path(), std::filesystem::copy_options::recursive);
  }

  void SetSetting(const std::string& key, const std::string& value) {
    std::string ini = folder.Read("ORL.INI");
    const std::size_t at = ini.find("\n" + key + "=");
    ASSERT_NE(at, std::string::npos) << key;
    ini.replace(at + 1, ini.find('\n', at + 1) - at - 1, key + "=" + value);
    folder.Write("ORL.INI", ini);
  }

  void Launch(QProcess& orl, QStringList arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("ORL_NO_ABOUT_BOX", "1");
    orl.setProcessEnvironment(environment);
    orl.setProcessChannelMode(QProcess::ForwardedChannels);
    orl.start(ORL_BINARY, arguments << "--settings-dir" << QString::fromStdString(folder.Path().string()));
    ASSERT_TRUE(orl.waitForStarted());
  }

  bool Listening() {
    QLocalSocket probe;
    probe.connectToServer(SingleInstance(QString::fromStdString(folder.Path().string())).Name());
    return probe.waitForConnected(100);
  }
};

TEST_F(OrlProcess, SecondStartEndsAndLeavesTheFirstRunning) {
  QProcess first, second;
  Launch(first, {"--simulate"});
  ASSERT_TRUE(WaitFor([&] { return Listening(); }, kStartMs));
  Launch(second, {"--simulate"});
  ASSERT_TRUE(second.waitForFinished(kStartMs));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(first.state(), QProcess::Running);
  first.terminate();
  EXPECT_TRUE(first.waitForFinished(kStartMs));
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
