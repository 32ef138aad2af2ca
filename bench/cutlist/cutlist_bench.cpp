// MakePositions on a full cut list and on one past the limit, and a
// cut-program load plus save.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "saw/cutlist/cut_list.h"
#include "saw/cutlist/cut_program_file.h"
#include "saw/cutlist/positions.h"
#include "saw/shell/machine_parameters.h"

namespace orl {
namespace {

// `groups` groups of cut rows with quantity 99 and a groove on every other
// row. A cut in the grid's last row ends the whole list, so the walk reaches
// every group only when that row stays empty; the load and save benchmark
// fills it too.
void FillList(CutList& cutList, int groups, int lastCutRow = kCutListRows - 1) {
  Setupcutlist(cutList);
  for (int group = 1; group <= groups; ++group) {
    const int p = PositionColumnOfGroup(group);
    cutList.grid.SetText(kTotalRow, p, "9999");
    for (int row = kFirstCutRow; row <= lastCutRow; ++row) {
      cutList.grid.SetText(row, p, "12.5");
      cutList.grid.SetText(row, p + kQtyOffset, "99");
      if (row % 2 == 0) cutList.grid.SetText(row, p + kGrooveOffset, "8");
    }
  }
  cutList.grid.SetBlockSelection(1, PositionColumnOfGroup(groups) + 1);
}

// Warm: the list of the tick before is rebuilt in its own room, as the scan
// loop rebuilds it while the PLC holds "Set To Beginning".
void BM_MakePositions(benchmark::State& state) {
  CutList cutList;
  FillList(cutList, static_cast<int>(state.range(0)));
  CellGrid macPar = MakeMacParGrid();
  macPar.SetText(kSawKerfRow, 1, "3.2");
  PosList positions;
  std::int32_t runningPos = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(BuildPositionList(cutList, macPar, true, runningPos, positions));
  }
  state.counters["entries"] = UpperBound(positions);
  state.SetComplexityN(UpperBound(positions));
}
// 33 groups is the full list (310,398 entries); the smaller ones show the
// cost grows linearly. Aim for the full list: under 5 ms.
BENCHMARK(BM_MakePositions)->Arg(4)->Arg(8)->Arg(16)->Arg(33)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// Cold: a new list each time, its memory fresh from the system. Aim for the
// full list: under 10 ms.
void BM_MakePositionsCold(benchmark::State& state) {
  CutList cutList;
  FillList(cutList, 33);
  CellGrid macPar = MakeMacParGrid();
  macPar.SetText(kSawKerfRow, 1, "3.2");
  std::int32_t runningPos = 0;
  std::size_t entries = 0;
  for (auto _ : state) {
    PosList positions;
    benchmark::DoNotOptimize(BuildPositionList(cutList, macPar, true, runningPos, positions));
    entries = positions.size() - 1;
  }
  state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_MakePositionsCold)->Unit(benchmark::kMillisecond);

// A list past the limit is refused before any entry is made; the scan loop
// repeats the refusal on every tick while the PLC holds "Set To Beginning",
// so it must stay well inside the window thread's share of a tick. Aim:
// under 1 ms.
void BM_MakePositionsRefused(benchmark::State& state) {
  CutList cutList;
  Setupcutlist(cutList);
  cutList.grid.SetText(kTotalRow, 1, "1000");
  cutList.grid.SetText(kFirstCutRow, 1, "500");
  cutList.grid.SetText(kFirstCutRow, 1 + kQtyOffset, "1");
  cutList.grid.SetText(kFirstCutRow, 1 + kGrooveOffset, "999");
  CellGrid macPar = MakeMacParGrid();
  macPar.SetText(kSawKerfRow, 1, "0.0001");  // ten million strokes
  PosList positions;
  std::int32_t runningPos = 0;
  bool tooLong = false;
  for (auto _ : state) {
    benchmark::DoNotOptimize(BuildPositionList(cutList, macPar, true, runningPos, positions, &tooLong));
  }
  if (!tooLong) state.SkipWithError("the list was not refused");
}
BENCHMARK(BM_MakePositionsRefused)->Unit(benchmark::kMicrosecond);

void BM_CutProgramLoadAndSave(benchmark::State& state) {
  CutList cutList;
  FillList(cutList, 33, kCutListRows);
  const std::string path = (std::filesystem::temp_directory_path() / "orl-bench-program").string();
  SaveCutProgramFile(path, cutList.grid);
  for (auto _ : state) {
    benchmark::DoNotOptimize(LoadCutProgramFile(path, cutList.grid));
    benchmark::DoNotOptimize(SaveCutProgramFile(path, cutList.grid));
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_CutProgramLoadAndSave)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orl

BENCHMARK_MAIN();
