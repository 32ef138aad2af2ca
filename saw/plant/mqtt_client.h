#pragma once
// One client of the Paho MQTT library, used for one connection: when that
// connection breaks, the client is destroyed and a new one made, so
// nothing the library still held for the old connection goes out on the
// next one ahead of the records sent again. The library keeps nothing on
// disk and resends nothing by itself (clean session, no persistence).
//
// Events come on the library's threads, tagged with the client's
// generation so the owner can tell a late event of a replaced client.
// Call nothing here from inside an event.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

namespace orl {

class MqttClient {
 public:
  class Listener {
   public:
    virtual ~Listener() = default;
    virtual void Connected(std::uint64_t generation) = 0;
    virtual void ConnectFailed(std::uint64_t generation) = 0;
    virtual void ConnectionLost(std::uint64_t generation) = 0;
    // The broker acknowledged the message published with this id.
    virtual void Delivered(std::uint64_t generation, std::int64_t id) = 0;
    // The message with this id may not have reached the broker.
    virtual void NotDelivered(std::uint64_t generation, std::int64_t id) = 0;
    virtual void Disconnected(std::uint64_t generation) = 0;
  };

  struct Options {
    std::string uri;  // tcp://host:port
    std::string clientId;
    std::string willTopic;  // retained, QoS 1
    std::string willMessage;
  };

  // Throws std::runtime_error when the library refuses.
  MqttClient(const Options& options, Listener& listener, std::uint64_t generation);
  // Ends the connection without a word (the broker sends the last will if
  // it was connected); pending messages get NotDelivered.
  ~MqttClient();
  MqttClient(const MqttClient&) = delete;
  MqttClient& operator=(const MqttClient&) = delete;

  // Each returns "" when the library took the request, else why not.
  std::string Connect();
  struct Sent {
    bool taken = true;
    bool notConnected = false;  // refused as the connection just went: nothing to report
    std::string error;
  };
  // QoS 1. With an id, Delivered or NotDelivered follows for it; ids must
  // be unique among the messages in flight.
  Sent Publish(const std::string& topic, const std::string& payload, bool retained, std::optional<std::int64_t> id);
  // Waits up to timeoutMs for messages in flight, then Disconnected follows.
  std::string Disconnect(int timeoutMs);

 private:
  struct Callbacks;
  struct Tracked {  // the library's context for one message with an id
    MqttClient* client;
    std::int64_t id;
  };
  void Finished(std::int64_t id, bool delivered);

  const Options options_;
  Listener& listener_;
  const std::uint64_t generation_;
  void* handle_ = nullptr;  // MQTTAsync

  std::mutex trackedMutex_;
  std::map<std::int64_t, Tracked> tracked_;  // nodes stay put: the library holds their address
};

}  // namespace orl
