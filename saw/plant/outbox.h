#pragma once
// The production records the plant's broker has yet to acknowledge, in seq
// order. A window of them is in flight at a time; acknowledged records
// leave from the front only, so the mark (every record up to it is
// delivered) never skips one. When the connection goes, every record not
// acknowledged is sent again, from the oldest: the plant may see a record
// twice (its seq tells), never one missing or out of order.
//
// Memory is bounded: past the bound, committed records are left in the
// history file and read in again from there as the queue drains.
// Not thread-safe: the plant link guards it.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace orl {

struct OutboxRecord {
  std::int64_t seq = 0;
  std::string payload;
};

class Outbox {
 public:
  static constexpr std::size_t kDefaultBound = 10'000;

  // Every record up to `mark` is delivered; with `backlogInFile`, the
  // history file may hold records after it that must be read in.
  Outbox(std::int64_t mark, bool backlogInFile, std::size_t bound = kDefaultBound);

  // A record just committed to the history file (in seq order).
  void Committed(OutboxRecord record);

  struct Refill {
    std::int64_t afterSeq;
    std::size_t limit;
  };
  // The history file read the queue wants now, if any.
  std::optional<Refill> RefillWanted() const;
  // What that read found; `reachedEnd`: fewer records than asked for.
  void Refilled(std::vector<OutboxRecord> records, bool reachedEnd);

  // The next records to publish, oldest first, marked in flight, so that
  // no more than `window` are in flight.
  std::vector<OutboxRecord> TakeToSend(std::size_t window);
  // The broker has the record (late news of an earlier send counts too).
  void Acknowledged(std::int64_t seq);
  // The connection went: nothing is in flight any more.
  void Rewind();

  std::int64_t Mark() const { return mark_; }
  std::size_t Size() const { return queue_.size(); }

 private:
  enum class State { kUnsent, kInFlight, kAcknowledged };
  struct Entry {
    OutboxRecord record;
    State state = State::kUnsent;
  };
  void Append(OutboxRecord record);
  void DropAcknowledgedFront();

  const std::size_t bound_;
  std::deque<Entry> queue_;   // by seq
  std::size_t next_ = 0;      // entries before it were taken since the last rewind
  std::size_t inFlight_ = 0;
  std::int64_t mark_;
  std::int64_t lastQueued_;   // highest seq ever queued
  std::int64_t lastCommitted_ = 0;
  bool backlogInFile_;
};

}  // namespace orl
