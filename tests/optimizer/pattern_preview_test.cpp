#include "saw/optimizer/pattern_preview.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pattern_builder.h"
#include "saw/optimizer/drawing_frame.h"

namespace orl {
namespace {

using ::testing::ElementsAre;
using test::PatternBuilder;

template <typename Op>
std::vector<Op> OpsOf(const OptimizerView& view) {
  std::vector<Op> ops;
  for (const DrawOp& op : view.Drawing.Ops())
    if (const auto* typed = std::get_if<Op>(&op)) ops.push_back(*typed);
  return ops;
}

std::vector<std::string> Lines(const OptimizerView& view, std::size_t skip = 4) {  // after the trim lines
  std::vector<std::string> lines;
  auto all = OpsOf<draw::Line>(view);
  for (std::size_t i = skip; i < all.size(); ++i) {
    const auto& l = all[i];
    lines.push_back(std::to_string(int(l.X1)) + "," + std::to_string(int(l.Y1)) + "-" + std::to_string(int(l.X2)) +
                    "," + std::to_string(int(l.Y2)));
  }
  return lines;
}

TEST(ShowGraphic, DrawsStripsAndPartsLevelByLevel) {
  PatternBuilder b(100, 50);
  b.Cut(1, 30, true).Cut(2, 20, false, 1, "Shelf").Cut(1, 30, true).Cut(2, 20, false, 2, "Top");
  OptimizerModel& model = b.Selected();
  OptimizerView view;
  view.Dir1Folder = "/jobs";
  view.File2Folder = "/jobs";
  view.File2FileName = "a.csv";
  view.File2ListIndex = 3;
  ShowGraphic(model, view);

  EXPECT_THAT(Lines(view), ElementsAre("30,0-30,50", "0,20-30,20", "60,0-60,50", "30,20-60,20", "30,40-60,40"));
  EXPECT_EQ(OpsOf<draw::Window>(view).at(0).Width, 108);
  const auto rect = OpsOf<draw::Rectangle>(view).at(0);
  EXPECT_EQ(rect.X2, 100);
  EXPECT_EQ(rect.Y2, 50);
  const auto texts = OpsOf<draw::Text>(view);
  ASSERT_EQ(texts.size(), 1u);  // no sheet text without sheets and books
  EXPECT_EQ(texts[0].Value, " 100  X  50");
  EXPECT_EQ(texts[0].X, 54 - 16);
  EXPECT_EQ(texts[0].Y, -28);
  EXPECT_THAT(model.Parts.Items, ElementsAre(" 1 * Shelf", " 2 * Top"));
  EXPECT_EQ(view.LBLPhases, "# Phases:  2");
  EXPECT_TRUE(view.ImpFrameVisible);
  EXPECT_EQ(model.CurPatFirst, 1);
  EXPECT_EQ(view.ImpLab1, "/jobs/a.csv");
  EXPECT_EQ(view.ImpLab2, "1 * Board * 100 X 50");
  EXPECT_EQ(model.ShownPatternKey, "1,/jobs,a.csv,3");
}

TEST(ShowGraphic, TrimsShiftTheStartAndTheFirstCutSetsTheSpan) {
  PatternBuilder b(200, 100);
  b.board.TrimLong = 5;
  b.board.TrimShort = 3;
  b.board.EndTrimLen = 7;
  b.board.EndTrimWid = 2;
  b.Cut(1, 50, false).Cut(2, 40, true);
  OptimizerView view;
  ShowGraphic(b.Selected(), view);
  EXPECT_THAT(Lines(view, 0), ElementsAre("5,0-5,100", "0,3-200,3", "193,0-193,100", "0,98-200,98",
                                          "5,53-200,53",   // span 0 = L - TrimLong when loaded short
                                          "45,3-45,53"));  // level 2 across the 50 strip
}

TEST(ShowGraphic, WindowAndTextSizeFollowTheBoard) {
  struct Case {
    float length, width, left, top, textSize;
  };
  // m = length / 25; a landscape board centred vertically, a portrait one across.
  for (const Case& c : {Case{240, 240, -10, -10, 8.35f}, Case{230, 100, -9, -74, 2}, Case{100, 50, -4, -29, 2},
                        Case{50, 96, -4 - 23, -4, 2}}) {
    PatternBuilder b(c.length, c.width);
    b.Cut(1, 10, true);
    OptimizerView view;
    ShowGraphic(b.Selected(), view);
    const auto window = OpsOf<draw::Window>(view).at(0);
    EXPECT_EQ(window.Left, c.left) << c.length;
    EXPECT_EQ(window.Top, c.top) << c.length;
    EXPECT_EQ(OpsOf<draw::TextSize>(view).at(0).Size, c.textSize) << c.length;
  }
}

TEST(ShowGraphic, SheetTextSaysSheetsOnlyForMoreThanOne) {
  for (int sheets : {12, 1}) {
    PatternBuilder b(2440, 1220);
    b.board.PatSheets = static_cast<std::int16_t>(sheets);
    b.board.BookMax = 4;
    b.Cut(1, 10, true);
    OptimizerView view;
    ShowGraphic(b.Selected(), view);
    const auto texts = OpsOf<draw::Text>(view);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].Value, sheets == 12
                                  ? " 12 Sheets in this pattern.    Max number of sheets in a book is  4"
                                  : " 1 Sheet in this pattern.    Max number of sheets in a book is  4");
    EXPECT_EQ(texts[1].X, 98);
    EXPECT_EQ(texts[1].Y, 2636 - 9.5f * 98);
  }
}

TEST(ShowGraphic, LevelZeroListsItsPartWithoutALineAndDeepLevelsAreNotDrawn) {
  PatternBuilder b(100, 50);
  b.Cut(1, 30, true).Cut(0, 5, true, 1, "Offcut").Cut(11, 5, true, 1, "Deep");
  OptimizerView view;
  ShowGraphic(b.Selected(), view);
  EXPECT_EQ(Lines(view).size(), 1u);
  EXPECT_THAT(b.model.Parts.Items, ElementsAre(" 1 * Offcut", " 1 * Deep"));
  EXPECT_EQ(view.LBLPhases, "# Phases:  1");
}

TEST(ShowGraphic, HighlightedStepIsWhiteAndOthersKeepTheirLevelColour) {
  PatternBuilder b(100, 50);
  b.Cut(1, 30, true).Cut(2, 20, false).Cut(3, 10, true);
  b.model.PatCuts.SetSeqStep(2, 2);
  b.model.PatCuts.SetSeqStep(3, 3);
  OptimizerView view;
  view.TextShowPh = "2";
  ShowGraphic(b.Selected(), view);
  std::vector<PenColor> pens;
  for (const auto& pen : OpsOf<draw::Pen>(view)) pens.push_back(pen.Color);
  EXPECT_THAT(pens, ElementsAre(PenBlack, PenGreen, PenWhite, PenBlue));
}

TEST(ShowGraphic, OnlyThePatternsOwnContiguousCutsAreDrawn) {
  PatternBuilder b(100, 50);
  b.Cut(1, 10, true).Pattern(2).Cut(1, 20, true).Pattern(1).Cut(1, 30, true);
  OptimizerView view;
  ShowGraphic(b.Selected(0), view);
  EXPECT_THAT(Lines(view), ElementsAre("10,0-10,50"));  // stops at the record of pattern 2
}

TEST(ShowGraphic, UnknownPatternDrawsNothingNewButShowsTheFrame) {
  PatternBuilder b(100, 50);
  b.Cut(1, 10, true);
  OptimizerView view;
  ShowGraphic(b.Selected(), view);
  const auto opsBefore = view.Drawing.Ops().size();
  b.model.Pat.Items.push_back("7  *  none");
  b.model.Pat.ListIndex = 1;
  view.ImpFrameVisible = false;
  ShowGraphic(b.model, view);
  EXPECT_EQ(view.Drawing.Ops().size(), opsBefore);
  EXPECT_TRUE(view.ImpFrameVisible);
  EXPECT_EQ(view.LBLPhases, "# Phases:  0");
  EXPECT_EQ(b.model.CurPatFirst, 1);
}

TEST(ShowGraphic, EmptyModelDrawsNothingAndHugeRepeatsStopAtTheLimit) {
  OptimizerModel empty;
  OptimizerView view;
  ShowGraphic(empty, view);
  EXPECT_FALSE(view.ImpFrameVisible);

  PatternBuilder b(100, 50);
  for (int i = 0; i < 20; ++i) b.Cut(1, 0.001f, true, 32767);
  ShowGraphic(b.Selected(), view);
  EXPECT_TRUE(view.Drawing.Full());
  EXPECT_EQ(view.Drawing.Ops().size(), DisplayList::MaxOps);
}

}  // namespace
}  // namespace orl

namespace orl {
namespace {

TEST(DrawingFrame, TheWindowGrowsToHoldItsTextsAndTextsKeepAReadableSize) {
  DisplayList list;
  list.Add(draw::Text{-50, -50, "before the window: not counted"});
  list.Add(draw::Window{0, 0, 400, 200});
  list.Add(draw::Text{-20, 250, "size"});
  const DrawingBounds box = BoundsOf(list);
  EXPECT_EQ(box.left, -20);
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.right, 400);
  EXPECT_EQ(box.bottom, 250);
  EXPECT_FLOAT_EQ(TextSizeFor(box, 25), 420 * 25 / 500.0f);
  EXPECT_FLOAT_EQ(TextSizeFor(box, 1), 420 / 80.0f);  // never below the least
}

}  // namespace
}  // namespace orl
