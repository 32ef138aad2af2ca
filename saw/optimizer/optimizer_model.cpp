#include "saw/optimizer/optimizer_model.h"

#include "saw/shell/text_number.h"
#include "saw/optimizer/eval_number.h"

namespace orl {

namespace {
constexpr const char* PatEntrySeparator = "  *  ";
constexpr const char* CutLimitWarning = "the file holds more cuts than can be imported; the rest is not read";
}  // namespace

const char* FileKindName(FileKind kind) {
  switch (kind) {
    case FileKind::CpOut: return "CpOut";
    case FileKind::Ptx: return "Ptx";
    case FileKind::Ardis: return "Ardis";
    case FileKind::Csv: return "Csv";
  }
  return "Csv";
}

void OptimizerModel::ResetForImport(FileKind kind) {
  PatCuts.Clear();
  Texts.Clear();
  Pat.Clear();
  Parts.Clear();
  LastListedPat = 0;
  OptFileKind = kind;
  Warnings.Clear();
  CutsFull = false;
  patternsOutOfOrder_ = false;
}

void OptimizerModel::ResetBooks() { PatBooks.assign(1, {}); }

PatCut* OptimizerModel::NewCut(std::int64_t line) {
  if (CutCount() >= MaxCuts) {
    if (!CutsFull) Warnings.AddAtLine(line, CutLimitWarning);
    CutsFull = true;
    return nullptr;
  }
  newCut_ = PatCut{};
  return &newCut_;
}

void OptimizerModel::ListCut(bool clearPatOnFirst) {
  PatCuts.Append(newCut_);
  if (clearPatOnFirst && CutCount() == 1) Pat.Clear();
  ListPattern(newCut_);
}

void OptimizerModel::ListNewPattern(const PatCut& cut) {
  if (cut.PatNo < LastListedPat) patternsOutOfOrder_ = true;
  Pat.Items.push_back(PatEntryText(cut.PatNo, cut.BoardDesc));
  LastListedPat = cut.PatNo;
}

void OptimizerModel::GatherPatterns() {
  if (!patternsOutOfOrder_) return;  // the usual file: nothing to move
  PatCuts.SortByPattern();
  Pat.Clear();
  LastListedPat = 0;
  for (std::size_t i = 1; i < PatCuts.size(); ++i)
    if (PatCuts.PatNo(i) != LastListedPat) ListNewPattern(PatCuts[i]);
  patternsOutOfOrder_ = false;
}

bool OptimizerModel::AddCut(const PatCut& cut, bool clearPatOnFirst, std::int64_t line) {
  PatCut* added = NewCut(line);
  if (!added) return false;
  *added = cut;
  added->SourceTag = Texts.Keep(cut.SourceTag);
  added->BoardDesc = Texts.Keep(cut.BoardDesc);
  added->PartLabel = Texts.Keep(cut.PartLabel);
  added->BookLabels = Texts.KeepList(cut.BookLabels);
  ListCut(clearPatOnFirst);
  return true;
}

std::string PatEntryText(std::int16_t patNo, std::string_view boardDesc) {
  return (std::to_string(patNo) + PatEntrySeparator).append(boardDesc);
}

std::int16_t PatternNumberOf(const std::string& patEntry) { return ToInt16(Val(patEntry)); }

}  // namespace orl
