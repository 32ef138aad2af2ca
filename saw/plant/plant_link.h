#pragma once
// The saw's link to the plant's MQTT broker: every production record goes
// to orl/<sawName>/cut (QoS 1), and the saw's state is kept retained on
// orl/<sawName>/state, with {"state":"offline"} as the last will.
//
// Records reach the broker in order however long it is away, even after
// the program was restarted meanwhile: the link sends them from its own
// outbox and keeps a mark of how far the broker acknowledged them; what
// lies after the mark is read again from the history file. A record may
// arrive twice (resent after a lost acknowledgement); its "seq" tells the
// copies apart.
//
// All talk to the broker happens on the link's own thread. Nothing here
// blocks on the network or throws: failures become log lines.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "saw/history/cut_record.h"
#include "saw/history/recorder.h"
#include "saw/plant/broker_log.h"
#include "saw/plant/delivery_mark.h"
#include "saw/plant/mqtt_client.h"
#include "saw/plant/outbox.h"
#include "saw/plant/plant_settings.h"

namespace orl {

class PlantLink final : private MqttClient::Listener {
 public:
  explicit PlantLink(const PlantSettings& settings);
  // Sends what the window allows, leaves the offline state behind and
  // disconnects, waiting briefly; the mark is saved.
  ~PlantLink() override;
  PlantLink(const PlantLink&) = delete;
  PlantLink& operator=(const PlantLink&) = delete;

  // A record committed to the history file, in seq order; never waits.
  void PublishCut(const CutRecord& record) noexcept;
  // Kept as the latest state and published when connected.
  void PublishState(const SawState& state) noexcept;
  // The communication log's lines since the last call, each once.
  std::vector<std::string> TakeLogLines();

 private:
  enum class Connection { kNone, kConnecting, kUp, kBroken };
  using Clock = std::chrono::steady_clock;
  using Lock = std::unique_lock<std::mutex>;

  Outbox StartingOutbox();
  void Run();
  void Step(Lock& lock);
  void KeepConnected(Lock& lock);
  void ReplaceBrokenClient(Lock& lock);
  void StartConnecting(Lock& lock);
  void Refill(Lock& lock);
  void SendState(Lock& lock);
  void SendRecords(Lock& lock);
  void SaveMark(Lock& lock, bool now);
  void ShutDown(Lock& lock);
  void Wake();

  // MqttClient::Listener, on the library's threads.
  void Connected(std::uint64_t generation) override;
  void ConnectFailed(std::uint64_t generation) override;
  void ConnectionLost(std::uint64_t generation) override;
  void Delivered(std::uint64_t generation, std::int64_t seq) override;
  void NotDelivered(std::uint64_t generation, std::int64_t seq) override;
  void Disconnected(std::uint64_t generation) override;

  const PlantSettings settings_;
  const std::string cutTopic_;
  const std::string stateTopic_;
  const std::string offlineState_;
  const DeliveryMark mark_;
  BrokerLog log_;

  std::mutex mutex_;  // guards what follows up to the thread
  std::condition_variable wake_;
  bool woken_ = false;
  bool stopping_ = false;
  Outbox outbox_;
  SawState latestState_;
  bool stateSent_ = false;  // latestState_ went out on the current connection
  Connection connection_ = Connection::kNone;
  std::uint64_t generation_ = 0;  // of the current client
  bool disconnected_ = false;
  Clock::time_point connectAt_;   // the next attempt, while kNone
  Clock::duration retryDelay_;
  Clock::time_point refillAt_;    // after a failed read of the history file
  Clock::time_point saveMarkAt_;
  std::int64_t savedMark_ = -1;

  std::unique_ptr<MqttClient> client_;  // the link's thread only
  std::thread thread_;                  // last: starts once the members above exist
};

}  // namespace orl
