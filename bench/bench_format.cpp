// The formatter against snprintf on the program's own formats, into a 320-byte buffer like the
// tooltip's. Each format has a pair: BM_bounded_<name> and BM_snprintf_<name>.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "kelvane-str.h"

namespace {

constexpr int buffer_size = 320;

// A value the optimiser cannot see through, so every call formats afresh.
template <typename T>
T opaque(T value) {
  benchmark::DoNotOptimize(value);
  return value;
}

template <typename Format>
void run(benchmark::State& state, Format format) {
  char buffer[buffer_size];
  for (auto _ : state) {
    benchmark::DoNotOptimize(format(buffer));
    benchmark::ClobberMemory();
  }
}

void BM_bounded_log_line(benchmark::State& state) {
  run(state, [](char* b) {
    return bounded_format(b, buffer_size, "%3d%% -- %I64d/%I64dm\n", opaque(42), opaque(6871LL),
                          opaque(16297LL));
  });
}
void BM_snprintf_log_line(benchmark::State& state) {
  run(state, [](char* b) {
    return std::snprintf(b, buffer_size, "%3d%% -- %lld/%lldm\n", opaque(42), opaque(6871LL),
                         opaque(16297LL));
  });
}

void BM_bounded_tooltip(benchmark::State& state) {
  run(state, [](char* b) {
    return bounded_format(b, buffer_size, "Free: %I64dM (%d%%)", opaque(6871LL), opaque(42));
  });
}
void BM_snprintf_tooltip(benchmark::State& state) {
  run(state, [](char* b) {
    return std::snprintf(b, buffer_size, "Free: %lldM (%d%%)", opaque(6871LL), opaque(42));
  });
}

void BM_bounded_reclaim(benchmark::State& state) {
  run(state, [](char* b) {
    return bounded_format(b, buffer_size, "Reclaim %3d%% (%I64dk)\n", opaque(75),
                          opaque(9437184LL));
  });
}
void BM_snprintf_reclaim(benchmark::State& state) {
  run(state, [](char* b) {
    return std::snprintf(b, buffer_size, "Reclaim %3d%% (%lldk)\n", opaque(75), opaque(9437184LL));
  });
}

void BM_bounded_mutex_name(benchmark::State& state) {
  run(state,
      [](char* b) { return bounded_format(b, buffer_size, "%s-EXCLUSIVE", opaque("Tessary")); });
}
void BM_snprintf_mutex_name(benchmark::State& state) {
  run(state,
      [](char* b) { return std::snprintf(b, buffer_size, "%s-EXCLUSIVE", opaque("Tessary")); });
}

void BM_bounded_timestamp(benchmark::State& state) {
  run(state, [](char* b) {
    return bounded_format(b, buffer_size, "%.2d/%.2d/%.4d %.2d:%.2d:%.2d ", opaque(3), opaque(7),
                          opaque(2011), opaque(9), opaque(5), opaque(42));
  });
}
void BM_snprintf_timestamp(benchmark::State& state) {
  run(state, [](char* b) {
    return std::snprintf(b, buffer_size, "%.2d/%.2d/%.4d %.2d:%.2d:%.2d ", opaque(3), opaque(7),
                         opaque(2011), opaque(9), opaque(5), opaque(42));
  });
}

void BM_bounded_real(benchmark::State& state) {
  run(state, [](char* b) { return bounded_format(b, buffer_size, "%08.2f", opaque(-3.14159)); });
}
void BM_snprintf_real(benchmark::State& state) {
  run(state, [](char* b) { return std::snprintf(b, buffer_size, "%08.2f", opaque(-3.14159)); });
}

}  // namespace

BENCHMARK(BM_bounded_log_line);
BENCHMARK(BM_snprintf_log_line);
BENCHMARK(BM_bounded_tooltip);
BENCHMARK(BM_snprintf_tooltip);
BENCHMARK(BM_bounded_reclaim);
BENCHMARK(BM_snprintf_reclaim);
BENCHMARK(BM_bounded_mutex_name);
BENCHMARK(BM_snprintf_mutex_name);
BENCHMARK(BM_bounded_timestamp);
BENCHMARK(BM_snprintf_timestamp);
BENCHMARK(BM_bounded_real);
BENCHMARK(BM_snprintf_real);
