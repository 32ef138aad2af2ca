// orl-tool driven end to end on the bundled examples.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "fakes/temp_folder.h"
#include "plc/child_process.h"
#include "run_tool.h"

namespace orl {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;
using testing::ChildProcess;
using testing::RunTool;

const std::string kExamples = ORL_EXAMPLES_DIR;
const std::string kIni = " --ini " + kExamples + "/ORL.INI";

TEST(OrlToolPlan, GroupSelection) {
  const auto run = RunTool("plan " + kExamples + "/Programs/kitchen-groups" + kIni + " --from-col 1 --to-col 11 --json");
  ASSERT_EQ(run.status, 0) << run.err;
  const json plan = json::parse(run.out);
  for (const auto& entry : plan["entries"]) EXPECT_NE(entry["CellCol"], 13);
  EXPECT_EQ(plan["entries"].back()["CellCol"], 7);
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

TEST(OrlToolTotals, AFileThatIsNotACutProgramIsNotRewritten) {
  testing::TempFolder folder;
  std::string binary(1 << 20, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7919 % 251);
  const std::string wide = "Wide,True\r\n" + std::string(300, ',') + "5\r\n";
  for (const std::string& contents : {binary, wide}) {
    folder.Write("file", contents);
    const auto run = RunTool("totals " + folder.File("file") + kIni);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("is not a cut program"), std::string::npos) << run.err;
    EXPECT_EQ(folder.Read("file"), contents);
  }
}

// A Modbus TCP peer that takes connections and never answers.
class SilentPlc {
 public:
  SilentPlc() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), length);
    ::listen(fd_, 64);
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~SilentPlc() { ::close(fd_); }
  std::string Choice() const { return "tcp:127.0.0.1:" + std::to_string(port_); }

 private:
  int fd_ = -1;
  int port_ = 0;
};

std::vector<std::string> RunArgs(const std::string& program, const std::string& plc) {
  return {ORL_TOOL_PATH, "run", program, "--ini", kExamples + "/ORL.INI", "--plc", plc, "--tick-ms", "20"};
}

TEST(OrlToolRun, ASignalEndsTheRunAsTheProgramEnds) {
  for (const int signal : {SIGINT, SIGTERM}) {
    ChildProcess run(RunArgs(kExamples + "/Programs/kitchen-groups", "sim"), true);
    const auto handOver = run.WaitFor("tick ", 20s);
    ASSERT_TRUE(handOver);
    EXPECT_NE(handOver->find(" target 24432 (0.1 mm) cell"), std::string::npos) << *handOver;
    run.Signal(signal);
    EXPECT_EQ(run.WaitFor("orl-tool: stopped: ", 10s), "orl-tool: stopped: " + std::string(strsignal(signal)));
    EXPECT_EQ(run.Wait(10s), 128 + signal);
  }
}

TEST(OrlToolRun, UntilDoneEndsAtOnceWithNothingToCutAndGivesUpOnASilentPlc) {
  testing::TempFolder folder;
  folder.Write("empty", "Nothing here,True\r\n");
  auto nothing = RunArgs(folder.File("empty"), "sim");
  for (const char* more : {"--until-done", "--max-ticks", "500"}) nothing.push_back(more);
  ChildProcess empty(nothing, true);
  EXPECT_EQ(empty.ReadLine(10s), "orl-tool: nothing to cut: the selected group and those after it have no cuts");
  EXPECT_EQ(empty.Wait(10s), 2);

  SilentPlc plc;
  auto silent = RunArgs(kExamples + "/Programs/metric-example", plc.Choice());
  for (const char* more : {"--until-done", "--timeout", "1"}) silent.push_back(more);
  ChildProcess run(silent, true);
  EXPECT_TRUE(run.WaitFor("orl-tool: gave up: no target handed over for 1 s", 20s));
  EXPECT_EQ(run.Wait(10s), 4);
}

// Peak resident memory of the tool, in kilobytes, its output discarded.
long PeakKilobytes(const std::string& arguments) {
  const std::string command = "exec " + std::string(ORL_TOOL_PATH) + " " + arguments + " >/dev/null 2>&1";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

TEST(OrlToolImport, JsonOfABigFileIsWrittenAsItGoes) {
  testing::TempFolder folder;
  std::ofstream file(folder.Path() / "CPOUT.BIG");
  file << "INV1,1,MDF18,18,2440,1220,10,12\nINV2,MDF 18\nPRT1,1,2,600,800,SIDE,Side,K1,white\n";
  for (int pattern = 1; pattern <= 3000; ++pattern) {
    file << "PAT1,1,L,10,4\n";
    for (int cut = 0; cut < 10; ++cut) file << "CUT1," << 1 + cut % 2 << "," << 800 - cut << ",1," << cut % 2 << "\n";
  }
  file.close();
  const std::string import = "import " + folder.File("CPOUT.BIG") + kIni;
  const long text = PeakKilobytes(import);
  const long json = PeakKilobytes(import + " --json");
  ASSERT_GT(text, 0);
  ASSERT_GT(json, 0);
  // Both hold the imported model; the JSON text adds next to nothing.
  EXPECT_LT(json, text * 3 / 2) << "text " << text << " kB, json " << json << " kB";
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
  folder.Write("program", std::string("\x01\xff,\"\n", 5));
  run = RunTool("totals " + folder.File("program") + kIni + " --out " + folder.File("missing/out"));
  EXPECT_EQ(run.status, 2);
  run = RunTool("totals " + kExamples + "/Programs/metric-example" + kIni + " --out " + folder.File("missing/out"));
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("cannot write " + folder.File("missing/out") + ": no such file or directory"), std::string::npos)
      << run.err;
}

TEST(OrlToolErrors, ArgumentsThatMakeNoSenseAreRefused) {
  const std::string program = " " + kExamples + "/Programs/kitchen-groups";
  auto run = RunTool("plan" + program + kIni + " --from-col 5 --to-col 2");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("--to-col 2 is left of --from-col 5"), std::string::npos) << run.err;
  run = RunTool("sim --tcp abc");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("--tcp wants HOST:PORT"), std::string::npos) << run.err;
  run = RunTool("import " + kExamples + "/Jobs/CPOUT.001" + kIni + " --svg /tmp/x.svg");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("--pattern"), std::string::npos) << run.err;
}

TEST(OrlToolErrors, WithoutASettingsFileNothingRuns) {
  testing::TempFolder folder;
  ::setenv("ORL_SETTINGS_DIR", folder.Path().c_str(), 1);
  const auto run = RunTool("plan " + kExamples + "/Programs/metric-example");
  ::unsetenv("ORL_SETTINGS_DIR");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("looked for " + folder.File("ORL.INI")), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
}

}  // namespace
}  // namespace orl
