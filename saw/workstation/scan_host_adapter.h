#pragma once
// The scan loop's view of the workstation: the cut list, the book buttons
// and the parameter grids.
#include "saw/plc/scan_host.h"
#include "saw/workstation/workstation.h"

namespace orl {

class ScanHostAdapter final : public ScanHost {
 public:
  explicit ScanHostAdapter(Workstation& workstation) : ws_(workstation) {}

  bool MakePositions(PosList& positions) override { return ws_.MakePositions(positions); }
  void SetCurrentCell(int row, int column) override { ws_.cutList_.grid.SetActiveCell(row, column); }
  void HiLiteCell(int row, int column) override { ws_.HiLite(row, column); }
  void SetProgrammingDisabled(bool disabled) override { ws_.SetProgrammingDisabled(disabled); }
  int SelectedBook() override;
  void AdvBooks() override;
  std::optional<std::string> BookLabel(int row, int group, int book) override;
  const CellGrid& MacPar() override { return ws_.MacPar_; }
  std::string LabelFilePath() override { return ws_.PthPar_.Text(kPrintPathRow, kPathColumn); }
  bool RecordsCaughtUp() override { return ws_.recording_.CaughtUp(); }

 private:
  Workstation& ws_;
};

}  // namespace orl
