// A temporary job folder holding optimizer files written by a test.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

namespace orl::test {

class JobFolder {
 public:
  JobFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("orl-optimizer-" + std::string(info ? info->test_suite_name() : "x") + "-" +
             std::string(info ? info->name() : "y") + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~JobFolder() { std::filesystem::remove_all(path_); }

  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
    return name;
  }
  std::string Folder() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace orl::test
