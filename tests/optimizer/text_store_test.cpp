#include "saw/optimizer/text_store.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "import_text.h"
#include "saw/optimizer/optimizer_model.h"
#include "saw/optimizer/text_encoding.h"

namespace orl {
namespace {

using ::testing::ElementsAre;

std::string Numbered(int i) { return "text " + std::to_string(i) + std::string(static_cast<std::size_t>(i % 37), '#'); }

TEST(TextStore, TextsStayIntactAcrossManyBlocksAndOversizedTexts) {
  TextStore store;
  std::vector<std::string_view> kept;
  for (int i = 0; i < 100'000; ++i) {
    kept.push_back(store.Keep(Numbered(i)));
    // Now and then a text larger than a whole block of the store.
    if (i % 25'000 == 0) kept.push_back(store.Keep(std::string(3u << 20, static_cast<char>('a' + i % 26))));
  }
  EXPECT_GT(store.Capacity(), std::size_t{12} << 20);
  std::size_t next = 0;
  for (int i = 0; i < 100'000; ++i) {
    ASSERT_EQ(kept[next++], Numbered(i)) << i;
    if (i % 25'000 == 0) {
      ASSERT_EQ(kept[next].size(), 3u << 20);
      EXPECT_EQ(kept[next].find_first_not_of(static_cast<char>('a' + i % 26)), std::string_view::npos);
      ++next;
    }
  }
}

TEST(TextStore, ListsCopyTheirTextsAndAreAlignedForViews) {
  TextStore store;
  store.Keep("x");  // the list that follows must not start at an odd address
  std::span<const std::string_view> list;
  {
    std::vector<std::string> source = {"", "book one", "book two"};
    std::vector<std::string_view> views(source.begin(), source.end());
    list = store.KeepList(views);
  }  // the source texts are gone; the kept ones are not
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(list.data()) % alignof(std::string_view), 0u);
  EXPECT_THAT(list, ElementsAre("", "book one", "book two"));
  std::span<std::string_view> fresh = store.NewList(3);
  EXPECT_THAT(fresh, ElementsAre("", "", ""));
}

TEST(TextStore, KeepLikeSharesOnlyAnEqualText) {
  TextStore store;
  const std::string_view board = store.Keep("MDF 18");
  EXPECT_EQ(store.KeepLike(board, "MDF 18").data(), board.data());
  const std::string_view other = store.KeepLike(board, "MDF 19");
  EXPECT_EQ(other, "MDF 19");
  EXPECT_NE(other.data(), board.data());
}

TEST(TextStore, KeepsValidUtf8AsItIsAndReadsAnythingElseAsWindows1252) {
  EXPECT_TRUE(IsValidUtf8("Kiefer \xC3\xB6 \xE2\x82\xAC \xF0\x9F\x98\x80"));
  // Overlong, surrogate, cut short, past U+10FFFF, a stray continuation.
  for (const char* text : {"\xC0\xAF", "\xED\xA0\x80", "ab\xC3", "\xF4\x90\x80\x80", "\x80"})
    EXPECT_FALSE(IsValidUtf8(text)) << text;
  TextStore store;
  EXPECT_EQ(store.Keep("Kiefer \xC3\xB6"), "Kiefer \u00F6");
  EXPECT_EQ(store.Keep("ab\xC3"), "ab\u00C3");
  EXPECT_EQ(store.Keep("\x93quoted\x94 \x8D"), "\u201Cquoted\u201D \uFFFD");
}

TEST(OptimizerModelTexts, AddedCutsOwnTheirTextsAndSurviveAMove) {
  OptimizerModel model;
  {
    std::string desc = "Oak 19";
    std::string label = "Top";
    std::vector<std::string> books = {"", "first book"};
    std::vector<std::string_view> bookViews(books.begin(), books.end());
    PatCut cut;
    cut.PatNo = 1;
    cut.BoardDesc = desc;
    cut.PartLabel = label;
    cut.BookLabels = bookViews;
    model.AddCut(cut, true, 0);
    desc.assign(desc.size(), '?');  // the caller's texts change and go
    books[1].assign(books[1].size(), '?');
  }
  OptimizerModel moved = std::move(model);
  const PatCut& cut = moved.PatCuts[1];
  EXPECT_EQ(cut.BoardDesc, "Oak 19");
  EXPECT_EQ(cut.PartLabel, "Top");
  EXPECT_THAT(cut.BookLabels, ElementsAre("", "first book"));
  EXPECT_THAT(moved.Pat.Items, ElementsAre("1  *  Oak 19"));
}

TEST(OptimizerModelTexts, ConsecutiveCsvRecordsShareTextsOnlyWhileTheyAreEqual) {
  OptimizerModel model = test::ImportText("cuts.csv",
                                          "J1,1,Oak,100,50,0,0,0,0,0,0,L,10,1,1,Top,7\n"
                                          "J1,1,Oak,100,50,0,0,0,0,0,0,L,10,1,1,Top,7\n"
                                          "J2,1,Ash,100,50,0,0,0,0,0,0,L,10,1,1,Side,7\n"
                                          "J2,1,Ash,100,50,0,0,0,0,0,0,L,10,1,1,Side,8\n",
                                          "C:\\Ardis\\x.ini");
  ASSERT_EQ(model.CutCount(), 4u);
  EXPECT_THAT(model.PatCuts[2].BookLabels, ElementsAre("", "ORL Ardis,C:\\Ardis\\J1,7"));
  EXPECT_EQ(model.PatCuts[3].SourceTag, "J2");
  EXPECT_EQ(model.PatCuts[3].BoardDesc, "Ash");
  EXPECT_EQ(model.PatCuts[3].PartLabel, "Side");
  EXPECT_THAT(model.PatCuts[3].BookLabels, ElementsAre("", "ORL Ardis,C:\\Ardis\\J2,7"));
  EXPECT_THAT(model.PatCuts[4].BookLabels, ElementsAre("", "ORL Ardis,C:\\Ardis\\J2,8"));
}

}  // namespace
}  // namespace orl
