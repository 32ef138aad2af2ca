// Import throughput of each optimizer file kind on a generated file of
// 200,000 cut records, beside a plain line count of the same file (reading
// it line by line and doing nothing else). The counter "x_line_count" is the
// import time divided by the line count's; the aim is 10 or less, and at
// least 100 MB/s for CSV cut records. An Ardis pattern code line stands for
// a whole pattern (here twenty cuts), so that file has a twentieth of the
// lines of the others for as many cuts: its ratio is no match for theirs,
// and its cuts per second are what compare.
#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "saw/optimizer/optimizer_import.h"

namespace orl {
namespace {

constexpr int CutRecords = 200'000;
constexpr int CutsPerPattern = 20;

std::filesystem::path Folder() {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() / "orl-optimizer-bench";
    std::filesystem::create_directories(path);
    return path;
  }();
  return folder;
}

using Writer = std::function<void(std::ofstream&)>;

std::string Generate(const std::string& name, const Writer& write) {
  const auto path = Folder() / name;
  std::ofstream out(path, std::ios::binary);
  write(out);
  return name;
}

int Level(int i) { return 1 + (i % 7 == 0 ? 0 : i % 3); }

void WriteCsv(std::ofstream& out) {
  out << "SourceTag,PatNo,BoardDesc,BoardLen,BoardWid,TrimShort,TrimLong,EndTrimWid,EndTrimLen,PatSheets,BookMax,"
         "LoadLong,CutDim,CutLevel,CutQty,PartLabel,PartRef\r\n";
  for (int i = 0; i < CutRecords; ++i)
    out << "JOB17," << 1 + i / CutsPerPattern << ",MDF 18 white,2440,1220,10,12,0,0,8,3," << (i % 2 ? "L" : "S")
        << "," << 100 + i % 500 << "." << i % 10 << "," << Level(i) << ",1,Part " << i % 1000 << "," << i % 300
        << "\r\n";
}

void WritePtx(std::ofstream& out) {
  out << "HEADER,1,bench\r\nBOARDS,1,1,18,100,1220,2440,0,0,0\r\n";
  for (int p = 1; p <= CutRecords / CutsPerPattern; ++p) out << "PATTERNS," << p << ",1,1," << p % 2 << ",8,0,4\r\n";
  for (int i = 0; i < CutRecords; ++i)
    out << "CUTS," << i + 1 << "," << 1 + i / CutsPerPattern << "," << i % 300 << ",0," << Level(i) << ","
        << 100 + i % 500 << "-1/2," << 1 + i % 3 << "," << i % 1000 << ",part\r\n";
}

void WriteCpOut(std::ofstream& out) {
  out << "HDR1,bench\r\nINV1,1,MDF,18,2440,1220,10,12\r\nINV2,MDF 18 white\r\n";
  for (int o = 0; o < 100; ++o) out << "ORD3,4," << 1 + o * 4 << "\r\n";
  for (int p = 0; p < 400; ++p)
    out << "PRT1," << p + 1 << ",2,600,400,A,Part " << p << ",K1,white\r\nPRT5,cabinet " << p / 4 << "\r\n";
  for (int i = 0; i < CutRecords; ++i) {
    if (i % CutsPerPattern == 0) out << "PAT1,1," << (i % 40 ? "L" : "W") << ",4,2\r\n";
    out << "CUT1," << Level(i) << "," << 100 + i % 500 << ".5,1," << (i % 5 == 0 ? 0 : 1 + i % 100) << "\r\n";
  }
}

void WriteArdis(std::ofstream& out) {
  for (int p = 1; p <= 9; ++p) out << "PNL2,Part " << p << ",MDF," << 100 * p << "," << 50 * p << ",1,0,,,,,1,0,0,\r\n";
  out << "BRD2,MDF 18 white,1220,2440,100,0,0,MDF,,\r\n";
  // Each code gives 20 items over three levels.
  for (int i = 0; i < CutRecords / CutsPerPattern; ++i)
    out << "PTN2,1," << (i % 2 ? "!" : "") << "\r\nPTN3,1,2*3,3/4!,5*2,6/7,8,9*2+1*3/2,3*2 I " << i << " sheets\r\n";
}

// The baseline: every line read, nothing done with it.
std::size_t CountLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line;
  std::size_t lines = 0;
  while (std::getline(in, line)) ++lines;
  return lines;
}

// Processor time of this thread: the machine may be busy with other work,
// which should not count against either side of the comparison.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Seconds(const std::function<void()>& run) {
  const double start = ThreadSeconds();
  run();
  return ThreadSeconds() - start;
}

void BM_Import(benchmark::State& state, const std::string& name, const Writer& write) {
  static std::map<std::string, std::string> generated;
  if (!generated.count(name)) generated[name] = Generate(name, write);
  const std::string path = (Folder() / name).string();
  const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
  double baseline = 1e9;
  for (int i = 0; i < 3; ++i) baseline = std::min(baseline, Seconds([&] { benchmark::DoNotOptimize(CountLines(path)); }));

  double total = 0;
  std::size_t cuts = 0;
  for (auto _ : state) {
    // A fresh model each time: the time is the import's, not the clearing
    // of the file read before.
    auto model = std::make_unique<OptimizerModel>();
    const double seconds =
        Seconds([&] { ImportOptimizerFile(*model, Folder().string(), name, "C:\\Ardis\\data.ini"); });
    state.SetIterationTime(seconds);
    total += seconds;
    cuts = model->CutCount();
  }
  state.SetBytesProcessed(bytes * state.iterations());
  state.SetItemsProcessed(static_cast<std::int64_t>(cuts) * state.iterations());
  state.counters["cuts"] = static_cast<double>(cuts);
  state.counters["line_count_ms"] = baseline * 1000;
  state.counters["x_line_count"] = total / static_cast<double>(state.iterations()) / baseline;
}

BENCHMARK_CAPTURE(BM_Import, csv, std::string("bench.csv"), Writer(WriteCsv))->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, ptx, std::string("bench.ptx"), Writer(WritePtx))->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, cpout, std::string("CPOUT.001"), Writer(WriteCpOut))->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Import, ardis, std::string("bench.saw"), Writer(WriteArdis))->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LineCount(benchmark::State& state) {
  const std::string path = (Folder() / "bench.csv").string();
  if (!std::filesystem::exists(path)) Generate("bench.csv", WriteCsv);
  for (auto _ : state) benchmark::DoNotOptimize(CountLines(path));
  state.SetBytesProcessed(static_cast<std::int64_t>(std::filesystem::file_size(path)) * state.iterations());
}
BENCHMARK(BM_LineCount)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orl

BENCHMARK_MAIN();
