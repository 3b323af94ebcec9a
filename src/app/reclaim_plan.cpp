// The engine's decisions: periods, stability, reclaim percents and sizes.
#include "reclaim_plan.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double two_to_63 = 9223372036854775808.0;

// Truncation toward zero that stays defined for every double.
int64_t truncate_to_int64(double value) {
  if (std::isnan(value)) return 0;
  if (value < -two_to_63) return INT64_MIN;
  if (value >= two_to_63) return INT64_MAX;
  return static_cast<int64_t>(value);
}

int below(const MemoryReading& reading, int32_t boundary) {
  return reading.total_phys_mb != 0 && reading.free_percent < static_cast<uint32_t>(boundary);
}

}  // namespace

int32_t check_period(int32_t rate_ms, int32_t refresh_ms) {
  return refresh_ms > 0 ? rate_ms / refresh_ms : 0;
}

int check_due(int32_t period, int32_t stable_count) {
  if (period < 1) return 1;
  return stable_count % period == period - 1;
}

int reading_stable(const MemoryReading& newer, const MemoryReading& older) {
  uint64_t threshold = newer.total_phys_mb / 50;
  uint64_t change = newer.avail_phys_mb > older.avail_phys_mb
                        ? newer.avail_phys_mb - older.avail_phys_mb
                        : older.avail_phys_mb - newer.avail_phys_mb;
  return change <= threshold;
}

double minimum_reclaim_percent(const MemoryReading& reading, const Config& cfg) {
  return below(reading, cfg.reclaim_size_percent) ? cfg.reclaim_size_percent : 0;
}

double aggressive_top_up_percent(const MemoryReading& reading, const Config& cfg) {
  if (!below(reading, cfg.aggressive_percent)) return 0;
  return cfg.aggressive_percent - static_cast<int32_t>(reading.free_percent);
}

double periodic_top_up_percent(const MemoryReading& reading, const Config& cfg) {
  if (!below(reading, cfg.auto_reclaim_percent)) return 0;
  double avail = static_cast<double>(reading.avail_phys_mb);
  double total = static_cast<double>(reading.total_phys_mb);
  return cfg.auto_reclaim_percent - avail / total * 100;
}

double click_percent(const Config& cfg) {
  switch (cfg.click_operation) {
    case 0:
      return cfg.reclaim_size_percent;
    case 1:
      return cfg.auto_reclaim_percent;
    case 2:
      return cfg.aggressive_percent;
    default:
      return 0;
  }
}

int64_t reclaim_amount(double percent, uint64_t total_bytes, uint64_t avail_bytes) {
  double amount =
      (percent / 100) * static_cast<double>(total_bytes) + static_cast<double>(avail_bytes);
  return amount > 0 ? truncate_to_int64(amount) : 0;
}

int32_t reclaim_shown_percent(double percent) {
  int64_t shown = truncate_to_int64(percent + 0.5);
  if (shown > INT32_MAX) return INT32_MAX;
  if (shown < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(shown);
}

uint32_t free_percent_of(uint64_t avail_bytes, uint64_t total_bytes) {
  if (total_bytes == 0) return 0;
  double avail = static_cast<double>(avail_bytes);
  double total = static_cast<double>(total_bytes);
  return static_cast<uint32_t>(truncate_to_int64(avail / total * 100 + 0.5));
}
