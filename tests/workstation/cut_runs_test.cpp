// Runs of the saw cycle over whole cut lists, and what a run takes from the
// list: its groups, its book labels, its size.
#include <gtest/gtest.h>

#include "optimizer/pattern_builder.h"
#include "saw/optimizer/books.h"
#include "saw/shell/machine_parameters.h"
#include "workstation_fixture.h"

namespace orl {
namespace {

using Targets = std::vector<std::int32_t>;

struct CutRuns : testing::WorkstationFixture {
  // Runs the simulated saw until it has cut `runs` whole lists; the
  // targets of each run and the book selected while it was cut.
  std::vector<std::pair<Targets, int>> Run(int runs) {
    std::vector<std::pair<Targets, int>> made(1);
    std::uint64_t seen = 0;
    for (int tick = 0; tick < 5000 && static_cast<int>(made.size()) <= runs; ++tick) {
      ws->ScanTick();
      clock.Advance(0.3);
      if (ws->plc().HandOvers == seen) continue;
      seen = ws->plc().HandOvers;
      groupsShown.push_back(ws->cutList().CNum);
      made.back().first.push_back(ws->plc().LastHandOver.entry.Target);
      made.back().second = SelectedBook(ws->optimizerView());
      if (ws->plc().LastHandOver.LastCut) made.emplace_back();
    }
    made.pop_back();
    return made;
  }
  std::vector<std::string> groupsShown;  // "Group:" at each hand-over

  // Three groups: the level-1 cuts, then one per run of level-2 cuts; every
  // cut yields labels for two books.
  void LoadThreeGroupPattern() {
    test::PatternBuilder b(2440, 1220);
    const std::string_view bookLabels[] = {"", "book 1", "book 2"};
    b.board.BookLabels = bookLabels;
    b.Cut(1, 600, true).Cut(2, 400, false).Cut(1, 500, true).Cut(2, 200, false);
    b.model.PatBooks = {{}, {0, 3, 2}};
    ws->PatternsRead(std::move(b.model));
    ui.yesNoAnswers.push_back(true);
    ASSERT_TRUE(ws->LoadPatternClicked());
  }
};

TEST_F(CutRuns, TheNextRunCutsTheSameGroupsAgain) {
  folder.Write("Programs/three", "Three,True\r\n\r\n1000,,,,,,900,,,,,,800\r\n100,1,,,,,200,1,,,,,300,1\r\n");
  Start(StandardSettings("Mode=ABSOLUTE"));
  ws->Activate();
  ASSERT_TRUE(ws->OpenPlc(/*simulate=*/true));
  ASSERT_TRUE(ws->ProgramClicked("three"));
  const auto runs = Run(2);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].first, (Targets{10032, 9000, 9032, 7000, 8032, 5000}));
  EXPECT_EQ(runs[1].first, runs[0].first);
  const std::vector<std::string> firstRunGroups(groupsShown.begin(), groupsShown.begin() + 6);
  EXPECT_EQ(firstRunGroups, (std::vector<std::string>{"1", "1", "2", "2", "3", "3"}));
}

TEST_F(CutRuns, TheNextBooksRunCutsEveryGroup) {
  Start(StandardSettings("Mode=ABSOLUTE"));
  ws->Activate();
  ASSERT_TRUE(ws->OpenPlc(/*simulate=*/true));
  LoadThreeGroupPattern();
  const auto runs = Run(2);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].first.size(), 7u);  // three boards and four cuts
  EXPECT_EQ(runs[1].first, runs[0].first);
  EXPECT_EQ(runs[0].second, 1);
  EXPECT_EQ(runs[1].second, 2);
}

TEST_F(CutRuns, ClearAndAProgramTakeTheBookLabelsOfTheOldPattern) {
  folder.Write("Programs/job", "Job,True\r\n\r\n1000\r\n100,1\r\n");
  Start(StandardSettings());
  ws->Activate();
  LoadThreeGroupPattern();
  ASSERT_NE(ws->cutBookLabels().At(4, 1), nullptr);
  ui.yesNoAnswers.push_back(true);
  ws->ClearClicked();
  EXPECT_EQ(ws->cutBookLabels().At(4, 1), nullptr);

  LoadThreeGroupPattern();
  ASSERT_TRUE(ws->ProgramClicked("job"));
  EXPECT_EQ(ws->cutBookLabels().At(4, 1), nullptr);
}

TEST_F(CutRuns, AListTooLongToMakeIsRefusedWithOneWarning) {
  Start(StandardSettings());
  ws->Activate();
  ws->MacParCellEdited(kSawKerfRow, 1, "0.0001");
  ws->CutListCellEdited(3, 1, "1000");
  ws->CutListCellEdited(4, 1, "500");
  ws->CutListCellEdited(4, 2, "1");
  ws->CutListCellEdited(4, 3, "999");  // ten million groove strokes
  PosList positions;
  EXPECT_FALSE(ws->MakePositions(positions));
  EXPECT_FALSE(ws->MakePositions(positions));  // the scan loop asks again on every tick
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text,
            "This cut list needs more than 2000000 saw positions. Nothing was sent to the saw: lower the quantities "
            "or check the grooves and the Saw Kerf.");
  ws->CutListCellEdited(4, 3, "");
  EXPECT_TRUE(ws->MakePositions(positions));
  ws->CutListCellEdited(4, 3, "999");
  EXPECT_FALSE(ws->MakePositions(positions));
  EXPECT_EQ(ui.boxes.size(), 2u);
}

TEST_F(CutRuns, ImportTabKeepsTheWarningsOfTheLastFileRead) {
  Start(StandardSettings());
  ws->Activate();
  folder.Write("Jobs/junk.csv", "nothing to cut here\n");
  folder.Write("Jobs/cuts.csv", "T,5,Oak,100,50,0,0,0,0,0,0,L,10,1,1,,0\n");
  ws->OptimizerFileClicked("junk.csv");
  ASSERT_FALSE(ws->LastImportWarnings().empty());
  EXPECT_EQ(ws->LastImportWarnings().back(),
            "junk.csv: no cut could be read from this file; it holds nothing to load.");
  ws->OptimizerFileClicked("cuts.csv");
  EXPECT_TRUE(ws->LastImportWarnings().empty());
}

}  // namespace
}  // namespace orl
