// Reading the PLC: the confirm-and-retry rule, its log lines and the
// decoding of values against bit images.
#include <gtest/gtest.h>

#include "saw/plc/read_plc.h"
#include "tests/fakes/fake_plc_link.h"

namespace orl {
namespace {

using testing::MemoryPlcLink;

class PlcRead : public ::testing::Test {
 protected:
  void SetUp() override {
    state.log.MaxLogLen = 10;
    state.log.SetStampSource([] { return std::string("D ; T"); });
  }
  MemoryPlcLink link;
  PlcState state;
};

TEST_F(PlcRead, AgreeingReReadIsSilent) {
  link.memory[40400] = 0x0012;
  EXPECT_EQ(ReadPLC(link, state, 40400, true), 12);
  EXPECT_EQ(link.readCalls, 2);
  EXPECT_TRUE(state.log.Lines().empty());
  EXPECT_EQ(state.CmAtvty, "");
}

TEST_F(PlcRead, OneDisagreementIsToleratedSilently) {
  link.scriptedReads[40400] = {1, 2, 2};
  EXPECT_EQ(ReadImage(link, state, 40400), 2);
  EXPECT_TRUE(state.log.Lines().empty());
}

TEST_F(PlcRead, TwoToFiveDisagreementsAreLogged) {
  link.scriptedReads[40634] = {1, 2, 3, 3};
  EXPECT_EQ(ReadImage(link, state, 40634), 3);
  EXPECT_EQ(state.CmAtvty, "3");
  ASSERT_EQ(state.log.Lines().size(), 1u);
  EXPECT_EQ(state.log.Lines().back(), "D ; T ; Poll Retry3");
}

TEST_F(PlcRead, AFirstWordThatNeverSettlesGivesMinusOne) {
  link.scriptedReads[40400] = {1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(ReadPLC(link, state, 40400, true), -1);
  EXPECT_EQ(link.readCalls, 6);
  EXPECT_EQ(state.CmAtvty, "6");
  EXPECT_EQ(state.log.Lines().back(), "D ; T ; Poll Retry6");
}

TEST_F(PlcRead, FailedOrImpossibleReads) {
  link.open = false;
  EXPECT_EQ(ReadPLC(link, state, 40400, true), -1);
  link.open = true;
  link.busy = true;
  EXPECT_EQ(ReadPLC(link, state, 40400, true), -1);
  EXPECT_EQ(link.readCalls, 0);
  EXPECT_TRUE(state.log.Lines().empty());

  link.busy = false;
  testing::FaultyPlcLink dropping(link);
  dropping.drop = true;
  EXPECT_EQ(ReadPLC(dropping, state, 40400, true), -1);
  EXPECT_EQ(state.log.Lines().back(), "D ; T ; Read PLC");

  testing::FaultyPlcLink throwing(link);
  throwing.throwOnTransfer = true;
  EXPECT_EQ(ReadPLC(throwing, state, -1076, false), -1);
  EXPECT_EQ(state.log.Lines().size(), 2u);
}

TEST_F(PlcRead, ValuesAreBcdButImagesKeepTheirBits) {
  link.memory[40400] = 0x1234;
  link.memory[40401] = 0x0005;
  EXPECT_EQ(ReadPLC(link, state, 40400, false), 51234);
  EXPECT_EQ(ReadImage(link, state, 40400), 0x1234);
  link.memory[40500] = 0x00AB;
  link.memory[40501] = 0;
  EXPECT_EQ(ReadPLC(link, state, 40500, false), 171);
  // A one-word read is a plain number, as read, without its sign.
  link.memory[1076] = 0x1234;
  EXPECT_EQ(ReadPLC(link, state, -1076, false), 0x1234);
}

}  // namespace
}  // namespace orl
