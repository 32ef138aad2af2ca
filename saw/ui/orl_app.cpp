#include "saw/ui/orl_app.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "saw/plant/saw_recorder.h"
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
constexpr int kExitNoDisplay = 1;
constexpr const char* kNoDisplayMessage = "orl: no display: neither DISPLAY nor WAYLAND_DISPLAY is set\n";
// Set (to anything) by tests and automation: start without the about box.
constexpr const char* kNoAboutBoxVariable = "ORL_NO_ABOUT_BOX";

void NameApplication() {
  QCoreApplication::setApplicationName("orl");
  QCoreApplication::setApplicationVersion(ProgramVersion());
}

// Whether a window can be opened at all: Qt's X11 and Wayland platforms
// end the process with a core dump when they find no display, so that is
// found out before the QApplication is made. Any other platform (offscreen,
// vnc, eglfs, ...) named by QT_QPA_PLATFORM or -platform is trusted.
bool DisplayAvailable(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) return true;
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland")) return true;
  return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Without a display the command line is still read, so --help and
// --version print and end as they always do; anything else says why no
// window opens.
int RunWithoutDisplay(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  NameApplication();
  ParseCommandLine(QCoreApplication::arguments());
  std::fputs(kNoDisplayMessage, stderr);
  return kExitNoDisplay;
}

}  // namespace

int RunOrl(int argc, char** argv) {
  if (!DisplayAvailable(argc, argv)) return RunWithoutDisplay(argc, argv);
  QApplication app(argc, argv);
  NameApplication();
  QApplication::setDesktopFileName("orl");
  QApplication::setQuitOnLastWindowClosed(false);  // the about box closing must not end the program
  const OrlOptions options = ParseCommandLine(QApplication::arguments());
  const QString settingsFolder = SettingsFolder(options);
  const bool screenshots = !options.screenshotsDir.isEmpty();

  SingleInstance instance(settingsFolder);
  if (!screenshots && !instance.Claim()) return 0;  // the running program comes to the front

  SignalBridge signalBridge;
  QtUi ui;
  // A signal before the window is up ends the start-up, whatever box is
  // open then: the box closes, no later one opens, and the program ends
  // with the status a signal always gives.
  bool terminated = false;
  const QMetaObject::Connection duringStartUp =
      QObject::connect(&signalBridge, &SignalBridge::terminationRequested, &signalBridge, [&] {
        terminated = true;
        ui.Dismiss();
      });
  if (!screenshots && qEnvironmentVariableIsEmpty(kNoAboutBoxVariable)) {
    AboutBox about(ui);
    about.exec();
  }
  if (terminated) return 0;

  RealFileSystem fileSystem;
  SteadyClock clock;
  Workstation ws(ui, fileSystem, clock);
  ws.StartUp(QDir(settingsFolder).filePath(kSettingsFileName).toStdString());
  if (terminated) return 0;
  if (!ws.OpenPlc(options.simulate)) return terminated ? 0 : kExitPortFailure;  // the operator saw "Alert"
  ws.AttachRecorder(MakeSawRecorder(ws.settings()));
  if (terminated) {
    ws.End();
    return 0;
  }
  QObject::disconnect(duringStartUp);

  MainWindow window(ws);
  ui.SetParent(&window);
  PlaceMainWindow(window);
  // From here a signal closes the window; a box open then (a warning of the
  // first activation, which runs as the window shows) closes too, so the end
  // sequence is not left waiting behind it.
  QObject::connect(&signalBridge, &SignalBridge::terminationRequested, &window, [&] {
    terminated = true;
    ui.Dismiss();
    window.close();
  });
  window.show();
  if (terminated) {  // during the first activation: no event loop to end yet
    window.EndSequence();
    return 0;
  }
  if (!options.program.isEmpty()) {
    if (!ws.OpenProgram(options.program.toStdString()))
      qWarning("orl: cannot open the cut program %s", qUtf8Printable(options.program));
    window.Render();
  }
  window.StartTimers();

  QObject::connect(&instance, &SingleInstance::raiseRequested, &window, &MainWindow::BringToFront);

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
