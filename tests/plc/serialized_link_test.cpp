// The link the window shares with the scan worker must hand on everything
// the transfer relies on, or a restarted PLC is written with stale words.
#include "saw/plc/serialized_link.h"

#include <gtest/gtest.h>

#include "tests/fakes/fake_plc_link.h"

namespace orl {
namespace {

class ReportingLink : public testing::MemoryPlcLink {
 public:
  std::uint64_t connection = 1;
  LinkHealth health;
  LinkHealth Health() const override { return health; }
  std::uint64_t Connection() const override { return connection; }
  void Fail(std::string cause) { SetLastError(std::move(cause)); }
};

TEST(SerializedLinkTest, HandsOnTheConnectionItsHealthAndTheCause) {
  auto owned = std::make_unique<ReportingLink>();
  ReportingLink& inner = *owned;
  SerializedLink link(std::move(owned));

  inner.connection = 2;
  inner.health.lost = true;
  inner.Fail("connection refused by 10.0.0.5:502");

  EXPECT_EQ(link.Connection(), 2u);
  EXPECT_TRUE(link.Health().lost);
  EXPECT_EQ(link.LastError(), "connection refused by 10.0.0.5:502");
}

}  // namespace
}  // namespace orl
