// orl-tool run against the simulated saw with the plant's broker set in
// its settings: what the plant receives is what the saw recorded, through
// a broker restart, and a broker that is up, silent or not set leaves the
// saw's hand-overs as they were.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <set>

#include "fakes/temp_folder.h"
#include "plant/broker.h"
#include "saw/history/history_store.h"
#include "saw/shell/profile_file.h"

namespace orl {
namespace {

using testing::Broker;
using testing::CutSubscriber;
using testing::TempFolder;

struct SawRunWithPlant : ::testing::Test {
  testing::TempFolder folder;

  // The bundled examples with the broker (if any) under [System].
  void Settings(const std::string& broker) {
    folder.CopyExamples(ORL_EXAMPLES_DIR);
    if (broker.empty()) return;
    const ProfileFile ini(folder.File("ORL.INI"));
    ini.WriteSetting("System", "MqttBroker", broker);
    ini.WriteSetting("System", "SawName", "saw1");
  }
  std::vector<std::string> RunArgs(int ticks) {
    return {ORL_TOOL_PATH, "run", (folder.Path() / "Programs" / "metric-example").string(), "--ini",
            (folder.Path() / "ORL.INI").string(), "--plc", "sim", "--tick-ms", "10", "--max-ticks", std::to_string(ticks)};
  }
  int HandOvers(int ticks) {
    testing::ChildProcess run(RunArgs(ticks));
    int handOvers = 0;
    while (const auto line = run.ReadLine(std::chrono::seconds(60))) handOvers += line->starts_with("tick ");
    EXPECT_EQ(run.Wait(std::chrono::seconds(10)), 0);
    return handOvers;
  }
  std::vector<std::int64_t> RecordedSeqs() {
    std::vector<std::int64_t> seqs;
    HistoryStore::OpenReadOnly(folder.Path() / "history.sqlite").ForEach(HistoryRange{}, [&](const CutRecord& r) {
      seqs.push_back(r.seq);
    });
    return seqs;
  }
};

TEST_F(SawRunWithPlant, EveryRecordReachesThePlantInOrderThroughABrokerRestart) {
  Broker broker(folder.Path());
  CutSubscriber plant(broker, folder.Path());
  Settings("127.0.0.1:" + std::to_string(broker.Port()));
  {
    testing::ChildProcess run(RunArgs(900), folder.Path() / "run.out", folder.Path() / "run.err");
    ASSERT_TRUE(plant.WaitForLines(15));
    broker.Stop();  // the plant's broker goes away in the middle of the run
    std::this_thread::sleep_for(std::chrono::seconds(1));
    broker.Start();
    ASSERT_EQ(run.Wait(std::chrono::seconds(120)), 0) << folder.Read("run.err");
  }
  const std::vector<std::int64_t> recorded = RecordedSeqs();
  ASSERT_GE(recorded.size(), 50u);
  ASSERT_TRUE(plant.WaitForLines(recorded.size()));
  // A record sent again after the restart is recognised by its seq.
  std::vector<std::int64_t> received;
  for (const std::string& line : plant.Lines()) {
    const auto seq = nlohmann::json::parse(line.substr(line.find('{'))).at("seq").get<std::int64_t>();
    if (received.empty() || seq > received.back()) received.push_back(seq);
    else EXPECT_NE(std::find(received.begin(), received.end(), seq), received.end()) << "out of order: " << seq;
  }
  EXPECT_EQ(received, recorded);
}

TEST_F(SawRunWithPlant, ABrokerUpSilentOrNotSetLeavesTheHandOversAsTheyWere) {
  constexpr int kTicks = 400;
  Settings("");
  const int alone = HandOvers(kTicks);
  ASSERT_GE(alone, 20);

  std::filesystem::remove_all(folder.Path());
  std::filesystem::create_directories(folder.Path());
  // A broker that takes the connection and never answers: a link that
  // waited for it anywhere on the saw's way would hold every hand-over.
  const int silent = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = testing::broker_detail::Loopback(0);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(silent, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(listen(silent, 4), 0);
  ASSERT_EQ(getsockname(silent, reinterpret_cast<sockaddr*>(&address), &size), 0);
  Settings("127.0.0.1:" + std::to_string(ntohs(address.sin_port)));
  const int away = HandOvers(kTicks);
  close(silent);

  std::filesystem::remove_all(folder.Path());
  std::filesystem::create_directories(folder.Path());
  Broker broker(folder.Path());
  Settings("127.0.0.1:" + std::to_string(broker.Port()));
  const int up = HandOvers(kTicks);
  // The same ticks hand over the same targets; a commit that is slow on a
  // busy disk may hold one hand-over for a tick.
  EXPECT_NEAR(away, alone, 2);
  EXPECT_NEAR(up, alone, 2);
}

}  // namespace
}  // namespace orl
