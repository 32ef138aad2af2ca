#pragma once
// A helper program started by a test (a Modbus peer, socat, mbpoll, the
// simulator tool, a broker): its standard output is read line by line with
// a time limit, or goes to files, and it is stopped and reaped when the
// test ends.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace orl::testing {

class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv, bool mergeStderr = false) {
    int fds[2];
    if (pipe(fds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    if (mergeStderr) posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    Spawn(argv, actions);
    close(fds[1]);
    out_ = fds[0];
  }
  // Its standard output appended to `output`, its errors to `errors`.
  ChildProcess(const std::vector<std::string>& argv, const std::filesystem::path& output,
               const std::filesystem::path& errors) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    Spawn(argv, actions);
  }
  ~ChildProcess() {
    Stop();
    if (out_ >= 0) close(out_);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Running() { return pid_ > 0 && !Wait(std::chrono::milliseconds(0)); }

  // The next line of output, or nullopt when none came within the limit.
  std::optional<std::string> ReadLine(std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
      const auto newline = buffer_.find('\n');
      if (newline != std::string::npos) {
        std::string line = buffer_.substr(0, newline);
        buffer_.erase(0, newline + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0) return std::nullopt;
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
      char chunk[512];
      const ssize_t n = read(out_, chunk, sizeof chunk);
      if (n <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

  // The first line starting with prefix, skipping others.
  std::optional<std::string> WaitFor(const std::string& prefix,
                                     std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      auto line = ReadLine(std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()));
      if (!line) return std::nullopt;
      if (line->rfind(prefix, 0) == 0) return line;
    }
    return std::nullopt;
  }

  // Exit status once the program ended by itself (waits up to limit).
  std::optional<int> Wait(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (pid_ > 0) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      if (std::chrono::steady_clock::now() > end) return std::nullopt;
      usleep(10000);
    }
    return std::nullopt;
  }

  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    if (!Wait(std::chrono::seconds(3))) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
  }

  void Signal(int signal) {
    if (pid_ > 0) kill(pid_, signal);
  }

 private:
  void Spawn(const std::vector<std::string>& argv, posix_spawn_file_actions_t& actions) {
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
  }

  pid_t pid_ = -1;
  int out_ = -1;
  std::string buffer_;
};

inline bool ProgramExists(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

}  // namespace orl::testing
