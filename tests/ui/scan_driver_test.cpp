// The window's scan driver against a PLC that takes its time: the window's
// thread never waits for it, and a tick that comes while a transfer is
// under way only sequences. Also run under ThreadSanitizer (see README).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "fakes/fake_plc_link.h"
#include "saw/plc/register_map.h"
#include "saw/ui/scan_driver.h"
#include "ui/wait_for.h"
#include "workstation/workstation_fixture.h"

namespace orl {
namespace {

using namespace std::chrono_literals;
using testing::WaitFor;

// A PLC whose every transfer waits at a gate until the test opens it (or
// ten seconds pass, so a failing test does not hang).
class SlowLink final : public testing::MemoryPlcLink {
 public:
  void Hold() {
    std::lock_guard lock(mutex_);
    held_ = true;
  }
  void Release() {
    std::lock_guard lock(mutex_);
    held_ = false;
    changed_.notify_all();
  }
  int TransfersBegun() const {
    std::lock_guard lock(mutex_);
    return begun_;
  }
  void BeginTransfer() override {
    std::unique_lock lock(mutex_);
    ++begun_;
    changed_.wait_for(lock, 10s, [this] { return !held_; });
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool held_ = false;
  int begun_ = 0;
};

// The window's thread gives a call this long before it counts as waiting
// (a transfer held at the gate would keep it ten seconds).
constexpr qint64 kAtOnceMs = 500;

struct ScanDriverTest : testing::WorkstationFixture {
  SlowLink* plc = nullptr;
  std::unique_ptr<ScanDriver> driver;
  int stateChanges = 0;

  void SetUp() override {
    Start(StandardSettings());
    ws->Activate();
    auto link = std::make_unique<SlowLink>();
    plc = link.get();
    plc->memory[kInputAddress] = 0x05;  // set before the worker starts
    ASSERT_TRUE(ws->OpenPlc(std::move(link)));
    driver = std::make_unique<ScanDriver>(*ws);
    QObject::connect(driver.get(), &ScanDriver::stateChanged, [this] { ++stateChanges; });
  }
  void TearDown() override {
    plc->Release();
    driver.reset();  // the worker ends before the link goes
  }

  // Runs one tick as the timer would; how long the window's thread spent.
  qint64 TickMs() {
    QElapsedTimer timer;
    timer.start();
    driver->Tick();
    return timer.elapsed();
  }
  // A tick before the driver's has read "Disable Programming"; the PLC has
  // dropped it since and the list is unlocked again: only a sequencing on
  // the images that tick read locks it.
  void ImagesSayDisableProgramming() {
    plc->memory[kRelayAddress] = 1 << RelayBitIndex(kRelayDisableProgramming);
    ws->ScanTick();
    plc->memory[kRelayAddress] = 0;
    ws->SetProgrammingDisabled(false);
  }
  bool Sequenced() const { return !ws->cutList().gridEnabled; }
};

TEST_F(ScanDriverTest, ATickDuringASlowTransferOnlySequencesAndTheWindowNeverWaits) {
  ImagesSayDisableProgramming();
  plc->Hold();
  driver->Start();
  driver->StopScan();  // the test ticks by hand

  EXPECT_LT(TickMs(), kAtOnceMs);
  ASSERT_TRUE(WaitFor([&] { return plc->TransfersBegun() == 2; }));
  EXPECT_TRUE(driver->TransferInFlight());
  EXPECT_EQ(stateChanges, 0);  // nothing is shown before the transfer is back

  EXPECT_LT(TickMs(), kAtOnceMs);
  EXPECT_LT(TickMs(), kAtOnceMs);
  EXPECT_TRUE(Sequenced());
  EXPECT_EQ(stateChanges, 2);
  QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(plc->TransfersBegun(), 2);  // no second transfer queued behind the first
  EXPECT_TRUE(driver->TransferInFlight());

  plc->Release();
  ASSERT_TRUE(WaitFor([&] { return !driver->TransferInFlight(); }));
  EXPECT_EQ(ws->plc().InputImage, 0x05);  // the read was applied
  EXPECT_FALSE(Sequenced());            // and sequenced on the relays it read
  EXPECT_EQ(stateChanges, 3);

  EXPECT_LT(TickMs(), kAtOnceMs);
  ASSERT_TRUE(WaitFor([&] { return !driver->TransferInFlight(); }));
  EXPECT_EQ(plc->TransfersBegun(), 3);
}

TEST_F(ScanDriverTest, BeforeTheWorkerStartsATickIsDoneOnTheWindowsThreadWithoutThePlc) {
  ImagesSayDisableProgramming();
  plc->Hold();
  EXPECT_LT(TickMs(), kAtOnceMs);
  EXPECT_TRUE(Sequenced());
  EXPECT_EQ(stateChanges, 1);
  EXPECT_FALSE(driver->TransferInFlight());
  EXPECT_EQ(plc->TransfersBegun(), 1);  // only the tick before the driver's
}

}  // namespace
}  // namespace orl

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
