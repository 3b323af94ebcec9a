// One debug-log entry written to the file with a commit to disk after it, against the same
// entry with CACHE_WRITES (no commit), measured in the same run. The committed run reports
// its time as a multiple of the cached one ("x_cached").
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "kelvane-core.h"

namespace {

double cached_ns_per_entry = 0;

std::string bench_log_path() {
  return (std::filesystem::temp_directory_path() / "tessary_bench_log.log").string();
}

double log_entries(benchmark::State& state, uint32_t options) {
  std::string path = bench_log_path();
  core_init(path.c_str(), options);
  int64_t count = 0;
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    log_printf("%3d%% -- %I64d/%I64dm\n", 42, static_cast<int64_t>(3400),
               static_cast<int64_t>(8192));
    count++;
  }
  std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
  core_shutdown();
  std::filesystem::remove(path);
  return count ? elapsed.count() / static_cast<double>(count) : 0;
}

void BM_LogEntryCached(benchmark::State& state) {
  cached_ns_per_entry = log_entries(state, CORE_LOG_FILE | CORE_LOG_CACHE_WRITES);
}

void BM_LogEntryCommitted(benchmark::State& state) {
  double committed = log_entries(state, CORE_LOG_FILE);
  if (cached_ns_per_entry > 0) state.counters["x_cached"] = committed / cached_ns_per_entry;
}

}  // namespace

// The baseline runs first so that the committed run can relate to it.
BENCHMARK(BM_LogEntryCached);
BENCHMARK(BM_LogEntryCommitted);
