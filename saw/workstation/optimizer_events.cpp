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
  const auto& entries = jobs.File2.entries;
  const auto found = std::find(entries.begin(), entries.end(), fileName);
  const int listIndex = found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
  ui.SetBusyCursor(true);
  const bool read = orl::OptimizerFileClicked(optimizer, optimizerView, jobs.Dir1, jobs.File2.folder, fileName,
                                              listIndex, ArdisPath());
  ui.SetBusyCursor(false);
  KeepImportWarnings(fileName);
  return read;
}

int Workstation::ShownOptimizerFileIndex() const {
  if (optimizerView.File2FileName.empty() || optimizerView.File2Folder != jobs.File2.folder) return -1;
  const auto& entries = jobs.File2.entries;
  const auto found = std::find(entries.begin(), entries.end(), optimizerView.File2FileName);
  return found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
}

void Workstation::KeepImportWarnings(const std::string& fileName) {
  lastImportWarnings_ = optimizer.Warnings.Texts();
  if (optimizer.CutCount() == 0) lastImportWarnings_.push_back(fileName + kNoCutsRead);
}

void Workstation::PatClicked(int index) { orl::PatClicked(optimizer, optimizerView, index); }

bool Workstation::LoadPatternClicked() {
  PatternLoadContext context{ui, cutList, MacPar, File1, fileSystem};
  return LoadPattern(context, optimizer, optimizerView, cutBookLabels);
}

void Workstation::ShowLoadedPatternClicked() {
  if (ShowLoadedPattern(optimizer, optimizerView, jobs.Dir1, jobs.File2, fileSystem, ArdisPath(), cutList.CNum))
    KeepImportWarnings(optimizerView.File2FileName);
}

void Workstation::BookClicked(int index) { SelectBook(optimizerView, index); }

void Workstation::StepBarChanged(int value) { SetStepBar(optimizer, optimizerView, value); }

void Workstation::ShowNextClicked() { ShowNext = !ShowNext; }

}  // namespace orl
