// The import tab: optimizer files, patterns, loading one into the cut list
// and the book buttons.
#include <algorithm>

#include "saw/optimizer/books.h"
#include "saw/optimizer/cut_sequence.h"
#include "saw/optimizer/pattern_browser.h"
#include "saw/workstation/workstation.h"

namespace orl {
namespace {

// Told when an optimizer file gave the pattern list nothing.
constexpr const char* kNoPatternsRead = ": no patterns were read from this file.";

}  // namespace

bool Workstation::OptimizerFileClicked(const std::string& fileName) {
  const auto& entries = jobs.File2.entries;
  const auto found = std::find(entries.begin(), entries.end(), fileName);
  const int listIndex = found == entries.end() ? -1 : static_cast<int>(found - entries.begin());
  ui.SetBusyCursor(true);
  const bool read = orl::OptimizerFileClicked(optimizer, optimizerView, jobs.Dir1, jobs.File2.folder, fileName,
                                              listIndex, ArdisPath());
  ui.SetBusyCursor(false);
  return read;
}

void Workstation::PatClicked(int index) { orl::PatClicked(optimizer, optimizerView, index); }

bool Workstation::LoadPatternClicked() {
  PatternLoadContext context{ui, cutList, MacPar, File1, fileSystem};
  return LoadPattern(context, optimizer, optimizerView, cutBookLabels);
}

void Workstation::ShowLoadedPatternClicked() {
  ShowLoadedPattern(optimizer, optimizerView, jobs.Dir1, jobs.File2, fileSystem, ArdisPath(), cutList.CNum);
}

void Workstation::BookClicked(int index) { SelectBook(optimizerView, index); }

void Workstation::StepBarChanged(int value) { SetStepBar(optimizer, optimizerView, value); }

void Workstation::ShowNextClicked() { ShowNext = !ShowNext; }

std::vector<std::string> Workstation::ImportReport() const {
  std::vector<std::string> lines = optimizer.Warnings.Texts();
  if (optimizer.Pat.Items.empty() && !optimizerView.File2FileName.empty())
    lines.insert(lines.begin(), optimizerView.File2FileName + kNoPatternsRead);
  return lines;
}

}  // namespace orl
