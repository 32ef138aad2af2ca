#include "saw/optimizer/cut_sequence.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pattern_builder.h"
#include "saw/optimizer/books.h"
#include "saw/optimizer/pattern_preview.h"

namespace orl {
namespace {

using ::testing::ElementsAre;
using test::PatternBuilder;

std::vector<int> Steps(std::initializer_list<int> levels, OptimizerView* viewOut = nullptr) {
  PatternBuilder b(100, 50);
  b.Levels(levels);
  OptimizerView view;
  OptimizerModel& model = b.Selected();
  ShowGraphic(model, view);
  ConvCutPrg(model, view);
  std::vector<int> steps;
  for (std::size_t i = 1; i < model.PatCuts.size(); ++i) steps.push_back(model.PatCuts[i].SeqStep);
  if (viewOut) *viewOut = view;
  return steps;
}

TEST(ConvCutPrg, InterruptedRunsOfDeeperCutsOpenNewSteps) {
  OptimizerView view;
  EXPECT_THAT(Steps({1, 2, 2, 1, 2, 3, 3}, &view), ElementsAre(1, 2, 2, 1, 3, 4, 4));
  EXPECT_EQ(view.LBLShowPh, "Cut Sequence            of  4");
  EXPECT_EQ(view.VScrollPH.Min, 4);
  EXPECT_EQ(view.VScrollPH.Value, 0);
  EXPECT_THAT(Steps({1, 2, 2, 1, 2}), ElementsAre(1, 2, 2, 1, 3));
  // Level-2 cuts separated only by a level-3 cut stay one step; the level-3 runs do not.
  EXPECT_THAT(Steps({1, 2, 3, 2, 3}), ElementsAre(1, 2, 3, 2, 4));
}

TEST(ConvCutPrg, AllLevelOneIsOneStepAndDeepLevelsGetNone) {
  OptimizerView view;
  EXPECT_THAT(Steps({1, 1, 1}, &view), ElementsAre(1, 1, 1));
  EXPECT_EQ(view.LBLShowPh, "Cut Sequence            of  1");
  EXPECT_THAT(Steps({1, 12, 0}), ElementsAre(1, 0, 0));
}

TEST(ConvCutPrg, AMissingLevelLeavesNoEmptyStep) {
  OptimizerView view;
  EXPECT_THAT(Steps({1, 3, 3, 1, 3}, &view), ElementsAre(1, 2, 2, 1, 3));  // as the loaded groups
  EXPECT_EQ(view.LBLShowPh, "Cut Sequence            of  3");
  EXPECT_THAT(Steps({2, 2}), ElementsAre(1, 1));
}

TEST(ConvCutPrg, OnlyTheSelectedPatternIsNumbered) {
  PatternBuilder b(100, 50);
  b.Levels({1, 2}).Pattern(2).Levels({1, 2, 1, 2});
  OptimizerView view;
  OptimizerModel& model = b.Selected(1);
  ShowGraphic(model, view);
  ConvCutPrg(model, view);
  EXPECT_EQ(model.CurPatFirst, 3);
  EXPECT_EQ(model.PatCuts[2].SeqStep, 0);
  EXPECT_EQ(model.PatCuts[6].SeqStep, 3);
}

TEST(StepBar, MovingItHighlightsTheStepAndResetsOnTheNextPattern) {
  PatternBuilder b(100, 50);
  b.Levels({1, 2});
  OptimizerView view;
  OptimizerModel& model = b.Selected();
  ShowGraphic(model, view);
  ConvCutPrg(model, view);
  SetStepBar(model, view, 2);
  EXPECT_EQ(view.TextShowPh, "2");
  std::vector<PenColor> pens;
  for (const DrawOp& op : view.Drawing.Ops())
    if (const auto* pen = std::get_if<draw::Pen>(&op)) pens.push_back(pen->Color);
  EXPECT_THAT(pens, ElementsAre(PenBlack, PenGreen, PenWhite));
  ConvCutPrg(model, view);
  EXPECT_EQ(view.TextShowPh, "0");
}

TEST(Books, SelectedBookAndAdvanceWrapAfterTheLastShown) {
  OptimizerView view;
  EXPECT_EQ(SelectedBook(view), 0);
  AdvBooks(view);
  EXPECT_EQ(SelectedBook(view), 1);
  for (int i = 0; i < 3; ++i) view.Bks[i].Visible = true;
  AdvBooks(view);
  AdvBooks(view);
  EXPECT_EQ(SelectedBook(view), 3);
  AdvBooks(view);
  EXPECT_EQ(SelectedBook(view), 1);
  for (auto& button : view.Bks) button.Visible = true;
  SelectBook(view, BookButtonCount - 1);
  AdvBooks(view);  // past the last button of the array
  EXPECT_EQ(SelectedBook(view), 1);
  EXPECT_FALSE(view.Bks[BookButtonCount - 1].Value);
}

}  // namespace
}  // namespace orl
