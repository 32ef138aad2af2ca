// Import throughput of each optimizer file kind on a generated file of
// 200,000 cut records, beside a plain line count of the same file (reading
// it line by line and doing nothing else). The counter "x_line_count" is the
// import time divided by the line count's; the aim is 10 or less, and at
// least 100 MB/s for CSV cut records. An Ardis pattern code line stands for
// a whole pattern (here twenty cuts), so that file has a twentieth of the
// lines of the others for as many cuts: its ratio is no match for theirs,
// and its cuts per second are what compare.
//
// BM_ImportPeak: the import's peak memory against the file's size (aim: 10
// or less for every kind). It is the peak resident size (getrusage's
// ru_maxrss) of a fresh process that imports the file, less its resident
// size before the import: what the machine really holds, allocator overhead
// and every buffer included, while room reserved ahead and never filled
// costs nothing, as it costs the program nothing. A counting allocator
// would charge that room and miss the rest. Each kind runs in a process of
// its own because a process's peak never comes down.
//
// BM_ToolImport: `orl-tool import FILE` and `orl-tool import FILE --json`
// as processes writing to /dev/null, their processor time (user and
// system) in medians over the runs; "x_plain" is the JSON output's median
// over the plain one's (aim: 2 or less).
#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

void Generate(const std::string& name, const Writer& write) {
  std::ofstream out(Folder() / name, std::ios::binary);
  write(out);
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

struct Kind {
  const char* name;
  const char* file;
  Writer write;
};
const Kind Kinds[] = {{"csv", "bench.csv", WriteCsv},
                      {"ptx", "bench.ptx", WritePtx},
                      {"cpout", "CPOUT.001", WriteCpOut},
                      {"ardis", "bench.saw", WriteArdis}};

std::string Generated(const Kind& kind) {
  static std::map<std::string, bool> generated;
  if (!generated[kind.file]) Generate(kind.file, kind.write);
  generated[kind.file] = true;
  return (Folder() / kind.file).string();
}

void BM_Import(benchmark::State& state, const Kind& kind) {
  const std::string name = kind.file;
  const std::string path = Generated(kind);
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

// Resident kilobytes now ("VmRSS") from /proc/self/status.
long ResidentKb() {
  FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  long kb = 0;
  while (std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmRSS: %ld kB", &kb) == 1) break;
  std::fclose(status);
  return kb;
}

constexpr const char* PeakChildFlag = "--import-peak";

// In the child: imports `name` and prints the resident kilobytes before the
// import and the peak after it.
int ImportPeakChild(const std::string& name) {
  auto model = std::make_unique<OptimizerModel>();
  const long before = ResidentKb();
  ImportOptimizerFile(*model, Folder().string(), name, "C:\\Ardis\\data.ini");
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%ld %ld %zu\n", before, usage.ru_maxrss, model->CutCount());
  return 0;
}

std::string SelfPath() { return std::filesystem::read_symlink("/proc/self/exe").string(); }

void BM_ImportPeak(benchmark::State& state, const Kind& kind) {
  const std::string path = Generated(kind);
  const double bytes = static_cast<double>(std::filesystem::file_size(path));
  long before = 0, peak = 0;
  std::size_t cuts = 0;
  for (auto _ : state) {
    FILE* child = ::popen((SelfPath() + " " + PeakChildFlag + " " + kind.file).c_str(), "r");
    if (!child || std::fscanf(child, "%ld %ld %zu", &before, &peak, &cuts) != 3) state.SkipWithError("no child");
    if (child) ::pclose(child);
  }
  state.counters["file_MB"] = bytes / 1e6;
  state.counters["peak_MB"] = static_cast<double>(peak - before) * 1024 / 1e6;
  state.counters["peak_x_file"] = static_cast<double>(peak - before) * 1024 / bytes;
  state.counters["cuts"] = static_cast<double>(cuts);
}

#ifdef ORL_TOOL_PATH
// Processor seconds (user and system) of `orl-tool import` on the file, its
// output thrown away.
double ToolSeconds(const std::string& path, bool json) {
  const std::string ini = (Folder() / "ORL.INI").string();
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr)) ::_exit(127);
    ::execl(ORL_TOOL_PATH, ORL_TOOL_PATH, "import", path.c_str(), "--ini", ini.c_str(), json ? "--json" : nullptr,
            nullptr);
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

void BM_ToolImport(benchmark::State& state, const Kind& kind) {
  const std::string path = Generated(kind);
  std::ofstream(Folder() / "ORL.INI") << "[Configuration]\nSawKerf=3.2\n[System]\nJobPath=.\nProgramPath=.\nArdisPath=C:\\Ardis\\data.ini\n";
  std::vector<double> plain, json;
  for (auto _ : state) {
    plain.push_back(ToolSeconds(path, false));
    json.push_back(ToolSeconds(path, true));
    if (plain.back() < 0 || json.back() < 0) state.SkipWithError("orl-tool failed");
    state.SetIterationTime(json.back());
  }
  state.counters["plain_ms"] = Median(plain) * 1000;
  state.counters["json_ms"] = Median(json) * 1000;
  state.counters["x_plain"] = Median(json) / Median(plain);
}
#endif

void RegisterKinds() {
  for (const Kind& kind : Kinds) {
    benchmark::RegisterBenchmark((std::string("BM_Import/") + kind.name).c_str(),
                                 [&kind](benchmark::State& state) { BM_Import(state, kind); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  for (const Kind& kind : Kinds)
    benchmark::RegisterBenchmark((std::string("BM_ImportPeak/") + kind.name).c_str(),
                                 [&kind](benchmark::State& state) { BM_ImportPeak(state, kind); })
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
#ifdef ORL_TOOL_PATH
  for (const Kind& kind : Kinds)
    benchmark::RegisterBenchmark((std::string("BM_ToolImport/") + kind.name).c_str(),
                                 [&kind](benchmark::State& state) { BM_ToolImport(state, kind); })
        ->Iterations(5)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
#endif
}

void BM_LineCount(benchmark::State& state) {
  const std::string path = Generated(Kinds[0]);
  for (auto _ : state) benchmark::DoNotOptimize(CountLines(path));
  state.SetBytesProcessed(static_cast<std::int64_t>(std::filesystem::file_size(path)) * state.iterations());
}
BENCHMARK(BM_LineCount)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orl

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], orl::PeakChildFlag) == 0) return orl::ImportPeakChild(argv[2]);
  orl::RegisterKinds();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
