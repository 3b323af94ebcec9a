// Internals of the tracked allocator, shared with its tests. The public operations are in
// kelvane-core.h.
#pragma once

#include <cstdint>

struct TrackerState {
  int32_t block_count;
  int32_t bytes_in_use;
  int32_t limit;  // 0x7fffffff: no limit
  int32_t peak_blocks;
  int32_t peak_bytes;
  uintptr_t lowest_address;   // lowest block start ever handed out
  uintptr_t highest_address;  // highest block end ever handed out
};

extern TrackerState tracker_state;

enum : int32_t { TRACKER_NO_LIMIT = 0x7fffffff, TRACKER_GUARD_SIZE = 4 };

// The size raised to a multiple of 4, plus both guards. Computed in 64 bits so that no size
// wraps around; only sizes of 1 or more are meaningful.
int64_t tracker_block_length(int32_t size);

// The four guard bytes of a block starting at block_start (from its low 32 bits).
void tracker_guard_bytes(uintptr_t block_start, uint8_t guard[4]);

int tracker_address_valid(uintptr_t address);

// Both guards of the block at block_start; damage is reported and fatal at file/line.
// The caller holds the core lock.
void tracker_check_guards(uintptr_t block_start, int32_t size, const char* file, int32_t line);
