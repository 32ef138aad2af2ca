#include "saw/cutlist/pattern_load.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/fake_ui.h"
#include "pattern_builder.h"
#include "saw/optimizer/books.h"
#include "saw/shell/machine_parameters.h"

namespace orl {
namespace {

using ::testing::ElementsAre;

class PatternLoadTest : public ::testing::Test {
 protected:
  PatternLoadTest() {
    Setupcutlist(cutList);
    macPar.SetText(kSawKerfRow, 1, "3.2");
    macPar.SetText(kRearTrimRow, 1, "10");
    view.Dir1Folder = "/jobs";
    view.File2Folder = "/jobs";
    view.File2FileName = "CPOUT.042";
    view.File2ListIndex = 2;
  }

  bool Load(test::PatternBuilder& b, bool answer = true) {
    OptimizerModel& model = b.Selected();
    model.CurPatFirst = 1;
    ui.yesNoAnswers.push_back(answer);
    return LoadPattern({ui, cutList, macPar, programs, fileSystem}, model, view, labels);
  }

  const std::string& Cell(int row, int column) const { return cutList.grid.Text(row, column); }
  std::vector<std::string> Column(int group, int offset, int rows) const {
    std::vector<std::string> texts;
    for (int row = kTotalRow; row < kFirstCutRow + rows; ++row)
      texts.push_back(Cell(row, PositionColumnOfGroup(group) + offset));
    return texts;
  }

  testing::FakeUi ui;
  CutList cutList;
  CellGrid macPar = MakeMacParGrid();
  FileList programs;
  RealFileSystem fileSystem;
  OptimizerView view;
  CutBookLabels labels;
};

TEST_F(PatternLoadTest, LevelOneCutsFormGroupOneAndEachLevelTwoRunItsOwnGroup) {
  test::PatternBuilder b(2440, 1220, 4);
  b.board.BoardDesc = "MDF 18";
  b.board.TrimLong = 12;
  b.Cut(1, 600, true).Cut(2, 400, false).Cut(2, 300, false, 2).Cut(1, 500, true).Cut(2, 200, false);
  ASSERT_TRUE(Load(b));
  EXPECT_EQ(ui.boxes.at(0).text, "This will clear all programmed cuts. Continue?");
  EXPECT_EQ(ui.boxes.at(0).title, "Alert!");
  // Group 1: both level-1 cuts, total (603.2 + 503.2) + trim 12 of the long load;
  // the trim of the first level-1 cut holds for every group.
  EXPECT_THAT(Column(1, kPositionOffset, 3), ElementsAre("1118.4", "600", "500", ""));
  EXPECT_EQ(Cell(kTotalRow, 2), "1");
  EXPECT_THAT(Column(2, kPositionOffset, 3), ElementsAre("1021.6", "400", "300", ""));
  EXPECT_THAT(Column(2, kQtyOffset, 3), ElementsAre("2", "1", "2", ""));
  EXPECT_THAT(Column(3, kPositionOffset, 2), ElementsAre("215.2", "200", ""));
  EXPECT_TRUE(Cell(kTotalRow, PositionColumnOfGroup(4)).empty());
  std::vector<int> steps;
  for (std::size_t i = 1; i < b.model.PatCuts.size(); ++i) steps.push_back(b.model.PatCuts[i].SeqStep);
  EXPECT_THAT(steps, ElementsAre(1, 2, 2, 1, 3));
  EXPECT_EQ(cutList.Desc, "Pattern Number: 4 From: CPOUT.042\r\nMDF 18\r\n2440 X 1220       Load LONG");
  EXPECT_EQ(Cell(1, 1), cutList.Desc);
  EXPECT_EQ(b.model.LoadedPatternKey, "4,/jobs,CPOUT.042,2");
  EXPECT_EQ(cutList.Units, kMetric);
  EXPECT_TRUE(view.BtnLdPatEnabled);
  EXPECT_FALSE(view.FrameBooksVisible);
}

TEST_F(PatternLoadTest, DeeperCutsBetweenRunsDoNotSplitAGroup) {
  test::PatternBuilder b(2440, 1220);
  b.Cut(1, 600, true).Cut(2, 400, false).Cut(3, 100, true).Cut(2, 300, false);
  ASSERT_TRUE(Load(b));
  EXPECT_THAT(Column(2, kPositionOffset, 2), ElementsAre("716.4", "400", "300"));
  EXPECT_EQ(Cell(kTotalRow, PositionColumnOfGroup(2) + kQtyOffset), "2");
  EXPECT_EQ(Cell(kTotalRow, PositionColumnOfGroup(3) + kQtyOffset), "3");
}

// A narrow board selects inch before the totals; each pattern brings its own
// unit and the unit flag follows.
TEST_F(PatternLoadTest, EachPatternBringsItsOwnUnitBeforeTheTotals) {
  test::PatternBuilder inch(96, 48);
  inch.Cut(1, 24, false).Cut(1, 20.5f, false);
  ASSERT_TRUE(Load(inch));
  EXPECT_EQ(cutList.Units, kInch);
  EXPECT_EQ(Cell(kDescRow, kUnitFlagColumn), "False");
  // Kerf and rear trim (no trim in the file) enter in inches: 44.5 + 2 * 0.126 + 0.394.
  EXPECT_EQ(Cell(kTotalRow, 1), "45.1");
  EXPECT_EQ(cutList.Desc, "Pattern Number: 1 From: CPOUT.042\r\nBoard\r\n96 X 48        Load SHORT");
  test::PatternBuilder metric(2440, 1220);
  metric.Cut(1, 600, true);
  ASSERT_TRUE(Load(metric));
  EXPECT_EQ(cutList.Units, kMetric);
  EXPECT_EQ(Cell(kDescRow, kUnitFlagColumn), "True");
}

// Answering "No" keeps the list but empties the book labels; without a
// pattern (let go, as an activation does) nothing is even asked.
TEST_F(PatternLoadTest, AnsweringNoOrHavingNoPatternKeepsTheList) {
  cutList.grid.SetText(4, 1, "123");
  const std::string_view old[] = {"", "old"};
  labels.Set(4, 1, "", old);
  test::PatternBuilder b(2440, 1220);
  b.Cut(1, 600, true);
  EXPECT_FALSE(Load(b, false));
  EXPECT_EQ(Cell(4, 1), "123");
  EXPECT_EQ(labels.At(4, 1), nullptr);
  EXPECT_TRUE(b.model.LoadedPatternKey.empty());
  EXPECT_EQ(ui.boxes.size(), 1u);
  b.model.PatCuts.Clear();
  EXPECT_FALSE(LoadPattern({ui, cutList, macPar, programs, fileSystem}, b.model, view, labels));
  EXPECT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(Cell(4, 1), "123");
}

TEST_F(PatternLoadTest, BooksAndBookLabelsFollowTheLoadedCuts) {
  test::PatternBuilder b(2440, 1220);
  const std::string_view bookLabels[] = {"", "b1", "b2", "b3", "b4"};
  b.board.BookLabels = bookLabels;
  b.Cut(1, 600, true).Cut(3, 100, true);  // no level 2: group 2 stays empty and closes up
  b.model.PatBooks = {{}, {0, 3, 3, 2, 2}};
  ASSERT_TRUE(Load(b));
  EXPECT_TRUE(view.FrameBooksVisible);
  std::vector<std::string> captions;
  for (const auto& button : view.Bks)
    if (button.Visible) captions.push_back(button.Caption);
  EXPECT_THAT(captions, ElementsAre("3", "3", "2", "2"));
  EXPECT_EQ(SelectedBook(view), 1);
  EXPECT_EQ(Cell(kTotalRow, PositionColumnOfGroup(2) + kQtyOffset), "3");  // level 3 moved into group 2
  EXPECT_EQ(Cell(4, PositionColumnOfGroup(2)), "100");
  EXPECT_TRUE(Cell(kTotalRow, PositionColumnOfGroup(3)).empty());
  ASSERT_NE(labels.At(4, 2), nullptr);  // the labels moved with their cut
  EXPECT_THAT(*labels.At(4, 2), ElementsAre("", "b1", "b2", "b3", "b4"));
  EXPECT_EQ(labels.At(4, 3), nullptr);
  EXPECT_EQ(b.model.PatCuts[2].SeqStep, 2);  // the step moved with its cut
}

TEST_F(PatternLoadTest, PatternLargerThanTheListLoadsWhatFitsAndWarns) {
  test::PatternBuilder b(2440, 1220);
  for (int i = 0; i < 60; ++i) b.Cut(1, 10, true);
  for (int i = 0; i < 40; ++i) b.Cut(2, 5, false).Cut(1, 10, true);
  ASSERT_TRUE(Load(b));
  EXPECT_EQ(Cell(kCutListRows, 1), "10");
  EXPECT_EQ(Cell(kTotalRow, PositionColumnOfGroup(kCutListGroups) + kQtyOffset), "2");
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[1].text,
            "This pattern does not fit the cut list (33 groups of 48 cuts). Only the cuts that fit were loaded.");
  EXPECT_EQ(ui.boxes[1].icon, MessageIcon::Exclamation);
}

TEST_F(PatternLoadTest, ListLimitedToItsFirstGroupWarnsOfTheGroupsLeftOut) {
  cutList.grid.SetColumns(ColsPerGroup);  // FirstColOnly
  test::PatternBuilder b(2440, 1220);
  b.Cut(1, 600, true).Cut(2, 400, false);
  ASSERT_TRUE(Load(b));
  EXPECT_EQ(Cell(4, 1), "600");
  ASSERT_EQ(ui.boxes.size(), 2u);
  EXPECT_EQ(ui.boxes[1].text,
            "This pattern does not fit the cut list (1 group of 48 cuts). Only the cuts that fit were loaded.");
}

TEST_F(PatternLoadTest, LongBoardDescriptionIsShortenedButSizeAndLoadStayWhole) {
  test::PatternBuilder b(2440, 1220);
  std::string board = "a";
  for (int i = 0; i < 600; ++i) board += "\xC3\xA9";  // two-byte characters: the room ends inside one
  b.board.BoardDesc = board;
  b.Cut(1, 600, true);
  ASSERT_TRUE(Load(b));
  const std::string& desc = cutList.Desc;
  EXPECT_EQ(desc.size(), 1023u);  // the board text fills the room but for a character that did not fit
  EXPECT_TRUE(desc.ends_with("\r\n2440 X 1220       Load LONG")) << desc;
  EXPECT_TRUE(desc.starts_with("Pattern Number: 1 From: CPOUT.042\r\na\xC3\xA9"));
  const std::size_t boardEnd = desc.rfind("\r\n");
  EXPECT_EQ(desc[boardEnd - 2], '\xC3');  // no character split
  EXPECT_EQ(Cell(1, 1), desc);
}

}  // namespace
}  // namespace orl
