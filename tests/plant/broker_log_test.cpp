#include "saw/plant/broker_log.h"

#include <gtest/gtest.h>

namespace orl {
namespace {

using Lines = std::vector<std::string>;

TEST(BrokerLog, TellsEachChangeOfReachabilityAndEachKindOfFailureOnce) {
  BrokerLog log("plant:1883");
  log.Connected();
  EXPECT_EQ(log.Take(), Lines{}) << "a first connection is no news";
  log.Unreachable();
  log.Unreachable();  // the retries
  log.Unreachable();
  EXPECT_EQ(log.Take(), Lines{"Plant broker not reachable: plant:1883"});
  log.Connected();
  log.Connected();
  EXPECT_EQ(log.Take(), Lines{"Plant broker reachable again: plant:1883"});
  log.Unreachable();
  EXPECT_EQ(log.Take(), Lines{"Plant broker not reachable: plant:1883"}) << "a second outage is told again";
  EXPECT_EQ(log.Take(), Lines{});
  log.Failed("buffer full");
  log.Failed("buffer full");
  log.Failed("persistence error");
  EXPECT_EQ(log.Take(), (Lines{"Plant broker: buffer full", "Plant broker: persistence error"}));
  log.Failed("buffer full");
  EXPECT_EQ(log.Take(), Lines{});
}

}  // namespace
}  // namespace orl
