#include "saw/history/history_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <mutex>

#include "cut_records.h"
#include "fakes/temp_folder.h"
#include "saw/history/cut_record_format.h"
#include "saw/history/history_store.h"

namespace orl {
namespace {

using testing::CutAt;
using testing::Eventually;
using Targets = std::vector<std::int32_t>;

Targets StoredTargets(const std::string& file) {
  Targets targets;
  HistoryStore::OpenReadOnly(file).ForEach({}, [&](const CutRecord& r) { targets.push_back(r.target); });
  return targets;
}

void RecordTargets(HistoryWriter& writer, int first, int last) {
  for (int target = first; target <= last; ++target) writer.Record(CutAt(1000, "p", target));
}

// Gathers log lines until one starts with prefix.
bool LogShows(HistoryWriter& writer, std::vector<std::string>& log, const std::string& prefix) {
  return Eventually([&] {
    for (std::string& line : writer.TakeLogLines()) log.push_back(std::move(line));
    return std::any_of(log.begin(), log.end(), [&](const std::string& line) { return line.starts_with(prefix); });
  });
}

TEST(HistoryWriter, CommitsInOrderAndTellsEachRecordWithItsSeq) {
  testing::TempFolder folder;
  std::mutex mutex;
  std::vector<CutRecord> told;
  HistoryWriter writer(folder.File("h.sqlite"), 365, [&](const CutRecord& r) {
    std::lock_guard lock(mutex);
    told.push_back(r);
  });
  const auto before = std::chrono::system_clock::now();
  writer.Record(CutAt(0, "p", 1));  // stamped when queued
  RecordTargets(writer, 2, 30);
  ASSERT_TRUE(Eventually([&] { return writer.CaughtUp(); }));
  EXPECT_EQ(StoredTargets(folder.File("h.sqlite")).size(), 30u);
  ASSERT_TRUE(Eventually([&] { std::lock_guard lock(mutex); return told.size() == 30; }));
  std::lock_guard lock(mutex);
  for (int i = 0; i < 30; ++i) EXPECT_EQ(told[i].seq, i + 1);
  EXPECT_EQ(told.back().target, 30);
  EXPECT_GE(std::chrono::system_clock::time_point(std::chrono::milliseconds(told[0].timeMs)),
            std::chrono::time_point_cast<std::chrono::milliseconds>(before));
  EXPECT_TRUE(writer.TakeLogLines().empty());
}

TEST(HistoryWriter, AMissingFolderIsToldOnceAndTheRecordsFollowWhenItComes) {
  testing::TempFolder folder;
  const std::string file = folder.File("later/h.sqlite");
  HistoryWriter writer(file, 365);
  std::vector<std::string> log;
  ASSERT_TRUE(LogShows(writer, log, "History cannot be written: " + file + ": "));
  RecordTargets(writer, 1, 3);
  EXPECT_TRUE(writer.CaughtUp());  // the saw goes on
  std::filesystem::create_directory(folder.Path() / "later");
  RecordTargets(writer, 4, 4);
  ASSERT_TRUE(LogShows(writer, log, "History written again: " + file));
  ASSERT_TRUE(Eventually([&] { return writer.CaughtUp(); }));
  for (std::string& line : writer.TakeLogLines()) log.push_back(std::move(line));
  EXPECT_EQ(log.size(), 2u);
  EXPECT_EQ(StoredTargets(file), (Targets{1, 2, 3, 4}));
}

TEST(HistoryWriter, AFileThatIsNoDatabaseIsTriedAgainWithoutANewRecordKeepingTheNewest) {
  testing::TempFolder folder;
  const std::string file = folder.Write("h.sqlite", std::string(4096, 'x'));
  HistoryWriter writer(file, 365, {}, 2);
  RecordTargets(writer, 1, 5);
  std::vector<std::string> log;
  ASSERT_TRUE(LogShows(writer, log, "History cannot be written: " + file + ": file is not a database"));
  ASSERT_TRUE(LogShows(writer, log, "History cannot keep more records in memory"));
  std::filesystem::remove(file);
  ASSERT_TRUE(LogShows(writer, log, "History written again: " + file));
  ASSERT_TRUE(Eventually([&] { return writer.CaughtUp(); }));
  EXPECT_EQ(StoredTargets(file), (Targets{4, 5}));
}

TEST(HistoryWriter, HousekeepingRemovesRecordsPastTheirKeepingTimeAndDestroyingItCommitsWhatIsQueued) {
  testing::TempFolder folder;
  const std::string file = folder.File("h.sqlite");
  const std::int64_t now = 100 * kDayMs;
  {
    HistoryWriter writer(file, 30, {});
    writer.Record(CutAt(now - 31 * kDayMs, "p", 1));
    writer.Record(CutAt(now - 29 * kDayMs, "p", 2));
    ASSERT_TRUE(Eventually([&] { return writer.CaughtUp(); }));
    writer.Housekeep(now);
    EXPECT_TRUE(Eventually([&] { return StoredTargets(file) == Targets{2}; }));
    RecordTargets(writer, 3, 200);
  }
  EXPECT_EQ(StoredTargets(file).size(), 199u);
}

}  // namespace
}  // namespace orl
