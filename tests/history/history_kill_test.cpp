// The history file against a saw killed at any moment: a child process
// records through the writer and reports each commit; it is killed at a
// random moment, several times over on the same file.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <thread>

#include "fakes/temp_folder.h"
#include "plc/child_process.h"
#include "saw/history/history_store.h"
#include "saw/history/sqlite_connection.h"

namespace orl {
namespace {

using namespace std::chrono_literals;

struct Reported {
  int count = 0;  // records committed in this run
  long long seq = 0;  // the last one's
};

void ReadReport(const std::string& line, Reported& reported) {
  ASSERT_EQ(std::sscanf(line.c_str(), "%d %lld", &reported.count, &reported.seq), 2) << line;
}

// Runs the child until a random number of commits, kills it, and returns
// the last commit it reported, counting reports written just before the kill.
Reported RecordUntilKilled(const std::string& file, int run, std::mt19937& random) {
  testing::ChildProcess child({HISTORY_KILL_CHILD_PATH, file, std::to_string(run)});
  Reported reported;
  const int reportsBeforeKill = std::uniform_int_distribution(1, 60)(random);
  for (int i = 0; i < reportsBeforeKill; ++i) {
    const auto line = child.ReadLine();
    if (!line) {
      ADD_FAILURE() << "the child reported no commit";
      return reported;
    }
    ReadReport(*line, reported);
  }
  std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution(0, 5000)(random)));
  child.Signal(SIGKILL);
  while (const auto line = child.ReadLine(5s)) ReadReport(*line, reported);
  return reported;
}

std::string IntegrityCheck(const std::string& file) {
  const SqliteConnection connection(file, SqliteConnection::Mode::kReadOnly);
  SqliteStatement check(connection, "PRAGMA integrity_check");
  return check.Step() ? check.Text(0) : "no answer";
}

TEST(HistoryKill, EveryReportedCommitSurvivesAndNoSeqIsGivenTwice) {
  testing::TempFolder folder;
  const std::string file = folder.File("history.sqlite");
  std::mt19937 random(std::random_device{}());
  constexpr int kRuns = 6;
  std::map<int, Reported> reported;
  for (int run = 1; run <= kRuns; ++run) reported[run] = RecordUntilKilled(file, run, random);

  EXPECT_EQ(IntegrityCheck(file), "ok");
  std::map<int, std::vector<std::int32_t>> countsOfRun;
  std::map<int, std::map<std::int32_t, std::int64_t>> seqOf;
  int lastRun = 0;
  HistoryStore::OpenReadOnly(file).ForEach({}, [&](const CutRecord& r) {
    EXPECT_GE(r.group, lastRun) << "a later run's record numbered before an earlier one's";
    lastRun = r.group;
    countsOfRun[r.group].push_back(r.target);
    seqOf[r.group][r.target] = r.seq;
  });
  for (int run = 1; run <= kRuns; ++run) {
    const std::vector<std::int32_t>& counts = countsOfRun[run];
    const int last = reported[run].count;
    // The record under way at the kill may or may not have been committed.
    ASSERT_TRUE(counts.size() == static_cast<std::size_t>(last) || counts.size() == static_cast<std::size_t>(last) + 1)
        << "run " << run << ": " << counts.size() << " stored, " << last << " reported";
    for (std::size_t i = 0; i < counts.size(); ++i) EXPECT_EQ(counts[i], static_cast<std::int32_t>(i + 1));
    EXPECT_EQ(seqOf[run][last], reported[run].seq) << "run " << run;
  }
}

}  // namespace
}  // namespace orl
