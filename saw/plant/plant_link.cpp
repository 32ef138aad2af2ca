#include "saw/plant/plant_link.h"

#include <MQTTAsync.h>

#include <chrono>
#include <filesystem>

#include "saw/history/cut_record_format.h"
#include "saw/plant/state_json.h"

namespace orl {

namespace {

constexpr int kQos = 1;
// An hour away at several records a minute stays far below this; the
// oldest record is never the one dropped.
constexpr int kMaxBufferedMessages = 200'000;
constexpr int kMinRetrySeconds = 1;
constexpr int kMaxRetrySeconds = 5;
constexpr int kConnectTimeoutSeconds = 5;
constexpr int kKeepAliveSeconds = 20;
// How long a shutdown waits for the offline state to be acknowledged.
constexpr int kDisconnectTimeoutMs = 1000;
constexpr auto kDisconnectWait = std::chrono::milliseconds(2000);

std::string Address(const PlantSettings& settings) { return settings.host + ":" + std::to_string(settings.port); }

std::string ErrorText(int code) {
  const char* text = MQTTAsync_strerror(code);
  return text ? text : "error " + std::to_string(code);
}

}  // namespace

// Run on the client library's threads.
struct PlantLink::Callbacks {
  static void Connected(void* context, char* /*cause*/) {
    auto* link = static_cast<PlantLink*>(context);
    link->log_.Connected();
    link->PublishLatestState();
  }
  static void ConnectFailed(void* context, MQTTAsync_failureData* /*response*/) {
    static_cast<PlantLink*>(context)->log_.Unreachable();
  }
  static void ConnectionLost(void* context, char* /*cause*/) {
    auto* link = static_cast<PlantLink*>(context);
    {
      std::lock_guard lock(link->stateMutex_);
      link->connected_ = false;
    }
    link->log_.Unreachable();
  }
  // Nothing is subscribed; the library insists on the callback.
  static int MessageArrived(void*, char* topic, int, MQTTAsync_message* message) {
    MQTTAsync_freeMessage(&message);
    MQTTAsync_free(topic);
    return 1;
  }
  static void DisconnectFinished(void* context) {
    auto* link = static_cast<PlantLink*>(context);
    std::lock_guard lock(link->disconnectMutex_);
    link->disconnected_ = true;
    link->disconnectDone_.notify_all();
  }
  static void DisconnectSucceeded(void* context, MQTTAsync_successData*) { DisconnectFinished(context); }
  static void DisconnectFailed(void* context, MQTTAsync_failureData*) { DisconnectFinished(context); }
};

PlantLink::PlantLink(const PlantSettings& settings)
    : cutTopic_("orl/" + settings.sawName + "/cut"),
      stateTopic_("orl/" + settings.sawName + "/state"),
      offlineState_(OfflineStateJson()),
      log_(Address(settings)) {
  std::error_code folderError;
  std::filesystem::create_directories(settings.persistenceFolder, folderError);
  const std::string folder = settings.persistenceFolder.string();

  MQTTAsync_createOptions create = MQTTAsync_createOptions_initializer;
  create.MQTTVersion = MQTTVERSION_3_1_1;
  create.sendWhileDisconnected = 1;
  create.allowDisconnectedSendAtAnyTime = 1;  // also before the first connection
  create.maxBufferedMessages = kMaxBufferedMessages;
  create.deleteOldestMessages = 0;
  create.restoreMessages = 1;  // what an earlier run left unsent goes first
  const std::string uri = "tcp://" + Address(settings);
  const std::string clientId = "orl-" + settings.sawName;
  MQTTAsync client = nullptr;
  const int rc = MQTTAsync_createWithOptions(&client, uri.c_str(), clientId.c_str(), MQTTCLIENT_PERSISTENCE_DEFAULT,
                                             const_cast<char*>(folder.c_str()), &create);
  if (rc != MQTTASYNC_SUCCESS) {
    log_.Failed("client not created in " + folder + ": " + ErrorText(rc));
    return;
  }
  client_ = client;
  MQTTAsync_setCallbacks(client_, this, &Callbacks::ConnectionLost, &Callbacks::MessageArrived, nullptr);
  MQTTAsync_setConnected(client_, this, &Callbacks::Connected);
  Connect();
}

void PlantLink::Connect() {
  MQTTAsync_willOptions will = MQTTAsync_willOptions_initializer;
  will.topicName = stateTopic_.c_str();
  will.message = offlineState_.c_str();
  will.retained = 1;
  will.qos = kQos;

  MQTTAsync_connectOptions options = MQTTAsync_connectOptions_initializer;
  options.MQTTVersion = MQTTVERSION_3_1_1;
  options.keepAliveInterval = kKeepAliveSeconds;
  options.connectTimeout = kConnectTimeoutSeconds;
  // The broker keeps the session, so records in flight when the
  // connection dropped are sent again rather than lost.
  options.cleansession = 0;
  options.automaticReconnect = 1;
  options.minRetryInterval = kMinRetrySeconds;
  options.maxRetryInterval = kMaxRetrySeconds;
  options.will = &will;
  options.onFailure = &Callbacks::ConnectFailed;
  options.context = this;
  const int rc = MQTTAsync_connect(client_, &options);
  if (rc != MQTTASYNC_SUCCESS) log_.Failed("cannot connect: " + ErrorText(rc));
}

PlantLink::~PlantLink() {
  if (!client_) return;
  bool connected = false;
  {
    std::lock_guard lock(stateMutex_);
    closing_ = true;
    connected = connected_;
  }
  // Offline left unsent would reach the broker only on the next run,
  // after that run's online; the last will already told the broker.
  if (connected) {
    Publish(stateTopic_, offlineState_, true);
    Disconnect();
  }
  MQTTAsync client = client_;
  MQTTAsync_destroy(&client);
}

void PlantLink::Disconnect() {
  MQTTAsync_disconnectOptions options = MQTTAsync_disconnectOptions_initializer;
  options.timeout = kDisconnectTimeoutMs;
  options.onSuccess = &Callbacks::DisconnectSucceeded;
  options.onFailure = &Callbacks::DisconnectFailed;
  options.context = this;
  if (MQTTAsync_disconnect(client_, &options) != MQTTASYNC_SUCCESS) return;
  std::unique_lock lock(disconnectMutex_);
  disconnectDone_.wait_for(lock, kDisconnectWait, [this] { return disconnected_; });
}

void PlantLink::PublishCut(const CutRecord& record) noexcept {
  try {
    Publish(cutTopic_, CutJson(record), false);
  } catch (...) {
    log_.Failed("a record could not be prepared");
  }
}

void PlantLink::PublishState(const SawState& state) noexcept {
  try {
    std::lock_guard lock(stateMutex_);
    latestState_ = state;
    if (connected_ && !closing_) Publish(stateTopic_, OnlineStateJson(latestState_), true);
  } catch (...) {
    log_.Failed("the state could not be prepared");
  }
}

void PlantLink::PublishLatestState() {
  std::lock_guard lock(stateMutex_);
  connected_ = true;
  if (!closing_) Publish(stateTopic_, OnlineStateJson(latestState_), true);
}

void PlantLink::Publish(const std::string& topic, const std::string& payload, bool retained) noexcept {
  if (!client_) return;
  MQTTAsync_message message = MQTTAsync_message_initializer;
  message.payload = const_cast<char*>(payload.data());
  message.payloadlen = static_cast<int>(payload.size());
  message.qos = kQos;
  message.retained = retained ? 1 : 0;
  // The library copies the message before returning; it writes it to the
  // persistence folder but never waits on the network.
  const int rc = MQTTAsync_sendMessage(client_, topic.c_str(), &message, nullptr);
  if (rc != MQTTASYNC_SUCCESS) {
    try {
      log_.Failed("not sent on " + topic + ": " + ErrorText(rc));
    } catch (...) {
    }
  }
}

std::vector<std::string> PlantLink::TakeLogLines() { return log_.Take(); }

}  // namespace orl
