#pragma once
// A real MQTT broker (Debian's mosquitto) on a free loopback port, and a
// subscriber nobody here wrote (mosquitto_sub) collecting what the saw
// publishes, for tests of anything that talks to the plant.
//
//   TempFolder folder;
//   Broker broker(folder.Path());                  // running on broker.Port()
//   CutSubscriber plant(broker, folder.Path());    // durable QoS 1 session on orl/+/cut
//   ... publish to 127.0.0.1:broker.Port() ...
//   plant.WaitForLines(50);                        // one payload per line
//   broker.Stop(); broker.Start();                 // same port, sessions kept
//
// The broker keeps its sessions and queued QoS 1 messages in the folder:
// Stop() (SIGTERM) saves them, so a restart loses nothing.
// The subscriber reconnects by itself while the broker is away, and its
// session queues what is published meanwhile.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "plc/child_process.h"

namespace orl::testing {

namespace broker_detail {

inline sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A port nothing listens on now (the kernel's pick for port 0).
inline int FreeLoopbackPort() {
  const int sock = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  if (bind(sock, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(sock, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    close(sock);
    throw std::runtime_error("no free loopback port");
  }
  close(sock);
  return ntohs(address.sin_port);
}

inline bool Accepts(int port) {
  const int sock = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(port);
  const bool accepted = connect(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(sock);
  return accepted;
}

// The complete lines of `file`: a line still being written is not one yet.
inline std::vector<std::string> ReadLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    if (!in.eof()) lines.push_back(line);
  return lines;
}

inline std::string UserName() {
  const passwd* user = getpwuid(geteuid());
  return user ? user->pw_name : "root";
}

}  // namespace broker_detail

class Broker {
 public:
  static constexpr const char* kHost = "127.0.0.1";

  // Writes the configuration into `folder` (which must exist) and starts.
  explicit Broker(const std::filesystem::path& folder)
      : folder_(folder), port_(broker_detail::FreeLoopbackPort()) {
    std::ofstream(folder_ / "mosquitto.conf")
        << "listener " << port_ << " " << kHost << "\n"
        << "allow_anonymous true\n"
        << "persistence true\n"
        << "persistence_location " << folder_.string() << "/\n"
        << "autosave_interval 1\n"
        // Queue every message for an absent durable subscriber.
        << "max_queued_messages 0\n"
        // Started as root, mosquitto switches to its own user, which
        // cannot write the test's folder.
        << "user " << broker_detail::UserName() << "\n";
    Start();
  }

  int Port() const { return port_; }
  const std::filesystem::path& Folder() const { return folder_; }

  // Starts the broker (again, on the same port) and waits until it accepts.
  void Start() {
    process_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"/usr/sbin/mosquitto", "-c", (folder_ / "mosquitto.conf").string()},
        folder_ / "mosquitto.log", folder_ / "mosquitto.log");
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!broker_detail::Accepts(port_)) {
      if (!process_->Running() || std::chrono::steady_clock::now() > end)
        throw std::runtime_error("mosquitto did not start, see " + (folder_ / "mosquitto.log").string());
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  // Ends the broker as a service stop does: sessions and queued messages saved.
  void Stop() { process_.reset(); }
  bool Running() const { return process_ && process_->Running(); }

 private:
  std::filesystem::path folder_;
  int port_;
  std::unique_ptr<ChildProcess> process_;
};

// mosquitto_sub on a durable QoS 1 session: every payload on `topic` ends
// up as one line in `folder`/<clientId>.txt, including those published
// while it was not connected. Needs the broker running when created; it
// must outlive the subscriber.
class CutSubscriber {
 public:
  CutSubscriber(const Broker& broker, const std::filesystem::path& folder, std::string clientId = "plant",
                std::string topic = "orl/+/cut")
      : broker_(broker),
        clientId_(clientId),
        file_(folder / (clientId + ".txt")),
        arguments_{"/usr/bin/mosquitto_sub", "-h", Broker::kHost, "-p", std::to_string(broker.Port()),
                   "-t", std::move(topic), "-q", "1", "-c", "-i", std::move(clientId)} {
    // Opens the session and returns once the subscription is acknowledged,
    // so nothing published afterwards can be missed.
    std::vector<std::string> once = arguments_;
    once.push_back("-E");
    ChildProcess subscribe(once, folder / "subscribe.log", folder / "subscribe.log");
    if (subscribe.Wait(std::chrono::seconds(10)) != 0)
      throw std::runtime_error("mosquitto_sub could not subscribe");
    Start();
  }

  // Receives on the session. With the broker running, returns once
  // connected: mosquitto_sub gives up if its first connection fails, but
  // retries by itself once it has been connected.
  void Start() {
    const std::size_t before = Connections();
    process_ = std::make_unique<ChildProcess>(arguments_, file_, file_.string() + ".log");
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (broker_.Running() && Connections() == before) {
      if (!process_->Running() || std::chrono::steady_clock::now() > end)
        throw std::runtime_error("mosquitto_sub did not connect, see " + file_.string() + ".log");
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  // Stops receiving; the broker queues for the session meanwhile.
  void Stop() { process_.reset(); }

  // The complete lines received so far.
  std::vector<std::string> Lines() const { return broker_detail::ReadLines(file_); }

  // Polls until at least `count` lines arrived; false at the deadline.
  bool WaitForLines(std::size_t count, std::chrono::milliseconds deadline = std::chrono::seconds(30)) const {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (Lines().size() < count) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
  }

 private:
  // How often the broker logged this client connecting.
  std::size_t Connections() const {
    std::size_t count = 0;
    for (const std::string& line : broker_detail::ReadLines(broker_.Folder() / "mosquitto.log"))
      if (line.find("New client connected") != std::string::npos && line.find(" as " + clientId_ + " ") != std::string::npos)
        ++count;
    return count;
  }

  const Broker& broker_;
  std::string clientId_;
  std::filesystem::path file_;
  std::vector<std::string> arguments_;
  std::unique_ptr<ChildProcess> process_;
};

// The message the broker keeps retained on `topic`, "" when none
// (waits up to two seconds for it).
inline std::string RetainedMessage(const Broker& broker, const std::string& topic) {
  ChildProcess reader({"/usr/bin/mosquitto_sub", "-h", Broker::kHost, "-p", std::to_string(broker.Port()), "-t",
                       topic, "-C", "1", "-W", "2"});
  return reader.ReadLine().value_or("");
}

}  // namespace orl::testing
