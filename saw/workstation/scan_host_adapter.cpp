#include "saw/workstation/scan_host_adapter.h"

#include "saw/optimizer/books.h"

namespace orl {

int ScanHostAdapter::SelectedBook() { return orl::SelectedBook(ws_.optimizerView_); }

void ScanHostAdapter::AdvBooks() { orl::AdvBooks(ws_.optimizerView_); }

std::optional<std::string> ScanHostAdapter::BookLabel(int row, int group, int book) {
  const std::vector<std::string>* labels = ws_.cutBookLabels_.At(row, group);
  if (!labels || book < 1 || book >= static_cast<int>(labels->size())) return std::nullopt;
  return (*labels)[book];
}

}  // namespace orl
