#pragma once
// The communication log's view of the plant broker: each change between
// reachable and not reachable, and each kind of failure, is told once
// however often the client library repeats it. Fed from the library's
// threads, read from the housekeeping thread.
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace orl {

class BrokerLog {
 public:
  explicit BrokerLog(std::string address) : address_(std::move(address)) {}

  // A connect attempt failed or the connection was lost.
  void Unreachable();
  // A connection came up.
  void Connected();
  // A request the library refused; `what` names the kind of failure.
  void Failed(const std::string& what);

  std::vector<std::string> Take();

 private:
  void Add(std::string line);

  const std::string address_;
  std::mutex mutex_;
  bool unreachable_ = false;
  std::set<std::string> failuresTold_;
  std::vector<std::string> lines_;
};

}  // namespace orl
