#include "saw/plant/plant_link.h"

#include <algorithm>
#include <optional>

#include "saw/history/cut_record_format.h"
#include "saw/plant/history_backlog.h"
#include "saw/plant/state_json.h"

namespace orl {
namespace {

using namespace std::chrono_literals;

// Records in flight at a time: enough to keep a slow link busy, few
// enough that a broken connection leaves little to send again.
constexpr std::size_t kWindow = 20;
constexpr auto kMinRetry = 1s;
constexpr auto kMaxRetry = 5s;
// The mark is written at most this often (a stale one costs duplicates only).
constexpr auto kMarkInterval = 1s;
constexpr auto kRefillRetry = 1s;
// How long a shutdown lets the records in flight and the offline state be acknowledged.
constexpr int kDisconnectTimeoutMs = 1000;
constexpr auto kDisconnectWait = 2s;
constexpr const char* kMarkFileName = "delivered-seq";

std::string Address(const PlantSettings& settings) { return settings.host + ":" + std::to_string(settings.port); }

}  // namespace

PlantLink::PlantLink(const PlantSettings& settings)
    : settings_(settings),
      cutTopic_("orl/" + settings.sawName + "/cut"),
      stateTopic_("orl/" + settings.sawName + "/state"),
      offlineState_(OfflineStateJson()),
      mark_(settings.persistenceFolder / kMarkFileName),
      log_(Address(settings)),
      outbox_(StartingOutbox()),
      retryDelay_(kMinRetry),
      savedMark_(outbox_.Mark()),
      thread_([this] { Run(); }) {}

PlantLink::~PlantLink() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

// Runs before the history writer starts (it is made after the link), so
// the file's end read here is where the records committed from now on begin.
Outbox PlantLink::StartingOutbox() {
  const std::optional<std::int64_t> mark = mark_.Read();
  std::int64_t last = 0;
  try {
    last = LastSeqIn(settings_.historyFile);
  } catch (const std::exception& error) {
    log_.Failed(std::string("history not readable: ") + error.what());
    // The mark stands and the file is tried again; without one, the
    // records from now on go, and the mark is written once they arrive.
    return mark ? Outbox(*mark, true) : Outbox(0, false);
  }
  if (mark && *mark <= last) return Outbox(*mark, true);
  // No mark yet, or a history file begun anew: the plant gets the records
  // from now on, not the whole past.
  if (!mark_.Write(last)) log_.Failed("delivery mark not written: " + mark_.File().string());
  return Outbox(last, false);
}

void PlantLink::PublishCut(const CutRecord& record) noexcept {
  try {
    OutboxRecord queued{record.seq, CutJson(record)};
    std::lock_guard lock(mutex_);
    outbox_.Committed(std::move(queued));
  } catch (...) {
    log_.Failed("a record could not be prepared");
    return;
  }
  Wake();
}

void PlantLink::PublishState(const SawState& state) noexcept {
  {
    std::lock_guard lock(mutex_);
    latestState_ = state;
    stateSent_ = false;
  }
  Wake();
}

std::vector<std::string> PlantLink::TakeLogLines() { return log_.Take(); }

void PlantLink::Wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  wake_.notify_all();
}

void PlantLink::Run() {
  Lock lock(mutex_);
  while (!stopping_) {
    Step(lock);
    Clock::time_point until = Clock::now() + kMarkInterval;
    if (connection_ == Connection::kNone) until = std::min(until, connectAt_);
    wake_.wait_until(lock, until, [this] { return woken_ || stopping_; });
    woken_ = false;
  }
  ShutDown(lock);
}

// Each step gives up the lock while it talks to the library or the disk,
// and looks at the state afresh when it has it back.
void PlantLink::Step(Lock& lock) {
  KeepConnected(lock);
  Refill(lock);
  if (connection_ == Connection::kUp) SendState(lock);
  if (connection_ == Connection::kUp) SendRecords(lock);
  SaveMark(lock, false);
}

void PlantLink::KeepConnected(Lock& lock) {
  if (connection_ == Connection::kBroken) ReplaceBrokenClient(lock);
  if (connection_ == Connection::kNone && Clock::now() >= connectAt_) StartConnecting(lock);
}

// A fresh client for the next connection: the old one may still hold
// records it never wrote, which would go out ahead of older ones sent again.
void PlantLink::ReplaceBrokenClient(Lock& lock) {
  ++generation_;  // the old client's late news of failures is stale
  std::unique_ptr<MqttClient> old = std::move(client_);
  lock.unlock();
  old.reset();  // its last events come in before this returns
  lock.lock();
  outbox_.Rewind();
  connection_ = Connection::kNone;
}

void PlantLink::StartConnecting(Lock& lock) {
  connection_ = Connection::kConnecting;
  const std::uint64_t generation = generation_;
  lock.unlock();
  std::string error;
  try {
    if (!client_) {
      client_ = std::make_unique<MqttClient>(
          MqttClient::Options{"tcp://" + Address(settings_), "orl-" + settings_.sawName, stateTopic_, offlineState_},
          static_cast<MqttClient::Listener&>(*this), generation);
    }
    error = client_->Connect();
  } catch (const std::exception& failure) {
    error = failure.what();
  }
  lock.lock();
  if (error.empty()) return;
  log_.Failed("cannot connect: " + error);
  if (connection_ == Connection::kConnecting) connection_ = Connection::kNone;
  connectAt_ = Clock::now() + kMaxRetry;
}

void PlantLink::Refill(Lock& lock) {
  const std::optional<Outbox::Refill> wanted = outbox_.RefillWanted();
  if (!wanted || Clock::now() < refillAt_) return;
  lock.unlock();
  std::vector<OutboxRecord> records;
  std::string error;
  try {
    records = ReadBacklog(settings_.historyFile, wanted->afterSeq, wanted->limit);
  } catch (const std::exception& failure) {
    error = failure.what();
  }
  lock.lock();
  if (!error.empty()) {
    log_.Failed("history not readable: " + error);
    refillAt_ = Clock::now() + kRefillRetry;
    return;
  }
  const bool reachedEnd = records.size() < wanted->limit;
  // Nothing found while more is wanted: records the file does not show
  // yet; read again a little later rather than at once.
  if (records.empty()) refillAt_ = Clock::now() + kRefillRetry;
  else woken_ = true;  // more may be wanted at once, and there is more to send
  outbox_.Refilled(std::move(records), reachedEnd);
}

void PlantLink::SendState(Lock& lock) {
  if (stateSent_) return;
  stateSent_ = true;
  const std::string payload = OnlineStateJson(latestState_);
  lock.unlock();
  const MqttClient::Sent sent = client_->Publish(stateTopic_, payload, true, std::nullopt);
  lock.lock();
  if (sent.taken) return;
  stateSent_ = false;
  if (!sent.notConnected) log_.Failed("not sent on " + stateTopic_ + ": " + sent.error);
  if (connection_ == Connection::kUp) connection_ = Connection::kBroken;
}

void PlantLink::SendRecords(Lock& lock) {
  const std::vector<OutboxRecord> batch = outbox_.TakeToSend(kWindow);
  if (batch.empty()) return;
  lock.unlock();
  MqttClient::Sent sent;
  for (const OutboxRecord& record : batch) {
    sent = client_->Publish(cutTopic_, record.payload, false, record.seq);
    if (!sent.taken) break;  // the rest go again with the next connection
  }
  lock.lock();
  if (sent.taken) return;
  if (!sent.notConnected) log_.Failed("not sent on " + cutTopic_ + ": " + sent.error);
  if (connection_ == Connection::kUp) connection_ = Connection::kBroken;
}

void PlantLink::SaveMark(Lock& lock, bool now) {
  const std::int64_t mark = outbox_.Mark();
  if (mark == savedMark_ || (!now && Clock::now() < saveMarkAt_)) return;
  saveMarkAt_ = Clock::now() + kMarkInterval;
  lock.unlock();
  const bool written = mark_.Write(mark);
  lock.lock();
  if (written) savedMark_ = mark;
  else log_.Failed("delivery mark not written: " + mark_.File().string());
}

void PlantLink::ShutDown(Lock& lock) {
  if (connection_ == Connection::kUp) {
    SendRecords(lock);
    lock.unlock();
    client_->Publish(stateTopic_, offlineState_, true, std::nullopt);
    // Offline left unsent would reach the broker only on the next run,
    // after that run's online; the last will tells the broker anyway.
    const bool disconnecting = client_->Disconnect(kDisconnectTimeoutMs).empty();
    lock.lock();
    if (disconnecting) wake_.wait_for(lock, kDisconnectWait, [this] { return disconnected_; });
  }
  std::unique_ptr<MqttClient> client = std::move(client_);
  lock.unlock();
  client.reset();  // acknowledgements still on their way come in before this returns
  lock.lock();
  SaveMark(lock, true);
}

void PlantLink::Connected(std::uint64_t generation) {
  {
    std::lock_guard lock(mutex_);
    if (generation != generation_) return;
    connection_ = Connection::kUp;
    retryDelay_ = kMinRetry;
    stateSent_ = false;  // the broker may have forgotten it
    disconnected_ = false;
    log_.Connected();
  }
  Wake();
}

void PlantLink::ConnectFailed(std::uint64_t generation) {
  {
    std::lock_guard lock(mutex_);
    if (generation != generation_ || connection_ != Connection::kConnecting) return;
    connection_ = Connection::kNone;
    connectAt_ = Clock::now() + retryDelay_;
    retryDelay_ = std::min<Clock::duration>(retryDelay_ * 2, kMaxRetry);
    log_.Unreachable();
  }
  Wake();
}

void PlantLink::ConnectionLost(std::uint64_t generation) {
  {
    std::lock_guard lock(mutex_);
    if (generation != generation_) return;
    connection_ = Connection::kBroken;
    log_.Unreachable();
  }
  Wake();
}

void PlantLink::Delivered(std::uint64_t /*generation*/, std::int64_t seq) {
  {
    std::lock_guard lock(mutex_);
    outbox_.Acknowledged(seq);  // an acknowledgement is true news whichever client brought it
  }
  Wake();
}

// The connection is failing: nothing more goes on it, lest a later record
// arrive before this one is sent again.
void PlantLink::NotDelivered(std::uint64_t generation, std::int64_t /*seq*/) {
  {
    std::lock_guard lock(mutex_);
    if (generation != generation_ || connection_ != Connection::kUp) return;
    connection_ = Connection::kBroken;
  }
  Wake();
}

void PlantLink::Disconnected(std::uint64_t /*generation*/) {
  {
    std::lock_guard lock(mutex_);
    disconnected_ = true;
  }
  wake_.notify_all();
}

}  // namespace orl
