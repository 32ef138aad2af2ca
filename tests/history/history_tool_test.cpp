// orl-tool history on a small prepared history file.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "fakes/temp_folder.h"
#include "saw/history/cut_record_format.h"
#include "saw/history/history_store.h"
#include "tools/run_tool.h"

namespace orl {
namespace {

using testing::RunTool;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class HistoryToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CutRecord first{0, *ParseTimeText("2026-03-01T10:00"), CutKind::Cut, "kitchen", "Oak", 1, 5, 1, 5000, "500",
                    "mm", true, false, "B1", "P2"};
    CutRecord manual{0, *ParseTimeText("2026-03-01T23:59"), CutKind::Manual, "kitchen", "", 0, 0, 0, 120, "12",
                     "mm", false, false, "", ""};
    CutRecord next{0, *ParseTimeText("2026-03-02T08:00"), CutKind::Cut, "doors, oak", "", 2, 5, 7, 3000, "300",
                   "mm", false, true, "", ""};
    records = {first, manual, next};
    std::filesystem::create_directory(folder.Path() / "data");
    HistoryStore::OpenForWriting(folder.File("data/h.sqlite")).AppendAll(records);
  }

  std::string Run(const std::string& options) {
    const auto run = RunTool("history --ini " + ini + " " + options);
    EXPECT_EQ(run.status, 0) << run.err;
    return run.out;
  }

  testing::TempFolder folder;
  std::string ini = folder.Write("ORL.INI", "[System]\nHistoryPath=data/h.sqlite\n");
  std::vector<CutRecord> records;
};

TEST_F(HistoryToolTest, CsvJsonLinesAndTableOldestFirst) {
  EXPECT_EQ(Lines(Run("--csv")), (std::vector<std::string>{CutCsvHeader(), CutCsvLine(records[0]),
                                                            CutCsvLine(records[1]), CutCsvLine(records[2])}));
  EXPECT_EQ(Lines(Run("--json")),
            (std::vector<std::string>{CutJson(records[0]), CutJson(records[1]), CutJson(records[2])}));
  const auto table = Lines(Run(""));
  ASSERT_EQ(table.size(), 4u);
  EXPECT_EQ(table[1].rfind("2026-03-01 10:00:00", 0), 0u) << table[1];  // local time
  EXPECT_NE(table[1].find("500 mm  B1 / P2"), std::string::npos) << table[1];
  EXPECT_EQ(table[1].find("kitchen"), table[3].find("doors, oak"));  // aligned
}

TEST_F(HistoryToolTest, DatesChooseTheRecords) {
  const auto seqs = [&](const std::string& options) {
    std::vector<int> result;
    for (const auto& line : Lines(Run("--json " + options))) result.push_back(nlohmann::json::parse(line)["seq"]);
    return result;
  };
  EXPECT_EQ(seqs("--until 2026-03-01"), (std::vector<int>{1, 2}));  // the whole day
  EXPECT_EQ(seqs("--since 2026-03-01T23:59"), (std::vector<int>{2, 3}));
  EXPECT_EQ(seqs("--since 2026-03-01T10:00 --until 2026-03-01T10:00"), std::vector<int>{});
}

TEST_F(HistoryToolTest, ABadDateOrAMissingFileIsToldWithItsExitStatus) {
  const auto badDate = RunTool("history --ini " + ini + " --since 2026-13-01");
  EXPECT_EQ(badDate.status, 1);
  EXPECT_NE(badDate.err.find("--since 2026-13-01: not a date"), std::string::npos) << badDate.err;
  const std::string other = folder.Write("OTHER.INI", "[System]\nHistoryPath=none.sqlite\n");
  const auto missing = RunTool("history --csv --ini " + other);
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("no history file " + folder.File("none.sqlite")), std::string::npos) << missing.err;
  EXPECT_FALSE(std::filesystem::exists(folder.File("none.sqlite")));
}

}  // namespace
}  // namespace orl
