// The import tab: optimizer files, patterns, loading one into the cut list
// and the book buttons.
#include <algorithm>

#include "saw/optimizer/books.h"
#include "saw/optimizer/cut_sequence.h"
#include "saw/optimizer/pattern_browser.h"
#include "saw/workstation/workstation.h"

namespace orl {
namespace {

constexpr const char* kNoCutsRead = ": no cut could be read from this file; it holds nothing to load.";

}  // namespace

bool Workstation::OptimizerFileClicked(const std::string& fileName) {
  const auto& entries = jobs_.File2.entries;
  const auto found = std::find(entries.begin(), entries.end(), fileName);
  const int listIndex = found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
  ui_.SetBusyCursor(true);
  const bool read = orl::OptimizerFileClicked(optimizer_, optimizerView_, jobs_.Dir1, jobs_.File2.folder, fileName,
                                              listIndex, ArdisPath());
  ui_.SetBusyCursor(false);
  KeepImportWarnings(fileName);
  return read;
}

void Workstation::PatternsRead(OptimizerModel patterns) {
  ForgetImportedPatterns(optimizer_, optimizerView_);
  optimizer_ = std::move(patterns);
  if (!optimizer_.Pat.Items.empty()) orl::PatClicked(optimizer_, optimizerView_, 0);
}

int Workstation::ShownOptimizerFileIndex() const {
  if (optimizerView_.File2FileName.empty() || optimizerView_.File2Folder != jobs_.File2.folder) return -1;
  const auto& entries = jobs_.File2.entries;
  const auto found = std::find(entries.begin(), entries.end(), optimizerView_.File2FileName);
  return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

void Workstation::KeepImportWarnings(const std::string& fileName) {
  lastImportWarnings_ = optimizer_.Warnings.Texts();
  if (optimizer_.CutCount() == 0) lastImportWarnings_.push_back(fileName + kNoCutsRead);
}

void Workstation::PatClicked(int index) { orl::PatClicked(optimizer_, optimizerView_, index); }

bool Workstation::PatternNumberChosen(std::int16_t patNo) { return SelectPatternNumber(optimizer_, optimizerView_, patNo); }

bool Workstation::LoadPatternClicked() {
  PatternLoadContext context{ui_, cutList_, MacPar_, File1_, fileSystem_};
  return LoadPattern(context, optimizer_, optimizerView_, cutBookLabels_);
}

void Workstation::ShowLoadedPatternClicked() {
  if (ShowLoadedPattern(optimizer_, optimizerView_, jobs_.Dir1, jobs_.File2, fileSystem_, ArdisPath(), cutList_.CNum))
    KeepImportWarnings(optimizerView_.File2FileName);
}

void Workstation::BookClicked(int index) { SelectBook(optimizerView_, index); }

void Workstation::StepBarChanged(int value) { SetStepBar(optimizer_, optimizerView_, value); }

void Workstation::ShowNextClicked() { ShowNext_ = !ShowNext_; }

}  // namespace orl
