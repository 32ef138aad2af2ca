// The write queue, the hand-off slot and the Db properties.
#include "library_fixture.h"

namespace queldb::testing {
namespace {

class QueueTest : public LibraryTest {
 protected:
  void SetUp() override { Start("Modbus"); }

  int16_t Queue(Variant address, Variant value, int16_t size = 1, int16_t type = 0) {
    return db_.WriteQuePLC(address, value, size, type);
  }
  struct Delivered {
    int16_t result;
    Variant address, value;
    int16_t size = -5, type = -5;
  };
  Delivered Take() {
    Delivered out;
    out.result = db_.ReadQueData(out.address, out.value, out.size, out.type);
    return out;
  }

  Db db_;
};

TEST_F(QueueTest, EntriesAreDeliveredOldestFirstThenFalse) {
  Queue("40001", 1, 2, ioDWord);
  Queue("40002", "two");
  Delivered first = Take();
  EXPECT_EQ(first.result, kTrue);
  EXPECT_EQ(first.address, Variant("40001"));
  EXPECT_EQ(first.value, Variant(1));
  EXPECT_EQ(first.size, 2);
  EXPECT_EQ(first.type, ioDWord);
  EXPECT_EQ(Take().value, Variant("two"));
  Delivered none = Take();
  EXPECT_EQ(none.result, kFalse);
  EXPECT_EQ(none.size, -5);  // outputs untouched
  EXPECT_TRUE(none.address.IsEmpty());
}

TEST_F(QueueTest, SizeBelowOneBecomesOneAndIsWrittenBack) {
  Variant address("40001"), value(1);
  int16_t size = -3, type = 0;
  db_.WriteQuePLC(address, value, size, type);
  EXPECT_EQ(size, 1);
  EXPECT_EQ(Take().size, 1);
}

// An entry queued while the queue drains, even one that found it full
// before, arrives behind the others in the same drain.
TEST_F(QueueTest, FullQueueRefusesTheRequestAndLosesNoAcceptedEntry) {
  for (int i = 1; i <= 45; ++i) {
    ASSERT_EQ(Queue(i, i), kTrue);
  }
  EXPECT_EQ(Queue("refused", 46), kFalse);
  for (int i = 1; i <= 45; ++i) {
    ASSERT_EQ(Take().address, Variant(i));
    if (i == 1) {
      EXPECT_EQ(Queue("after", 47), kTrue);  // room again, behind the others
    }
  }
  EXPECT_EQ(Take().address, Variant("after"));
  EXPECT_EQ(Take().result, kFalse);
}

class HandoffTest : public LibraryTest {
 protected:
  void SetUp() override { Start("none"); }  // works without a protocol

  int16_t Take(Variant& address, Variant& value) {
    int16_t numOfRegs = 1, ioType = ioTakeHandoff;
    int32_t ioIdx = 0;
    return Db().ReadPLCValue(address, value, numOfRegs, ioType, ioIdx);
  }
};

TEST_F(HandoffTest, ValueIsDeliveredOnceWithItsAddress) {
  Write("Sender", Variant(42), 1, 1, ioFillHandoff);
  Variant address("mine"), value;
  EXPECT_EQ(Take(address, value), kFalse);
  EXPECT_EQ(value, Variant(42));
  EXPECT_EQ(address, Variant("Sender"));
  Variant again;
  EXPECT_EQ(Take(address, again), kTrue);  // now empty
  EXPECT_TRUE(again.IsEmpty());
}

TEST_F(HandoffTest, ZeroAndFalseAreNeverDelivered) {
  for (Variant nothing : {Variant(0), Variant(false), Variant(0.0), Variant("0")}) {
    Write("Sender", nothing, 1, 1, ioFillHandoff);
    Variant address("mine"), value("kept");
    EXPECT_EQ(Take(address, value), kTrue);
    EXPECT_EQ(value, Variant("kept"));
    EXPECT_EQ(address, Variant("mine"));
  }
  Write("Sender", Variant("text"), 1, 1, ioFillHandoff);
  Variant address, value;
  EXPECT_EQ(Take(address, value), kFalse);
  EXPECT_EQ(value, Variant("text"));
}

TEST_F(LibraryTest, PropertiesBelongToTheInstanceAndReportTheirChanges) {
  Start("Modbus");
  Db first, second;
  std::vector<std::string> changed;
  first.SetPropertyChangedHandler([&](const std::string& name) { changed.push_back(name); });
  EXPECT_FALSE(first.Enabled());
  EXPECT_EQ(first.BorderStyle(), 0);
  first.SetBorderStyle(1);
  first.SetEnabled(true);
  EXPECT_EQ(changed, (std::vector<std::string>{"BorderStyle", "Enabled"}));
  EXPECT_EQ(second.BorderStyle(), 0);
  EXPECT_FALSE(second.Enabled());
}

}  // namespace
}  // namespace queldb::testing
