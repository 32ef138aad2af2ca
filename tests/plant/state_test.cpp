// The saw's retained state on the plant's broker: what a subscriber that
// comes late reads, after a broker that forgot it, after a clean shutdown,
// and after the saw's program died without a word.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <thread>

#include "fakes/temp_folder.h"
#include "plant/broker.h"
#include "saw/plant/plant_link.h"

namespace orl {
namespace {

using namespace std::chrono_literals;
using testing::Broker;
using testing::RetainedMessage;
using testing::TempFolder;

constexpr const char* kStateTopic = "orl/saw1/state";

class PlantState : public ::testing::Test {
 protected:
  PlantSettings Settings() const {
    return {Broker::kHost, broker_.Port(), "saw1", folder_.Path() / "plant", folder_.Path() / "history.sqlite"};
  }

  // Polls the retained state until it is `expected`; returns the last read.
  nlohmann::json WaitForState(const nlohmann::json& expected) const {
    const auto end = std::chrono::steady_clock::now() + 30s;
    nlohmann::json state;
    do {
      const std::string text = RetainedMessage(broker_, kStateTopic);
      state = text.empty() ? nlohmann::json() : nlohmann::json::parse(text);
    } while (state != expected && std::chrono::steady_clock::now() < end);
    return state;
  }

  static nlohmann::json Online(const std::string& program, int group, const std::string& plc) {
    return {{"state", "online"}, {"program", program}, {"group", group}, {"plc", plc}};
  }
  static nlohmann::json Offline() { return {{"state", "offline"}}; }

  TempFolder folder_;
  Broker broker_{folder_.Path()};
};

TEST_F(PlantState, LateSubscriberReadsTheLatestStateAForgetfulBrokerGetsItAgainAndACleanShutdownLeavesOffline) {
  {
    PlantLink link(Settings());
    EXPECT_EQ(WaitForState(Online("", 0, "down")), Online("", 0, "down")) << "online as soon as connected";
    link.PublishState({"doors.cut", 2, false});
    link.PublishState({"doors.cut", 3, true});
    EXPECT_EQ(WaitForState(Online("doors.cut", 3, "up")), Online("doors.cut", 3, "up"));
    broker_.Stop();
    std::filesystem::remove(broker_.Folder() / "mosquitto.db");  // retained messages gone
    link.PublishState({"windows.cut", 4, false});
    broker_.Start();
    EXPECT_EQ(WaitForState(Online("windows.cut", 4, "down")), Online("windows.cut", 4, "down"));
  }
  EXPECT_EQ(RetainedMessage(broker_, kStateTopic), R"({"state":"offline"})");
}

TEST_F(PlantState, AProgramThatDiesUnannouncedIsShownOffline) {
  struct Killed {
    pid_t pid;
    ~Killed() {
      if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
    }
  } saw{fork()};
  ASSERT_GE(saw.pid, 0);
  if (saw.pid == 0) {  // the saw: links, tells two states, then waits to be killed
    PlantLink link(Settings());
    link.PublishState({"doors.cut", 2, true});
    link.PublishState({"doors.cut", 5, true});
    for (;;) pause();
  }
  ASSERT_EQ(WaitForState(Online("doors.cut", 5, "up")), Online("doors.cut", 5, "up"));
  kill(saw.pid, SIGKILL);
  EXPECT_EQ(WaitForState(Offline()), Offline());
}

}  // namespace
}  // namespace orl
