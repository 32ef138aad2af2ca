#include "saw/plant/delivery_mark.h"

#include <gtest/gtest.h>

#include "fakes/temp_folder.h"

namespace orl {
namespace {

TEST(DeliveryMark, IsNoneUntilWrittenThenTheLatestAndUnreadableTextIsNone) {
  testing::TempFolder folder;
  const DeliveryMark mark(folder.Path() / "outbox" / "delivered-seq");
  EXPECT_EQ(mark.Read(), std::nullopt);
  ASSERT_TRUE(mark.Write(41));  // its folder is made
  ASSERT_TRUE(mark.Write(42));
  EXPECT_EQ(mark.Read(), 42);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path() / "outbox"), {}), 1)
      << "no temporary file left behind";
  folder.Write("outbox/delivered-seq", "garbage");
  EXPECT_EQ(mark.Read(), std::nullopt);
}

}  // namespace
}  // namespace orl
