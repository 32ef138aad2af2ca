// The History tab's events on the workstation: a day's records a page at a
// time, today alone, refused ranges, a failed export, and lengths in the
// cut list's unit.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "saw/history/cut_record_format.h"
#include "saw/history/history_row_text.h"
#include "saw/history/history_store.h"
#include "history/cut_records.h"
#include "workstation_fixture.h"

namespace orl {
namespace {

struct HistoryEvents : testing::WorkstationFixture {
  void SetUp() override { Start(StandardSettings()); }

  // `count` cuts a minute apart ending now, every third a new board.
  void WriteCuts(int count, std::int64_t endMs) {
    HistoryStore store = HistoryStore::OpenForWriting(folder.Path() / "history.sqlite");
    for (int i = 0; i < count; ++i) {
      CutRecord r = testing::CutAt(endMs - (count - 1 - i) * 60'000LL, i % 2 ? "doors" : "shelves");
      r.length = std::to_string(100 + i);
      r.newBoard = i % 3 == 0;
      store.Append(r);
    }
  }
  // The view once it was read and has not changed for 20 ms.
  HistoryView Settled() {
    for (std::uint64_t i = 0, version = 0; i < 500; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      const HistoryView view = ws->historyView();
      if (view.version > 0 && view.version == version) return view;
      version = view.version;
    }
    ADD_FAILURE() << "the history was not read";
    return {};
  }
  static std::int64_t LocalNoonToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_hour = 12;
    local.tm_min = local.tm_sec = 0;
    return static_cast<std::int64_t>(std::mktime(&local)) * 1000;
  }
};

TEST_F(HistoryEvents, TodayIsReadAPageAtATimeNewestFirst) {
  WriteCuts(450, LocalNoonToday());  // 7.5 hours of cuts, all today
  ws->TabClicked(kHistoryTab);
  HistoryView view = Settled();
  ASSERT_EQ(view.rows.size(), static_cast<std::size_t>(HistoryBrowser::kPageRows));
  EXPECT_TRUE(view.moreRows);
  EXPECT_EQ(view.rows.front().length, "549");
  ws->HistoryScrolledToEnd();
  ws->HistoryScrolledToEnd();
  ws->HistoryScrolledToEnd();
  view = Settled();
  ASSERT_EQ(view.rows.size(), 450u);
  EXPECT_FALSE(view.moreRows);
  for (std::size_t i = 1; i < view.rows.size(); ++i) ASSERT_LT(view.rows[i].seq, view.rows[i - 1].seq);
  std::int64_t pieces = 0, boards = 0;
  for (const HistoryTotal& total : view.totals) {
    pieces += total.pieces;
    boards += total.boards;
  }
  EXPECT_EQ(pieces, 450);
  EXPECT_EQ(boards, 150);
}

TEST_F(HistoryEvents, TodayAloneFirstThenRefusedRangesAndAFailedExport) {
  WriteCuts(3, LocalNoonToday() - 2 * kDayMs);
  WriteCuts(2, LocalNoonToday());
  ws->TabClicked(kHistoryTab);
  EXPECT_EQ(Settled().rows.size(), 2u);
  EXPECT_FALSE(ws->HistoryRangeChosen("yesterday", "2026-12-09"));
  EXPECT_FALSE(ws->HistoryRangeChosen("2026-12-09", "2026-12-01"));  // the end before the start

  // A range of days chosen and a file written in full are the History tab
  // test's, through its widgets; a file that cannot be written is told.
  ui.saveAnswers.push_back((folder.Path() / "gone" / "week.csv").string());
  ws->HistoryExportClicked();
  EXPECT_TRUE(Settled().status.starts_with("Export failed: "));
}

TEST_F(HistoryEvents, NoHistoryYetSaysSo) {
  ws->TabClicked(kHistoryTab);
  EXPECT_EQ(Settled().status, "No history yet: " + (folder.Path() / "history.sqlite").string());
}

TEST(HistoryRowText, LengthsFollowTheCutListsUnit) {
  const std::vector<std::tuple<const char*, const char*, bool, int, const char*>> lengths = {
      {"25.4", "mm", /*inch=*/true, 2, "1.00 in"}, {"25.4", "mm", false, 1, "25.4 mm"},
      {"2", "in", false, 1, "50.8 mm"}, {"2 1/2", "in", false, 1, "2 1/2 in"}};  // the last not a number: as typed
  CutRecord r;
  for (const auto& [length, unit, inch, decimals, shown] : lengths) {
    r.length = length;
    r.unit = unit;
    EXPECT_EQ(LengthInUnit(r, inch, decimals), shown) << length << " " << unit;
  }
  r.kind = CutKind::Restart;
  EXPECT_EQ(RowText(r, false, 1, false).label, kRestartLabel);
  EXPECT_EQ(RowText(r, false, 1, false).length, "");
}

}  // namespace
}  // namespace orl
