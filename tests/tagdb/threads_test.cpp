// A driver thread storing blocks while screens read and queue from others:
// every call atomic, no queued entry lost or delivered twice.
#include <atomic>
#include <chrono>
#include <cmath>
#include <future>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "library_fixture.h"
#include "library_state.h"

namespace queldb::testing {
namespace {

constexpr int16_t kBlock = 20;         // registers that one write stores together
constexpr int16_t kLongRead = 20000;  // registers that one read copies
constexpr int kWrites = 20000;
constexpr int kEntriesPerProducer = 5000;

TEST_F(LibraryTest, CallsFromManyThreadsAreAtomicAndLoseNoQueuedEntry) {
  StartWithTags("Modbus", {{"Block", "1;40001"}});
  std::atomic<bool> writing = true;
  std::thread driver([&] {
    Db db;
    Variant block = Variant::Array(kBlock);
    for (int32_t stamp = 1; stamp <= kWrites; ++stamp) {
      // Whole numbers, floats and text: each kind of stored value, whole or torn.
      Variant value = stamp % 3 == 0   ? Variant(std::to_string(stamp))
                      : stamp % 3 == 1 ? Variant(stamp)
                                       : Variant(stamp + 0.5);
      for (int16_t k = 1; k <= kBlock; ++k) *block.Element(k) = value;
      db.WriteToDatabase("1;40001", block, kBlock);
    }
    writing = false;
  });
  std::atomic<int> tornReads = 0;
  std::thread screen([&] {
    Db db;
    Variant response = Variant::Array(kBlock), longBlock = Variant::Array(kLongRead);
    for (int reads = 1; writing; ++reads) {
      db.ReadPLCValue(reads % 2 ? "Block" : "1;40001", response, kBlock);
      for (int16_t k = 2; k <= kBlock; ++k) {
        if (!(*response.Element(k) == *response.Element(1))) ++tornReads;
      }
      if (reads % 1000 == 0) Db::LoadTagDatabase();  // as a closing tag editor does
      if (reads % 1000 == 500) {  // a copy longer than many writes: it must still get through whole
        db.ReadPLCValue("1;40001", longBlock, kLongRead);
        for (int16_t k = 2; k <= kBlock; ++k) {
          if (!(*longBlock.Element(k) == *longBlock.Element(1))) ++tornReads;
        }
      }
      Variant pair;  // registers 1 and 2 of one block: v + v / 10000, v a whole or half number
      db.ReadPLCValue("1;40001", pair, 1, ioFloat);
      const double v = std::round(*pair.ToDouble() / 1.0001 * 2) / 2;
      if (!(pair == kZero) && !(pair == Variant(v + v / 10000.0))) ++tornReads;
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

// Each side stands still in the middle of its call; the other must get through.
TEST_F(LibraryTest, AReadAndAWriteOfStoredRegistersNeverHoldEachOtherUp) {
  Start("Modbus");
  Write("40001", Values({1, 2}), 2);
  constexpr auto kPatience = std::chrono::seconds(5);
  {
    std::lock_guard writing(Library().writeMutex);  // a driver in the middle of its block
    auto read = std::async(std::launch::async, [&] { return ReadOne("40002"); });
    ASSERT_EQ(read.wait_for(kPatience), std::future_status::ready);
    EXPECT_EQ(read.get(), Variant(2));
  }
  std::shared_lock reading(Library().lock);  // a screen in the middle of its read
  auto write = std::async(std::launch::async, [&] { Write("40001", Values({3, 4}), 2); });
  const bool written = write.wait_for(kPatience) == std::future_status::ready;
  reading.unlock();  // lets a write that waited finish, so the test ends either way
  write.get();
  EXPECT_TRUE(written);
  EXPECT_EQ(ReadOne("40002"), Variant(4));
}

// A write adding keys and a tag load hold the state's lock alone: a screen
// rereading registers already stored does not wait for them.
TEST_F(LibraryTest, RereadsOfStoredRegistersGetThroughWhileKeysAreAdded) {
  Start("Modbus");
  Write("40001", Values({1, 2, 3}), 3);
  std::promise<void> found, held;
  auto read = std::async(std::launch::async, [&, holding = held.get_future()] {
    Variant block = Variant::Array(3);
    Read("40001", block, 3);  // finds the registers, before the hold
    found.set_value();
    holding.wait();
    block = Variant::Array(3);
    Read("40001", block, 3);
    return block;
  });
  found.get_future().wait();
  std::unique_lock adding(Library().lock);
  held.set_value();
  const bool through = read.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
  adding.unlock();  // lets a read that waited finish, so the test ends either way
  EXPECT_TRUE(through);
  EXPECT_EQ(*read.get().Element(3), Variant(3));
}

// A screen rereads a block, by name and by address, while the driver stores
// it, adds keys (the key map grows under the reader) and reloads the tags;
// the block's last register is stored only halfway through.
TEST_F(LibraryTest, RereadsStayWholeWhileTheKeyMapGrows) {
  StartWithTags("Modbus", {{"Block", "1;40001"}});
  constexpr int kNewKeys = 4000;
  std::atomic<bool> writing = true;
  std::thread driver([&] {
    Variant block = Variant::Array(kBlock);
    for (int32_t stamp = 1; stamp <= kNewKeys; ++stamp) {
      for (int16_t k = 1; k <= kBlock; ++k) *block.Element(k) = Variant(stamp);
      Write("1;40001", block, stamp < kNewKeys / 2 ? kBlock - 1 : kBlock);
      Write("1;" + std::to_string(50000 + stamp), Values({stamp}));
      if (stamp % 500 == 0) Db::LoadTagDatabase();
    }
    writing = false;
  });
  int tornReads = 0;
  Variant response = Variant::Array(kBlock);
  for (int reads = 1; writing; ++reads) {
    Read(reads % 2 ? "Block" : "1;40001", response, kBlock);
    for (int16_t k = 2; k <= kBlock; ++k) {
      const Variant& value = *response.Element(k);
      if (!(value == *response.Element(1)) && !(k == kBlock && value == kZero)) ++tornReads;
    }
  }
  driver.join();
  EXPECT_EQ(tornReads, 0);
  Read("Block", response, kBlock);
  EXPECT_EQ(*response.Element(kBlock), Variant(kNewKeys));
}

}  // namespace
}  // namespace queldb::testing
