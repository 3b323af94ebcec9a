// The core's module-level state, shared by its source files (not part of the public surface).
#pragma once

#include <cstdint>

#include "os.h"

constexpr int kCorePathSize = 260;
constexpr int kMessageBufferSize = 4096;

struct CoreState {
  uint32_t core_flags;      // CORE_LOG_ bits
  int32_t lock_disabled;    // 1: locking is off; 0: on
  OsMutex* lock;            // absent until core_lock_create
  uint32_t main_thread_id;  // the thread that called core_init
  void* console;            // console output handle, once opened
  char log_base_path[kCorePathSize];
  char log_path[kCorePathSize];  // the file open now, or opened last
  int log_file;                  // 0: no file open
  const char* fatal_file;        // the caller's text, not a copy
  int32_t fatal_line;
  char message_buffer[kMessageBufferSize];  // touched only under the core lock
};

extern CoreState core_state;

// Source file name that the core's own fatal reports carry.
extern const char kCoreSourceFile[];

// The core lock's life: create the mutex and turn locking on; turn it off and close the mutex.
int core_lock_create();
int core_lock_destroy();
