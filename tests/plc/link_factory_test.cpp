// Which link the settings ask for, and the text a failed open yields.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "saw/plc/line_timing.h"
#include "saw/plc/link_factory.h"
#include "saw/plc/scan_transfer.h"
#include "saw/plc/sim_plc_link.h"

namespace orl {
namespace {

namespace fs = std::filesystem;

class PlcLinkChoice : public ::testing::Test {
 protected:
  ProfileFile Settings(const std::string& configuration) {
    std::ofstream(ini) << "[Configuration]\n" << configuration;
    return ProfileFile(ini);
  }
  void TearDown() override { fs::remove(ini); }
  fs::path ini = fs::temp_directory_path() / ("plc_link_" + std::to_string(::getpid()) + ".ini");
};

TEST_F(PlcLinkChoice, SerialByDefault) {
  const auto linkChoice = PlcLinkSpecFromSettings(Settings("CommPort=COM2\nBaudRate=19200\n"), false);
  EXPECT_EQ(linkChoice.kind, LinkKind::Rtu);
  EXPECT_EQ(linkChoice.portNumber, 1);
  EXPECT_EQ(linkChoice.settings, "19200,o,8,1");
  EXPECT_EQ(linkChoice.modbus.station, 1);
  EXPECT_EQ(linkChoice.modbus.timeoutMs, 100);
  EXPECT_EQ(SerialDeviceOfPort(3), "/dev/ttyS2");
}

TEST_F(PlcLinkChoice, HostStationTimeoutAndDevice) {
  auto linkChoice = PlcLinkSpecFromSettings(
      Settings("CommPort=3\nPlcHost=plc.local:1502\nPlcStation=7\nPlcTimeoutMs=250\nCommDevice=/dev/ttyUSB0\n"), false);
  EXPECT_EQ(linkChoice.kind, LinkKind::Tcp);
  EXPECT_EQ(linkChoice.modbus.host, "plc.local");
  EXPECT_EQ(linkChoice.modbus.tcpPort, 1502);
  EXPECT_EQ(linkChoice.modbus.station, 7);
  EXPECT_EQ(linkChoice.modbus.timeoutMs, 250);
  EXPECT_EQ(linkChoice.modbus.device, "/dev/ttyUSB0");
  EXPECT_EQ(linkChoice.portNumber, 3);

  linkChoice = PlcLinkSpecFromSettings(Settings("PlcHost=10.0.0.5\n"), false);
  EXPECT_EQ(linkChoice.modbus.tcpPort, 502);
  EXPECT_EQ(PlcLinkSpecFromSettings(Settings("PlcHost=10.0.0.5\nSimulate=1\n"), false).kind, LinkKind::Simulated);
  EXPECT_EQ(PlcLinkSpecFromSettings(Settings("PlcHost=10.0.0.5\n"), true).kind, LinkKind::Simulated);
}

TEST_F(PlcLinkChoice, AFailedOpenNamesThePort) {
  EXPECT_EQ(PortInUseText(1), "Comm Port1 is already in use.");
  PlcLinkSpec linkChoice;
  linkChoice.portNumber = 4;
  linkChoice.modbus.device = "/nonexistent/ttyPLC";
  SteadyClock clock;
  auto link = MakePlcLink(linkChoice, clock);
  EXPECT_EQ(link->Settings(), "9600,o,8,1");
  EXPECT_EQ(OpenPlcLink(*link), "Comm Port4 is already in use.");
  EXPECT_FALSE(link->LinkOpen());

  linkChoice.kind = LinkKind::Simulated;
  auto sim = MakePlcLink(linkChoice, clock);
  EXPECT_EQ(OpenPlcLink(*sim), std::nullopt);
  EXPECT_NE(dynamic_cast<SimPlcLink*>(sim.get()), nullptr);
}

TEST_F(PlcLinkChoice, AnInvalidPlcHostIsAnErrorNamingIt) {
  for (const std::string value : {":::", "plc:65536", "plc:", "[::1", "plc:0"}) {
    const auto linkChoice = PlcLinkSpecFromSettings(Settings("PlcHost=" + value + "\n"), false);
    EXPECT_EQ(linkChoice.kind, LinkKind::Tcp) << value;  // never the serial line
    EXPECT_EQ(linkChoice.invalidSetting, "PlcHost \"" + value + "\" is not a valid host[:port].");
  }
  auto linkChoice = PlcLinkSpecFromSettings(Settings("PlcHost=[::1]:1502\n"), false);
  EXPECT_EQ(linkChoice.invalidSetting, "");
  EXPECT_EQ(linkChoice.modbus.host, "::1");
  EXPECT_EQ(linkChoice.modbus.tcpPort, 1502);
  EXPECT_EQ(PlcLinkSpecFromSettings(Settings("PlcHost=::1\n"), false).modbus.host, "::1");
}

TEST_F(PlcLinkChoice, AFailedOpenSaysWhatFailedAndWhy) {
  SteadyClock clock;
  PlcLinkSpec linkChoice;
  linkChoice.kind = LinkKind::Tcp;
  linkChoice.modbus.host = "127.0.0.1";
  linkChoice.modbus.tcpPort = 1;  // nobody listens there
  auto link = MakePlcLink(linkChoice, clock);
  EXPECT_EQ(OpenPlcLink(*link), "The PLC at 127.0.0.1:1 cannot be reached.");
  EXPECT_EQ(link->LastError(), "connection refused by 127.0.0.1:1");

  linkChoice.modbus.host = "no-such-plc.invalid";
  link = MakePlcLink(linkChoice, clock);
  EXPECT_EQ(OpenPlcLink(*link), "The PLC at no-such-plc.invalid:1 cannot be reached.");
  EXPECT_EQ(link->LastError().rfind("no such host no-such-plc.invalid", 0), 0u) << link->LastError();

  linkChoice.kind = LinkKind::Rtu;
  linkChoice.modbus.device = "/nonexistent/ttyPLC";
  link = MakePlcLink(linkChoice, clock);
  EXPECT_EQ(OpenPlcLink(*link), "Comm Port1 is already in use.");  // the program's own text for a serial port
  EXPECT_EQ(link->LastError(), "no such device /nonexistent/ttyPLC");
}

// A register read of 2 words at 9600 baud 8O1 takes about 27.5 ms, a 4-word
// write about 37 ms; a tick is never set shorter than its transfers take.
TEST(LineTiming, ATickIsNeverShorterThanItsTransfersOnTheSerialLine) {
  const SerialLine slow{9600, 'O', 8, 1};
  EXPECT_NEAR(RtuTransactionMs(slow, kReadRequestBytes, ReadResponseBytes(2)), 27.5, 0.1);
  EXPECT_NEAR(RtuTransactionMs(slow, WriteManyRequestBytes(4), kWriteManyResponseBytes), 36.7, 0.1);
  EXPECT_NEAR(RtuTransactionMs({9600, 'N', 8, 1}, kReadRequestBytes, ReadResponseBytes(2)), 25.0, 0.1);

  const int readTick = ScanTickWireMs(slow, /*handOverInOneTick=*/false);
  EXPECT_GT(readTick, 6 * 27);  // the three images are each read at least twice
  EXPECT_LT(readTick, 300);     // the default interval carries it
  EXPECT_GT(ScanTickWireMs(slow, true), readTick + 37);
  EXPECT_EQ(ScanTickWireMs({38400, 'O', 8, 1}, false), (readTick + 3) / 4);
}

}  // namespace
}  // namespace orl
