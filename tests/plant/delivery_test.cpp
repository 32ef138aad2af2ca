// Production records reach a real subscriber complete and in order, through
// a broker that comes and goes with records in flight and a program that
// restarts meanwhile.
#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <numeric>
#include <set>
#include <thread>

#include "fakes/temp_folder.h"
#include "history/cut_records.h"
#include "plant/broker.h"
#include "saw/history/history_store.h"
#include "saw/plant/plant_link.h"

namespace orl {
namespace {

using namespace std::chrono_literals;
using testing::Broker;
using testing::CutSubscriber;
using testing::TempFolder;

std::vector<std::int64_t> OneToN(std::int64_t n) {
  std::vector<std::int64_t> seqs(static_cast<std::size_t>(n));
  std::iota(seqs.begin(), seqs.end(), 1);
  return seqs;
}

class PlantDelivery : public ::testing::Test {
 protected:
  PlantSettings Settings() const {
    return {Broker::kHost, broker_.Port(), "saw1", folder_.Path() / "plant", folder_.Path() / "history.sqlite"};
  }

  // Commits `count` records to the history file as the saw's writer does,
  // handing each to the link once it is committed (none: the program is down).
  void Commit(PlantLink* link, int count) {
    for (int i = 0; i < count; ++i) {
      CutRecord record = testing::CutAt(1'700'000'000'000 + i, "doors.cut");
      history_.Append(record);
      if (link) link->PublishCut(record);
    }
  }

  // Every seq received, in arrival order.
  std::vector<std::int64_t> Seqs() const {
    std::vector<std::int64_t> seqs;
    for (const std::string& line : subscriber_.Lines()) seqs.push_back(nlohmann::json::parse(line).at("seq"));
    return seqs;
  }

  // Polls until `count` distinct records arrived (or the deadline passed);
  // their seqs in arrival order, the copies of a record sent twice left out.
  std::vector<std::int64_t> WaitForRecords(std::size_t count, std::chrono::milliseconds deadline = 60s) const {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
      std::vector<std::int64_t> first;
      std::set<std::int64_t> seen;
      for (std::int64_t seq : Seqs())
        if (seen.insert(seq).second) first.push_back(seq);
      if (first.size() >= count || std::chrono::steady_clock::now() > end) return first;
      std::this_thread::sleep_for(20ms);
    }
  }

  // Polls the link's log into `taken` until a line starting with `prefix` is there.
  static void WaitForLogLine(PlantLink& link, std::vector<std::string>& taken, const std::string& prefix) {
    const auto end = std::chrono::steady_clock::now() + 60s;
    auto told = [&] { return std::any_of(taken.begin(), taken.end(), [&](auto& l) { return l.starts_with(prefix); }); };
    while (!told() && std::chrono::steady_clock::now() < end) {
      for (std::string& line : link.TakeLogLines()) taken.push_back(std::move(line));
      std::this_thread::sleep_for(20ms);
    }
  }

  TempFolder folder_;
  Broker broker_{folder_.Path()};
  CutSubscriber subscriber_{broker_, folder_.Path()};
  HistoryStore history_ = HistoryStore::OpenForWriting(folder_.Path() / "history.sqlite");
};

TEST_F(PlantDelivery, BrokerStoppedWithRecordsInFlightLosesNothingAndKeepsTheOrder) {
  PlantLink link(Settings());
  Commit(&link, 200);
  broker_.Stop();  // at once: most records are still queued or in flight
  Commit(&link, 50);
  broker_.Start();
  Commit(&link, 50);
  EXPECT_EQ(WaitForRecords(300), OneToN(300));
}

TEST_F(PlantDelivery, RecordsCommittedWhileTheBrokerIsAwayReachItAfterARestartAndTheLogTellsEachChangeOnce) {
  broker_.Stop();
  {
    PlantLink beforeRestart(Settings());
    Commit(&beforeRestart, 20);
  }
  Commit(nullptr, 5);  // the program committed these, then died before they were handed over
  PlantLink afterRestart(Settings());
  Commit(&afterRestart, 5);
  std::vector<std::string> log;
  WaitForLogLine(afterRestart, log, "Plant broker not reachable");
  std::this_thread::sleep_for(2500ms);  // long enough for the link to retry in vain at least once more
  broker_.Start();
  EXPECT_EQ(WaitForRecords(30), OneToN(30));
  EXPECT_EQ(Seqs(), OneToN(30)) << "the file first, and a record read there is not queued twice";
  WaitForLogLine(afterRestart, log, "Plant broker reachable again");
  const std::string address = "127.0.0.1:" + std::to_string(broker_.Port());
  EXPECT_EQ(log, (std::vector<std::string>{"Plant broker not reachable: " + address,
                                           "Plant broker reachable again: " + address}));
}

TEST_F(PlantDelivery, AFirstStartBeginsAtTheHistoryEndAndARestartAfterWhatWasDelivered) {
  Commit(nullptr, 5);  // the saw's history from before the plant was set up
  {
    PlantLink first(Settings());
    Commit(&first, 3);
    ASSERT_TRUE(subscriber_.WaitForLines(3));
  }
  PlantLink second(Settings());
  Commit(&second, 2);
  ASSERT_TRUE(subscriber_.WaitForLines(5));
  EXPECT_EQ(Seqs(), (std::vector<std::int64_t>{6, 7, 8, 9, 10})) << "a broker that stays up gets no record twice";
  const nlohmann::json first = nlohmann::json::parse(subscriber_.Lines().front());
  EXPECT_EQ(first.at("program"), "doors.cut");
  EXPECT_EQ(first.at("length"), "500");
  EXPECT_EQ(second.TakeLogLines(), std::vector<std::string>{});
}

}  // namespace
}  // namespace orl
