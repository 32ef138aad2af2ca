#include "saw/optimizer/csv_cut_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "import_text.h"
#include "saw/optimizer/file_kind.h"
#include "saw/optimizer/optimizer_import.h"

namespace orl {
namespace {

using ::testing::ElementsAre;

OptimizerModel Import(const std::string& text, const std::string& ardisPath) {
  return test::ImportText("cuts.csv", text, ardisPath);
}

TEST(CsvCutReader, ReadsEveryFieldAndBuildsTheLabel) {
  OptimizerModel model = Import(
      "Tag,Pattern,Board,Length,Width\r\n"
      "\r\n"
      "J1,3,Oak 19,2800,2070,12,14,5,6,8,3, l ,700.5,1,2,Top,42\r\n"
      "J1,3,Oak 19,2800,2070,12,14,5,6,8,3,S,350,2,1,,0\r\n"
      "J1,4,Oak 19,0,2070,12,14,5,6,8,3,L,350,2,1,,0\r\n"
      "J1,4,Oak 19,abc,2070,12,14,5,6,8,3,L,350,2,1,,0\r\n",
      "C:\\Ardis\\Data\\jobs.ini");
  EXPECT_EQ(model.OptFileKind, FileKind::Csv);
  ASSERT_EQ(model.CutCount(), 2u);
  const PatCut& a = model.PatCuts[1];
  EXPECT_EQ(a.SourceTag, "J1");
  EXPECT_EQ(a.PatNo, 3);
  EXPECT_EQ(a.BoardDesc, "Oak 19");
  EXPECT_EQ(a.BoardLen, 2800);
  EXPECT_EQ(a.BoardWid, 2070);
  EXPECT_EQ(a.TrimShort, 12);
  EXPECT_EQ(a.TrimLong, 14);
  EXPECT_EQ(a.EndTrimWid, 5);
  EXPECT_EQ(a.EndTrimLen, 6);
  EXPECT_EQ(a.PatSheets, 8);
  EXPECT_EQ(a.BookMax, 3);
  EXPECT_TRUE(a.LoadLong);  // " l " trimmed and upper-cased
  EXPECT_EQ(a.CutDim, 700.5f);
  EXPECT_EQ(a.CutLevel, 1);
  EXPECT_EQ(a.CutQty, 2);
  EXPECT_EQ(a.PartLabel, "Top");
  EXPECT_EQ(a.PartRef, 42);
  EXPECT_THAT(a.BookLabels, ElementsAre("", "ORL Ardis,C:\\Ardis\\Data\\J1,42"));
  EXPECT_FALSE(model.PatCuts[2].LoadLong);
  EXPECT_THAT(model.PatCuts[2].BookLabels, ElementsAre("", ""));  // PartRef 0: no label
  EXPECT_THAT(model.Pat.Items, ElementsAre("3  *  Oak 19"));
}

TEST(CsvCutReader, LabelKeepsTheReferenceAsWrittenAndSlashFoldersWork) {
  OptimizerModel model = Import("T,1,B,100,50,0,0,0,0,0,0,L,10,1,1,P,007x\n", "/srv/ardis/data.txt");
  ASSERT_EQ(model.CutCount(), 1u);
  EXPECT_EQ(model.PatCuts[1].BookLabels[1], "ORL Ardis,/srv/ardis/T,007x");
}

TEST(OptimizerImport, OutOfRangeFieldsWarnUntilTheListIsFullThenAreCounted) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "T,1,B,100,50,0,0,0,0,0,0,L,10,1,1,P,40000\n";
  OptimizerModel model = Import(text, "");
  EXPECT_EQ(model.PatCuts[150].PartRef, 32767);
  const auto warnings = model.Warnings.Texts();
  ASSERT_EQ(warnings.size(), ImportWarnings::MaxKept + 1);
  EXPECT_EQ(warnings[99], "line 100: field 17 is outside -32768..32767 and was held to that range");
  EXPECT_EQ(warnings.back(), "50 more warnings not shown");
}

TEST(CsvCutReader, PatternLevelOrCountPast16BitsSkipsTheLineAndNoFiniteSizeReadsAs0) {
  OptimizerModel model = Import(
      "T,32767,B,100,50,0,0,0,0,0,0,L,10,1,1,P,0\n"
      "T,40000,B,100,50,0,0,0,0,0,0,L,10,1,1,P,0\n"
      "T,1,B,100,50,0,0,0,0,0,0,L,10,1,-70000,P,0\n"
      "T,32767,B,100,50,0,0,0,0,0,0,L,1e39,1,1,P,0\n",
      "");
  ASSERT_EQ(model.CutCount(), 2u);
  EXPECT_EQ(model.PatCuts[2].CutDim, 0);
  EXPECT_THAT(model.Pat.Items, ElementsAre("32767  *  B"));
  EXPECT_EQ(model.Warnings.Texts().size(), 3u);
}

TEST(CsvCutReader, TextThatIsNotUtf8IsReadAsWindows1252) {
  OptimizerModel model = Import(
      "J\xE9,1,Eiche \x80 \x81,100,50,0,0,0,0,0,0,L,10,1,1,Kiefer \xC3\xB6,7\xFC\n", "C:\\Donn\xE9" "es\\x.ini");
  ASSERT_EQ(model.CutCount(), 1u);
  const PatCut& cut = model.PatCuts[1];
  EXPECT_EQ(cut.SourceTag, "J\u00E9");
  EXPECT_EQ(cut.BoardDesc, "Eiche \u20AC \uFFFD");  // 0x81 is no character of Windows-1252
  EXPECT_EQ(cut.PartLabel, "Kiefer \u00F6");          // already UTF-8: as it is
  EXPECT_EQ(cut.BookLabels[1], "ORL Ardis,C:\\Donn\u00E9es\\J\u00E9,7\u00FC");
}

TEST(OptimizerImport, PatternsOutOfOrderAreGatheredInAscendingOrder) {
  OptimizerModel model = Import(
      "T,2,B2,100,50,0,0,0,0,0,0,L,1,1,1,P,0\n"
      "T,1,B1,100,50,0,0,0,0,0,0,L,2,1,1,P,0\n"
      "T,2,B2,100,50,0,0,0,0,0,0,L,3,1,1,P,0\n",
      "");
  std::vector<float> dims;
  for (std::size_t i = 1; i <= model.CutCount(); ++i) dims.push_back(model.PatCuts[i].CutDim);
  EXPECT_THAT(dims, ElementsAre(2, 1, 3));
  EXPECT_THAT(model.Pat.Items, ElementsAre("1  *  B1", "2  *  B2"));
}

TEST(FileKind, ChosenByTheUpperCasedNameInOrder) {
  EXPECT_EQ(KindFromFileName("cpout.042"), FileKind::CpOut);
  EXPECT_EQ(KindFromFileName("CPOUT.PTX"), FileKind::CpOut);  // CPOUT is tested first
  EXPECT_EQ(KindFromFileName("job.saw"), FileKind::Ardis);
  EXPECT_EQ(KindFromFileName("job.Ptx"), FileKind::Ptx);
  EXPECT_EQ(KindFromFileName("job.csv"), FileKind::Csv);
  EXPECT_EQ(KindFromFileName("job.txt"), FileKind::Csv);
}

TEST(OptimizerImport, FileWithoutCutsLeavesOnlyElementZeroAndMissingFileWarns) {
  OptimizerModel model = Import("just,a,header\n", "");
  EXPECT_EQ(model.PatCuts.size(), 1u);
  EXPECT_TRUE(model.Pat.Items.empty());
  OptimizerModel missing;
  EXPECT_FALSE(ImportOptimizerFile(missing, "/nonexistent", "x.csv", ""));
  EXPECT_EQ(missing.Warnings.Texts().size(), 1u);
}

}  // namespace
}  // namespace orl
