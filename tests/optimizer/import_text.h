// Imports a text written to a temporary job folder under a given file name.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "fakes/temp_folder.h"
#include "saw/optimizer/optimizer_import.h"

namespace orl::test {

inline OptimizerModel ImportText(const std::string& fileName, const std::string& text,
                                 const std::string& ardisPath = "") {
  testing::TempFolder folder;
  folder.Write(fileName, text);
  OptimizerModel model;
  EXPECT_TRUE(ImportOptimizerFile(model, folder.Folder(), fileName, ardisPath));
  return model;
}

}  // namespace orl::test
