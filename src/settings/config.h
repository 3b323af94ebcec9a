// The user's settings: defaults, limits and their place in the registry.
#pragma once

#include <cstdint>

struct Config {
  int32_t refresh_rate;          // ms between status refreshes
  int32_t aggressive_rate;       // ms between aggressive checks; 0: no aggressive check
  int32_t aggressive_percent;    // free-memory threshold of the aggressive check
  int32_t auto_reclaim_rate;     // ms between periodic checks
  int32_t auto_reclaim_percent;  // free-memory threshold of the periodic check
  int32_t reclaim_size_percent;  // size of a Minimum clean-up, and the level that forces one
  int32_t disabled;              // 1 while the monitor is disabled; never stored
  int32_t click_operation;       // left click: 0 Minimum, 1 Periodic, 2 Aggressive clean-up
};

int config_defaults(Config* cfg);
int config_create(Config** cfg_ptr);
int config_destroy(Config** cfg_ptr);
// Both work on key_path below HKEY_CURRENT_USER.
int config_load(Config* cfg, const char* key_path);
int config_save(Config* cfg, const char* key_path);
