#pragma once
// Runs orl-tool as a user would and captures what it prints.
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>

namespace orl::testing {

struct ToolRun {
  int status = -1;
  std::string out;  // standard output; standard error goes to err
  std::string err;
};

inline ToolRun RunTool(const std::string& arguments) {
  // One file per test process: CTest runs tests side by side.
  const std::string errFile = std::string(::testing::TempDir()) + "orl-tool-stderr-" + std::to_string(::getpid()) + ".txt";
  const std::string command = std::string(ORL_TOOL_PATH) + " " + arguments + " 2>" + errFile;
  ToolRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 4096> buffer;
  while (std::fgets(buffer.data(), buffer.size(), pipe)) run.out += buffer.data();
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  if (FILE* err = std::fopen(errFile.c_str(), "r")) {
    while (std::fgets(buffer.data(), buffer.size(), err)) run.err += buffer.data();
    std::fclose(err);
  }
  std::remove(errFile.c_str());
  return run;
}

}  // namespace orl::testing
