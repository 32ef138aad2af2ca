#include "saw/ui/orl_app.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

#include "saw/shell/clock.h"
#include "saw/shell/file_system.h"
#include "saw/ui/about_box.h"
#include "saw/ui/command_line.h"
#include "saw/ui/main_window.h"
#include "saw/ui/qt_ui.h"
#include "saw/ui/screenshots.h"
#include "saw/ui/signal_bridge.h"
#include "saw/ui/single_instance.h"

namespace orl {
namespace {

constexpr const char* kSettingsFileName = "ORL.INI";
constexpr int kExitPortFailure = 1;
constexpr int kExitScreenshotsFailed = 2;
// Set (to anything) by tests and automation: start without the about box.
constexpr const char* kNoAboutBoxVariable = "ORL_NO_ABOUT_BOX";

}  // namespace

int RunOrl(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("orl");
  QApplication::setApplicationVersion(ProgramVersion());
  QApplication::setDesktopFileName("orl");
  QApplication::setQuitOnLastWindowClosed(false);  // the about box closing must not end the program
  const OrlOptions options = ParseCommandLine(QApplication::arguments());
  const QString settingsFolder = SettingsFolder(options);
  const bool screenshots = !options.screenshotsDir.isEmpty();

  SingleInstance instance(settingsFolder);
  if (!screenshots && !instance.Claim()) return 0;  // the running program comes to the front

  SignalBridge signalBridge;
  bool terminated = false;  // a signal while the about box is up ends the start-up
  QtUi ui;
  if (!screenshots && qEnvironmentVariableIsEmpty(kNoAboutBoxVariable)) {
    AboutBox about(ui);
    QObject::connect(&signalBridge, &SignalBridge::terminationRequested, &about, [&] {
      terminated = true;
      about.reject();
    });
    about.exec();
  }
  if (terminated) return 0;

  RealFileSystem fileSystem;
  SteadyClock clock;
  Workstation ws(ui, fileSystem, clock);
  ws.StartUp(QDir(settingsFolder).filePath(kSettingsFileName).toStdString());
  if (!ws.OpenPlc(options.simulate)) return kExitPortFailure;  // the operator saw "Alert"

  MainWindow window(ws);
  ui.SetParent(&window);
  PlaceMainWindow(window);
  window.show();
  if (!options.program.isEmpty()) {
    if (!ws.OpenProgram(options.program.toStdString()))
      qWarning("orl: cannot open the cut program %s", qUtf8Printable(options.program));
    window.Render();
  }
  window.StartTimers();

  QObject::connect(&instance, &SingleInstance::raiseRequested, &window, &MainWindow::BringToFront);
  QObject::connect(&signalBridge, &SignalBridge::terminationRequested, &window, &QWidget::close);

  int status = 0;
  if (screenshots) {
    TakeScreenshots(window, ui, options.screenshotsDir, [&](bool written) {
      if (!written) status = kExitScreenshotsFailed;
      window.close();
    });
  }
  app.exec();
  window.EndSequence();
  return status;
}

}  // namespace orl
