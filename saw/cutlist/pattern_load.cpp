// Loading a pattern into the cut list.
#include "saw/cutlist/pattern_load.h"

#include "saw/cutlist/cell_text.h"
#include "saw/cutlist/cut_list_editing.h"
#include "saw/optimizer/books.h"
#include "saw/optimizer/eval_number.h"
#include "saw/optimizer/pattern_preview.h"
#include "saw/shell/number_text.h"

namespace orl {
namespace {

constexpr const char* kDescHead = "Pattern Number: ";
constexpr const char* kDescFrom = " From: ";
constexpr const char* kDescSize = " X ";
constexpr const char* kLineEnd = "\r\n";
constexpr const char* kLoadLong = "       Load LONG";
constexpr const char* kLoadShort = "        Load SHORT";
constexpr const char* kTooLargeHead = "This pattern does not fit the cut list (";
constexpr const char* kTooLargeTail = " of 48 cuts). Only the cuts that fit were loaded.";
// Boards narrower than this are taken to be measured in inches.
constexpr float kInchBoardWidth = 200;
constexpr int kLoadedLevels = 10;

// Three lines: pattern and file, board description, board size and load.
// Only the board description is shortened, so the size and the load
// direction always fit the description cell.
std::string Description(const PatCut& cut, const std::string& fileName) {
  const std::string head = kDescHead + std::to_string(cut.PatNo) + kDescFrom + fileName + kLineEnd;
  const std::string size = kLineEnd + PlainNumberText(cut.BoardLen) + kDescSize + PlainNumberText(cut.BoardWid) +
                           (cut.LoadLong ? kLoadLong : kLoadShort);
  const std::size_t fixed = head.size() + size.size();
  const std::size_t room = fixed < kMaxCellTextLength ? kMaxCellTextLength - fixed : 0;
  return head + std::string(Utf8Prefix(cut.BoardDesc, room)) + size;
}

std::string PatternKey(const PatCut& cut, const OptimizerView& view) {
  return std::to_string(cut.PatNo) + "," + view.Dir1Folder + "," + view.File2FileName + "," +
         std::to_string(view.File2ListIndex);
}

void ShowBooks(const OptimizerModel& model, OptimizerView& view, int pattern) {
  const bool hasBooks = model.PatBooks.size() > 1 && pattern >= 0 &&
                        static_cast<std::size_t>(pattern) < model.PatBooks.size() &&
                        model.PatBooks[pattern].size() > 1;
  view.FrameBooksVisible = hasBooks;
  if (!hasBooks) return;
  for (OptionButton& button : view.Bks) button.Visible = false;
  const auto& sheets = model.PatBooks[pattern];
  for (std::size_t k = 1; k < sheets.size() && k <= view.Bks.size(); ++k) {
    view.Bks[k - 1].Caption = std::to_string(sheets[k]);
    view.Bks[k - 1].Visible = true;
  }
  SelectBook(view, 0);
}

// The placement of the pattern's cuts into groups, level by level.
class Placement {
 public:
  Placement(PatternLoadContext& context, OptimizerModel& model, OptimizerView& view, CutBookLabels& labels)
      : context_(context), model_(model), view_(view), labels_(labels) {}

  void Run(std::span<PatCut> cuts) {
    for (int level = 1; level <= kLoadedLevels; ++level) {
      row_ = kFirstCutRow;
      for (PatCut& cut : cuts) {
        Visit(cut, level);
        if (prevCol_ < col_) ComputeColumn(context_.cutList, context_.macPar, prevCol_, trimOverride_);
        prevCol_ = col_;
      }
    }
    ComputeColumn(context_.cutList, context_.macPar, prevCol_, trimOverride_);
  }

  bool Overflowed() const { return overflowed_; }

 private:
  void Visit(PatCut& cut, int level) {
    if (cut.CutLevel == level) {
      if (level == 1 && row_ == kFirstCutRow && !boardSeen_) StartBoard(cut);
      Place(cut, level);
    } else if (cut.CutLevel < lastLevel_ && level > 1 && level == lastLevel_ && level + off_ == lastGroup_) {
      row_ = kFirstCutRow;  // a lower cut ends this run: the next level cuts open a new group
      ++off_;
    }
  }

  void StartBoard(const PatCut& cut) {
    boardSeen_ = true;
    DescChanged(context_.cutList, Description(cut, view_.File2FileName));
    model_.LoadedPatternKey = PatternKey(cut, view_);
    // The board's size tells its unit; the list takes it either way.
    const int unit = cut.BoardWid < kInchBoardWidth ? kInch : kMetric;
    if (unit != context_.cutList.Units) SelectUnits(context_.cutList, unit);
    trimOverride_ = cut.LoadLong ? cut.TrimLong : cut.TrimShort;
  }

  void Place(PatCut& cut, int level) {
    const int group = level + off_;
    // The list may be limited to its first group (FirstColOnly).
    if (group <= GroupsOf(context_.cutList.grid) && row_ <= kCutListRows) {
      col_ = PositionColumnOfGroup(group);
      cut.SeqStep = ToInt16(group);
      CellGrid& grid = context_.cutList.grid;
      SetCellText(grid, row_, col_, PlainNumberText(cut.CutDim));
      SetCellText(grid, row_, col_ + kQtyOffset, std::to_string(cut.CutQty));
      SetCellText(grid, kTotalRow, col_ + kQtyOffset, std::to_string(level));
      labels_.Set(row_, group, cut.PartLabel, cut.BookLabels);
    } else {
      overflowed_ = true;  // beyond the grid: not written
    }
    ++row_;
    lastLevel_ = level;
    lastGroup_ = group;
  }

  PatternLoadContext& context_;
  OptimizerModel& model_;
  OptimizerView& view_;
  CutBookLabels& labels_;
  int row_ = kFirstCutRow, off_ = 0, lastLevel_ = 1, lastGroup_ = 0, prevCol_ = 0, col_ = 0;
  float trimOverride_ = 0;
  bool boardSeen_ = false;
  bool overflowed_ = false;
};

// Groups left without a total received no cut; the later groups close up,
// and the book labels and cut-sequence steps of their cuts move with them.
void DeleteEmptyGroups(CellGrid& grid, CutBookLabels& labels, std::span<PatCut> cuts) {
  int last = 0;
  for (int group = 1; group <= kCutListGroups; ++group)
    if (!grid.Text(kTotalRow, PositionColumnOfGroup(group)).empty()) last = group;
  for (int group = last; group >= 1; --group) {
    if (!grid.Text(kTotalRow, PositionColumnOfGroup(group)).empty()) continue;
    DeleteCutGroup(grid, group);
    labels.DeleteGroup(group);
    for (PatCut& cut : cuts)
      if (cut.SeqStep > group) --cut.SeqStep;
  }
}

// The selected pattern's records, from its first one while the number holds:
// a copy to place, whose cut-sequence steps are then written back.
struct PatternCopy {
  std::size_t first = 0;
  std::vector<PatCut> cuts;

  void WriteStepsBack(PatCutList& patCuts) const {
    for (std::size_t k = 0; k < cuts.size(); ++k) patCuts.SetSeqStep(first + k, cuts[k].SeqStep);
  }
};

PatternCopy PatternCuts(const OptimizerModel& model, std::int16_t pattern) {
  PatternCopy copy;
  copy.first = model.CurPatFirst < 1 ? model.PatCuts.size() : static_cast<std::size_t>(model.CurPatFirst);
  for (std::size_t i = copy.first; i < model.PatCuts.size() && model.PatCuts.PatNo(i) == pattern; ++i)
    copy.cuts.push_back(model.PatCuts[i]);
  return copy;
}

}  // namespace

CutBookLabels::CutBookLabels()
    : cells_((kCutListRows + 1) * (kCutListGroups + 1)), parts_((kCutListRows + 1) * (kCutListGroups + 1)) {}

void CutBookLabels::Clear() {
  for (auto& cell : cells_) cell.clear();
  for (auto& part : parts_) part.clear();
}

void CutBookLabels::Set(int row, int group, std::string_view partLabel, std::span<const std::string_view> bookLabels) {
  if (row < 1 || row > kCutListRows || group < 1 || group > kCutListGroups) return;
  const int index = row * (kCutListGroups + 1) + group;
  std::vector<std::string>& cell = cells_[index];
  cell.assign(bookLabels.size(), std::string());
  for (std::size_t b = 1; b < bookLabels.size(); ++b) cell[b].assign(bookLabels[b]);
  parts_[index].assign(partLabel);
}

std::string CutBookLabels::PartLabel(int row, int group) const {
  if (row < 1 || row > kCutListRows || group < 1 || group > kCutListGroups) return {};
  return parts_[row * (kCutListGroups + 1) + group];
}

const std::vector<std::string>* CutBookLabels::At(int row, int group) const {
  if (row < 1 || row > kCutListRows || group < 1 || group > kCutListGroups) return nullptr;
  const auto& cell = cells_[row * (kCutListGroups + 1) + group];
  return cell.empty() ? nullptr : &cell;
}

void CutBookLabels::DeleteGroup(int group) {
  if (group < 1 || group > kCutListGroups) return;
  for (int row = 1; row <= kCutListRows; ++row) {
    auto* line = &cells_[row * (kCutListGroups + 1)];
    auto* parts = &parts_[row * (kCutListGroups + 1)];
    for (int g = group; g < kCutListGroups; ++g) {
      line[g] = std::move(line[g + 1]);
      parts[g] = std::move(parts[g + 1]);
    }
    line[kCutListGroups].clear();
    parts[kCutListGroups].clear();
  }
}

void DeleteCutGroup(CellGrid& grid, int group) {
  const int first = PositionColumnOfGroup(group);
  if (group < 1 || first > grid.Columns()) return;
  for (int row = 1; row <= grid.Rows(); ++row) {
    for (int column = first; column <= grid.Columns(); ++column) {
      const int from = column + ColsPerGroup;
      grid.SetText(row, column, from <= grid.Columns() ? grid.Text(row, from) : std::string());
    }
  }
}

bool LoadPattern(PatternLoadContext context, OptimizerModel& model, OptimizerView& view, CutBookLabels& labels) {
  const std::int16_t pattern = SelectedPatternNumber(model);
  PatternCopy copy = PatternCuts(model, pattern);
  std::vector<PatCut>& cuts = copy.cuts;
  if (cuts.empty()) return false;  // nothing to write: the list stays as it is
  labels.Clear();
  CutList& cutList = context.cutList;
  if (!AskAndClearCutList(context.ui, cutList, context.programList, context.fileSystem)) return false;
  view.BtnLdPatEnabled = true;
  view.ShNxtEnabled = true;
  ShowBooks(model, view, pattern);
  Placement placement(context, model, view, labels);
  placement.Run(cuts);
  DeleteEmptyGroups(cutList.grid, labels, cuts);
  copy.WriteStepsBack(model.PatCuts);
  Setupcutlist(cutList);
  GrooveCol(cutList);
  if (placement.Overflowed()) Warn(context.ui, PatternTooLargeText(GroupsOf(cutList.grid)));
  return true;
}

std::string PatternTooLargeText(int groups) {
  return kTooLargeHead + std::to_string(groups) + (groups == 1 ? " group" : " groups") + kTooLargeTail;
}

}  // namespace orl
