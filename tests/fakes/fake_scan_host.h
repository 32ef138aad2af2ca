#pragma once
// A ScanHost that serves a fixed target list and records what the scan
// loop asked of the rest of the program.
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "saw/plc/scan_host.h"
#include "saw/shell/machine_parameters.h"

namespace orl::testing {

class FakeScanHost : public ScanHost {
 public:
  PosList list = EmptyPosList();  // what MakePositions produces
  bool makeResult = true;
  int makeCalls = 0;
  std::vector<std::pair<int, int>> highlights;
  std::vector<std::pair<int, int>> currentCells;
  std::vector<bool> programmingDisabled;
  int selectedBook = 1;
  int advBooksCalls = 0;
  std::map<std::tuple<int, int, int>, std::string> bookLabels;  // (row, group, book)
  CellGrid macPar = MakeMacParGrid();
  std::string labelPath;
  bool labelDiskFull = false;  // label lines fail as on a full disk
  std::vector<std::string> labelLinesTried;

  bool MakePositions(PosList& positions) override {
    ++makeCalls;
    positions = list;
    return makeResult;
  }
  void SetCurrentCell(int row, int column) override { currentCells.emplace_back(row, column); }
  void HiLiteCell(int row, int column) override { highlights.emplace_back(row, column); }
  void SetProgrammingDisabled(bool disabled) override { programmingDisabled.push_back(disabled); }
  int SelectedBook() override { return selectedBook; }
  void AdvBooks() override { ++advBooksCalls; }
  std::optional<std::string> BookLabel(int row, int group, int book) override {
    auto it = bookLabels.find({row, group, book});
    if (it == bookLabels.end()) return std::nullopt;
    return it->second;
  }
  const CellGrid& MacPar() override { return macPar; }
  std::string LabelFilePath() override { return labelPath; }
  bool AppendLabelLine(const std::string& path, const std::string& label) override {
    labelLinesTried.push_back(label);
    return !labelDiskFull && ScanHost::AppendLabelLine(path, label);
  }
};

// A list of n cut entries after the placeholder; entry k targets 1000 * k
// at cell (2 + k, 1), the first one a board's head.
inline PosList MakeTestList(int n) {
  PosList list = EmptyPosList();
  for (int k = 1; k <= n; ++k) list.push_back({1000 * k, 2 + k, 1, k == 1, false});
  return list;
}

// Board of 1319.6 with kerf 3.2: 500 x 2 and 300 x 1.
inline PosList ExampleBoardList(bool absolute) {
  PosList list = EmptyPosList();
  list.push_back({13228, 3, 1, true, false});
  list.push_back({absolute ? 8196 : 5032, 4, 1, false, false});
  list.push_back({absolute ? 3164 : 5032, 4, 1, false, false});
  list.push_back({absolute ? 132 : 3032, 5, 1, false, false});
  return list;
}

}  // namespace orl::testing
