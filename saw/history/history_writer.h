#pragma once
// The writer thread of the history file. The window thread queues records
// and never waits for the disk; the writer's own thread owns the store and
// commits the records in the order they came. When the file cannot be
// written the saw goes on: records wait in memory (up to a bound) and are
// tried again every second and with each new record.
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "saw/history/cut_record.h"

namespace orl {

class HistoryStore;

class HistoryWriter {
 public:
  // Called on the writer's thread with each record once it is committed,
  // its seq given; it must not throw.
  using CommittedCallback = std::function<void(const CutRecord&)>;
  static constexpr std::size_t kMostWaitingRecords = 100'000;

  HistoryWriter(std::filesystem::path file, int keepDays, CommittedCallback committed = {},
                std::size_t mostWaiting = kMostWaitingRecords);
  // Commits what is queued (one more try when the file is failing) and ends
  // the thread.
  ~HistoryWriter();
  HistoryWriter(const HistoryWriter&) = delete;
  HistoryWriter& operator=(const HistoryWriter&) = delete;

  const std::filesystem::path& File() const { return file_; }

  // Queues a record; one with timeMs 0 gets the wall clock's time now.
  void Record(CutRecord record);
  // Every record queued so far is committed, or the file is failing.
  bool CaughtUp() const;
  // Queues one retention step: a few of the records older than keepDays
  // before nowMs are removed.
  void Housekeep(std::int64_t nowMs);
  // The lines the communication log must show since the last call: the
  // file failing, and working again.
  std::vector<std::string> TakeLogLines();

 private:
  void Run();
  bool HasWork() const;
  // Commits the waiting records; false when the file failed.
  bool CommitWaiting(std::unique_lock<std::mutex>& lock);
  bool RemoveExpired(std::unique_lock<std::mutex>& lock);
  // Runs a store step with the lock released; a failure becomes the
  // failing state.
  bool WithStore(std::unique_lock<std::mutex>& lock, const std::function<void(HistoryStore&)>& step);
  void MarkFailing(const std::string& reason);
  void MarkWorking();
  void DropOldestBeyondBound();

  const std::filesystem::path file_;
  const int keepDays_;
  const CommittedCallback committed_;
  const std::size_t mostWaiting_;

  std::unique_ptr<HistoryStore> store_;  // the writer thread's only

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<CutRecord> waiting_;  // queued, not yet committed; front is oldest
  std::uint64_t leftFront_ = 0;    // records ever taken off the front of waiting_
  std::optional<std::int64_t> removeBeforeMs_;
  bool newRecord_ = false;         // since the last try
  bool failing_ = false;
  bool dropLogged_ = false;       // once until the records waiting are written
  bool stopping_ = false;
  std::vector<std::string> logLines_;

  std::thread thread_;  // last: starts once the members above exist
};

}  // namespace orl
