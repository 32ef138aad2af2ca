// The queldb tool end to end: the tag database file and scripts of Db calls,
// each run in its own process as a host would start the library.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct ToolRun {
  int exitCode;
  std::string out;
};

class ToolTest : public ::testing::Test {
 protected:
  ToolTest() {
    std::string pattern = (fs::temp_directory_path() / "tagdb-tool-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
  }
  ~ToolTest() override { fs::remove_all(dir_); }

  ToolRun Tool(const std::string& arguments, const std::string& input = "") {
    std::ofstream(dir_ / "stdin.txt") << input;
    std::string command = "QUELDB_SYSTEM_DIR='" + dir_.string() + "' '" QUELDB_TOOL "' " + arguments +
                          " < '" + (dir_ / "stdin.txt").string() + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
  }

  // Starts the tool without waiting for it, reading `input` (a pipe's end,
  // closed in the tool) when given; its output goes nowhere.
  static pid_t Start(std::vector<std::string> arguments, int input = -1, int inputWriteEnd = -1) {
    std::vector<char*> argv{const_cast<char*>(QUELDB_TOOL)};
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input >= 0) {
      posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
      posix_spawn_file_actions_addclose(&actions, inputWriteEnd);
    }
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t child = 0;
    EXPECT_EQ(posix_spawn(&child, QUELDB_TOOL, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    return child;
  }

  static int ExitCode(pid_t child) {
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  void Settings(const std::string& device) {
    std::ofstream(dir_ / "KVD.INI") << "[IOType]\nIODevice=" << device << "\n[DatabasePath]\npDatabasePath="
                                    << dir_.string() << "/\n";
  }

  int Init() { return Tool("init '" + dir_.string() + "'").exitCode; }
  ToolRun Import(const std::string& name, const std::string& csv) {
    std::ofstream(dir_ / name) << csv;
    return Tool("import '" + dir_.string() + "' '" + (dir_ / name).string() + "'");
  }

  // One output object per script line.
  std::vector<json> Script(const std::vector<std::string>& lines) {
    std::string input;
    for (const std::string& line : lines) input += line + "\n";
    ToolRun run = Tool("script", input);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    std::vector<json> results;
    std::istringstream out(run.out);
    for (std::string line; std::getline(out, line);) results.push_back(json::parse(line));
    EXPECT_EQ(results.size(), lines.size()) << run.out;
    return results;
  }

  fs::path dir_;
};

TEST_F(ToolTest, ByReferenceArgumentsAreWrittenBack) {
  Settings("Modbus");
  auto out = Script({
      R"({"call": "WriteToDatabase", "IOAddress": "NoSuchTag", "IOValue": [1]})",
      R"({"call": "WriteQuePLC", "qBuffAddress": "40001", "qBuffValue": true, "ioDataType": 4})",
      R"({"call": "ReadQueData"})",
      R"({"call": "ReadQueData", "WriteSize": 7})",
      R"({"call": "WriteToDatabase", "IOAddress": "hand", "IOValue": 0, "IOType": 9666})",
      R"({"call": "ReadPLCValue", "IOType": 966})",
  });
  ASSERT_EQ(out.size(), 6u);
  EXPECT_EQ(out[0]["IOAddress"], false);
  EXPECT_EQ(out[0]["NumOfRegs"], 1);
  EXPECT_EQ(out[0]["FromStartAddress"], 1);
  EXPECT_EQ(out[1]["WriteSize"], 1);
  EXPECT_EQ(out[1]["result"], -1);  // accepted
  EXPECT_EQ(out[2], json::parse(R"({"result": -1, "quBuffAddress": "40001", "quBuffValue": true,
                                    "WriteSize": 1, "ioDataType": 4})"));
  EXPECT_EQ(out[3]["result"], 0);
  EXPECT_EQ(out[3]["WriteSize"], 7);
  EXPECT_EQ(out[5]["result"], -1);  // a hand-off of 0 is never delivered
  EXPECT_EQ(out[5]["ResponseValue"], nullptr);
}

TEST_F(ToolTest, BadLinesReportAnErrorAndTheRunGoesOn) {
  Settings("Modbus");
  auto out = Script({
      "not json",
      R"({"call": "NoSuchCall"})",
      R"({"call": "ReadPLCValue", "adress": 40001})",
      R"({"call": "ReadPLCValue", "NumOfRegs": 40000})",
      R"({"call": "ReadPLCValue", "address": {"x": 1}})",
      R"([1, 2])",
      R"({"call": "Settings", "DatabaseFolder": "/tmp/"})",
      R"({"call": "ReadPLCValue", "ioIdx": 2147483648})",
      R"({"call": "Refresh"})",
  });
  ASSERT_EQ(out.size(), 9u);
  for (int i = 0; i < 8; ++i) EXPECT_TRUE(out[i].contains("error")) << out[i];
  EXPECT_EQ(out[2]["error"], "unknown argument \"adress\"");
  EXPECT_EQ(out[3]["error"], "NumOfRegs must be a 16-bit integer");
  EXPECT_EQ(out[6]["error"], "unknown argument \"DatabaseFolder\"");
  EXPECT_EQ(out[7]["error"], "ioIdx must be a 32-bit integer");
  EXPECT_EQ(out[8], json::object());
}

TEST_F(ToolTest, InitCreatesTablesAndRefusesToOverwrite) {
  ASSERT_EQ(Init(), 0);
  EXPECT_EQ(Init(), 2);
  EXPECT_EQ(Tool("init '" + (dir_ / "missing").string() + "'").exitCode, 2);
  ToolRun import = Import("tags.csv", "\xEF\xBB\xBFname,regab,MESS,ALMACTIVE\n\"Pump, main\",\"1;40001\",\"says \"\"hi\"\"\",\n");
  EXPECT_EQ(import.exitCode, 0) << import.out;
  ToolRun list = Tool("tags '" + dir_.string() + "' --csv");
  ASSERT_EQ(list.exitCode, 0);
  // Every TagData field, in the table's order.
  EXPECT_EQ(list.out.substr(0, list.out.find('\r')),
            "ID,NAME,REGAB,REG,VAL,DataType,Scale,Offset,Units,Desc,LOG,LogIntv,LogDeadband,ALARMS,Descrete,Binary,"
            "BIT,bit_invert,HHiLim,HiLim,LoLim,LLoLim,MESS,MESSLIST,ALMPRIORITY,ALMSCREEN,ALMGROUP,ALMACTIVE,ALMHIST,"
            "Dependency,DependencyAddress,DependencyBinary,DependencyBit,DependencyBitInvert");
  EXPECT_NE(list.out.find("1,\"Pump, main\",1;40001,"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("\"says \"\"hi\"\"\""), std::string::npos) << list.out;

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "Quelontrol.mdb").c_str(), &db), SQLITE_OK);
  std::string types;
  sqlite3_exec(db, "SELECT group_concat(DataType) FROM EnNumerations",
               [](void* out, int, char** values, char**) { return *static_cast<std::string*>(out) = values[0], 0; },
               &types, nullptr);
  sqlite3_close(db);
  EXPECT_EQ(types, "ioWord,ioDWord,ioFloat,ioDFloat,ioString,ioScaledWord,ioScaledDWord,ioScaledFloat,ioScaledDFloat");
}

TEST_F(ToolTest, ImportIsAllOrNothing) {
  ASSERT_EQ(Init(), 0);
  ToolRun shortRecord = Import("short.csv", "NAME,REGAB\nA,40001\n\nB\n");
  EXPECT_EQ(shortRecord.exitCode, 2);
  EXPECT_NE(shortRecord.out.find("line 4 has 1 fields, the header 2"), std::string::npos) << shortRecord.out;
  // A number field takes a number, as in the tag editor; the error names the
  // line, counting blank lines and the lines of a quoted field.
  ToolRun words = Import("words.csv", "NAME,Scale,LOG\nA,0.1,1\n\n\"B\nmain\",0.2,0\nC,fast,0\n");
  EXPECT_EQ(words.exitCode, 2);
  EXPECT_NE(words.out.find("words.csv: line 6: Scale needs a number, not \"fast\""), std::string::npos) << words.out;
  EXPECT_EQ(Tool("tags '" + dir_.string() + "'").out, "ID\tNAME\tREGAB\tDataType\tScale\tOffset\n");
}

// Of two inits of one folder at once, one makes the database and the other
// refuses; neither removes what the other made.
TEST_F(ToolTest, TwoInitsAtOnceLeaveOneDatabase) {
  for (int pair = 0; pair < 30; ++pair) {
    const fs::path folder = dir_ / std::to_string(pair);
    fs::create_directory(folder);
    pid_t first = Start({"init", folder.string()}), second = Start({"init", folder.string()});
    const int firstCode = ExitCode(first), secondCode = ExitCode(second);
    EXPECT_EQ(std::min(firstCode, secondCode), 0) << "pair " << pair;
    EXPECT_EQ(std::max(firstCode, secondCode), 2) << "pair " << pair;
    ASSERT_EQ(Tool("tags '" + folder.string() + "'").exitCode, 0) << "pair " << pair;
  }
}

// A database another program has locked is waited for, as the library waits.
TEST_F(ToolTest, ImportWaitsForALockedDatabase) {
  ASSERT_EQ(Init(), 0);
  std::ofstream(dir_ / "tags.csv") << "NAME\nSpeed\n";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "Quelontrol.mdb").c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  auto import = std::async(std::launch::async, [&] {
    return Tool("import '" + dir_.string() + "' '" + (dir_ / "tags.csv").string() + "'");
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(700));
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  ToolRun run = import.get();
  EXPECT_EQ(run.exitCode, 0) << run.out;
  EXPECT_NE(Tool("tags '" + dir_.string() + "'").out.find("Speed"), std::string::npos);
}

// Exit statuses: 0 done, 1 bad argument, 2 unreadable or unsuitable file.
TEST_F(ToolTest, BadArgumentsAndUnsuitableFilesHaveTheirOwnExitStatus) {
  for (const char* arguments : {"", "nosuch", "tags", "tags a b", "init --nope x"}) {
    EXPECT_EQ(Tool(arguments).exitCode, 1) << arguments;
  }
  EXPECT_EQ(Tool("--help").exitCode, 0);
  ToolRun folder = Tool("script '" + dir_.string() + "'");
  EXPECT_EQ(folder.exitCode, 2);
  EXPECT_NE(folder.out.find("is a folder"), std::string::npos) << folder.out;
  EXPECT_EQ(Tool("script '" + (dir_ / "missing.txt").string() + "'").exitCode, 2);
  EXPECT_EQ(Tool("tags '" + dir_.string() + "'").exitCode, 2);  // no database there
}

// A CSV file whose header names no TagData field is refused before anything
// after the header is read: the writer here never closes until the tool has ended.
TEST_F(ToolTest, ImportRefusesABadHeaderAtOnce) {
  ASSERT_EQ(Init(), 0);
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  pid_t child = Start({"import", dir_.string(), "/dev/stdin"}, pipeEnds[0], pipeEnds[1]);
  close(pipeEnds[0]);
  std::string header = "NAME,Colour\nA,red\n";
  ASSERT_EQ(write(pipeEnds[1], header.data(), header.size()), static_cast<ssize_t>(header.size()));
  int status = 0;
  bool endedWhileFed = false;
  for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
       !endedWhileFed && std::chrono::steady_clock::now() < deadline; usleep(10000)) {
    endedWhileFed = waitpid(child, &status, WNOHANG) == child;
  }
  close(pipeEnds[1]);
  if (!endedWhileFed) waitpid(child, &status, 0);
  EXPECT_TRUE(endedWhileFed);
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

// The example files as they stand; a float pair, a whole array and scaled
// reads by the tag's name and by its routed address come back as JSON.
TEST_F(ToolTest, ExampleSettingsAndTagsServeScriptCalls) {
  fs::copy_file(fs::path(QUELDB_EXAMPLES) / "KVD.INI", dir_ / "KVD.INI");
  ASSERT_EQ(Init(), 0);
  ToolRun import = Tool("import '" + dir_.string() + "' '" QUELDB_EXAMPLES "/tags.csv'");
  ASSERT_EQ(import.exitCode, 0) << import.out;
  auto out = Script({
      R"({"call": "Settings"})",
      R"({"call": "WriteToDatabase", "IOAddress": 40101, "IOValue": [123, 4567], "NumOfRegs": 2})",
      R"({"call": "ReadPLCValue", "address": 40101, "IOType": 2})",
      R"({"call": "ReadPLCValue", "address": "1;40101", "ResponseValue": [0, 0], "NumOfRegs": 2})",
      R"({"call": "WriteToDatabase", "IOAddress": 40001, "IOValue": [250]})",
      R"({"call": "ReadPLCValue", "address": "Speed", "IOType": 20})",
      R"({"call": "ReadPLCValue", "address": "1;40001", "IOType": 20})",
  });
  ASSERT_EQ(out.size(), 7u);
  EXPECT_EQ(out[0]["ProtocolCode"], 1);
  EXPECT_EQ(out[0]["DatabaseFolder"], dir_.string() + "/");
  EXPECT_GT(out[0]["TagCount"].get<int>(), 1);
  EXPECT_EQ(out[0]["LoadError"], "");
  EXPECT_DOUBLE_EQ(out[2]["ResponseValue"].get<double>(), 123.4567);
  EXPECT_EQ(out[3]["ResponseValue"], json::parse("[123, 4567]"));
  for (int i : {2, 3, 5, 6}) EXPECT_EQ(out[i]["result"], -1) << i;
  EXPECT_DOUBLE_EQ(out[5]["ResponseValue"].get<double>(), 25.0);
  EXPECT_DOUBLE_EQ(out[6]["ResponseValue"].get<double>(), 25.0);
}

}  // namespace
