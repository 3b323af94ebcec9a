// The engine's decisions: check periods and due ticks, stability, the percent of every
// trigger at and around its boundary, and the reclaim size.
#include "reclaim_plan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

MemoryReading reading(uint32_t free_percent, uint64_t avail_mb, uint64_t total_mb) {
  MemoryReading r{};
  r.length = 64;
  r.free_percent = free_percent;
  r.avail_phys_mb = avail_mb;
  r.total_phys_mb = total_mb;
  return r;
}

Config defaults() {
  Config cfg{};
  config_defaults(&cfg);
  return cfg;
}

// The stable counts (1..limit) at which a check of this rate is due.
std::vector<int32_t> due_counts(int32_t rate, int32_t refresh, int32_t limit) {
  std::vector<int32_t> due;
  for (int32_t count = 0; count <= limit; ++count) {
    if (check_due(check_period(rate, refresh), count)) due.push_back(count);
  }
  return due;
}

TEST(CheckSchedule, PeriodsAndDueCounts) {
  struct Case {
    const char* what;
    int32_t rate, refresh, period;
    std::vector<int32_t> due;  // stable counts 0..1000 at which the check comes due
  };
  std::vector<int32_t> every_count(1001);
  for (int32_t i = 0; i <= 1000; ++i) every_count[i] = i;
  const Case cases[] = {
      {"periodic default", 180000, 3750, 48, {47,  95,  143, 191, 239, 287, 335, 383, 431, 479,
                                              527, 575, 623, 671, 719, 767, 815, 863, 911, 959}},
      {"aggressive default", 1800000, 3750, 480, {479, 959}},
      {"rate equal to refresh", 3750, 3750, 1, every_count},
      {"rate just under two periods", 7499, 3750, 1, every_count},
      {"aggressive below refresh", 500, 3750, 0, every_count},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(check_period(c.rate, c.refresh), c.period);
    EXPECT_EQ(due_counts(c.rate, c.refresh, 1000), c.due);
  }
}

TEST(CheckSchedule, AnUnstableTickIsNotDueForPeriodsAboveOne) {
  EXPECT_FALSE(check_due(48, 0));
  EXPECT_FALSE(check_due(2, 0));
  EXPECT_TRUE(check_due(1, 0));
  EXPECT_TRUE(check_due(0, 0));
}

TEST(Stability, ChangeUpToTwoPercentOfPhysicalMemoryIsStable) {
  // 8192 MiB: threshold 163 MiB
  EXPECT_TRUE(reading_stable(reading(50, 4000 + 163, 8192), reading(50, 4000, 8192)));
  EXPECT_TRUE(reading_stable(reading(50, 4000 - 163, 8192), reading(50, 4000, 8192)));
  EXPECT_FALSE(reading_stable(reading(50, 4000 + 164, 8192), reading(50, 4000, 8192)));
  EXPECT_FALSE(reading_stable(reading(50, 4000 - 164, 8192), reading(50, 4000, 8192)));
  EXPECT_TRUE(reading_stable(reading(50, 4000, 8192), reading(50, 4000, 8192)));
  // 49 MiB of memory: threshold 0, any change is unstable
  EXPECT_FALSE(reading_stable(reading(50, 25, 49), reading(50, 24, 49)));
}

TEST(TriggerPercent, EveryTriggerAtAndBelowItsBoundary) {
  const Config cfg = defaults();  // minimum 5, periodic 20, aggressive 70
  struct Case {
    const char* what;
    double (*percent)(const MemoryReading&, const Config&);
    MemoryReading at;
    double at_percent;
  };
  const Case cases[] = {
      {"minimum, at", minimum_reclaim_percent, reading(5, 50, 1000), 0},
      {"minimum, below", minimum_reclaim_percent, reading(4, 40, 1000), 5},
      {"aggressive, at", aggressive_top_up_percent, reading(70, 700, 1000), 0},
      {"aggressive, below", aggressive_top_up_percent, reading(69, 690, 1000), 1},
      {"aggressive, half free", aggressive_top_up_percent, reading(50, 500, 1000), 20},
      {"aggressive, none free", aggressive_top_up_percent, reading(0, 0, 1000), 70},
      {"periodic, at", periodic_top_up_percent, reading(20, 200, 1000), 0},
      {"periodic, fractional", periodic_top_up_percent, reading(19, 150, 800), 1.25},
      {"periodic, half free", periodic_top_up_percent, reading(50, 500, 1000), 0},
      {"periodic, above", periodic_top_up_percent, reading(21, 210, 1000), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_DOUBLE_EQ(c.percent(c.at, cfg), c.at_percent);
  }
}

TEST(TriggerPercent, AnEmptyReadingTriggersNothing) {
  const Config cfg = defaults();
  const MemoryReading empty = reading(0, 0, 0);  // a failed status call
  EXPECT_EQ(minimum_reclaim_percent(empty, cfg), 0);
  EXPECT_EQ(aggressive_top_up_percent(empty, cfg), 0);
  EXPECT_EQ(periodic_top_up_percent(empty, cfg), 0);
}

TEST(TriggerPercent, LeftClickPassesTheBoundaryItself) {
  Config cfg = defaults();
  const double expected[] = {5, 20, 70, 0, 0};
  const int32_t operations[] = {0, 1, 2, 3, -1};
  for (int i = 0; i < 5; ++i) {
    cfg.click_operation = operations[i];
    EXPECT_EQ(click_percent(cfg), expected[i]) << operations[i];
  }
}

TEST(ReclaimSize, PercentOfTotalOnTopOfAvailableTruncated) {
  EXPECT_EQ(reclaim_amount(1.25, 800 * 1048576ull, 150 * 1048576ull), 160 * 1048576ll);
  EXPECT_EQ(reclaim_amount(5, 1000, 37), 87);
  EXPECT_EQ(reclaim_amount(3.33, 1000, 0), 33);  // 33.3 truncated
  EXPECT_EQ(reclaim_amount(20, 0, 0), 0);
  // never negative, never beyond the signed range, never undefined
  EXPECT_EQ(reclaim_amount(-50, 1000, 100), 0);
  EXPECT_EQ(reclaim_amount(std::nan(""), 1000, 100), 0);
  EXPECT_EQ(reclaim_amount(1e30, UINT64_MAX, UINT64_MAX), std::numeric_limits<int64_t>::max());
}

TEST(ReclaimSize, ShownPercentIsRoundedHalvesUp) {
  const double percents[] = {1.25, 1.5, 0.49, 5, 69.5, 1e12};
  const int32_t shown[] = {1, 2, 0, 5, 70, std::numeric_limits<int32_t>::max()};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(reclaim_shown_percent(percents[i]), shown[i]) << i;
}

TEST(FreePercent, RoundedHalvesUpAndZeroWithoutATotal) {
  EXPECT_EQ(free_percent_of(125, 1000), 13u);  // 12.5
  EXPECT_EQ(free_percent_of(1249, 10000), 12u);
  EXPECT_EQ(free_percent_of(150 * 1048576ull, 800 * 1048576ull), 19u);  // 18.75
  EXPECT_EQ(free_percent_of(1000, 1000), 100u);
  EXPECT_EQ(free_percent_of(0, 1000), 0u);
  EXPECT_EQ(free_percent_of(0, 0), 0u);
}

}  // namespace
