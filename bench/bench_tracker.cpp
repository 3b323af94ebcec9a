// One tracked_alloc/tracked_free pair against one malloc/free pair of the same size, measured in
// the same run. The tracked run reports its time as a multiple of the plain one ("x_malloc").
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <map>

#include "kelvane-core.h"

namespace {

std::map<int64_t, double> malloc_ns_per_pair;

// The core as the application runs it: the lock on, no log output, no allocation limit.
void start_core() {
  static const int started = core_init("bench.log", 0) && tracker_init(0x7fffffff);
  (void)started;
}

template <typename Pair>
double time_pairs(benchmark::State& state, Pair pair) {
  start_core();
  const int32_t size = static_cast<int32_t>(state.range(0));
  int64_t count = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    pair(size);
    count++;
  }
  const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  return count ? elapsed.count() / static_cast<double>(count) : 0;
}

void BM_MallocFree(benchmark::State& state) {
  malloc_ns_per_pair[state.range(0)] = time_pairs(state, [](int32_t size) {
    void* block = std::malloc(static_cast<size_t>(size));
    benchmark::DoNotOptimize(block);
    std::free(block);
  });
}

void BM_TrackedAllocFree(benchmark::State& state) {
  const double tracked = time_pairs(state, [](int32_t size) {
    void* block = tracked_alloc(size, 1, "bench", 1);
    benchmark::DoNotOptimize(block);
    tracked_free(block, size, 1, "bench", 2);
  });
  const double baseline = malloc_ns_per_pair[state.range(0)];
  if (baseline > 0) state.counters["x_malloc"] = tracked / baseline;
}

}  // namespace

// The baselines run first so that the tracked runs can relate to them.
BENCHMARK(BM_MallocFree)->Arg(16)->Arg(108)->Arg(1024);
BENCHMARK(BM_TrackedAllocFree)->Arg(16)->Arg(108)->Arg(1024);
