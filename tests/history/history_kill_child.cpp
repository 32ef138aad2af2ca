// Records into the history file named by its first argument as fast as the
// writer commits, and after each commit prints "<count> <seq>": the number
// of records committed so far and the last one's seq. Its second argument
// goes into each record's group, so a test can tell the runs apart.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "saw/history/history_writer.h"

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const int run = std::stoi(argv[2]);
  std::atomic<std::int64_t> toldCount{0}, lastSeq{0};
  orl::HistoryWriter writer(argv[1], 365, [&](const orl::CutRecord& record) {
    lastSeq = record.seq;
    toldCount = record.target;
  });
  for (std::int32_t count = 1;; ++count) {
    orl::CutRecord record;
    record.group = run;
    record.target = count;
    record.program = "kill";
    writer.Record(record);
    while (!writer.CaughtUp() || toldCount != count) std::this_thread::sleep_for(std::chrono::microseconds(100));
    std::printf("%d %lld\n", count, static_cast<long long>(lastSeq.load()));
    std::fflush(stdout);
  }
}
