#include "saw/optimizer/pat_cut_list.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "saw/optimizer/text_store.h"

namespace orl {
namespace {

// Cuts whose fields come from small pools, so that runs of cuts share a
// head or labels and others differ from their neighbour in one field only;
// with more label pairs than the list remembers, some share a slot.
std::vector<PatCut> VariedCuts(TextStore& texts) {
  std::vector<std::string_view> labels;
  for (int i = 0; i < 600; ++i) labels.push_back(texts.Keep("part " + std::to_string(i)));
  std::array<std::span<std::string_view>, 3> books = {texts.NewList(2), texts.NewList(3), texts.NewList(2)};
  books[0][1] = texts.Keep("book label");
  const std::string_view boards[] = {texts.Keep("Oak"), texts.Keep("Ash")};
  std::vector<PatCut> cuts;
  for (int i = 0; i < 5000; ++i) {
    PatCut cut;
    cut.SourceTag = i % 97 == 0 ? boards[1] : std::string_view();
    cut.PatNo = static_cast<std::int16_t>(1 + i / 50 % 7);  // patterns 1..7 come back out of order
    cut.BoardDesc = boards[i / 300 % 2];
    cut.BoardLen = i % 211 == 0 ? 2000.5f : 2440;
    cut.BoardWid = 1220;
    cut.TrimLong = static_cast<float>(i / 400 % 2);
    cut.EndTrimLen = i % 389 == 0 ? 3.f : 0.f;
    cut.BookMax = static_cast<std::int16_t>(i / 700 % 3);
    cut.LoadLong = i % 3 == 0;
    cut.CutDim = static_cast<float>(i % 13) + 0.25f;
    cut.CutLevel = static_cast<std::int16_t>(1 + i % 4);
    cut.CutQty = static_cast<std::int16_t>(1 + i % 5);
    cut.PartLabel = i % 11 == 0 ? std::string_view() : labels[static_cast<std::size_t>(i * 7 % 600)];
    cut.PartRef = static_cast<std::int16_t>(i % 300);
    cut.SeqStep = static_cast<std::int16_t>(i % 9);
    if (i % 5 != 0) cut.BookLabels = books[static_cast<std::size_t>(i % 3)];
    cuts.push_back(cut);
  }
  return cuts;
}

void ExpectSameCut(const PatCut& a, const PatCut& b, std::size_t i) {
  EXPECT_TRUE(a.SourceTag == b.SourceTag && a.PatNo == b.PatNo && a.BoardDesc == b.BoardDesc &&
              a.BoardLen == b.BoardLen && a.BoardWid == b.BoardWid && a.TrimShort == b.TrimShort &&
              a.TrimLong == b.TrimLong && a.EndTrimWid == b.EndTrimWid && a.EndTrimLen == b.EndTrimLen &&
              a.PatSheets == b.PatSheets && a.BookMax == b.BookMax && a.LoadLong == b.LoadLong &&
              a.CutDim == b.CutDim && a.CutLevel == b.CutLevel && a.CutQty == b.CutQty &&
              a.PartLabel.data() == b.PartLabel.data() && a.PartRef == b.PartRef && a.SeqStep == b.SeqStep &&
              a.BookLabels.data() == b.BookLabels.data() && a.BookLabels.size() == b.BookLabels.size())
      << "cut " << i;
}

TEST(PatCutList, EveryCutReadsBackAsAppendedWhateverItShares) {
  TextStore texts;
  const std::vector<PatCut> cuts = VariedCuts(texts);
  PatCutList list;
  for (const PatCut& cut : cuts) list.Append(cut);
  ASSERT_EQ(list.size(), cuts.size() + 1);
  for (std::size_t i = 0; i < cuts.size(); ++i) ExpectSameCut(list[i + 1], cuts[i], i);
  EXPECT_EQ(list[0].PatNo, 0);

  list.SetSeqStep(3, 42);
  EXPECT_EQ(list[3].SeqStep, 42);
  EXPECT_EQ(list[4].SeqStep, cuts[3].SeqStep);  // a step is the cut's own, not its head's
}

TEST(PatCutList, SortByPatternKeepsEachPatternsOrderAndClearLeavesElementZero) {
  TextStore texts;
  const std::vector<PatCut> cuts = VariedCuts(texts);
  PatCutList list;
  for (const PatCut& cut : cuts) list.Append(cut);
  list.SortByPattern();
  std::size_t i = 1;
  for (std::int16_t pattern = 1; pattern <= 7; ++pattern)
    for (std::size_t k = 0; k < cuts.size(); ++k)
      if (cuts[k].PatNo == pattern) ExpectSameCut(list[i++], cuts[k], k);
  EXPECT_EQ(i, list.size());

  list.Clear();
  EXPECT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].BoardLen, 0);
}

}  // namespace
}  // namespace orl
