// Single reads by Modbus address and by tag name, alone and while a driver
// thread stores blocks, a 100-register write, and a plain unordered_map lookup
// as the baseline the reads are measured against (reads: at most 4 times it).
// The Latency benchmarks time every read on its own and report the median,
// the 99.9th percentile and the worst read, alone and beside the driver.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "library_state.h"
#include "queldb/db.h"

namespace {

namespace fs = std::filesystem;

// A Modbus library with one tag, Speed at 1;40001, and 200 stored registers.
class BenchLibrary {
 public:
  BenchLibrary() {
    std::string pattern = (fs::temp_directory_path() / "tagdb-bench-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    std::ofstream(dir_ / "KVD.INI") << "[IOType]\nIODevice=Modbus\n";
    sqlite3* db = nullptr;
    sqlite3_open((dir_ / "Quelontrol.mdb").c_str(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE TagData (NAME TEXT, REG TEXT, REGAB TEXT, Scale REAL, \"Offset\" REAL, DataType TEXT);"
                 "INSERT INTO TagData VALUES ('Speed', '1;40001', '1;40001', 0.1, 0, 'ioScaledWord');",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    setenv("QUELDB_SYSTEM_DIR", dir_.c_str(), 1);
    queldb::ResetLibraryState();
    Write("40001", 200);
  }
  ~BenchLibrary() { fs::remove_all(dir_); }

  void Write(const char* address, int16_t count) {
    queldb::Variant where(address), values = queldb::Variant::Array(static_cast<std::size_t>(count));
    for (int16_t k = 1; k <= count; ++k) *values.Element(k) = queldb::Variant(k);
    int16_t numOfRegs = count, ioType = 0;
    int32_t fromStart = 1;
    db_.WriteToDatabase(where, values, numOfRegs, fromStart, ioType);
  }

  queldb::Db db_;

 private:
  fs::path dir_;
};

BenchLibrary& Library() {
  static BenchLibrary library;
  return library;
}

void ReadOne(benchmark::State& state, queldb::Variant address) {
  queldb::Db& db = Library().db_;
  queldb::Variant response;
  for (auto _ : state) {
    int16_t numOfRegs = 1, ioType = 0;
    int32_t ioIdx = 0;
    benchmark::DoNotOptimize(db.ReadPLCValue(address, response, numOfRegs, ioType, ioIdx));
    benchmark::DoNotOptimize(response);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_ReadPLCValueByModbusAddress(benchmark::State& state) { ReadOne(state, queldb::Variant("1;40050")); }
BENCHMARK(BM_ReadPLCValueByModbusAddress);

void BM_ReadPLCValueByPlainNumber(benchmark::State& state) { ReadOne(state, queldb::Variant(40050)); }
BENCHMARK(BM_ReadPLCValueByPlainNumber);

void BM_ReadPLCValueByTagName(benchmark::State& state) { ReadOne(state, queldb::Variant("Speed")); }
BENCHMARK(BM_ReadPLCValueByTagName);

// Runs measure() while a driver thread stores 100-register blocks without
// pause, and reports how many blocks it stored per second.
template <typename Measure>
void WithDriver(benchmark::State& state, Measure measure) {
  std::atomic<bool> driving = true;
  std::atomic<int64_t> writes = 0;
  std::thread driver([&] {
    for (; driving; writes.fetch_add(1, std::memory_order_relaxed)) Library().Write("40001", 100);
  });
  measure();
  driving = false;
  driver.join();
  state.counters["driver_writes"] = benchmark::Counter(static_cast<double>(writes), benchmark::Counter::kIsRate);
}

// A reader must never queue behind the driver: at least 5 M reads/s.
void BM_ReadPLCValueWhileDriverWrites(benchmark::State& state) {
  WithDriver(state, [&] { ReadOne(state, queldb::Variant("1;40050")); });
}
BENCHMARK(BM_ReadPLCValueWhileDriverWrites)->UseRealTime();

// Times each read of 1;40050 and reports median, p99.9 and max in ns.
void ReadLatency(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  queldb::Db& db = Library().db_;
  const queldb::Variant address("1;40050");
  queldb::Variant response;
  std::vector<int64_t> nanos;
  nanos.reserve(1 << 24);
  for (auto _ : state) {
    int16_t numOfRegs = 1, ioType = 0;
    int32_t ioIdx = 0;
    queldb::Variant where = address;
    const auto start = Clock::now();
    benchmark::DoNotOptimize(db.ReadPLCValue(where, response, numOfRegs, ioType, ioIdx));
    nanos.push_back(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
  }
  std::sort(nanos.begin(), nanos.end());
  auto at = [&](double fraction) {
    return static_cast<double>(nanos[std::min(nanos.size() - 1, static_cast<std::size_t>(fraction * nanos.size()))]);
  };
  state.counters["median_ns"] = at(0.5);
  state.counters["p99.9_ns"] = at(0.999);
  state.counters["max_ns"] = static_cast<double>(nanos.back());
  state.SetItemsProcessed(state.iterations());
}

void BM_ReadLatencyAlone(benchmark::State& state) { ReadLatency(state); }
BENCHMARK(BM_ReadLatencyAlone)->UseRealTime()->MinTime(2.0);

// A reader waits at most 5 us at p99.9 while the driver writes.
void BM_ReadLatencyWhileDriverWrites(benchmark::State& state) {
  WithDriver(state, [&] { ReadLatency(state); });
}
BENCHMARK(BM_ReadLatencyWhileDriverWrites)->UseRealTime()->MinTime(2.0);

void BM_WriteToDatabase100Registers(benchmark::State& state) {
  BenchLibrary& library = Library();
  queldb::Variant values = queldb::Variant::Array(100);
  for (int k = 1; k <= 100; ++k) *values.Element(k) = queldb::Variant(k);
  for (auto _ : state) {
    queldb::Variant address("1;40001");
    int16_t numOfRegs = 100, ioType = 0;
    int32_t fromStart = 1;
    library.db_.WriteToDatabase(address, values, numOfRegs, fromStart, ioType);
  }
  state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_WriteToDatabase100Registers);

// What a bare keyed lookup of one stored number costs.
void BM_UnorderedMapBaseline(benchmark::State& state) {
  std::unordered_map<std::string, double> values;
  for (int reg = 40001; reg <= 40200; ++reg) values["1;" + std::to_string(reg)] = reg;
  const std::string key = "1;40050";
  for (auto _ : state) {
    benchmark::DoNotOptimize(values.find(key)->second);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_UnorderedMapBaseline);

}  // namespace

BENCHMARK_MAIN();
