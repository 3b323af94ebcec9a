// A fresh application state for each test: the four buffers with header, palette and a clear
// picture, default settings, empty doubles, and a debug log file of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app_state.h"

inline constexpr uint64_t mib = 1048576;

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The log's lines so far, without their CR LF ends.
  std::vector<std::string> log_lines() const;
  // Fills history slots 0.. (newest first) with readings of these free percentages of total_mb.
  void fill_history(const std::vector<uint32_t>& free_percents, uint64_t total_mb = 1000);

  Config cfg{};
  std::string log_path;
};
