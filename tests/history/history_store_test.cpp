#include "saw/history/history_store.h"

#include <gtest/gtest.h>

#include "cut_records.h"
#include "fakes/temp_folder.h"
#include "saw/history/cut_record_format.h"

namespace orl {
namespace {

using testing::CutAt;

std::vector<std::int64_t> Seqs(const std::vector<CutRecord>& records) {
  std::vector<std::int64_t> seqs;
  for (const CutRecord& r : records) seqs.push_back(r.seq);
  return seqs;
}

std::vector<std::int64_t> TimesOldestFirst(const HistoryStore& store, const HistoryRange& range = {}) {
  std::vector<std::int64_t> times;
  store.ForEach(range, [&](const CutRecord& r) { times.push_back(r.timeMs); });
  return times;
}

class HistoryStoreTest : public ::testing::Test {
 protected:
  testing::TempFolder folder;
  std::string file = folder.File("history.sqlite");
  HistoryStore store = HistoryStore::OpenForWriting(file);

  void AppendAt(std::initializer_list<std::int64_t> times) {
    for (const std::int64_t t : times) {
      CutRecord record = CutAt(t);
      store.Append(record);
    }
  }
};

TEST_F(HistoryStoreTest, RecordsComeBackAsStored) {
  CutRecord record{0, 1'765'000'000'123, CutKind::Manual, "doors, \"oak\"", "Ø 12", 3, 7, 10, 12'192, "48",
                   "in", true, true, "B2", "P14"};
  EXPECT_EQ(store.Append(record), 1);
  EXPECT_EQ(record.seq, 1);
  const auto page = store.Page({}, 0, 10);
  ASSERT_EQ(page.size(), 1u);
  EXPECT_EQ(CutJson(page[0]), CutJson(record));
}

TEST_F(HistoryStoreTest, PagesGoBackBySeqAcrossEqualTimes) {
  AppendAt({5000, 5000, 5000, 5000, 5000});
  EXPECT_EQ(Seqs(store.Page({}, 0, 2)), (std::vector<std::int64_t>{5, 4}));
  EXPECT_EQ(Seqs(store.Page({}, 4, 2)), (std::vector<std::int64_t>{3, 2}));
  EXPECT_EQ(Seqs(store.Page({}, 2, 2)), (std::vector<std::int64_t>{1}));
  EXPECT_TRUE(store.Page({}, 1, 2).empty());
}

TEST_F(HistoryStoreTest, RangesIncludeTheirStartAndNotTheirEnd) {
  AppendAt({1000, 2000, 3000, 4000});
  EXPECT_EQ(store.Count({2000, 4000}), 2);
  EXPECT_EQ(TimesOldestFirst(store, {1500, 3000}), (std::vector<std::int64_t>{2000}));
  EXPECT_EQ(Seqs(store.Page({2000, 4000}, 0, 10)), (std::vector<std::int64_t>{3, 2}));
  EXPECT_EQ(store.Count({}), 4);
}

TEST_F(HistoryStoreTest, TotalsCountCutsAndNewBoardsPerProgramAndLocalDay) {
  const std::int64_t day1 = *ParseTimeText("2026-03-01T23:30");
  const std::int64_t day2 = *ParseTimeText("2026-03-02T00:10");
  std::vector<CutRecord> records = {CutAt(day1, "doors"), CutAt(day1, "doors"), CutAt(day1, "doors"),
                                    CutAt(day1, "shelves"), CutAt(day1, "doors"), CutAt(day2, "doors")};
  records[0].newBoard = records[2].newBoard = true;
  records[4].kind = CutKind::Manual;  // a manual position is not a piece
  store.AppendAll(records);
  EXPECT_EQ(store.Totals({}), (std::vector<HistoryTotal>{{"2026-03-01", "doors", 3, 2},
                                                         {"2026-03-01", "shelves", 1, 0},
                                                         {"2026-03-02", "doors", 1, 0}}));
  EXPECT_EQ(store.Totals({day2, day2 + 1}).size(), 1u);
}

TEST_F(HistoryStoreTest, RetentionRemovesTheOldestBeforeTheCutoffAFewAtATime) {
  AppendAt({1000, 7000, 2000, 3000, 4000, 5000, 6000});
  EXPECT_EQ(store.RemoveOlderThan(5000, 3), 3);
  EXPECT_EQ(TimesOldestFirst(store), (std::vector<std::int64_t>{7000, 4000, 5000, 6000}));
  EXPECT_EQ(store.RemoveOlderThan(5000, 100), 1);
  EXPECT_EQ(store.RemoveOlderThan(5000, 100), 0);
  EXPECT_EQ(store.Count({}), 3);
}

TEST_F(HistoryStoreTest, SeqsAreNeverGivenAgainAfterRemovalAndReopening) {
  AppendAt({1000, 2000, 3000});
  store.RemoveOlderThan(10'000, 10);
  store = HistoryStore::OpenForWriting(file);
  CutRecord next = CutAt(4000);
  EXPECT_EQ(store.Append(next), 4);
}

TEST_F(HistoryStoreTest, AReaderSeesCommittedRecordsWhileTheWriterHasTheFileOpen) {
  const HistoryStore reader = HistoryStore::OpenReadOnly(file);
  AppendAt({1000});
  EXPECT_EQ(reader.Count({}), 1);
  AppendAt({2000});
  EXPECT_EQ(Seqs(reader.Page({}, 0, 10)), (std::vector<std::int64_t>{2, 1}));
}

TEST(HistoryStore, AReaderNeverCreatesOrWrites) {
  testing::TempFolder folder;
  EXPECT_THROW(HistoryStore::OpenReadOnly(folder.File("none.sqlite")), HistoryError);
  EXPECT_FALSE(std::filesystem::exists(folder.File("none.sqlite")));
  { HistoryStore::OpenForWriting(folder.File("h.sqlite")); }
  HistoryStore reader = HistoryStore::OpenReadOnly(folder.File("h.sqlite"));
  CutRecord record = CutAt(1000);
  EXPECT_THROW(reader.Append(record), HistoryError);
}

TEST(HistoryStore, AFileThatIsNoHistoryIsRefusedWithItsName) {
  testing::TempFolder folder;
  const std::string text = folder.Write("notes.txt", std::string(4096, 'x'));
  try {
    HistoryStore::OpenForWriting(text);
    FAIL() << "opened";
  } catch (const HistoryError& error) {
    EXPECT_EQ(std::string(error.what()), text + ": file is not a database");
  }
  EXPECT_THROW(HistoryStore::OpenReadOnly(text), HistoryError);
}

}  // namespace
}  // namespace orl
