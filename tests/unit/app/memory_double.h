// Double of the OS layer's memory services: scripted status records and a heap that fails on
// request. Fresh blocks are real but small: a request above memory_double_block_cap fails.
#pragma once

#include <cstdint>
#include <vector>

#include "os.h"

inline constexpr uint64_t memory_double_block_cap = uint64_t{256} << 20;
inline constexpr uint8_t memory_double_fill = 0xAA;

// Forgets statuses, counters and failures and frees the kept block.
void memory_double_reset();

// Status records are reported once each in the order queued; when all are used, the last one
// repeats.
void memory_double_queue_record(const OsMemoryStatus& record);
// A record with these physical figures; the page file and virtual figures follow from them.
void memory_double_queue_status(uint64_t total_bytes, uint64_t avail_bytes);
// A status call that fails and leaves the record as it was.
void memory_double_queue_failure();
int memory_double_status_reads();

// The next count allocation attempts fail.
void memory_double_fail_next(int count);
// Requests up to size bytes get this caller-owned block instead of a fresh one (null: none).
void memory_double_lend_block(uint8_t* block, uint64_t size);
// Every requested size, in order.
const std::vector<uint64_t>& memory_double_attempts();
// The last block handed out, filled with memory_double_fill when it was fresh; kept after its
// release until the next allocation or reset.
uint8_t* memory_double_block();
int memory_double_releases();
int memory_double_give_backs();
