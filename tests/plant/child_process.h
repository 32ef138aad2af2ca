#pragma once
// A program the tests start and end: its output goes to files, and it is
// always reaped, so no test leaves a process behind.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace orl::testing {

class ChildProcess {
 public:
  // Starts `argv` with its standard output appended to `output` and its
  // error output to `errors`.
  ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& output,
               const std::filesystem::path& errors) {
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addopen(&files, 2, errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const int rc = posix_spawn(&pid_, args[0], &files, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
  }
  ~ChildProcess() { End(SIGTERM); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }

  bool Running() {
    if (pid_ <= 0) return false;
    if (waitpid(pid_, &status_, WNOHANG) == 0) return true;
    pid_ = 0;
    return false;
  }

  // Sends `signal` and reaps the process; one that outlives a generous
  // deadline is killed.
  void End(int signal) {
    if (!Running()) return;
    kill(pid_, signal);
    if (!WaitForExit(std::chrono::seconds(10))) {
      kill(pid_, SIGKILL);
      WaitForExit(std::chrono::seconds(10));
    }
  }

  // True once the process has exited by itself (its status in ExitCode()).
  bool WaitForExit(std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (Running()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  // The exit code of a process that exited, -1 if a signal ended it.
  int ExitCode() const { return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1; }

 private:
  pid_t pid_ = 0;
  int status_ = 0;
};

}  // namespace orl::testing
