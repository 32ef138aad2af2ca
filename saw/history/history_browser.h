#pragma once
// What the History tab shows, read off the window's thread: a range of
// records newest first, a page at a time, with each program's production
// per day, and the range written out as CSV. Every request is queued for
// the browser's own thread and returns at once; the window renders View()
// on its next tick. The file is opened (read-only) only when first asked.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "saw/history/history_store.h"

namespace orl {

struct HistoryView {
  HistoryRange range;
  std::vector<CutRecord> rows;  // newest first, the pages read so far
  bool moreRows = false;        // older records of the range not read yet
  std::vector<HistoryTotal> totals;
  std::string status;           // why nothing could be read, or how an export went
  std::uint64_t version = 0;    // changes with every change above
};

// Rows of a range longer than one day (a day may have 25 hours) carry
// their date as well as their time.
inline bool RowsShowTheirDate(const HistoryView& view) {
  return view.range.untilMs - view.range.fromMs > 25 * 3'600'000LL;
}

class HistoryBrowser {
 public:
  static constexpr int kPageRows = 200;

  explicit HistoryBrowser(std::filesystem::path file);
  ~HistoryBrowser();
  HistoryBrowser(const HistoryBrowser&) = delete;
  HistoryBrowser& operator=(const HistoryBrowser&) = delete;

  // The range's newest page and its totals, afresh.
  void ShowRange(const HistoryRange& range);
  // The next older page of the range, when there is one.
  void MoreRows();
  // The records committed since: the pages read so far and the totals again.
  void Refresh();
  // Every record of the range, oldest first, to a CSV file (written under a
  // temporary name and renamed, so a failed export leaves no half file).
  void ExportCsv(const std::filesystem::path& to);

  HistoryView View() const;
  // The view's version alone, without copying its records.
  std::uint64_t Version() const;
  const std::filesystem::path& File() const { return file_; }

 private:
  using Job = std::function<void()>;
  void Queue(Job job);
  void Run();
  // The store, opened on the browser's thread; nullptr while the file
  // cannot be read (the view's status says why).
  HistoryStore* Store();
  void ReadRows(const HistoryRange& range, std::size_t atLeast);
  void ReadNextPage();
  void WriteCsv(const std::filesystem::path& to);
  void Publish(const std::function<void(HistoryView&)>& change);

  const std::filesystem::path file_;
  std::unique_ptr<HistoryStore> store_;  // the browser's thread only

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool stopping_ = false;
  HistoryView view_;
  std::thread thread_;  // started with the first request
};

}  // namespace orl
