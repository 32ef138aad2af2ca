// Runs the widget tests inside one QApplication (the platform comes from
// QT_QPA_PLATFORM, offscreen under CTest), with the library's settings folder
// made before the library starts.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui_fixture.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no display.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  queldb::testing::PrepareLibraryFolder();
  QApplication app(argc, argv);
  const int result = RUN_ALL_TESTS();
  queldb::testing::RemoveLibraryFolder();
  return result;
}
