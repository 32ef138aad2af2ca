// orl-tool driven end to end on the bundled examples.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "fakes/temp_folder.h"
#include "run_tool.h"

namespace orl {
namespace {

using nlohmann::json;
using testing::RunTool;

const std::string kExamples = ORL_EXAMPLES_DIR;
const std::string kIni = " --ini " + kExamples + "/ORL.INI";

std::vector<int> Targets(const json& plan) {
  std::vector<int> targets;
  for (const auto& entry : plan["entries"]) targets.push_back(entry["Target"]);
  return targets;
}

TEST(OrlToolPlan, WorkedExampleInAbsoluteMode) {
  const auto run = RunTool("plan " + kExamples + "/Programs/metric-example" + kIni + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json plan = json::parse(run.out);
  EXPECT_TRUE(plan["result"]);
  EXPECT_EQ(Targets(plan), (std::vector<int>{13228, 8196, 3164, 132}));
  EXPECT_TRUE(plan["entries"][0]["NewBoard"]);
  EXPECT_EQ(plan["entries"][3]["CellRow"], 5);
}

TEST(OrlToolPlan, GrooveStrokesAndGroupSelection) {
  auto run = RunTool("plan " + kExamples + "/Programs/metric-groove" + kIni + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Targets(json::parse(run.out)), (std::vector<int>{13228, 8196, 8169, 8142, 3110, 3083, 3056, 24}));

  run = RunTool("plan " + kExamples + "/Programs/kitchen-groups" + kIni + " --from-col 1 --to-col 11 --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json plan = json::parse(run.out);
  for (const auto& entry : plan["entries"]) EXPECT_NE(entry["CellCol"], 13);
  EXPECT_EQ(plan["entries"].back()["CellCol"], 7);
  // A group's separator column belongs to the next group.
  run = RunTool("plan " + kExamples + "/Programs/kitchen-groups" + kIni + " --from-col 7 --to-col 12 --json");
  EXPECT_EQ(json::parse(run.out)["entries"].back()["CellCol"], 13);
}

TEST(OrlToolPlan, InchProgram) {
  const auto run = RunTool("plan " + kExamples + "/Programs/inch-doors" + kIni + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Targets(json::parse(run.out))[0], 24416);  // 96 in + 3.2 mm
}

TEST(OrlToolTotals, WorkedExampleTotalsWrittenToAnotherFile) {
  testing::TempFolder folder;
  // Group 2 has a board length and no cuts: it keeps its length and gains none.
  const std::string program = "Example,True\r\n\r\n,,,,,,1000\r\n500,2\r\n300,1\r\n";
  folder.Write("program", program);
  const auto run = RunTool("totals " + folder.File("program") + kIni + " --out " + folder.File("out") + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json totals = json::parse(run.out);
  ASSERT_EQ(totals["groups"].size(), 2u);
  EXPECT_EQ(totals["groups"][0]["total"], "1319.6");
  EXPECT_EQ(totals["groups"][0]["remainders"], (json{"303.2", "0"}));
  EXPECT_EQ(totals["groups"][1]["total"], "1000");
  EXPECT_EQ(totals["groups"][1]["remainders"], json::array());
  EXPECT_EQ(folder.Read("out"), "Example,True\r\n\r\n1319.6,,,,,,1000\r\n500,2,,,303.2\r\n300,1,,,0\r\n");
  EXPECT_EQ(folder.Read("program"), program);
}

TEST(OrlToolRun, ImportedPatternRunsAndItsBookLabelsReachTheLabelFile) {
  testing::TempFolder folder;
  folder.Write("ORL.INI", "[Configuration]\nSawKerf=3.2\nHeadCut=10\nCreepDist=100\nMode=ABSOLUTE\nSimulate=1\n"
                          "[System]\nJobPath=" + kExamples + "/Jobs\nProgramPath=" + kExamples +
                          "/Programs\nPrintPath=labels.txt\n");
  const auto run = RunTool("run --import " + kExamples + "/Jobs/CPOUT.001 --pattern 1 --book 2 --ini " +
                           folder.File("ORL.INI") + " --plc sim --tick-ms 0 --until-done --json");
  ASSERT_EQ(run.status, 0) << run.err;
  std::vector<json> handOvers;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);)
    if (json entry = json::parse(line); entry.contains("Target")) handOvers.push_back(entry);
  ASSERT_FALSE(handOvers.empty());
  EXPECT_TRUE(handOvers.front()["NewBoard"]);
  EXPECT_TRUE(handOvers.back()["LastCut"]);
  const std::string labels = folder.Read("labels.txt");
  EXPECT_NE(labels.find("Side panel R2"), std::string::npos) << labels;  // book 2 of the side panels
  EXPECT_EQ(labels.find("Side panel L1"), std::string::npos) << labels;  // book 1's label
  EXPECT_EQ(labels.find('\r'), std::string::npos);

  EXPECT_EQ(RunTool("run --import " + kExamples + "/Jobs/CPOUT.001 --pattern 1 --book 9 --ini " +
                    folder.File("ORL.INI") + " --plc sim --tick-ms 0 --until-done").status, 1);
  EXPECT_EQ(RunTool("run --ini " + folder.File("ORL.INI") + " --plc sim").status, 1);
}

TEST(OrlToolErrors, MissingFilesAndBadArguments) {
  auto run = RunTool("plan /nonexistent/program" + kIni);
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("/nonexistent/program"), std::string::npos);
  run = RunTool("totals " + kExamples + "/Programs/metric-example --ini /nonexistent/ORL.INI");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("/nonexistent/ORL.INI"), std::string::npos);
  EXPECT_EQ(RunTool("plan").status, 1);
  EXPECT_EQ(RunTool("plan x --from-col 0").status, 1);
  EXPECT_EQ(RunTool("no-such-command").status, 1);
  testing::TempFolder folder;
  folder.Write("program", std::string("\0\x01\xff,\"\n", 6));
  run = RunTool("totals " + folder.File("program") + kIni + " --out " + folder.File("missing/out"));
  EXPECT_EQ(run.status, 2);
}

}  // namespace
}  // namespace orl
