// orl-tool run and sim end to end: the example program handed over in
// order against the built-in simulator and against `orl-tool sim` in
// another process, the port-in-use exit, and mbpoll (a Modbus client nobody
// here wrote) polling `orl-tool sim --rtu` through a socat pair.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "tests/plc/child_process.h"

namespace orl {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ChildProcess;

const std::string kTool = ORL_TOOL_PATH;
const std::string kExamples = ORL_EXAMPLES_DIR;

std::vector<nlohmann::ordered_json> JsonLines(ChildProcess& child) {
  std::vector<nlohmann::ordered_json> lines;
  while (auto line = child.ReadLine(20s)) lines.push_back(nlohmann::ordered_json::parse(*line));
  return lines;
}

// The targets `plan` makes of a program, in order.
std::vector<int> PlannedTargets(const std::string& program) {
  ChildProcess plan({kTool, "plan", kExamples + "/Programs/" + program, "--ini", kExamples + "/ORL.INI", "--json"});
  std::vector<int> targets;
  if (auto line = plan.ReadLine(20s)) {
    const auto planned = nlohmann::json::parse(*line);
    for (const auto& e : planned["entries"]) targets.push_back(e["Target"]);
  }
  return targets;
}

std::vector<int> HandedOver(const std::vector<nlohmann::ordered_json>& lines) {
  std::vector<int> targets;
  for (const auto& line : lines)
    if (line.contains("Target")) targets.push_back(line["Target"]);
  return targets;
}

std::vector<std::string> RunArgs(const std::string& program, const std::string& plc) {
  return {kTool, "run", kExamples + "/Programs/" + program, "--ini", kExamples + "/ORL.INI", "--plc", plc,
          "--tick-ms", plc == "sim" ? "0" : "5", "--until-done", "--max-ticks", "20000", "--json"};
}

// The port a served simulator says it listens on; empty when it never says.
std::string ListeningPort(ChildProcess& sim) {
  constexpr std::string_view kListening = "listening on tcp port ";
  const auto listening = sim.WaitFor(std::string(kListening));
  return listening ? listening->substr(kListening.size()) : std::string();
}

TEST(PlcTool, RunHandsOverTheWholeProgramToTheBuiltInSimulator) {
  for (const char* program : {"metric-example", "kitchen-groups"}) {
    ChildProcess run(RunArgs(program, "sim"));
    const auto lines = JsonLines(run);
    EXPECT_EQ(run.Wait(10s), 0);
    const auto planned = PlannedTargets(program);
    ASSERT_FALSE(planned.empty());
    // Entry 1 of the list is the board's head, handed over first.
    EXPECT_EQ(HandedOver(lines), planned) << program;
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back()["LastCut"], true);
    EXPECT_EQ(lines.front()["PosIndex"], 1);
    EXPECT_EQ(lines.front().begin().key(), "tick");
  }
}

TEST(PlcTool, RunHandsOverTheProgramToTheSimulatorInAnotherProcess) {
  ChildProcess sim({kTool, "sim", "--tcp", "127.0.0.1:0", "--speed", "500000", "--creep-speed", "100000",
                    "--cut-ms", "10", "--pause-ms", "100"});
  const std::string port = ListeningPort(sim);
  ASSERT_FALSE(port.empty());
  ChildProcess run(RunArgs("metric-example", "tcp:127.0.0.1:" + port));
  const auto lines = JsonLines(run);
  EXPECT_EQ(run.Wait(10s), 0);
  EXPECT_EQ(HandedOver(lines), PlannedTargets("metric-example"));
}

TEST(PlcTool, ASimulatorThatStopsAnsweringMidRunLosesAndRepeatsNothing) {
  ChildProcess sim({kTool, "sim", "--tcp", "127.0.0.1:0", "--speed", "200000", "--creep-speed", "50000",
                    "--cut-ms", "20", "--pause-ms", "100"});
  const std::string port = ListeningPort(sim);
  ASSERT_FALSE(port.empty());
  ChildProcess run(RunArgs("kitchen-groups", "tcp:127.0.0.1:" + port));
  std::vector<nlohmann::ordered_json> lines;
  bool logged = false;
  // Freeze the simulator twice in the middle of the run, then let it go on.
  for (int pause = 0; pause < 2; ++pause) {
    for (int i = 0; i < 4; ++i)
      if (auto line = run.ReadLine(20s)) lines.push_back(nlohmann::ordered_json::parse(*line));
    sim.Signal(SIGSTOP);
    std::this_thread::sleep_for(700ms);
    sim.Signal(SIGCONT);
  }
  for (auto& line : JsonLines(run)) lines.push_back(line);
  for (const auto& line : lines) logged = logged || line.contains("log");
  EXPECT_EQ(run.Wait(10s), 0);
  EXPECT_TRUE(logged);
  EXPECT_EQ(HandedOver(lines), PlannedTargets("kitchen-groups"));
}

TEST(PlcTool, APortThatCannotBeOpenedEndsWithStatus3) {
  ChildProcess run({kTool, "run", kExamples + "/Programs/metric-example", "--ini", kExamples + "/ORL.INI", "--plc",
                    "rtu:/nonexistent/ttyPLC", "--max-ticks", "1"},
                   true);
  EXPECT_EQ(run.ReadLine(20s), "orl-tool: Alert Comm Port1 is already in use.");
  EXPECT_EQ(run.ReadLine(20s), "orl-tool: no such device /nonexistent/ttyPLC");
  EXPECT_EQ(run.Wait(10s), 3);
}

TEST(PlcTool, MbpollTalksToTheSimulatorOverRtu) {
  ASSERT_TRUE(testing::ProgramExists("/usr/bin/socat") && testing::ProgramExists("/usr/bin/mbpoll"))
      << "socat or mbpoll missing";
  const fs::path folder = fs::temp_directory_path() / ("plc_mbpoll_" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string a = (folder / "a").string(), b = (folder / "b").string();
  {
    ChildProcess socat({"/usr/bin/socat", "pty,raw,echo=0,link=" + a, "pty,raw,echo=0,link=" + b});
    for (int i = 0; i < 300 && !(fs::exists(a) && fs::exists(b)); ++i) std::this_thread::sleep_for(10ms);
    ChildProcess sim({kTool, "sim", "--rtu", b, "--baud", "19200", "--speed", "1000000", "--creep-speed", "1000000"});
    ASSERT_TRUE(sim.WaitFor("serving station 1"));
    // mbpoll at 19200 baud, odd parity, station 1, register numbers from 0;
    // with a value it writes instead of reading.
    const auto mbpoll = [&](const std::string& reg, const std::string& value = "") {
      std::vector<std::string> args{"/usr/bin/mbpoll", "-m", "rtu", "-b", "19200", "-P", "odd", "-a", "1", "-0", "-1",
                                    "-r", reg, a};
      if (!value.empty()) args.push_back(value);
      return args;
    };
    // The simulator starts a run with "Set To Beginning" (relay 700, bit 0).
    ChildProcess relays(mbpoll("16796"));
    EXPECT_EQ(relays.WaitFor("[16796]:"), "[16796]: \t1");
    // A target of 123.4 mm in BCD, then relay 700 cleared: the pusher goes there.
    ChildProcess write(mbpoll("1024", "4660"));
    EXPECT_TRUE(write.WaitFor("Written 1 references"));
    ChildProcess start(mbpoll("16796", "0"));
    EXPECT_TRUE(start.WaitFor("Written 1 references"));
    std::optional<std::string> position;
    for (int i = 0; i < 50 && position != "[574]: \t1234"; ++i) {
      std::this_thread::sleep_for(100ms);
      ChildProcess poll(mbpoll("574"));
      position = poll.WaitFor("[574]:");
    }
    EXPECT_EQ(position, "[574]: \t1234");
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace orl
