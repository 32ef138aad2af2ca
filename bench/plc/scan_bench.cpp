// One scan tick against the in-process simulated PLC, and Modbus round trips
// on loopback through ModbusLink against raw libmodbus calls in the same run.
#include <benchmark/benchmark.h>
#include <modbus.h>

#include <atomic>
#include <thread>

#include "saw/plc/modbus_link.h"
#include "saw/plc/register_map.h"
#include "saw/plc/scan_loop.h"
#include "saw/plc/sim_plc_link.h"
#include "saw/plc/sim_server.h"
#include "tests/fakes/fake_scan_host.h"

namespace orl {
namespace {

void BM_ScanTickInProcess(benchmark::State& benchState) {
  SimClock clock;
  SawSimConfig config;
  config.endPauseSeconds = 0.3;
  SimPlcLink link(config, clock);
  link.Open();
  testing::FakeScanHost host;
  host.list = testing::MakeTestList(40);
  PlcState state;
  for (auto _ : benchState) {
    ScanTick(state, link, host);
    clock.Advance(0.3);
  }
  benchState.counters["targets"] = static_cast<double>(link.Model().TargetsTaken().size());
}
BENCHMARK(BM_ScanTickInProcess);

// The simulated PLC served on loopback for the round-trip benchmarks.
class LoopbackServer {
 public:
  LoopbackServer() {
    std::string error;
    server_ = SimModbusServer::ListenTcp("127.0.0.1", 0, SawSimConfig{}, clock_, error);
    thread_ = std::thread([this] { server_->Serve(stop_); });
  }
  ~LoopbackServer() {
    stop_ = true;
    thread_.join();
  }
  int Port() const { return server_->Port(); }

 private:
  SteadyClock clock_;
  std::unique_ptr<SimModbusServer> server_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

LoopbackServer& Server() {
  static LoopbackServer server;
  return server;
}

void BM_ModbusLinkRead(benchmark::State& benchState) {
  ModbusLink link({"", "127.0.0.1", Server().Port(), 1, 1000});
  if (!link.Open()) benchState.SkipWithError("cannot connect");
  PlcWords2 words{};
  for (auto _ : benchState) {
    link.BeginTransfer();
    benchmark::DoNotOptimize(link.ReadWords(kRelayAddress, words, 2));
    link.EndTransfer();
  }
}
BENCHMARK(BM_ModbusLinkRead)->UseRealTime();

void BM_RawLibmodbusRead(benchmark::State& benchState) {
  modbus_t* ctx = modbus_new_tcp("127.0.0.1", Server().Port());
  modbus_set_response_timeout(ctx, 1, 0);
  if (modbus_connect(ctx) != 0) benchState.SkipWithError("cannot connect");
  std::uint16_t words[2];
  const int reg = ModbusRegister(kRelayAddress);
  for (auto _ : benchState) benchmark::DoNotOptimize(modbus_read_registers(ctx, reg, 2, words));
  modbus_close(ctx);
  modbus_free(ctx);
}
BENCHMARK(BM_RawLibmodbusRead)->UseRealTime();

void BM_ModbusLinkTargetBlock(benchmark::State& benchState) {
  ModbusLink link({"", "127.0.0.1", Server().Port(), 1, 1000});
  if (!link.Open()) benchState.SkipWithError("cannot connect");
  const PlcWords4 block = TargetBlock(13228, 1000);
  for (auto _ : benchState) benchmark::DoNotOptimize(link.WriteWords(kTargetAddress, block, 4));
}
BENCHMARK(BM_ModbusLinkTargetBlock)->UseRealTime();

void BM_RawLibmodbusTargetBlock(benchmark::State& benchState) {
  modbus_t* ctx = modbus_new_tcp("127.0.0.1", Server().Port());
  modbus_set_response_timeout(ctx, 1, 0);
  if (modbus_connect(ctx) != 0) benchState.SkipWithError("cannot connect");
  const std::uint16_t words[4] = {0x3228, 1, 0x1000, 0};
  const int reg = ModbusRegister(kTargetAddress);
  for (auto _ : benchState) benchmark::DoNotOptimize(modbus_write_registers(ctx, reg, 4, words));
  modbus_close(ctx);
  modbus_free(ctx);
}
BENCHMARK(BM_RawLibmodbusTargetBlock)->UseRealTime();

}  // namespace
}  // namespace orl

BENCHMARK_MAIN();
