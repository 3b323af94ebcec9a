// Local calendar time from the C runtime.
#include <ctime>

#include "os.h"

int os_local_time(OsLocalTime* out) {
  std::time_t now = std::time(nullptr);
  if (now == static_cast<std::time_t>(-1)) return 0;
  std::tm* local = std::localtime(&now);
  if (!local) return 0;
  *out = {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
          local->tm_hour,        local->tm_min,     local->tm_sec};
  return 1;
}
