// The engine's decisions, kept apart from its actions so that the tray menu shares them:
// check periods, stability, the percent each trigger reclaims and the reclaim's size.
#pragma once

#include <cstdint>

#include "app_state.h"

// A check's period in refresh ticks: rate_ms / refresh_ms, truncated.
int32_t check_period(int32_t rate_ms, int32_t refresh_ms);
// 1 when a check of this period is due after stable_count consecutive stable ticks. A period
// below 1 (a rate shorter than the refresh period) makes the check due at every tick.
int check_due(int32_t period, int32_t stable_count);

// 1 when the available memory moved by at most 2 % of physical memory between the readings.
int reading_stable(const MemoryReading& newer, const MemoryReading& older);

// The percents to reclaim, or 0 when no reclaim is due: the reading is at or above the
// boundary, or it is empty (the status call failed), which is no basis for a decision.
double minimum_reclaim_percent(const MemoryReading& reading, const Config& cfg);
double aggressive_top_up_percent(const MemoryReading& reading, const Config& cfg);
double periodic_top_up_percent(const MemoryReading& reading, const Config& cfg);
// The left click's percent by click_operation: the boundary itself; 0 for an unknown operation.
double click_percent(const Config& cfg);

// Bytes to claim: percent of total physical memory on top of the available memory, truncated.
// A result that is not a positive number becomes 0, one beyond the signed range its maximum.
int64_t reclaim_amount(double percent, uint64_t total_bytes, uint64_t avail_bytes);
// The percent as the log shows it: rounded, halves up.
int32_t reclaim_shown_percent(double percent);
// avail as a whole percentage of total, halves up; 0 when total is 0.
uint32_t free_percent_of(uint64_t avail_bytes, uint64_t total_bytes);
