#include "saw/history/history_writer.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "saw/history/cut_record_format.h"
#include "saw/history/history_store.h"

namespace orl {
namespace {

constexpr auto kRetryInterval = std::chrono::seconds(1);
// A retention step removes this many at most, so records never wait long behind it.
constexpr int kRemovedPerStep = 500;
// A backlog (after the file failed) is committed this many to a transaction.
constexpr std::size_t kMostPerTransaction = 500;

std::int64_t WallClockMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace

HistoryWriter::HistoryWriter(std::filesystem::path file, int keepDays, CommittedCallback committed,
                             std::size_t mostWaiting)
    : file_(std::move(file)),
      keepDays_(keepDays),
      committed_(std::move(committed)),
      mostWaiting_(std::max<std::size_t>(mostWaiting, 1)),
      thread_([this] { Run(); }) {}

HistoryWriter::~HistoryWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void HistoryWriter::Record(CutRecord record) {
  if (record.timeMs == 0) record.timeMs = WallClockMs();
  {
    std::lock_guard lock(mutex_);
    waiting_.push_back(std::move(record));
    newRecord_ = true;
    DropOldestBeyondBound();
  }
  wake_.notify_one();
}

bool HistoryWriter::CaughtUp() const {
  std::lock_guard lock(mutex_);
  return waiting_.empty() || failing_;
}

void HistoryWriter::Housekeep(std::int64_t nowMs) {
  {
    std::lock_guard lock(mutex_);
    removeBeforeMs_ = nowMs - keepDays_ * kDayMs;
  }
  wake_.notify_one();
}

std::vector<std::string> HistoryWriter::TakeLogLines() {
  std::lock_guard lock(mutex_);
  return std::exchange(logLines_, {});
}

void HistoryWriter::Run() {
  std::unique_lock lock(mutex_);
  // Opened at once, so a file that cannot be written is told before the first cut.
  WithStore(lock, [](HistoryStore&) {});
  for (;;) {
    // A failing file is tried again with each new record, else every second.
    if (failing_) wake_.wait_for(lock, kRetryInterval, [this] { return stopping_ || newRecord_; });
    else wake_.wait(lock, [this] { return stopping_ || HasWork(); });
    newRecord_ = false;
    const bool lastPass = stopping_;
    if (CommitWaiting(lock)) RemoveExpired(lock);
    if (lastPass) break;
  }
  lock.unlock();
  store_.reset();  // closed on the thread that used it
}

bool HistoryWriter::HasWork() const { return !waiting_.empty() || removeBeforeMs_.has_value(); }

bool HistoryWriter::CommitWaiting(std::unique_lock<std::mutex>& lock) {
  while (!waiting_.empty()) {
    const std::uint64_t firstLeft = leftFront_;
    const auto count = std::min(waiting_.size(), kMostPerTransaction);
    std::vector<CutRecord> batch(waiting_.begin(), waiting_.begin() + static_cast<std::ptrdiff_t>(count));
    const bool written = WithStore(lock, [&batch](HistoryStore& store) {
      if (batch.size() == 1) store.Append(batch.front());
      else store.AppendAll(batch);
    });
    if (!written) return false;
    // Records dropped for room while the batch was written are gone from
    // the front already; they are on disk all the same.
    while (leftFront_ < firstLeft + count && !waiting_.empty()) {
      waiting_.pop_front();
      ++leftFront_;
    }
    if (waiting_.empty()) dropLogged_ = false;
    MarkWorking();
    if (committed_) {
      lock.unlock();
      for (const CutRecord& record : batch) committed_(record);
      lock.lock();
    }
  }
  return true;
}

bool HistoryWriter::RemoveExpired(std::unique_lock<std::mutex>& lock) {
  if (!removeBeforeMs_) return true;
  const std::int64_t cutoffMs = *removeBeforeMs_;
  if (!WithStore(lock, [cutoffMs](HistoryStore& store) { store.RemoveOlderThan(cutoffMs, kRemovedPerStep); }))
    return false;
  if (removeBeforeMs_ == cutoffMs) removeBeforeMs_.reset();
  MarkWorking();
  return true;
}

bool HistoryWriter::WithStore(std::unique_lock<std::mutex>& lock, const std::function<void(HistoryStore&)>& step) {
  std::string failure;
  lock.unlock();
  try {
    if (!store_) store_ = std::make_unique<HistoryStore>(HistoryStore::OpenForWriting(file_));
    step(*store_);
  } catch (const std::exception& error) {
    failure = error.what();
    // Opened afresh next time: the folder or the file may have been replaced.
    store_.reset();
  }
  lock.lock();
  if (failure.empty()) return true;
  MarkFailing(failure);
  return false;
}

void HistoryWriter::MarkFailing(const std::string& reason) {
  if (!failing_) logLines_.push_back("History cannot be written: " + reason);
  failing_ = true;
}

void HistoryWriter::MarkWorking() {
  if (failing_) logLines_.push_back("History written again: " + file_.string());
  failing_ = false;
}

void HistoryWriter::DropOldestBeyondBound() {
  while (waiting_.size() > mostWaiting_) {
    waiting_.pop_front();
    ++leftFront_;
    if (!dropLogged_) {
      logLines_.push_back("History cannot keep more records in memory; the oldest unwritten are dropped: " +
                          file_.string());
      dropLogged_ = true;
    }
  }
}

}  // namespace orl
