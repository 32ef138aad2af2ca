#include "saw/history/history_browser.h"

#include <fstream>

#include "saw/history/cut_record_format.h"

namespace orl {

HistoryBrowser::HistoryBrowser(std::filesystem::path file) : file_(std::move(file)) {}

HistoryBrowser::~HistoryBrowser() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void HistoryBrowser::ShowRange(const HistoryRange& range) {
  Queue([this, range] { ReadRows(range, kPageRows); });
}

void HistoryBrowser::MoreRows() {
  Queue([this] { ReadNextPage(); });
}

void HistoryBrowser::Refresh() {
  Queue([this] {
    const HistoryView now = View();
    ReadRows(now.range, std::max<std::size_t>(now.rows.size(), kPageRows));
  });
}

void HistoryBrowser::ExportCsv(const std::filesystem::path& to) {
  Queue([this, to] { WriteCsv(to); });
}

HistoryView HistoryBrowser::View() const {
  std::lock_guard lock(mutex_);
  return view_;
}

std::uint64_t HistoryBrowser::Version() const {
  std::lock_guard lock(mutex_);
  return view_.version;
}

void HistoryBrowser::Queue(Job job) {
  std::lock_guard lock(mutex_);
  jobs_.push_back(std::move(job));
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  wake_.notify_one();
}

void HistoryBrowser::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (stopping_) return;
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    job();
    lock.lock();
  }
}

HistoryStore* HistoryBrowser::Store() {
  if (store_) return store_.get();
  try {
    store_ = std::make_unique<HistoryStore>(HistoryStore::OpenReadOnly(file_));
  } catch (const std::exception& error) {
    // No file yet (nothing cut since the history began) or one that cannot
    // be read: the tab shows why, and the next request tries again.
    const std::string why = std::filesystem::exists(file_) ? error.what() : "No history yet: " + file_.string();
    Publish([&](HistoryView& view) { view.status = why; });
  }
  return store_.get();
}

void HistoryBrowser::ReadRows(const HistoryRange& range, std::size_t atLeast) {
  Publish([&](HistoryView& view) {
    view.range = range;
    view.rows.clear();
    view.totals.clear();
    view.moreRows = false;
  });
  HistoryStore* store = Store();
  if (!store) return;
  try {
    const int limit = static_cast<int>(atLeast);
    std::vector<CutRecord> rows = store->Page(range, 0, limit + 1);
    const bool more = rows.size() > atLeast;
    if (more) rows.pop_back();
    std::vector<HistoryTotal> totals = store->Totals(range);
    Publish([&](HistoryView& view) {
      view.rows = std::move(rows);
      view.moreRows = more;
      view.totals = std::move(totals);
      view.status.clear();
    });
  } catch (const std::exception& error) {
    Publish([&](HistoryView& view) { view.status = error.what(); });
  }
}

void HistoryBrowser::ReadNextPage() {
  const HistoryView now = View();
  if (!now.moreRows || now.rows.empty()) return;
  HistoryStore* store = Store();
  if (!store) return;
  try {
    std::vector<CutRecord> page = store->Page(now.range, now.rows.back().seq, kPageRows + 1);
    const bool more = page.size() > static_cast<std::size_t>(kPageRows);
    if (more) page.pop_back();
    Publish([&](HistoryView& view) {
      view.rows.insert(view.rows.end(), page.begin(), page.end());
      view.moreRows = more;
    });
  } catch (const std::exception& error) {
    Publish([&](HistoryView& view) { view.status = error.what(); });
  }
}

void HistoryBrowser::WriteCsv(const std::filesystem::path& to) {
  HistoryStore* store = Store();
  if (!store) return;
  const HistoryRange range = View().range;
  std::filesystem::path part = to;
  part += ".part";
  std::int64_t written = 0;
  std::string status;
  try {
    {
      std::ofstream out(part, std::ios::binary | std::ios::trunc);
      out << CutCsvHeader() << "\n";
      store->ForEach(range, [&](const CutRecord& record) {
        out << CutCsvLine(record) << "\n";
        ++written;
      });
      out.flush();
      if (!out) throw std::runtime_error("cannot write " + to.string());
    }
    std::filesystem::rename(part, to);
    status = "Exported " + std::to_string(written) + " records to " + to.string();
  } catch (const std::exception& error) {
    std::error_code ignored;
    std::filesystem::remove(part, ignored);
    status = std::string("Export failed: ") + error.what();
  }
  Publish([&](HistoryView& view) { view.status = status; });
}

void HistoryBrowser::Publish(const std::function<void(HistoryView&)>& change) {
  std::lock_guard lock(mutex_);
  change(view_);
  ++view_.version;
}

}  // namespace orl
