// The History tab's events: the range of days shown, the next page, the
// export. The reads run on the history browser's thread; the tab renders
// what it has read on its next tick.
#include <chrono>
#include <ctime>

#include "saw/history/cut_record_format.h"
#include "saw/history/history_row_text.h"
#include "saw/history/history_settings.h"
#include "saw/workstation/workstation.h"

namespace orl {
namespace {

constexpr const char* kExportFileName = "history.csv";
constexpr const char* kExportFilter = "CSV files (*.csv)|*.csv|All files (*.*)|*.*";

std::string Today() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return LocalTimeText(std::chrono::duration_cast<std::chrono::milliseconds>(now).count(), LocalTimeParts::Date);
}

}  // namespace

void Workstation::HistoryShown() {
  if (history_) {
    history_->Refresh();
    return;
  }
  const std::filesystem::path folder = settings_.Path().parent_path();
  history_ = std::make_unique<HistoryBrowser>(ReadHistorySettings(settings_, folder).file);
  HistoryRangeChosen(Today(), Today());
}

bool Workstation::HistoryRangeChosen(const std::string& fromDay, const std::string& untilDay) {
  const auto from = ParseTimeText(fromDay);
  const auto until = ParseTimeText(untilDay, /*wholeDay=*/true);
  if (!history_ || !from || !until || *until <= *from) return false;
  history_->ShowRange(HistoryRange{*from, *until});
  return true;
}

void Workstation::HistoryScrolledToEnd() {
  if (history_) history_->MoreRows();
}

void Workstation::HistoryExportClicked() {
  if (!history_) return;
  const auto file = ui_.AskSaveFileName(kExportFileName, kExportFilter);
  if (file && !file->empty()) history_->ExportCsv(*file);
}

void Workstation::RefreshShownHistory() {
  if (!history_) return;
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::system_clock::now().time_since_epoch());
  if (history_->View().range.untilMs > now.count()) history_->Refresh();
}

HistoryView Workstation::historyView() const { return history_ ? history_->View() : HistoryView{}; }

}  // namespace orl
