#include "clock_double.h"

#include <ctime>

namespace {
OsLocalTime fixed_time;
int has_fixed_time = 0;
int failing = 0;
}  // namespace

void clock_double_set(const OsLocalTime* time) {
  has_fixed_time = time != nullptr;
  if (time) fixed_time = *time;
}

void clock_double_fail(int fail) { failing = fail; }

int os_local_time(OsLocalTime* out) {
  if (failing) return 0;
  if (has_fixed_time) {
    *out = fixed_time;
    return 1;
  }
  std::time_t now = std::time(nullptr);
  std::tm* local = std::localtime(&now);
  if (!local) return 0;
  *out = {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
          local->tm_hour,        local->tm_min,     local->tm_sec};
  return 1;
}
