// Zeroing reclaim slices, streamed around the cache when they are large.
#include "zero_fill.h"

#include <cstddef>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define TESSARY_STREAMING_ZERO 1
#endif

namespace {

// Called through a volatile pointer so that the writes are never dropped as dead stores before
// the block is released: the writes are the point of a reclaim.
void* (*volatile cached_zero)(void*, int, size_t) = std::memset;

#if TESSARY_STREAMING_ZERO
constexpr uint64_t streaming_threshold = uint64_t{1} << 20;
constexpr uint64_t vector_bytes = 32;

// Streams zeros over count aligned 32-byte vectors, two (one cache line) at a time.
__attribute__((target("avx"))) void stream_zero_vectors(__m256i* vectors, uint64_t count) {
  const __m256i zero = _mm256_setzero_si256();
  uint64_t i = 0;
  for (; i + 2 <= count; i += 2) {
    _mm256_stream_si256(vectors + i, zero);
    _mm256_stream_si256(vectors + i + 1, zero);
  }
  if (i < count) _mm256_stream_si256(vectors + i, zero);
  _mm_sfence();  // streaming stores are weakly ordered: make them visible before going on
}

// The unaligned head and tail through the cache, the aligned middle streamed.
void stream_zero(uint8_t* block, uint64_t bytes) {
  uint64_t misalignment = reinterpret_cast<uintptr_t>(block) % vector_bytes;
  uint64_t head = misalignment ? vector_bytes - misalignment : 0;
  uint64_t count = (bytes - head) / vector_bytes;
  uint64_t tail_start = head + count * vector_bytes;
  cached_zero(block, 0, head);
  stream_zero_vectors(reinterpret_cast<__m256i*>(block + head), count);
  cached_zero(block + tail_start, 0, bytes - tail_start);
}
#endif

}  // namespace

void zero_fill(uint8_t* block, uint64_t bytes) {
#if TESSARY_STREAMING_ZERO
  if (bytes >= streaming_threshold && __builtin_cpu_supports("avx")) {
    stream_zero(block, bytes);
    return;
  }
#endif
  cached_zero(block, 0, bytes);
}
