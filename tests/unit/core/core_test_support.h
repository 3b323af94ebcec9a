// Shared fixture of the core tests: a scratch directory per test for log files, and the core
// stopped again after each test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "clock_double.h"
#include "kelvane-core.h"

inline std::string read_file(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

inline void write_file(const std::string& path, const std::string& contents) {
  std::ofstream(path, std::ios::binary) << contents;
}

inline bool file_exists(const std::string& path) {
  return std::filesystem::exists(path);
}

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    // Named after the test, so that a death test's child process finds the same directory.
    directory_ = (std::filesystem::temp_directory_path() /
                  (std::string("tessary_core_") + test->test_suite_name() + "_" + test->name()))
                     .string();
    std::filesystem::remove_all(directory_);
    std::filesystem::create_directories(directory_);
  }

  void TearDown() override {
    core_shutdown();  // also closes a file that an entry after shutdown opened
    clock_double_set(nullptr);
    clock_double_fail(0);
    std::filesystem::remove_all(directory_);
  }

  std::string path(const std::string& name) const { return directory_ + "/" + name; }

  std::string directory_;
};

inline OsLocalTime local_time(int year, int month, int day, int hour, int minute, int second) {
  return OsLocalTime{year, month, day, hour, minute, second};
}
