// Sampling, refreshing, the tick's checks and the reclaim itself.
#include "memory_engine.h"

#include <cstring>

#include "gui_seam.h"
#include "kelvane-core.h"
#include "kelvane-str.h"
#include "os.h"
#include "picture.h"
#include "reclaim_plan.h"
#include "zero_fill.h"

namespace {

constexpr int64_t mebibyte = 1048576;
constexpr int32_t reclaim_slices = 16;
constexpr int tooltip_bytes = 320;
const char freeing_tooltip[] = "Freeing Memory...";

void read_status(OsMemoryStatus* status) {
  *status = OsMemoryStatus{};
  status->length = sizeof(OsMemoryStatus);
  os_memory_status(status);
}

uint64_t to_mebibytes(uint64_t bytes) {
  return (bytes + 524288) >> 20;
}

void push_history(const MemoryReading& reading) {
  std::memmove(&app_state.history[1], &app_state.history[0],
               (history_slots - 1) * sizeof(MemoryReading));
  app_state.history[0] = reading;
}

void log_reclaim_size(int32_t shown_percent, int64_t amount) {
  log_printf("Reclaim %3d%% (%I64dk)\n", shown_percent, amount >> 10);
}

// Tries amount bytes, then 1 MiB less each time, but never less than 1 MiB after the first try.
void* allocate_with_back_off(int64_t* amount, int32_t shown_percent) {
  for (;;) {
    void* block = os_reclaim_alloc(static_cast<uint64_t>(*amount));
    if (block != nullptr) return block;
    *amount -= mebibyte;
    if (*amount < mebibyte) {
      log_printf("Total memory reclaim failure\n");
      return nullptr;
    }
    log_reclaim_size(shown_percent, *amount);
  }
}

// The last amount mod 16 bytes are left as they are.
void zero_in_slices(uint8_t* block, int64_t amount) {
  int64_t slice = amount / reclaim_slices;
  for (int32_t i = 0; i < reclaim_slices; ++i) {
    picture_draw_progress(i);
    picture_publish(0, freeing_tooltip);
    zero_fill(block + i * slice, static_cast<uint64_t>(slice));
  }
}

}  // namespace

int memory_sample(MemoryReading* reading) {
  if (reading == nullptr) {
    fatal_at("winmain", 1118);
    fatal_error("Pointer is NULL\n");
  }
  OsMemoryStatus status;
  read_status(&status);
  reading->length = status.length;
  reading->free_percent = free_percent_of(status.avail_phys, status.total_phys);
  reading->total_phys_mb = to_mebibytes(status.total_phys);
  reading->avail_phys_mb = to_mebibytes(status.avail_phys);
  reading->total_page_file_mb = to_mebibytes(status.total_page_file);
  reading->avail_page_file_mb = to_mebibytes(status.avail_page_file);
  reading->total_virtual_mb = to_mebibytes(status.total_virtual);
  reading->avail_virtual_mb = to_mebibytes(status.avail_virtual);
  reading->avail_extended_virtual = status.avail_extended_virtual;
  return 1;
}

int memory_refresh() {
  const Config& cfg = *app_state.settings;
  MemoryReading reading;
  memory_sample(&reading);
  if (minimum_reclaim_percent(reading, cfg) > 0) {
    log_printf("AutoReclaim (%d < %d)\n", static_cast<int>(reading.free_percent),
               cfg.reclaim_size_percent);
    memory_reclaim(cfg.reclaim_size_percent);
    memory_sample(&reading);
  }
  push_history(reading);
  picture_draw_history();
  log_printf("%3d%% -- %I64d/%I64dm\n", static_cast<int>(reading.free_percent),
             static_cast<int64_t>(reading.avail_phys_mb),
             static_cast<int64_t>(reading.total_phys_mb));
  char tooltip[tooltip_bytes];
  bounded_format(tooltip, tooltip_bytes, "Free: %I64dM (%d%%)",
                 static_cast<int64_t>(reading.avail_phys_mb),
                 static_cast<int>(reading.free_percent));
  picture_publish(0, tooltip);
  return 1;
}

int memory_tick() {
  const Config& cfg = *app_state.settings;
  if (cfg.disabled == 1) return 0;
  memory_refresh();
  const MemoryReading& now = app_state.history[0];
  app_state.stable_count =
      reading_stable(now, app_state.history[1]) ? app_state.stable_count + 1 : 0;
  app_state.tick_count += 1;
  // Both checks judge the same reading: a reclaim here takes no new one.
  if (cfg.aggressive_rate > 0 &&
      check_due(check_period(cfg.aggressive_rate, cfg.refresh_rate), app_state.stable_count)) {
    log_printf("AgroCheck: [%d] (%d < %d)\n", app_state.tick_count,
               static_cast<int>(now.free_percent), cfg.aggressive_percent);
    double percent = aggressive_top_up_percent(now, cfg);
    if (percent > 0) memory_reclaim(percent);
  }
  if (check_due(check_period(cfg.auto_reclaim_rate, cfg.refresh_rate), app_state.stable_count)) {
    log_printf("AutoCheck: [%d] (%d < %d)\n", app_state.tick_count,
               static_cast<int>(now.free_percent), cfg.auto_reclaim_percent);
    double percent = periodic_top_up_percent(now, cfg);
    if (percent > 0) memory_reclaim(percent);
  }
  return 1;
}

int memory_reclaim(double percent) {
  refresh_timer_stop();
  picture_clear(0);
  picture_publish(0, freeing_tooltip);
  OsMemoryStatus status;
  read_status(&status);
  int64_t amount = reclaim_amount(percent, status.total_phys, status.avail_phys);
  int32_t shown_percent = reclaim_shown_percent(percent);
  log_reclaim_size(shown_percent, amount);
  void* block = allocate_with_back_off(&amount, shown_percent);
  if (block != nullptr) {
    zero_in_slices(static_cast<uint8_t*>(block), amount);
    os_reclaim_free(block);
  }
  os_heap_give_back();
  refresh_timer_start(app_state.settings->refresh_rate);
  return 1;
}
