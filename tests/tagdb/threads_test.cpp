// A driver thread storing blocks while screens read and queue from others:
// every call atomic, no queued entry lost or delivered twice.
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "library_fixture.h"

namespace queldb::testing {
namespace {

constexpr int16_t kBlock = 20;         // registers that one write stores together
constexpr int kWrites = 20000;
constexpr int kEntriesPerProducer = 5000;

TEST_F(LibraryTest, CallsFromManyThreadsAreAtomicAndLoseNoQueuedEntry) {
  StartWithTags("Modbus", {{"Block", "1;40001"}});
  std::atomic<bool> writing = true;
  std::thread driver([&] {
    Db db;
    Variant block = Variant::Array(kBlock);
    for (int32_t stamp = 1; stamp <= kWrites; ++stamp) {
      for (int16_t k = 1; k <= kBlock; ++k) *block.Element(k) = Variant(stamp);
      db.WriteToDatabase("1;40001", block, kBlock);
    }
    writing = false;
  });
  std::atomic<int> tornReads = 0;
  std::thread screen([&] {
    Db db;
    Variant response = Variant::Array(kBlock);
    for (int reads = 1; writing; ++reads) {
      db.ReadPLCValue(reads % 2 ? "Block" : "1;40001", response, kBlock);
      for (int16_t k = 2; k <= kBlock; ++k) {
        if (!(*response.Element(k) == *response.Element(1))) ++tornReads;
      }
      if (reads % 1000 == 0) Db::LoadTagDatabase();  // as a closing tag editor does
    }
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  auto inTime = [&] { return std::chrono::steady_clock::now() < deadline; };
  auto produce = [&](int producer) {
    Db db;
    for (int n = 0; n < kEntriesPerProducer; ++n) {
      while (db.WriteQuePLC(Variant(producer), Variant(n)) != kTrue && inTime()) std::this_thread::yield();
    }
  };
  std::thread first(produce, 1), second(produce, 2);

  std::vector<int> next(3, 0);  // the number each producer's next entry must carry
  int delivered = 0, outOfOrder = 0;
  Db db;
  while (delivered < 2 * kEntriesPerProducer && inTime()) {
    auto entry = db.ReadQueData();
    if (!entry) {
      std::this_thread::yield();
      continue;
    }
    int producer = *entry->address.ToLong();
    if (*entry->value.ToLong() != next[producer]++) ++outOfOrder;
    ++delivered;
  }
  for (std::thread* thread : {&driver, &screen, &first, &second}) thread->join();
  EXPECT_EQ(delivered, 2 * kEntriesPerProducer);
  EXPECT_EQ(outOfOrder, 0);
  EXPECT_FALSE(db.ReadQueData());
  EXPECT_EQ(tornReads, 0);
}

}  // namespace
}  // namespace queldb::testing
