#include "config.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <string>
#include <vector>

#include "kelvane-core.h"
#include "registry.h"
#include "registry_sandbox.h"
#include "tracker.h"

namespace {

const char* const kValueNames[] = {
    "Refresh Rate",         "Aggressive Rate",      "Aggressive Percent", "Auto Reclaim Rate",
    "Auto Reclaim Percent", "Reclaim Size Percent", "Click Operations",
};
const int32_t kDefaults[] = {3750, 1800000, 70, 180000, 20, 5, 0};

// The stored fields of a record, in the order of kValueNames.
std::vector<int32_t> stored_fields(const Config& cfg) {
  return {cfg.refresh_rate,      cfg.aggressive_rate,      cfg.aggressive_percent,
          cfg.auto_reclaim_rate, cfg.auto_reclaim_percent, cfg.reclaim_size_percent,
          cfg.click_operation};
}

std::string regex_of(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '\\') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

class ConfigTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tracker_init(TRACKER_NO_LIMIT);
    registry_sandbox_open(&sandbox);
  }
  void TearDown() override {
    registry_sandbox_close(sandbox);
    EXPECT_EQ(tracker_state.block_count, 0) << "a block was not freed";
  }

  // Writes one value with registry_set_value into a key of its own; returns the key's path.
  std::string key_with(const std::string& name, const char* value_name, uint32_t type,
                       const void* data, uint32_t size) {
    const std::string path = sandbox.key_path + "\\" + name;
    RegistryKey* key = nullptr;
    EXPECT_EQ(registry_create_key(&key, 1, path.c_str()), 1);
    EXPECT_EQ(registry_set_value(key, type, value_name, data, size), 1);
    registry_close_key(&key);
    return path;
  }

  // The stored values of a key; a missing one reads as INT32_MIN.
  std::vector<int32_t> stored_values(const std::string& path) {
    std::vector<int32_t> values;
    RegistryKey* key = nullptr;
    EXPECT_EQ(registry_open_key(&key, 1, path.c_str()), 1);
    for (const char* name : kValueNames) {
      int32_t value = INT32_MIN;
      if (key) registry_get_int32(key, name, &value);
      values.push_back(value);
    }
    if (key) registry_close_key(&key);
    return values;
  }

  RegistrySandbox sandbox;
};

using ConfigDeathTest = ConfigTest;

TEST_F(ConfigTest, CreateFillsDefaultsOnTheTrackedHeapAndDestroyClearsThePointer) {
  Config* cfg = nullptr;
  EXPECT_EQ(config_create(&cfg), 1);
  ASSERT_NE(cfg, nullptr);
  EXPECT_EQ(tracker_state.bytes_in_use, tracker_block_length(sizeof(Config)));
  EXPECT_EQ(stored_fields(*cfg), std::vector<int32_t>(std::begin(kDefaults), std::end(kDefaults)));
  EXPECT_EQ(cfg->disabled, 0);
  EXPECT_EQ(config_destroy(&cfg), 1);
  EXPECT_EQ(cfg, nullptr);
}

TEST_F(ConfigTest, LoadingWithoutAKeyStoresTheSevenDefaults) {
  Config cfg;
  cfg.disabled = 1;
  EXPECT_EQ(config_load(&cfg, sandbox.key_path.c_str()), 1);
  const std::vector<int32_t> defaults(std::begin(kDefaults), std::end(kDefaults));
  EXPECT_EQ(stored_fields(cfg), defaults);
  EXPECT_EQ(cfg.disabled, 0);
  EXPECT_EQ(stored_values(sandbox.key_path), defaults);
}

TEST_F(ConfigTest, LoadingLimitsEachValueAndLeavesMissingOnesAtTheirDefaults) {
  const struct {
    int field;  // index into kValueNames
    int32_t stored;
    int32_t loaded;
  } cases[] = {
      {0, 60000, 60000},
      {0, 60001, 60000},
      {0, INT32_MAX, 60000},
      {0, 1000, 1000},
      {0, 999, 1000},
      {0, 0, 1000},
      {0, -5, 1000},
      {0, INT32_MIN, 1000},
      {0, 2500, 2500},
      {1, 0, 0},
      {1, -1, 0},
      {1, 500, 500},
      {1, 600000000, 600000000},
      {1, 600000001, 600000000},
      {2, 0, 1},
      {2, 1, 1},
      {2, 100, 100},
      {2, 101, 100},
      {3, 59999, 60000},
      {3, 60000, 60000},
      {3, 600000001, 600000000},
      {4, 0, 1},
      {4, 101, 100},
      {4, 42, 42},
      {5, 0, 1},
      {5, 50, 50},
      {5, 51, 50},
      {6, 3, 2},
      {6, -1, 0},
      {6, 1, 1},
      {6, 2, 2},
  };
  int row = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(kValueNames[c.field]) + " = " + std::to_string(c.stored));
    const std::string path =
        key_with(std::to_string(row++), kValueNames[c.field], REGISTRY_TYPE_DWORD, &c.stored, 4);
    Config cfg;
    config_load(&cfg, path.c_str());
    std::vector<int32_t> expected(std::begin(kDefaults), std::end(kDefaults));
    expected[c.field] = c.loaded;
    EXPECT_EQ(stored_fields(cfg), expected);

    // Loading wrote nothing: the key still holds the one value as it was stored.
    std::vector<int32_t> untouched(7, INT32_MIN);
    untouched[c.field] = c.stored;
    EXPECT_EQ(stored_values(path), untouched);
  }
}

TEST_F(ConfigTest, ValuesOfAnotherTypeLeaveTheirDefaults) {
  const unsigned char binary[4] = {0x10, 0x27, 0, 0};  // 10000 as bytes, but REG_BINARY
  Config cfg;
  config_load(&cfg, key_with("binary", "Refresh Rate", 3, binary, 4).c_str());
  EXPECT_EQ(cfg.refresh_rate, 3750);
  config_load(&cfg, key_with("string", "Click Operations", 1, "2", 2).c_str());
  EXPECT_EQ(cfg.click_operation, 0);
}

TEST_F(ConfigTest, SavingWritesTheFieldsUnchangedAndLoadingLimitsThemLater) {
  Config cfg;
  config_defaults(&cfg);
  cfg.refresh_rate = 5;
  cfg.click_operation = 9;
  cfg.disabled = 1;
  EXPECT_EQ(config_save(&cfg, sandbox.key_path.c_str()), 1);
  EXPECT_EQ(stored_values(sandbox.key_path),
            (std::vector<int32_t>{5, 1800000, 70, 180000, 20, 5, 9}));

  config_load(&cfg, sandbox.key_path.c_str());
  EXPECT_EQ(cfg.refresh_rate, 1000);
  EXPECT_EQ(cfg.click_operation, 2);
  EXPECT_EQ(cfg.disabled, 0) << "disabled is never stored";
}

TEST_F(ConfigDeathTest, MisuseAndUncreatableKeysAreFatalAtTheirLines) {
  EXPECT_EXIT(config_create(nullptr), ::testing::ExitedWithCode(1),
              "ABORT: Pointer is NULL\n       \\(config/244\\)");
  EXPECT_EXIT(config_destroy(nullptr), ::testing::ExitedWithCode(1),
              "Pointer is NULL\n       \\(config/259\\)");
  Config* missing = nullptr;
  EXPECT_EXIT(config_destroy(&missing), ::testing::ExitedWithCode(1),
              "Pointer is NULL\n       \\(config/261\\)");

  // A key that cannot be created (or is there but cannot be opened) stops a save, and a load
  // that finds no key and tries to store the defaults.
  const std::string path = registry_sandbox_unmakeable_path(sandbox);
  const std::string report =
      "Unable to create key '" + regex_of(path) + "'\n       \\(config/73\\)";
  Config cfg;
  config_defaults(&cfg);
  EXPECT_EXIT(config_save(&cfg, path.c_str()), ::testing::ExitedWithCode(1), report);
  EXPECT_EXIT(config_load(&cfg, path.c_str()), ::testing::ExitedWithCode(1), report);
}

}  // namespace
