// The History tab as the operator uses it: a click on the tab shows today's
// records newest first, days typed into "From" widen the range and its
// totals, and "Export CSV…" writes the range to the file named in the
// save dialog.
#include <QTabBar>

#include "saw/history/cut_record_format.h"
#include "saw/history/history_store.h"
#include "ui/window_fixture.h"

namespace orl {
namespace {

struct HistoryTabTest : testing::WindowFixture {
  // Cuts of "shelves": two boards today, one yesterday, a manual position.
  void WriteHistory() {
    HistoryStore store = HistoryStore::OpenForWriting(folder.Path() / "history.sqlite");
    const std::int64_t now =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    auto cut = [&](std::int64_t at, const char* length, bool newBoard, const char* label) {
      CutRecord r{0, at, CutKind::Cut, "shelves", "Shelves", 1, 3, 1, 25400, length, "mm", newBoard, false, label, ""};
      store.Append(r);
    };
    cut(now - kDayMs - 60'000, "2440", true, "");
    cut(now - 3000, "2440", true, "");
    cut(now - 2000, "600", false, "Book 1");
    CutRecord manual{0, now - 1000, CutKind::Manual, "shelves", "", 0, 0, 0, 1234, "123.4", "mm", false, false, "", ""};
    store.Append(manual);
  }
  void ClickTab(int index) {
    QTabBar* bar = window->SSTab1->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  }
  QString Cell(QTableWidget* table, int row, int column) {
    QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
  }
};

TEST_F(HistoryTabTest, TodaysRecordsNewestFirstThenAWiderRangeAndItsExport) {
  Start();
  WriteHistory();
  ClickTab(kHistoryTab);
  HistoryTab* tab = window->historyTab;
  ASSERT_TRUE(testing::WaitFor([&] {
    window->RenderShown();
    return tab->Records->rowCount() == 3;
  }));
  EXPECT_EQ(Cell(tab->Records, 0, 4), "Manual position");
  EXPECT_EQ(Cell(tab->Records, 0, 3), "123.4 mm");
  EXPECT_EQ(Cell(tab->Records, 1, 3), "600.0 mm");
  EXPECT_EQ(Cell(tab->Records, 1, 4), "Book 1");
  EXPECT_EQ(Cell(tab->Records, 2, 1), "shelves");
  ASSERT_EQ(tab->Totals->rowCount(), 1);
  EXPECT_EQ(Cell(tab->Totals, 0, 2), "2");  // pieces
  EXPECT_EQ(Cell(tab->Totals, 0, 3), "1");  // boards

  // Yesterday typed into "From", as the operator would.
  tab->FromDay->setFocus();
  const QString yesterday = QDate::currentDate().addDays(-1).toString("yyyy-MM-dd");
  QTest::keyClick(tab->FromDay, Qt::Key_A, Qt::ControlModifier);
  testing::TypeKeys(yesterday);
  testing::PressKey(Qt::Key_Return);
  ASSERT_TRUE(testing::WaitFor([&] {
    window->RenderShown();
    return tab->Records->rowCount() == 4 && tab->Totals->rowCount() == 2;
  }));
  EXPECT_EQ(Cell(tab->Totals, 0, 0), yesterday);
  EXPECT_TRUE(Cell(tab->Records, 3, 0).startsWith(yesterday + " "));  // more than a day: rows carry their date

  const std::filesystem::path exported = folder.Path() / "out.csv";
  ui.saveAnswers.push_back(exported.string());
  testing::Click(tab->ExportCsv);
  ASSERT_TRUE(testing::WaitFor([&] {
    window->RenderShown();
    return tab->Status->text().toStdString() == "Exported 4 records to " + exported.string();
  }));
  EXPECT_FALSE(std::filesystem::exists(exported.string() + ".part"));
  const std::string csv = folder.Read("out.csv");
  EXPECT_EQ(csv.substr(0, csv.find('\n')), CutCsvHeader());
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5);
}

}  // namespace
}  // namespace orl
