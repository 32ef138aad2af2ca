// orl-tool run: the saw cycle without a window. The workstation starts as
// the desktop program would, the PLC link is chosen and opened, the program
// is loaded with column 1 selected, and the workstation's scan cycle ticks
// in a plain loop at the scan interval, each tick's transfer in line; the
// run ends through the workstation's end sequence.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

#include "saw/plant/saw_recorder.h"
#include "saw/plc/link_factory.h"
#include "saw/plc/dig_io.h"
#include "saw/plc/sim_plc_link.h"
#include "saw/tools/commands.h"
#include "saw/tools/optimizer_import_step.h"
#include "saw/tools/stop_signals.h"
#include "saw/tools/tool_session.h"

namespace orl {
namespace {

// Targets are the PLC's own numbers: tenths of a millimetre.
constexpr const char* kTargetUnit = " (0.1 mm)";

struct RunOptions {
  std::string program;
  std::string ini;
  std::string plc;
  int tickMs = -1;  // -1: the settings' scan interval
  long maxTicks = 0;  // 0: no limit
  bool untilDone = false;
  double timeoutSeconds = 60;  // with untilDone; 0: no limit
  bool json = false;
  // Instead of a program: a pattern of an optimizer file, loaded as the
  // "Load" button does, with the book to start from.
  std::string importFile;
  int pattern = 0;
  int book = 0;
};

void PrintHandOver(long tick, const PlcState::HandOver& h, bool json) {
  const PosEntry& e = h.entry;
  if (json) {
    nlohmann::ordered_json line{{"tick", tick},          {"PosIndex", h.PosIndex},         {"Target", e.Target},
                        {"CellRow", e.CellRow},  {"CellCol", e.CellCol},           {"NewBoard", e.NewBoard},
                        {"GrooveStroke", e.GrooveStroke}, {"LastCut", h.LastCut}};
    if (h.Manual) line["Manual"] = true;
    std::cout << line.dump() << std::endl;
    return;
  }
  std::cout << "tick " << tick << ": " << (h.Manual ? "manual" : "entry " + std::to_string(h.PosIndex)) << " target "
            << e.Target << kTargetUnit << " cell (" << e.CellRow << "," << e.CellCol << ")" << (e.NewBoard ? " new board" : "")
            << (e.GrooveStroke ? " groove" : "") << (h.LastCut ? " last cut" : "") << std::endl;
}

void LoadImportedPattern(ToolSession& session, const RunOptions& options) {
  Workstation& ws = *session.workstation;
  ImportForTool(session, options.importFile);
  SelectPatternForTool(session, options.pattern);
  session.ui.answerYes = true;
  if (!ws.LoadPatternClicked()) throw std::invalid_argument("pattern " + std::to_string(options.pattern) + " was not loaded");
  if (options.book > 0) {
    if (options.book > BookButtonCount || !ws.optimizerView().Bks[options.book - 1].Visible)
      throw std::invalid_argument("the pattern has no book " + std::to_string(options.book));
    ws.BookClicked(options.book - 1);
  }
}

// The tool's ticks may come far faster than a saw's (--tick-ms 0, and the
// built-in simulator's time passes a scan interval per tick): a record
// still being committed would hold the next hand-over for many simulated
// seconds, which no real PLC sees. So the loop lets the commit finish first.
void WaitForRecords(const Workstation& ws) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!ws.RecordsCaughtUp() && std::chrono::steady_clock::now() < giveUp)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
}

// Ticks between two housekeeping ticks: the desktop program's two seconds.
long HousekeepingTicks(const ScanCycle& cycle) { return std::max(1, 2000 / std::max(1, cycle.IntervalMs())); }

// Scan ticks until the run is done, stopped or given up; returns the exit
// status.
int Scan(ToolSession& session, const RunOptions& options, SimClock& simClock) {
  Workstation& ws = *session.workstation;
  ScanCycle& cycle = ws.scanCycle();
  const PlcState& state = ws.plc();
  double lastProgress = session.clock.Seconds();
  for (long tick = 1; options.maxTicks == 0 || tick <= options.maxTicks; ++tick) {
    if (StopRequested()) {
      std::cerr << "orl-tool: stopped: " << strsignal(StopSignal()) << "\n";
      return 128 + StopSignal();
    }
    const auto tickStart = std::chrono::steady_clock::now();
    const auto handOvers = state.HandOvers;
    WaitForRecords(ws);
    cycle.Tick();
    if (tick % HousekeepingTicks(cycle) == 0) ws.HousekeepingTick();
    if (state.HandOvers != handOvers) {
      PrintHandOver(tick, state.LastHandOver, options.json);
      lastProgress = session.clock.Seconds();
    }
    if (options.untilDone && cycle.RunDone()) return kExitOk;
    if (options.untilDone && options.timeoutSeconds > 0 &&
        session.clock.Seconds() - lastProgress >= options.timeoutSeconds) {
      std::cerr << "orl-tool: gave up: no target handed over for " << options.timeoutSeconds
                << " s (the PLC did not answer or did not ask; --timeout)\n";
      return kExitTimedOut;
    }
    // The in-process simulator's time passes a scan interval per tick.
    simClock.Advance(cycle.IntervalMs() / 1000.0);
    const int tickMs = options.tickMs < 0 ? cycle.IntervalMs() : options.tickMs;
    std::this_thread::sleep_until(tickStart + std::chrono::milliseconds(tickMs));
  }
  return kExitOk;
}

int RunScan(const RunOptions& options) {
  if (options.program.empty() == options.importFile.empty())
    throw std::invalid_argument("name either a PROGRAM or --import FILE --pattern N");
  CatchStopSignals();  // from here a signal ends the run as the program ends
  SimClock simClock;   // the in-process simulator runs in scan time; it outlives the link
  ToolSession session(options.ini);
  Workstation& ws = *session.workstation;
  PlcLinkSpec linkChoice = PlcLinkSpecFromSettings(ws.settings(), false);
  if (!options.plc.empty() && !ApplyPlcChoice(options.plc, linkChoice))
    throw std::invalid_argument("--plc wants sim, tcp:HOST:PORT or rtu:DEVICE");
  if (!ws.OpenPlc(linkChoice, simClock)) {
    // The operator was told what failed; the cause follows on a line of its own.
    if (ws.link() && !ws.link()->LastError().empty()) std::cerr << "orl-tool: " << ws.link()->LastError() << "\n";
    return kExitPortInUse;
  }
  // Every hand-over is recorded in the history (and sent to the plant) as
  // the desktop program records it.
  ws.AttachRecorder(MakeSawRecorder(ws.settings()));
  ws.FollowCommunicationLog([json = options.json](const std::string& line) {
    if (json) std::cout << nlohmann::json{{"log", line}}.dump() << std::endl;
    else std::cout << "log: " << line << std::endl;
  });
  if (options.importFile.empty()) session.LoadProgram(options.program);
  else LoadImportedPattern(session, options);
  ws.ChooseColumnsForRun(1, 1);
  int status = kExitFileError;
  // With --until-done, a program with nothing to cut would wait for ever.
  if (options.untilDone && !ws.scanCycle().SomethingToCut())
    std::cerr << "orl-tool: nothing to cut: the selected group and those after it have no cuts\n";
  else
    status = Scan(session, options, simClock);
  // As the program ends: the end sequence closes the port and the serial
  // line gets its settings back (when a failure above ends the session,
  // the link's destructor does).
  ws.End();
  return status;
}

}  // namespace

void RegisterRunCommand(CLI::App& app, int& status) {
  auto options = std::make_shared<RunOptions>();
  CLI::App* run = app.add_subcommand("run", "run the saw cycle against the PLC, a served or the built-in simulator");
  run->add_option("PROGRAM", options->program, "cut program file");
  run->add_option("--import", options->importFile, "optimizer file whose pattern is run instead of a program");
  run->add_option("--pattern", options->pattern, "the pattern of --import to load")->needs("--import");
  run->add_option("--book", options->book, "the book to start from (default: the first)")->needs("--import");
  run->add_option("--ini", options->ini, "settings file (default: the settings folder's ORL.INI)");
  run->add_option("--plc", options->plc, "sim, tcp:HOST:PORT or rtu:DEVICE (default: from the settings)");
  run->add_option("--tick-ms", options->tickMs, "milliseconds between scan ticks (default: ScanIntervalMs of the settings, 300)")
      ->check(CLI::Range(-1, 1'000'000));
  run->add_option("--max-ticks", options->maxTicks, "stop after this many ticks")->check(CLI::NonNegativeNumber);
  run->add_flag("--until-done", options->untilDone,
                "stop once the whole list is handed over and written (exit 2 when there is nothing to cut)");
  run->add_option("--timeout", options->timeoutSeconds,
                  "with --until-done: give up (exit 4) when no target was handed over for this many seconds; "
                  "0: wait for ever")
      ->check(CLI::NonNegativeNumber)
      ->needs("--until-done");
  run->add_flag("--json", options->json, "one JSON object per line");
  run->callback([options, &status] { RunCommandBody(status, [&] { return RunScan(*options); }); });
}

}  // namespace orl
