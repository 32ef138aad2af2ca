#include "saw/plant/outbox.h"

#include <algorithm>

namespace orl {

Outbox::Outbox(std::int64_t mark, bool backlogInFile, std::size_t bound)
    : bound_(std::max<std::size_t>(bound, 2)), mark_(mark), lastQueued_(mark), backlogInFile_(backlogInFile) {}

void Outbox::Committed(OutboxRecord record) {
  lastCommitted_ = std::max(lastCommitted_, record.seq);
  if (record.seq <= lastQueued_) return;  // read from the file already
  if (!backlogInFile_ && queue_.size() >= bound_) backlogInFile_ = true;
  // Records behind it wait in the file; queued now, this one would overtake them.
  if (backlogInFile_) return;
  Append(std::move(record));
}

std::optional<Outbox::Refill> Outbox::RefillWanted() const {
  // Read in batches once the queue is half drained, not one record at a time.
  if (!backlogInFile_ || queue_.size() > bound_ / 2) return std::nullopt;
  return Refill{lastQueued_, bound_ - queue_.size()};
}

void Outbox::Refilled(std::vector<OutboxRecord> records, bool reachedEnd) {
  for (OutboxRecord& record : records)
    if (record.seq > lastQueued_) Append(std::move(record));
  // A record committed after the read and dropped meanwhile means another read.
  if (reachedEnd && lastQueued_ >= lastCommitted_) backlogInFile_ = false;
}

std::vector<OutboxRecord> Outbox::TakeToSend(std::size_t window) {
  std::vector<OutboxRecord> taken;
  for (; next_ < queue_.size() && inFlight_ < window; ++next_) {
    Entry& entry = queue_[next_];
    if (entry.state != State::kUnsent) continue;
    entry.state = State::kInFlight;
    ++inFlight_;
    taken.push_back(entry.record);
  }
  return taken;
}

void Outbox::Acknowledged(std::int64_t seq) {
  const auto at = std::lower_bound(queue_.begin(), queue_.end(), seq,
                                   [](const Entry& entry, std::int64_t s) { return entry.record.seq < s; });
  if (at == queue_.end() || at->record.seq != seq || at->state == State::kAcknowledged) return;
  if (at->state == State::kInFlight) --inFlight_;
  at->state = State::kAcknowledged;
  DropAcknowledgedFront();
}

void Outbox::Rewind() {
  for (Entry& entry : queue_)
    if (entry.state == State::kInFlight) entry.state = State::kUnsent;
  next_ = 0;
  inFlight_ = 0;
}

void Outbox::Append(OutboxRecord record) {
  lastQueued_ = record.seq;
  queue_.push_back({std::move(record), State::kUnsent});
}

void Outbox::DropAcknowledgedFront() {
  while (!queue_.empty() && queue_.front().state == State::kAcknowledged) {
    mark_ = queue_.front().record.seq;
    queue_.pop_front();
    if (next_ > 0) --next_;
  }
}

}  // namespace orl
