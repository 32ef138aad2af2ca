#include "saw/history/history_store.h"

#include <gtest/gtest.h>

#include "cut_records.h"
#include "fakes/temp_folder.h"
#include "saw/history/cut_record_format.h"

namespace orl {
namespace {

using Seqs = std::vector<std::int64_t>;

Seqs SeqsOf(const std::vector<CutRecord>& records) {
  Seqs seqs;
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
  void AppendAt(std::initializer_list<std::int64_t> times) {
    for (const std::int64_t t : times) {
      CutRecord record = testing::CutAt(t);
      store.Append(record);
    }
  }

  testing::TempFolder folder;
  std::string file = folder.File("history.sqlite");
  HistoryStore store = HistoryStore::OpenForWriting(file);
};

TEST_F(HistoryStoreTest, RecordsComeBackAsStored) {
  CutRecord record{0, 1'765'000'000'123, CutKind::Manual, "doors, \"oak\"", "Ø 12", 3, 7, 10, 12'192, "48",
                   "in", true, true, "B2", "P14"};
  EXPECT_EQ(store.Append(record), 1);
  const auto page = store.Page({}, 0, 10);
  ASSERT_EQ(page.size(), 1u);
  EXPECT_EQ(CutJson(page[0]), CutJson(record));
}

TEST_F(HistoryStoreTest, PagesGoBackBySeqAcrossEqualTimesWithinTheRange) {
  AppendAt({4000, 5000, 5000, 5000, 5000, 6000});
  const HistoryRange range{5000, 6000};  // its start is in, its end is not
  EXPECT_EQ(store.Count(range), 4);
  EXPECT_EQ(SeqsOf(store.Page(range, 0, 3)), (Seqs{5, 4, 3}));
  EXPECT_EQ(SeqsOf(store.Page(range, 3, 3)), (Seqs{2}));
  EXPECT_EQ(TimesOldestFirst(store, {4500, 5001}), (std::vector<std::int64_t>{5000, 5000, 5000, 5000}));
}

TEST_F(HistoryStoreTest, TotalsCountCutsAndNewBoardsPerProgramAndLocalDay) {
  const std::int64_t day1 = *ParseTimeText("2026-03-01T23:30"), day2 = *ParseTimeText("2026-03-02T00:10");
  std::vector<CutRecord> records = {testing::CutAt(day1, "doors"), testing::CutAt(day1, "doors"),
                                    testing::CutAt(day1, "shelves"), testing::CutAt(day1, "doors"),
                                    testing::CutAt(day2, "doors")};
  records[0].newBoard = true;
  records[3].kind = CutKind::Manual;  // a manual position is not a piece
  store.AppendAll(records);
  EXPECT_EQ(store.Totals({}), (std::vector<HistoryTotal>{{"2026-03-01", "doors", 2, 1},
                                                         {"2026-03-01", "shelves", 1, 0},
                                                         {"2026-03-02", "doors", 1, 0}}));
}

TEST_F(HistoryStoreTest, RetentionRemovesTheOldestAFewAtATimeAndTheirSeqsAreNotGivenAgain) {
  AppendAt({1000, 7000, 2000, 3000, 4000});
  EXPECT_EQ(store.RemoveOlderThan(4000, 2), 2);
  EXPECT_EQ(TimesOldestFirst(store), (std::vector<std::int64_t>{7000, 3000, 4000}));
  EXPECT_EQ(store.RemoveOlderThan(10'000, 100), 3);
  store = HistoryStore::OpenForWriting(file);
  AppendAt({8000});
  EXPECT_EQ(SeqsOf(store.Page({}, 0, 10)), (Seqs{6}));
}

TEST_F(HistoryStoreTest, AReaderSeesCommitsAndCatchesUpBySeqABoundedStepAtATimeButNeverWritesNorCreates) {
  const HistoryStore reader = HistoryStore::OpenReadOnly(file);
  EXPECT_EQ(reader.LastSeq(), 0);
  AppendAt({9000, 1000});
  EXPECT_EQ(SeqsOf(reader.Page({}, 0, 10)), (Seqs{2, 1}));
  AppendAt({5000, 3000, 7000});
  EXPECT_EQ(store.RemoveOlderThan(2000, 1), 1);  // seq 2 goes; the others keep their numbers
  Seqs seqs;
  reader.ForEachAfter(1, 2, [&](const CutRecord& r) { seqs.push_back(r.seq); });
  EXPECT_EQ(seqs, (Seqs{3, 4})) << "by seq, not by time";
  reader.ForEachAfter(4, 10, [&](const CutRecord& r) { seqs.push_back(r.seq); });
  EXPECT_EQ(seqs, (Seqs{3, 4, 5}));
  EXPECT_EQ(reader.LastSeq(), 5);
  CutRecord record = testing::CutAt(3000);
  EXPECT_THROW(HistoryStore::OpenReadOnly(file).Append(record), HistoryError);
  EXPECT_THROW(HistoryStore::OpenReadOnly(folder.File("none.sqlite")), HistoryError);
  EXPECT_FALSE(std::filesystem::exists(folder.File("none.sqlite")));
}

}  // namespace
}  // namespace orl
