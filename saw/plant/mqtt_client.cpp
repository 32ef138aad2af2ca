#include "saw/plant/mqtt_client.h"

#include <MQTTAsync.h>

namespace orl {
namespace {

constexpr int kQos = 1;
constexpr int kConnectTimeoutSeconds = 5;
constexpr int kKeepAliveSeconds = 20;

std::string ErrorText(int code) {
  if (code == MQTTASYNC_SUCCESS) return "";
  const char* text = MQTTAsync_strerror(code);
  return text ? text : "error " + std::to_string(code);
}

}  // namespace

// Run on the library's threads.
struct MqttClient::Callbacks {
  static MqttClient& Of(void* context) { return *static_cast<MqttClient*>(context); }

  static void Connected(void* context, MQTTAsync_successData*) {
    Of(context).listener_.Connected(Of(context).generation_);
  }
  static void ConnectFailed(void* context, MQTTAsync_failureData*) {
    Of(context).listener_.ConnectFailed(Of(context).generation_);
  }
  static void ConnectionLost(void* context, char* /*cause*/) {
    Of(context).listener_.ConnectionLost(Of(context).generation_);
  }
  // Nothing is subscribed; the library insists on the callback.
  static int MessageArrived(void*, char* topic, int, MQTTAsync_message* message) {
    MQTTAsync_freeMessage(&message);
    MQTTAsync_free(topic);
    return 1;
  }
  static void Delivered(void* context, MQTTAsync_successData*) {
    auto* tracked = static_cast<Tracked*>(context);
    tracked->client->Finished(tracked->id, true);
  }
  static void NotDelivered(void* context, MQTTAsync_failureData*) {
    auto* tracked = static_cast<Tracked*>(context);
    tracked->client->Finished(tracked->id, false);
  }
  static void Disconnected(void* context, MQTTAsync_successData*) {
    Of(context).listener_.Disconnected(Of(context).generation_);
  }
  static void DisconnectFailed(void* context, MQTTAsync_failureData*) {
    Of(context).listener_.Disconnected(Of(context).generation_);
  }
};

MqttClient::MqttClient(const Options& options, Listener& listener, std::uint64_t generation)
    : options_(options), listener_(listener), generation_(generation) {
  MQTTAsync_createOptions create = MQTTAsync_createOptions_initializer;
  create.MQTTVersion = MQTTVERSION_3_1_1;
  create.sendWhileDisconnected = 0;  // a record waits in the outbox, not in the library
  MQTTAsync handle = nullptr;
  const int rc = MQTTAsync_createWithOptions(&handle, options_.uri.c_str(), options_.clientId.c_str(),
                                             MQTTCLIENT_PERSISTENCE_NONE, nullptr, &create);
  if (rc != MQTTASYNC_SUCCESS) throw std::runtime_error("client not created: " + ErrorText(rc));
  handle_ = handle;
  MQTTAsync_setCallbacks(handle_, this, &Callbacks::ConnectionLost, &Callbacks::MessageArrived, nullptr);
}

MqttClient::~MqttClient() {
  MQTTAsync handle = handle_;
  MQTTAsync_destroy(&handle);  // no event comes after this
}

std::string MqttClient::Connect() {
  MQTTAsync_willOptions will = MQTTAsync_willOptions_initializer;
  will.topicName = options_.willTopic.c_str();
  will.message = options_.willMessage.c_str();
  will.retained = 1;
  will.qos = kQos;

  MQTTAsync_connectOptions connect = MQTTAsync_connectOptions_initializer;
  connect.MQTTVersion = MQTTVERSION_3_1_1;
  connect.keepAliveInterval = kKeepAliveSeconds;
  connect.connectTimeout = kConnectTimeoutSeconds;
  // The library forgets its messages in flight at each connection and
  // never resends one; the outbox does that, from its own copy.
  connect.cleansession = 1;
  connect.automaticReconnect = 0;
  connect.will = &will;
  connect.onSuccess = &Callbacks::Connected;
  connect.onFailure = &Callbacks::ConnectFailed;
  connect.context = this;
  return ErrorText(MQTTAsync_connect(handle_, &connect));
}

MqttClient::Sent MqttClient::Publish(const std::string& topic, const std::string& payload, bool retained,
                                     std::optional<std::int64_t> id) {
  MQTTAsync_message message = MQTTAsync_message_initializer;
  message.payload = const_cast<char*>(payload.data());
  message.payloadlen = static_cast<int>(payload.size());
  message.qos = kQos;
  message.retained = retained ? 1 : 0;
  MQTTAsync_responseOptions response = MQTTAsync_responseOptions_initializer;
  if (id) {
    std::lock_guard lock(trackedMutex_);
    Tracked& tracked = tracked_[*id];
    tracked = {this, *id};
    response.onSuccess = &Callbacks::Delivered;
    response.onFailure = &Callbacks::NotDelivered;
    response.context = &tracked;
  }
  // The library copies the message before returning and never waits on the network.
  const int rc = MQTTAsync_sendMessage(handle_, topic.c_str(), &message, &response);
  if (rc == MQTTASYNC_SUCCESS) return {};
  if (id) {
    std::lock_guard lock(trackedMutex_);
    tracked_.erase(*id);
  }
  return {false, rc == MQTTASYNC_DISCONNECTED, ErrorText(rc)};
}

std::string MqttClient::Disconnect(int timeoutMs) {
  MQTTAsync_disconnectOptions options = MQTTAsync_disconnectOptions_initializer;
  options.timeout = timeoutMs;
  options.onSuccess = &Callbacks::Disconnected;
  options.onFailure = &Callbacks::DisconnectFailed;
  options.context = this;
  return ErrorText(MQTTAsync_disconnect(handle_, &options));
}

void MqttClient::Finished(std::int64_t id, bool delivered) {
  {
    std::lock_guard lock(trackedMutex_);
    tracked_.erase(id);  // the library never calls back twice for one message
  }
  if (delivered) listener_.Delivered(generation_, id);
  else listener_.NotDelivered(generation_, id);
}

}  // namespace orl
