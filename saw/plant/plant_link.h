#pragma once
// The saw's link to the plant's MQTT broker: every production record goes
// to orl/<sawName>/cut (QoS 1), and the saw's state is kept retained on
// orl/<sawName>/state, with {"state":"offline"} as the last will.
//
// Records published while the broker is away are buffered and kept in the
// persistence folder, so they reach the broker, in order, when it returns,
// even after the program was restarted meanwhile. A record may arrive twice
// (resent after a lost acknowledgement); its "seq" tells the copies apart.
//
// Nothing here blocks on the network or throws: failures become log lines.
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "saw/history/cut_record.h"
#include "saw/history/recorder.h"
#include "saw/plant/broker_log.h"
#include "saw/plant/plant_settings.h"

namespace orl {

class PlantLink {
 public:
  explicit PlantLink(const PlantSettings& settings);
  // Leaves the offline state behind and disconnects, waiting briefly.
  ~PlantLink();
  PlantLink(const PlantLink&) = delete;
  PlantLink& operator=(const PlantLink&) = delete;

  void PublishCut(const CutRecord& record) noexcept;
  // Kept as the latest state and published now if connected, else on
  // the next connection.
  void PublishState(const SawState& state) noexcept;
  // The communication log's lines since the last call, each once.
  std::vector<std::string> TakeLogLines();

 private:
  struct Callbacks;  // the client library's entry points

  void Connect();
  void Publish(const std::string& topic, const std::string& payload, bool retained) noexcept;
  void PublishLatestState();
  void Disconnect();

  const std::string cutTopic_;
  const std::string stateTopic_;
  const std::string offlineState_;
  BrokerLog log_;
  void* client_ = nullptr;  // MQTTAsync

  // Guards the state and the connection flag; held while the state is
  // handed to the library so two states never leave out of order.
  std::mutex stateMutex_;
  SawState latestState_;
  bool connected_ = false;
  bool closing_ = false;

  std::mutex disconnectMutex_;
  std::condition_variable disconnectDone_;
  bool disconnected_ = false;
};

}  // namespace orl
