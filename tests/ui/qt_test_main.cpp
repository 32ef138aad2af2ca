// GoogleTest on a Qt application: the platform comes from the test's
// environment (offscreen under CTest). Listing the tests needs no
// application, so test discovery at build time needs no display.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::unique_ptr<QApplication> application;
  if (!::testing::GTEST_FLAG(list_tests)) application = std::make_unique<QApplication>(argc, argv);
  return RUN_ALL_TESTS();
}
