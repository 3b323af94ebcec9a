// Writing zeros over a reclaim block's slices.
#pragma once

#include <cstdint>

// Writes zeros over bytes at block. Runs of 1 MiB and more bypass the cache with streaming
// stores where the processor has them (AVX): a reclaim writes far more than the cache holds
// and never reads it back, and through the cache each slice would cost about twice the time
// of one big write.
void zero_fill(uint8_t* block, uint64_t bytes);
