#include "saw/shell/save_dialog_setup.h"

#include <gtest/gtest.h>

namespace orl {
namespace {

using Filters = std::vector<std::string>;

TEST(SaveDialogSetup, AWildcardNameOpensTheFolderWithNoNameProposed) {
  EXPECT_EQ(SaveDialogSetupFor("/jobs/Programs/*.*", "All files (*.*)|*.*"),
            (SaveDialogSetup{"/jobs/Programs/", "", {"All files (*)"}}));
  EXPECT_EQ(SaveDialogSetupFor("/jobs/Programs/kitchen", "All files (*.*)|*.*"),
            (SaveDialogSetup{"/jobs/Programs/", "kitchen", {"All files (*)"}}));
  EXPECT_EQ(SaveDialogSetupFor("C:\\ORL\\Programs\\door?.*", "").folder, "C:\\ORL\\Programs\\");
  EXPECT_EQ(SaveDialogSetupFor("kitchen", ""), (SaveDialogSetup{"", "kitchen", {"*"}}));
}

TEST(SaveDialogSetup, EachPairBecomesOneFilterWithItsPatterns) {
  EXPECT_EQ(SaveDialogSetupFor("", "Programs|*.prg;*.*|Text files (*.txt)|*.txt|Bare|").filters,
            (Filters{"Programs (*.prg *)", "Text files (*.txt)", "Bare (*)"}));
  EXPECT_EQ(SaveDialogSetupFor("", "|*.csv|dangling").filters, Filters{"*.csv"});
}

}  // namespace
}  // namespace orl
