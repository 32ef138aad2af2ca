// ModbusLink against Modbus peers: a pymodbus server nobody here wrote
// (exact registers and values), and the simulated PLC served over RTU
// through a socat pseudo-terminal pair (exclusive port). The whole cycle
// over TCP, with a PLC that freezes mid-run, runs in tool_test.cpp.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <random>
#include <thread>

#include "saw/plc/link_factory.h"
#include "saw/plc/read_plc.h"
#include "saw/plc/register_map.h"
#include "saw/plc/scan_loop.h"
#include "saw/plc/sim_server.h"
#include "tests/fakes/fake_scan_host.h"
#include "tests/plc/child_process.h"

namespace orl {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::FakeScanHost;

constexpr const char* kPython = "/usr/bin/python3";

SawSimConfig FastSaw() {
  SawSimConfig config;
  config.speed = 1e6;
  config.creepSpeed = 2e5;
  config.cutSeconds = 0.02;
  config.endPauseSeconds = 0.1;
  return config;
}

// The simulated PLC served on a thread.
struct ServedSim {
  explicit ServedSim(std::unique_ptr<SimModbusServer> served) : server(std::move(served)) {}
  ~ServedSim() { Finish(); }
  void Finish() {
    stop = true;
    if (thread.joinable()) thread.join();
  }
  SimModbusServer& Server() { return *server; }

  std::unique_ptr<SimModbusServer> server;
  std::atomic<bool> stop{false};
  std::thread thread{[this] { server->Serve(stop); }};
};

// The simulated PLC served over TCP on port (0: a free one).
std::unique_ptr<ServedSim> ServeTcp(int port, const Clock& clock) {
  std::string error;
  auto server = SimModbusServer::ListenTcp("127.0.0.1", port, FastSaw(), clock, error);
  EXPECT_TRUE(server) << error;
  return server ? std::make_unique<ServedSim>(std::move(server)) : nullptr;
}

std::size_t LinesHolding(const CommLog& log, const std::string& text) {
  return std::count_if(log.Lines().begin(), log.Lines().end(),
                       [&](const std::string& line) { return line.find(text) != std::string::npos; });
}

// The simulated PLC on TCP and a link to it.
struct PlcModbusTcp : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(sim);
    ASSERT_TRUE(link.Open()) << link.LastError();
  }
  SteadyClock clock;
  std::unique_ptr<ServedSim> sim = ServeTcp(0, clock);
  const int port = sim ? sim->Server().Port() : 0;
  ModbusLink link{{"", "127.0.0.1", port, 1, 200}};
  FakeScanHost host;
  PlcState state;
};

TEST_F(PlcModbusTcp, ARestartedPlcStartsOverAtEntryOne) {
  host.list = testing::ExampleBoardList(true);
  std::mt19937 random(12);
  std::vector<int> firstAfterRestart;
  bool restarted = false;
  std::uint64_t seen = 0;
  const auto end = std::chrono::steady_clock::now() + 60s;
  while (firstAfterRestart.size() < 4 && std::chrono::steady_clock::now() < end) {
    ScanTick(state, link, host);
    if (state.HandOvers != seen) {
      seen = state.HandOvers;
      if (restarted) {
        firstAfterRestart.push_back(state.LastHandOver.PosIndex);
        restarted = false;
      } else if (state.LastHandOver.PosIndex >= 2) {
        // The PLC restarts before the hand-over's words are written.
        sim.reset();
        std::this_thread::sleep_for(std::chrono::milliseconds(30 + random() % 51));
        sim = ServeTcp(port, clock);
        ASSERT_TRUE(sim);
        restarted = true;
      }
    }
    std::this_thread::sleep_for(3ms);
  }
  EXPECT_EQ(firstAfterRestart, std::vector<int>(4, 1));
}

TEST_F(PlcModbusTcp, ALostLinkIsLoggedOnceWithEachAttemptAndItsReturn) {
  state.log.MaxLogLen = 100;
  ScanTick(state, link, host);
  sim.reset();
  const auto tickFor = [&](auto duration, auto until) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end && !until()) {
      ScanTick(state, link, host);
      std::this_thread::sleep_for(20ms);
    }
  };
  tickFor(2500ms, [] { return false; });
  EXPECT_EQ(state.CmAtvty, kActivityNotAnswering);
  EXPECT_EQ(LinesHolding(state.log, kLogLinkLost), 1u);
  // Every attempt is counted on one line, once a second, not once a tick.
  ASSERT_EQ(LinesHolding(state.log, kLogReconnecting), 1u);
  const std::string& attempts = state.log.Lines().back();
  EXPECT_TRUE(attempts.ends_with(" (repeated 2 times)") || attempts.ends_with(" (repeated 3 times)")) << attempts;

  sim = ServeTcp(port, clock);
  ASSERT_TRUE(sim);
  tickFor(5s, [&] { return LinesHolding(state.log, kLogLinkBack) > 0; });
  EXPECT_EQ(LinesHolding(state.log, kLogLinkBack), 1u);
  EXPECT_EQ(LinesHolding(state.log, kLogLinkLost), 1u);
  EXPECT_EQ(state.CmAtvty, kActivityIdle);
}

TEST(PlcModbusPeer, WritesAndReadsTheExactRegisters) {
  ASSERT_TRUE(testing::ProgramExists(kPython)) << "no " << kPython;
  ChildProcess peer({kPython, PLC_TEST_SOURCE_DIR "/pymodbus_peer.py"});
  const auto portLine = peer.WaitFor("PORT ");
  // pymodbus's server needs python3-serial and python3-serial-asyncio too.
  ASSERT_TRUE(portLine) << "the pymodbus peer did not start under " << kPython;
  ModbusLink link({"", "127.0.0.1", std::stoi(portLine->substr(5)), 1, 500});
  // The peer names its port just before it starts listening.
  for (int i = 0; i < 100 && !link.Open(); ++i) std::this_thread::sleep_for(50ms);
  ASSERT_TRUE(link.LinkOpen()) << link.LastError();

  PlcState state;
  FakeScanHost host;
  state.TargetWrite = 13228;
  state.RelayWrite = 2;
  ScanTick(state, link, host);
  ScanTick(state, link, host);
  EXPECT_EQ(peer.WaitFor("WRITE"), "WRITE 16 1024 12840 1 4096 0");
  EXPECT_EQ(peer.WaitFor("WRITE"), "WRITE 6 16796 2");
  EXPECT_EQ(state.TargetWrite, -1);
  EXPECT_EQ(state.RelayWrite, kNothingPending);

  state.OutputWrite = 0x21;
  ScanTick(state, link, host);
  EXPECT_EQ(peer.WaitFor("WRITE"), "WRITE 6 16704 33");

  ScanTick(state, link, host);  // a read tick
  EXPECT_EQ(state.InputImage, 0x12);
  EXPECT_EQ(state.RelayImage, 2);
  EXPECT_EQ(state.OutputImage, 0x21);
  EXPECT_EQ(state.POS, "1322.8");
  EXPECT_EQ(state.Target, "1284.0");
}

// A socat pseudo-terminal pair in a private folder.
struct PlcModbusRtu : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(testing::ProgramExists("/usr/bin/socat")) << "no socat";
    fs::create_directories(folder);
    socat = std::make_unique<ChildProcess>(std::vector<std::string>{
        "/usr/bin/socat", "pty,raw,echo=0,link=" + A(), "pty,raw,echo=0,link=" + B()});
    for (int i = 0; i < 300 && !(fs::exists(A()) && fs::exists(B())); ++i) std::this_thread::sleep_for(10ms);
    ASSERT_TRUE(fs::exists(A()) && fs::exists(B()));
  }
  void TearDown() override {
    socat.reset();
    fs::remove_all(folder);
  }
  std::string A() const { return (folder / "a").string(); }
  std::string B() const { return (folder / "b").string(); }

  fs::path folder = fs::temp_directory_path() / ("plc_pty_" + std::to_string(::getpid()));
  std::unique_ptr<ChildProcess> socat;
};

TEST_F(PlcModbusRtu, RunsTheCycleThroughAPseudoTerminalPair) {
  SteadyClock clock;
  std::string error;
  auto server = SimModbusServer::OpenRtu(B(), "38400,o,8,1", 1, FastSaw(), clock, error);
  ASSERT_TRUE(server) << error;
  ServedSim sim(std::move(server));

  PlcLinkSpec linkChoice;
  linkChoice.settings = "38400,o,8,1";
  ASSERT_TRUE(ApplyPlcChoice("rtu:" + A(), linkChoice));
  auto link = MakePlcLink(linkChoice, clock);
  ASSERT_FALSE(OpenPlcLink(*link)) << link->LastError();
  FakeScanHost host;
  host.list = testing::ExampleBoardList(true);
  PlcState state;
  const auto end = std::chrono::steady_clock::now() + 30s;
  // A racy peek at the targets taken, only to stop early.
  while (std::chrono::steady_clock::now() < end && sim.Server().Model().TargetsTaken().size() < 4) {
    ScanTick(state, *link, host);
    std::this_thread::sleep_for(3ms);
  }
  sim.Finish();
  std::vector<std::int32_t> goals;
  for (const auto& t : sim.Server().Model().TargetsTaken()) goals.push_back(t.goal);
  ASSERT_GE(goals.size(), 4u);
  EXPECT_EQ(std::vector<std::int32_t>(goals.begin(), goals.begin() + 4),
            (std::vector<std::int32_t>{13228, 8196, 3164, 132}));
}

TEST_F(PlcModbusRtu, TheSerialPortIsHeldExclusively) {
  ModbusLink first({A(), "", 502, 1, 100});
  ASSERT_TRUE(first.Open()) << first.LastError();
  ModbusLink second({A(), "", 502, 1, 100});
  second.SetPortNumber(2);
  EXPECT_EQ(OpenPlcLink(second), "Comm Port2 is already in use.");
  first.Close();
  EXPECT_EQ(OpenPlcLink(second), std::nullopt);  // free again once closed
}

TEST_F(PlcModbusRtu, AGarbledAnswerFailsTheReadAndTheLineRecovers) {
  ModbusLink link({A(), "", 502, 1, 200});
  ASSERT_TRUE(link.Open()) << link.LastError();
  const int peer = open(B().c_str(), O_RDWR | O_NOCTTY);
  ASSERT_GE(peer, 0);
  std::thread garbler([peer] {
    pollfd p{peer, POLLIN, 0};
    char request[64];
    if (poll(&p, 1, 2000) <= 0 || read(peer, request, sizeof request) <= 0) return;
    const unsigned char junk[] = {0x01, 0x03, 0x04, 0xde, 0xad, 0xbe, 0xef, 0x00, 0x00};  // bad CRC
    (void)!write(peer, junk, sizeof junk);
  });
  PlcState state;
  state.log.MaxLogLen = 5;
  EXPECT_EQ(ReadPLC(link, state, 40400, false), -1);
  garbler.join();
  close(peer);
  ASSERT_EQ(state.log.Lines().size(), 1u);
  EXPECT_NE(state.log.Lines()[0].find("Read PLC"), std::string::npos);

  // A PLC that answers properly from now on is read at once.
  SteadyClock clock;
  std::string error;
  auto server = SimModbusServer::OpenRtu(B(), "9600,o,8,1", 1, FastSaw(), clock, error);
  ASSERT_TRUE(server) << error;
  ServedSim sim(std::move(server));
  link.BeginTransfer();
  EXPECT_EQ(ReadImage(link, state, kRelayAddress), 1);  // "Set To Beginning" raised at start
  link.EndTransfer();
}

TEST(PlcModbusSerialLine, UnsupportedSettingsAreRefused) {
  SerialLine line;
  EXPECT_TRUE(ParseSerialLine("9600,o,8,1", line));
  EXPECT_EQ(line.parity, 'O');
  EXPECT_FALSE(ParseSerialLine("14400,o,8,1", line));  // no such serial speed
  EXPECT_FALSE(ParseSerialLine("9600,x,8,1", line));

  ModbusLink link({"/dev/null", "", 502, 1, 100});
  link.SetSettings("14400,o,8,1");
  EXPECT_EQ(OpenPlcLink(link), "Comm Port1 is already in use.");
  EXPECT_NE(link.LastError().find("14400"), std::string::npos);
}

}  // namespace
}  // namespace orl
