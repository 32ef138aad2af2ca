// The window's three figures, reported (not asserted):
//   1. the window thread's longest stall during a run against a PLC that
//      accepts and never answers (PlcTimeoutMs 100), target under 20 ms;
//   2. the window thread's time per scan tick during a running cycle with
//      the simulated PLC, target p99 under 2 ms; the same while the PLC
//      holds "Set To Beginning" and the cut list needs more positions than a
//      list may hold, so every tick asks for the list again and is refused;
//   3. start-up until the main window is shown, the about box answered at
//      once, target under 500 ms.
// ui_bench [SECONDS]   (how long figures 1 and 2 run; default 30)
// Run with QT_QPA_PLATFORM=offscreen where there is no display.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "saw/shell/clock.h"
#include "saw/shell/file_system.h"
#include "saw/ui/about_box.h"
#include "saw/ui/main_window.h"
#include "saw/ui/qt_ui.h"

namespace orl {
namespace {

constexpr int kProbeMs = 2;  // the stall probe's timer

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The examples in a temporary folder, with extra [Configuration] lines.
std::filesystem::path Examples(const QTemporaryDir& dir, const std::string& extraConfiguration) {
  const std::filesystem::path folder = dir.path().toStdString();
  std::filesystem::copy(ORL_EXAMPLES_DIR, folder, std::filesystem::copy_options::recursive);
  std::string ini = ReadFile(folder / "ORL.INI");
  ini.replace(ini.find("[Configuration]\n"), 16, "[Configuration]\n" + extraConfiguration);
  std::ofstream(folder / "ORL.INI") << ini;
  return folder / "ORL.INI";
}

void RunFor(int ms) {
  QElapsedTimer run;
  run.start();
  while (run.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

double LongestStallMs(int seconds) {
  QTcpServer silentPlc;  // accepts (the kernel does) and never answers
  silentPlc.listen(QHostAddress::LocalHost);
  QTemporaryDir dir;
  const auto ini = Examples(dir, "Simulate=0\nPlcTimeoutMs=100\nPlcHost=127.0.0.1:" +
                                      std::to_string(silentPlc.serverPort()) + "\n");
  QtUi ui;
  RealFileSystem fileSystem;
  SteadyClock clock;
  Workstation ws(ui, fileSystem, clock);
  ws.StartUp(ini);
  if (!ws.OpenPlc(false)) return -1;
  MainWindow window(ws);
  window.show();
  window.StartTimers();
  QElapsedTimer sinceLast;
  double longest = 0;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    longest = std::max(longest, sinceLast.nsecsElapsed() / 1e6 - kProbeMs);
    sinceLast.restart();
  });
  RunFor(500);  // start-up settles first
  sinceLast.start();
  probe.start(kProbeMs);
  RunFor(seconds * 1000);
  window.EndSequence();
  return longest;
}

// tooLong: a cut of group 1 asks for 32767 pieces of 313 strokes each, so
// the list is refused on every tick (its one warning box is answered before
// the ticks are timed).
double TickP99Ms(int seconds, std::size_t& ticks, bool tooLong) {
  QTemporaryDir dir;
  const auto ini = Examples(dir, "");
  QtUi ui;
  RealFileSystem fileSystem;
  SteadyClock clock;
  Workstation ws(ui, fileSystem, clock);
  ws.StartUp(ini);
  if (!ws.OpenPlc(true)) return -1;
  MainWindow window(ws);
  window.show();
  ws.ProgramClicked("kitchen-groups");
  ws.CutListSelectionChanged(1, ColsPerGroup * 3);
  if (tooLong) {
    const int position = PositionColumnOfGroup(1);
    if (!ws.CutListCellEdited(kFirstCutRow, position + kQtyOffset, "32767") ||
        !ws.CutListCellEdited(kFirstCutRow, position + kGrooveOffset, "999"))
      return -1;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
      if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    answer.start(50);
    PosList positions;
    if (ws.MakePositions(positions)) return -1;
  }
  std::vector<double> times;
  window.scan.SetWorkTimer([&](std::chrono::nanoseconds took) { times.push_back(took.count() / 1e6); });
  window.StartTimers();
  RunFor(seconds * 1000);
  window.EndSequence();
  ticks = times.size();
  if (times.empty()) return -1;
  std::sort(times.begin(), times.end());
  return times[std::min(times.size() - 1, times.size() * 99 / 100)];
}

double StartUpMs() {
  QTemporaryDir dir;
  const auto ini = Examples(dir, "");
  QElapsedTimer startUp;
  startUp.start();
  QtUi ui;
  {
    AboutBox about(ui);
    QTimer::singleShot(0, &about, &QDialog::accept);
    about.exec();
  }
  RealFileSystem fileSystem;
  SteadyClock clock;
  Workstation ws(ui, fileSystem, clock);
  ws.StartUp(ini);
  ws.OpenPlc(true);
  MainWindow window(ws);
  PlaceMainWindow(window);
  window.show();
  QCoreApplication::processEvents();
  const double ms = startUp.nsecsElapsed() / 1e6;
  window.EndSequence();
  return ms;
}

}  // namespace
}  // namespace orl

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
  std::size_t ticks = 0, refusedTicks = 0;
  const double stall = orl::LongestStallMs(seconds);
  const double p99 = orl::TickP99Ms(seconds, ticks, false);
  const double refusedP99 = orl::TickP99Ms(seconds, refusedTicks, true);
  const double startUp = orl::StartUpMs();
  std::printf("window thread longest stall, unreachable PLC, %d s: %.1f ms (target < 20)\n", seconds, stall);
  std::printf("window thread per scan tick, simulated PLC, p99 of %zu: %.2f ms (target < 2)\n", ticks, p99);
  std::printf("window thread per scan tick, list over the limit refused each tick, p99 of %zu: %.2f ms (target < 2)\n",
              refusedTicks, refusedP99);
  std::printf("start-up until the main window is shown: %.0f ms (target < 500)\n", startUp);
  return 0;
}
