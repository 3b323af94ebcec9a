// The tracked allocator: every block carries guard bytes derived from its own address before
// and after the caller's area, is zero when handed out and zeroed again before it goes back.
#include "tracker.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "core_state.h"
#include "kelvane-core.h"

TrackerState tracker_state = {0, 0, 0, 0, 0, UINTPTR_MAX, 0};

namespace {

const char corrupt_format[] = "Memory corrupt (%d) <Addr:0x%p Before:%d After:%d Max:%d>\n";

// The heap's blocks are aligned for any type, and the user area (4 bytes into the block) must
// be too: on a 64-bit build a record holding pointers at a merely 4-aligned address is
// undefined behaviour. So each block starts this far into its heap allocation.
constexpr size_t kHeapPad = alignof(std::max_align_t) - TRACKER_GUARD_SIZE;

// Called through a volatile pointer so that zeroing a block just before free() is not removed
// as a dead store.
void* (*volatile zero_fill)(void*, int, size_t) = std::memset;

int info_enabled() {
  return (core_state.core_flags & CORE_LOG_INFO) != 0;
}

void* address_of(uintptr_t address) {
  return reinterpret_cast<void*>(address);
}

// Number of the four bytes at place that differ from guard.
int32_t damaged_count(const uint8_t* place, const uint8_t guard[4]) {
  int32_t damaged = 0;
  for (int i = 0; i < TRACKER_GUARD_SIZE; i++) damaged += place[i] != guard[i];
  return damaged;
}

void log_bytes(const char* title, const uint8_t* bytes, int count) {
  log_printf_nolock(title);
  for (int i = 0; i < count; i++) log_printf_nolock(" %.2X", bytes[i]);
  log_printf_nolock("\n");
}

void require_valid_size(int32_t size, const char* file, int32_t line) {
  if (size >= 1) return;
  set_fatal_location(file, line);
  fatal_error("Invalid Memory Size (%d)\n", size);
}

}  // namespace

int64_t tracker_block_length(int32_t size) {
  return (static_cast<int64_t>(size) + 11) & ~3LL;
}

void tracker_guard_bytes(uintptr_t block_start, uint8_t guard[4]) {
  const uint32_t low = static_cast<uint32_t>(block_start);
  for (int i = 0; i < TRACKER_GUARD_SIZE; i++) guard[i] = static_cast<uint8_t>((low >> i) ^ 0xCC);
}

int tracker_address_valid(uintptr_t address) {
  return tracker_state.lowest_address <= address && address <= tracker_state.highest_address;
}

void tracker_check_guards(uintptr_t block_start, int32_t size, const char* file, int32_t line) {
  const uintptr_t user_end = block_start + static_cast<uint32_t>(size);
  if (!tracker_address_valid(block_start) || !tracker_address_valid(user_end)) {
    set_fatal_location(file, line);
    fatal_error("Invalid memory address (%d) <From:0x%p To:0x%p>\n", size, address_of(block_start),
                address_of(user_end));
  }
  uint8_t guard[TRACKER_GUARD_SIZE];
  tracker_guard_bytes(block_start, guard);
  const uint8_t* leading = reinterpret_cast<const uint8_t*>(block_start);
  const uint8_t* trailing = leading + tracker_block_length(size) - TRACKER_GUARD_SIZE;
  const int32_t before = damaged_count(leading, guard);
  const int32_t after = damaged_count(trailing, guard);
  if (before == 0 && after == 0) return;

  void* user_area = address_of(block_start + TRACKER_GUARD_SIZE);
  log_printf_nolock(corrupt_format, size, user_area, before, after, TRACKER_GUARD_SIZE);
  log_bytes("Expected:", guard, TRACKER_GUARD_SIZE);
  // The leading guard and the first bytes of the caller's area; the trailing guard is where the
  // block ends, so nothing past it is shown.
  if (before != 0) log_bytes("Prior corruption:", leading, 2 * TRACKER_GUARD_SIZE);
  if (after != 0) log_bytes("After corruption:", trailing, TRACKER_GUARD_SIZE);
  set_fatal_location(file, line);
  fatal_error(corrupt_format, size, user_area, before, after, TRACKER_GUARD_SIZE);
}

int tracker_init(int32_t limit) {
  if (info_enabled()) log_section("Memory Init");
  tracker_state.block_count = 0;
  tracker_state.bytes_in_use = 0;
  tracker_state.peak_blocks = 0;
  tracker_state.peak_bytes = 0;
  tracker_state.limit = limit;
  if (info_enabled()) {
    if (limit == TRACKER_NO_LIMIT) {
      log_printf("Memory Initialized (Maximum)\n");
    } else {
      log_printf("Memory Initialized (limit %dk)\n", limit / 1024);
    }
    log_section(nullptr);
  }
  return 1;
}

int tracker_shutdown() {
  if (info_enabled()) {
    log_section("Memory Remove");
    log_printf("Maximum Memory in use (%d / %dk)\n", tracker_state.peak_blocks,
               tracker_state.peak_bytes / 1024);
  }
  const int32_t in_use = tracker_state.bytes_in_use;
  if (in_use >= 1024) {
    log_printf("Not all memory was free'd (%d / %dk)\n", tracker_state.block_count, in_use / 1024);
  } else if (in_use != 0) {
    log_printf("Not all memory was free'd (%d / %db)\n", tracker_state.block_count, in_use);
  }
  if (info_enabled()) log_section(nullptr);
  return 1;
}

void* tracked_alloc(int32_t size, int32_t flags, const char* file, int32_t line) {
  (void)flags;
  core_lock();
  require_valid_size(size, file, line);
  const int64_t length = tracker_block_length(size);
  // In 64 bits neither the length nor the sum can wrap; the limit is at most 0x7fffffff, so a
  // length beyond 31 bits always passes it and is reported clamped to 0x7fffffff.
  if (tracker_state.bytes_in_use + length > tracker_state.limit) {
    const int32_t shown_length = length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
    set_fatal_location(file, line);
    fatal_error("Memory exceeds limit ((%d + %d) / %d)\n", tracker_state.bytes_in_use, shown_length,
                tracker_state.limit);
  }
  uint8_t* heap = static_cast<uint8_t*>(std::malloc(kHeapPad + static_cast<size_t>(length)));
  if (heap == nullptr) {
    set_fatal_location(file, line);
    fatal_error("No Memory available (%d / %d)\n", size, static_cast<int32_t>(length));
  }
  uint8_t* block = heap + kHeapPad;
  const uintptr_t start = reinterpret_cast<uintptr_t>(block);
  if (start < tracker_state.lowest_address) tracker_state.lowest_address = start;
  if (start + length > tracker_state.highest_address)
    tracker_state.highest_address = start + length;

  uint8_t guard[TRACKER_GUARD_SIZE];
  tracker_guard_bytes(start, guard);
  std::memcpy(block, guard, TRACKER_GUARD_SIZE);
  std::memset(block + TRACKER_GUARD_SIZE, 0, static_cast<size_t>(length - 2 * TRACKER_GUARD_SIZE));
  std::memcpy(block + length - TRACKER_GUARD_SIZE, guard, TRACKER_GUARD_SIZE);

  tracker_state.block_count += 1;
  tracker_state.bytes_in_use += static_cast<int32_t>(length);
  if (tracker_state.block_count > tracker_state.peak_blocks) {
    tracker_state.peak_blocks = tracker_state.block_count;
  }
  if (tracker_state.bytes_in_use > tracker_state.peak_bytes) {
    tracker_state.peak_bytes = tracker_state.bytes_in_use;
  }
  core_unlock();
  return block + TRACKER_GUARD_SIZE;
}

void* tracked_free(void* pointer, int32_t size, int32_t flags, const char* file, int32_t line) {
  (void)flags;
  core_lock();
  require_valid_size(size, file, line);
  const int64_t length = tracker_block_length(size);
  // No block of this size can have been handed out: its length does not fit in 31 bits.
  if (length > INT32_MAX) {
    set_fatal_location(file, line);
    fatal_error("Invalid Memory Size (%d)\n", size);
  }
  if (pointer == nullptr) {
    set_fatal_location(file, line);
    fatal_error("No Memory address to free (%d / %d)\n", size, static_cast<int32_t>(length));
  }
  const uintptr_t start = reinterpret_cast<uintptr_t>(pointer) - TRACKER_GUARD_SIZE;
  tracker_check_guards(start, size, file, line);

  uint8_t* block = static_cast<uint8_t*>(address_of(start));
  zero_fill(block, 0, static_cast<size_t>(length));
  std::free(block - kHeapPad);
  tracker_state.block_count -= 1;
  tracker_state.bytes_in_use -= static_cast<int32_t>(length);
  core_unlock();
  return nullptr;
}
