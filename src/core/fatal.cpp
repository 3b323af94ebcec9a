// Fatal errors: the location is recorded first (fatal_at takes the core lock and keeps it),
// then fatal_error reports, shows the box and ends the process with status 1.
#include "core_state.h"
#include "kelvane-core.h"
#include "log_internal.h"

int set_fatal_location(const char* file, int line) {
  core_state.fatal_file = file;
  core_state.fatal_line = line;
  return 1;
}

int fatal_at(const char* file, int line) {
  core_lock();
  return set_fatal_location(file, line);
}

void fatal_error(const char* format, ...) {
  va_list args;
  va_start(args, format);
  log_vmessage(1, format, args);
  va_end(args);
  core_unlock();
  os_exit(1);
}
