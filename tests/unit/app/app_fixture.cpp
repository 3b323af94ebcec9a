#include "app_fixture.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "gui_double.h"
#include "kelvane-core.h"
#include "memory_double.h"
#include "picture.h"

void AppFixture::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "-" + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';  // parameterised tests have slashes in their names
  }
  log_path = ::testing::TempDir() + "app-" + name + ".log";
  std::remove(log_path.c_str());
  ASSERT_EQ(core_init(log_path.c_str(), CORE_LOG_FILE), 1);
  tracker_init(0x7fffffff);
  app_buffers_create();
  picture_set_header();
  picture_build_palette();
  picture_clear(0);
  config_defaults(&cfg);
  app_state.settings = &cfg;
  app_state.tick_count = 0;
  app_state.stable_count = 0;
  memory_double_reset();
  gui_double_reset();
}

void AppFixture::TearDown() {
  app_buffers_destroy();
  app_state.settings = nullptr;
  memory_double_reset();
  gui_double_reset();
  core_shutdown();
  std::remove(log_path.c_str());
}

std::vector<std::string> AppFixture::log_lines() const {
  std::ifstream file(log_path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));  // a line without its CR LF
  return lines;
}

void AppFixture::fill_history(const std::vector<uint32_t>& free_percents, uint64_t total_mb) {
  for (size_t k = 0; k < free_percents.size(); ++k) {
    MemoryReading& slot = app_state.history[k];
    slot.length = 64;
    slot.free_percent = free_percents[k];
    slot.total_phys_mb = total_mb;
    slot.avail_phys_mb = total_mb * free_percents[k] / 100;
  }
}
