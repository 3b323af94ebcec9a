// The memory engine over the recording GUI double and the memory double:
// - the reclaim's sixteen-slice zeroing with its progress frames against one memset of the
//   same 256 MiB block, paired in every iteration ("memset_ratio": memset time / reclaim time);
// - one whole refresh (reading, history, graph, log entry, tooltip, publish), in ns;
// - the back-off when the first 512 allocation attempts fail, without and with a log file.
// The block is lent to the engine and touched beforehand, so neither side pays page faults.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app_state.h"
#include "gui_double.h"
#include "kelvane-core.h"
#include "memory_double.h"
#include "memory_engine.h"
#include "picture.h"

namespace {

constexpr uint64_t mib = 1048576;
constexpr uint64_t block_bytes = 256 * mib;

std::vector<uint8_t>& lent_block() {
  static std::vector<uint8_t> block(block_bytes, 1);
  return block;
}

Config& bench_config() {
  static Config cfg{};
  return cfg;
}

// Buffers, palette and settings as at window creation; the memory double reports
// total_bytes of physical memory of which avail_bytes are available.
void set_up(uint64_t total_bytes, uint64_t avail_bytes) {
  tracker_init(0x7fffffff);
  app_buffers_create();
  picture_set_header();
  picture_build_palette();
  picture_clear(0);
  config_defaults(&bench_config());
  app_state.settings = &bench_config();
  memory_double_reset();
  memory_double_queue_status(total_bytes, avail_bytes);
  memory_double_lend_block(lent_block().data(), block_bytes);
  gui_double_reset();
}

void tear_down() {
  app_buffers_destroy();
  app_state.settings = nullptr;
  memory_double_reset();
  gui_double_reset();
}

double ns_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count();
}

// Each iteration zeroes the block once with one memset and once by a whole reclaim, so that
// both see the same machine state; the counters are the mean times and memset / reclaim.
void BM_ReclaimAgainstOneMemset(benchmark::State& state) {
  set_up(block_bytes, 0);  // 100 % of 256 MiB on top of nothing: the whole block
  uint8_t* block = lent_block().data();
  double memset_ns = 0;
  double reclaim_ns = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    std::memset(block, 0, block_bytes);
    benchmark::ClobberMemory();
    memset_ns += ns_since(start);
    gui_double_reset();
    start = std::chrono::steady_clock::now();
    memory_reclaim(100);
    benchmark::ClobberMemory();
    reclaim_ns += ns_since(start);
  }
  double count = static_cast<double>(state.iterations());
  state.counters["memset_ms"] = memset_ns / count / 1e6;
  state.counters["reclaim_ms"] = reclaim_ns / count / 1e6;
  state.counters["memset_ratio"] = memset_ns / reclaim_ns;
  tear_down();
}

void BM_Refresh(benchmark::State& state) {
  set_up(8192 * mib, 3400 * mib);
  memory_refresh();
  for (auto _ : state) {
    gui_double_reset();
    memory_refresh();
    benchmark::ClobberMemory();
  }
  tear_down();
}

// range(0): 1 to log every attempt to a file, as with the "debug" option.
void BM_BackOffAfter512Failures(benchmark::State& state) {
  std::string path = (std::filesystem::temp_directory_path() / "tessary_bench_engine.log").string();
  if (state.range(0) == 1) core_init(path.c_str(), CORE_LOG_FILE | CORE_LOG_CACHE_WRITES);
  // 513 MiB: attempts at 513, 512, ..., 2 MiB fail, the 513th at 1 MiB succeeds
  set_up(0, 513 * mib);
  size_t attempts = 0;
  for (auto _ : state) {
    memory_double_fail_next(512);
    gui_double_reset();
    size_t before = memory_double_attempts().size();
    memory_reclaim(0);
    attempts = memory_double_attempts().size() - before;
  }
  state.counters["attempts"] = static_cast<double>(attempts);
  tear_down();
  if (state.range(0) == 1) {
    core_shutdown();
    std::filesystem::remove(path);
  }
}

}  // namespace

BENCHMARK(BM_ReclaimAgainstOneMemset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Refresh);
BENCHMARK(BM_BackOffAfter512Failures)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
