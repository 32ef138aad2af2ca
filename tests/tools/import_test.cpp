// orl-tool import and load-pattern end to end, on files written here.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "fakes/temp_folder.h"
#include "tools/run_tool.h"

namespace orl {
namespace {

using nlohmann::json;
using ::testing::ElementsAre;
using testing::RunTool;

class OrlToolImport : public ::testing::Test {
 protected:
  OrlToolImport() {
    jobs.Write("ORL.INI",
               "[Configuration]\nSawKerf=3.2\nHeadCut=10\n"
               "[System]\nJobPath=.\nProgramPath=.\nArdisPath=C:\\Ardis\\Data\\jobs.ini\n");
  }

  json Import(const std::string& name, const std::string& text, const std::string& extra = "") {
    jobs.Write(name, text);
    const auto run = RunTool("import " + jobs.File(name) + " --ini " + jobs.File("ORL.INI") + " --json " + extra);
    EXPECT_EQ(run.status, 0) << run.err;
    return json::parse(run.out.empty() ? "{}" : run.out);
  }

  json LoadPattern(const std::string& name, int pattern) {
    const auto run = RunTool("load-pattern " + jobs.File(name) + " --pattern " + std::to_string(pattern) + " --out " +
                             jobs.File("loaded") + " --ini " + jobs.File("ORL.INI") + " --json");
    EXPECT_EQ(run.status, 0) << run.err;
    return json::parse(run.out.empty() ? "{}" : run.out);
  }

  static std::vector<int> Field(const json& out, const char* name) {
    std::vector<int> values;
    for (const auto& cut : out["PatCuts"]) values.push_back(cut[name]);
    return values;
  }

  testing::TempFolder jobs;
};

TEST_F(OrlToolImport, CpOutBooksLabelsAndPatternLoad) {
  const std::string file =
      "ORD3,2,1\nINV1,1,x,x,2440,1220,10,12\nINV2,MDF\n"
      "prt1,1,1,600,400,A,Side,x,y\nPRT2,more\nPRT5,end\nPRT1,2,1,600,400,A,Side 2,x,y\n"
      "PAT1,1,L,10,4\nCUT1,1,600,x,0\nCUT1,2,400,x,1\n";
  const json out = Import("CPOUT.042", file);
  EXPECT_EQ(out["OptFileKind"], "CpOut");
  EXPECT_EQ(out["PatBooks"][1], json({0, 3, 3, 2, 2}));
  EXPECT_EQ(out["PatCuts"][1]["BookLabels"][1],
            "prt1,1,1,600,400,A,Side,x,y,PRT2,more,PRT5,end\r\nPRT1,2,1,600,400,A,Side 2,x,y,");
  EXPECT_EQ(out["PatCuts"][1]["PartLabel"], "Side");
  EXPECT_EQ(out["PatCuts"][0]["EndTrimWid"], 0);

  const json loaded = LoadPattern("CPOUT.042", 1);
  EXPECT_EQ(loaded["Bks"], json({"3", "3", "2", "2"}));
  EXPECT_EQ(loaded["Units"], "Metric");
  EXPECT_EQ(loaded["Desc"], "Pattern Number: 1 From: CPOUT.042\r\nMDF\r\n2440 X 1220       Load LONG");
  EXPECT_EQ(loaded["LoadedPatternKey"], "1," + jobs.Folder() + ",CPOUT.042,0");
  ASSERT_EQ(loaded["CutBookLabels"].size(), 2u);
  EXPECT_EQ(loaded["CutBookLabels"][1]["group"], 2);
  EXPECT_EQ(loaded["CutBookLabels"][1]["labels"][0], "");
}

TEST_F(OrlToolImport, PtxSkipsTrimLevelsAndListsPatternsWithoutDescription) {
  const json out = Import("job.ptx",
                          "BOARDS,1,1,18,1,48-1/2,96,0,0,0\nPATTERNS,1,1,1,0,12,0,4\n"
                          "CUTS,1,1,0,0,0,5,1,0,x\nCUTS,2,1,7,0,1,24,2,3,x\nCUTS,3,1,0,0,10,5,1,0,x\n"
                          "CUTS,4,1,8,0,2,12,1,4,x\n",
                          "--pattern 1");
  EXPECT_EQ(out["Pat"], json({"1  *  "}));
  EXPECT_THAT(Field(out, "CutLevel"), ElementsAre(1, 2));
  EXPECT_EQ(out["PatCuts"][0]["BoardWid"], 48.5);
  EXPECT_EQ(out["Parts"], json({" 2 * 3", " 1 * 4"}));
}

TEST_F(OrlToolImport, ArdisCodeExpansionAndTurnedItems) {
  const json out = Import("JOB.SAW",
                          "PNL2,P1,A,10,11\nPNL2,P2,A,20,21\nPNL2,P3,A,30,31\nPNL2,P4,A,1,1\nPNL2,P5,A,1,1\n"
                          "PNL2,P6,A,1,1\nPNL2,P7,A,70,71\nBRD2,Birch,1220,2440\nPTN2,1,\nPTN3,1,2*2/3+7!\n");
  EXPECT_THAT(Field(out, "CutLevel"), ElementsAre(1, 1, 1, 2, 1));
  std::vector<double> dims;
  for (const auto& cut : out["PatCuts"]) dims.push_back(cut["CutDim"]);
  EXPECT_THAT(dims, ElementsAre(10, 20, 20, 30, 71));
  EXPECT_EQ(out["Pat"], json({"1  *  Birch"}));
}

TEST_F(OrlToolImport, CsvLongMarkLabelsAndCutSequence) {
  std::string file = "Tag,Pattern\n";
  int ref = 1;
  for (int level : {1, 2, 2, 1, 2, 3, 3})
    file += "J7,1,Ply,96,48,0,0,0,0,0,0," + std::string(level == 1 ? " l " : "S") + ",10," + std::to_string(level) +
            ",1,P,0" + std::to_string(ref++) + "\n";
  const json out = Import("cuts.csv", file, "--pattern 1");
  EXPECT_EQ(out["OptFileKind"], "Csv");
  EXPECT_EQ(out["PatCuts"][0]["LoadLong"], true);
  EXPECT_EQ(out["PatCuts"][0]["BookLabels"], json({"", "ORL Ardis,C:\\Ardis\\Data\\J7,01"}));
  EXPECT_THAT(Field(out, "SeqStep"), ElementsAre(1, 2, 2, 1, 3, 4, 4));
  EXPECT_EQ(out["LBLShowPh"], "Cut Sequence            of  4");
  EXPECT_EQ(out["LBLPhases"], "# Phases:  3");
  EXPECT_EQ(out["CurPatFirst"], 1);

  const json loaded = LoadPattern("cuts.csv", 1);
  EXPECT_EQ(loaded["Units"], "Inch");  // a board 48 wide is measured in inches
  std::vector<std::pair<int, int>> cells;
  for (const auto& cell : loaded["CutBookLabels"]) cells.emplace_back(cell["row"], cell["group"]);
  // Level 1 in group 1; each run of level 2 its own group; level 3 after them.
  EXPECT_THAT(cells, ElementsAre(std::pair{4, 1}, std::pair{4, 2}, std::pair{4, 3}, std::pair{4, 4},
                                 std::pair{5, 1}, std::pair{5, 2}, std::pair{5, 4}));
  EXPECT_FALSE(jobs.Read("loaded").empty());
}

TEST_F(OrlToolImport, PatternsOutOfOrderAndWindowsTextLoadWhole) {
  // Pattern 2 before pattern 1, and a board named in Windows-1252.
  jobs.Write("cuts.csv",
             "J,2,Oak,100,50,0,0,0,0,0,0,L,30,1,1,Two,0\n"
             "J,1,Eiche f\xFCr T\xFCren,100,50,0,0,0,0,0,0,L,20,1,1,One,0\n"
             "J,2,Oak,100,50,0,0,0,0,0,0,S,40,2,1,Two,0\n");
  const json out = Import("cuts.csv", jobs.Read("cuts.csv"), "--pattern 2");
  EXPECT_EQ(out["Pat"], json({"1  *  Eiche f\u00FCr T\u00FCren", "2  *  Oak"}));
  EXPECT_EQ(out["Parts"], json({" 1 * Two", " 1 * Two"}));

  const json loaded = LoadPattern("cuts.csv", 1);
  EXPECT_EQ(loaded["Desc"], "Pattern Number: 1 From: cuts.csv\r\nEiche f\u00FCr T\u00FCren\r\n100 X 50       Load LONG");
  EXPECT_EQ(loaded["CutBookLabels"].size(), 1u);  // its one cut was placed
}

// Cuts are written without a JSON value made for each: the text must be the
// library's own for the same values, to the byte, numbers as the program
// shows them (seven digits) and texts escaped as the library escapes them.
TEST_F(OrlToolImport, JsonCutsAreTheLibrarysTextOfTheShownValues) {
  jobs.Write("cuts.csv",
             "J\"1\\,1,Ply 3/4\" f\xFCr\tT,12345678,4.750861,0.0001,0.00001,-0,100000000000000000000,2,1,L,1219.2,1,1,\x01,7\n"
             "J2,1,Ply,2440,1220,0,0,0,0,0,0,S,600,2,3,Side,0\n");
  const auto run = RunTool("import " + jobs.File("cuts.csv") + " --ini " + jobs.File("ORL.INI") + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const auto parsed = nlohmann::ordered_json::parse(run.out);
  EXPECT_EQ(run.out, parsed.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n");
  const auto& cut = parsed["PatCuts"][0];
  EXPECT_EQ(cut["BoardLen"], 12345680.0);
  EXPECT_EQ(cut["BoardDesc"], "Ply 3/4\" f\u00FCr\tT");
  EXPECT_EQ(cut["PartLabel"], "\x01");
  // What the library writes for the double nearest 4.750861, as before.
  EXPECT_NE(run.out.find("\"BoardWid\":4.7508609999999996,\"TrimShort\":0.0001,\"TrimLong\":1e-05,"
                         "\"EndTrimWid\":0.0,\"EndTrimLen\":1e+20,"), std::string::npos);
  EXPECT_EQ(parsed["PatCuts"][1]["BookLabels"], nlohmann::ordered_json({"", ""}));
}

TEST_F(OrlToolImport, SvgOfTheSelectedPatternAndErrors) {
  jobs.Write("cuts.csv", "J,3,Oak,100,50,0,0,0,0,2,1,L,30,1,1,Top,0\n");
  auto run = RunTool("import " + jobs.File("cuts.csv") + " --ini " + jobs.File("ORL.INI") + " --pattern 3 --svg " +
                     jobs.File("p.svg"));
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string svg = jobs.Read("p.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("stroke=\"#00FF00\""), std::string::npos);  // the level-1 cut
  EXPECT_NE(svg.find(" 100  X  50"), std::string::npos);
  EXPECT_NE(svg.find(" 2 Sheets in this pattern."), std::string::npos);

  run = RunTool("import " + jobs.File("cuts.csv") + " --ini " + jobs.File("ORL.INI") + " --pattern 4");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no pattern 4"), std::string::npos);
  run = RunTool("import " + jobs.File("missing.csv") + " --ini " + jobs.File("ORL.INI"));
  EXPECT_EQ(run.status, 2);
}

}  // namespace
}  // namespace orl
