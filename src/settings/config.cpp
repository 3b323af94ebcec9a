// The settings record: defaults, loading with limits, saving, and its life on the tracked heap.
#include "config.h"

#include "kelvane-core.h"
#include "registry.h"

namespace {

const char config_source[] = "config";
constexpr int32_t kCurrentUser = 1;

// The stored fields in the order they are written, read and limited.
struct StoredField {
  const char* value_name;
  int32_t Config::*field;
  int32_t lowest;
  int32_t highest;
};

const StoredField stored_fields[] = {
    {"Refresh Rate", &Config::refresh_rate, 1000, 60000},
    {"Aggressive Rate", &Config::aggressive_rate, 0, 600000000},
    {"Aggressive Percent", &Config::aggressive_percent, 1, 100},
    {"Auto Reclaim Rate", &Config::auto_reclaim_rate, 60000, 600000000},
    {"Auto Reclaim Percent", &Config::auto_reclaim_percent, 1, 100},
    {"Reclaim Size Percent", &Config::reclaim_size_percent, 1, 50},
    {"Click Operations", &Config::click_operation, 0, 2},
};

void require_pointer(const void* pointer, int32_t line) {
  if (pointer != nullptr) return;
  fatal_at(config_source, line);
  fatal_error("Pointer is NULL\n");
}

[[noreturn]] void fail_with_key(int32_t line, const char* format, const char* key_path) {
  fatal_at(config_source, line);
  fatal_error(format, key_path);
}

int32_t limited(int32_t value, const StoredField& stored) {
  if (value <= stored.lowest) return stored.lowest;
  if (value >= stored.highest) return stored.highest;
  return value;
}

}  // namespace

int config_defaults(Config* cfg) {
  cfg->refresh_rate = 3750;
  cfg->aggressive_rate = 1800000;
  cfg->aggressive_percent = 70;
  cfg->auto_reclaim_rate = 180000;
  cfg->auto_reclaim_percent = 20;
  cfg->reclaim_size_percent = 5;
  cfg->disabled = 0;
  cfg->click_operation = 0;
  return 1;
}

int config_create(Config** cfg_ptr) {
  require_pointer(cfg_ptr, 244);
  Config* cfg = static_cast<Config*>(tracked_alloc(sizeof(Config), 1, config_source, 246));
  config_defaults(cfg);
  *cfg_ptr = cfg;
  return 1;
}

int config_destroy(Config** cfg_ptr) {
  require_pointer(cfg_ptr, 259);
  require_pointer(*cfg_ptr, 261);
  *cfg_ptr = static_cast<Config*>(tracked_free(*cfg_ptr, sizeof(Config), 1, config_source, 263));
  return 1;
}

int config_save(Config* cfg, const char* key_path) {
  RegistryKey* key = nullptr;
  if (registry_key_exists(kCurrentUser, key_path)) {
    if (!registry_open_key(&key, kCurrentUser, key_path)) {
      fail_with_key(68, "Unable to open key '%s'\n", key_path);
    }
  } else if (!registry_create_key(&key, kCurrentUser, key_path)) {
    fail_with_key(73, "Unable to create key '%s'\n", key_path);
  }
  // A failed write does not stop the others.
  for (const StoredField& stored : stored_fields) {
    registry_set_int32(key, stored.value_name, cfg->*stored.field);
  }
  registry_close_key(&key);
  return 1;
}

int config_load(Config* cfg, const char* key_path) {
  config_defaults(cfg);
  if (!registry_key_exists(kCurrentUser, key_path) && !config_save(cfg, key_path)) {
    fatal_at(config_source, 98);
    fatal_error("Unable to save defaults in config load\n");
  }
  RegistryKey* key = nullptr;
  if (!registry_open_key(&key, kCurrentUser, key_path)) {
    fail_with_key(102, "Unable to open key '%s'\n", key_path);
  }
  // A value that is missing or of another type leaves its default.
  for (const StoredField& stored : stored_fields) {
    registry_get_int32(key, stored.value_name, &(cfg->*stored.field));
  }
  for (const StoredField& stored : stored_fields) {
    cfg->*stored.field = limited(cfg->*stored.field, stored);
  }
  registry_close_key(&key);
  return 1;
}
