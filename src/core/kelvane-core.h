// Kelvane core: start-up options, the core lock, the debug log, fatal errors and the tracked
// allocator.
#pragma once

#include <cstdint>

// Bits of the log option word.
enum : uint32_t {
  CORE_LOG_CONSOLE = 0x1,
  CORE_LOG_FILE = 0x2,
  CORE_LOG_INFO = 0x4,
  CORE_LOG_APPEND = 0x8,
  CORE_LOG_TIMESTAMP = 0x20,
  CORE_LOG_DATED = 0x40,
  CORE_LOG_PER_THREAD = 0x100,
  CORE_LOG_EXTERNAL = 0x400,
  CORE_LOG_CACHE_WRITES = 0x8000,
};

// Start-up and options.
int core_parse_options(uint32_t* options, const char* command_line);
int find_option(const char* command_line, const char* word);
int core_init(const char* log_name, uint32_t options);
int core_configure(const char* log_path, uint32_t options);
int core_shutdown();

// The debug log.
int log_printf(const char* format, ...);
int log_printf_nolock(const char* format, ...);
int log_write(const char* text);
int log_section(const char* name);

// The core lock: process-wide and recursive.
int core_lock();
int core_unlock();

// Fatal errors: fatal_at records the location (taking the core lock), fatal_error reports and
// ends the process with status 1.
int set_fatal_location(const char* file, int line);
int fatal_at(const char* file, int line);
[[noreturn]] void fatal_error(const char* format, ...);

// The tracked allocator: guard bytes around every block, a limit and peaks.
int tracker_init(int32_t limit);
int tracker_shutdown();
void* tracked_alloc(int32_t size, int32_t flags, const char* file, int32_t line);
void* tracked_free(void* block, int32_t size, int32_t flags, const char* file, int32_t line);
