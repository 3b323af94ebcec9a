// The application's constants, its one state record and the record of one memory reading.
#pragma once

#include <cstdint>

#include "config.h"

inline constexpr char product_name[] = "Tessary";
inline constexpr char window_class_name[] = "TessaryGotClass";
inline constexpr char version_text[] = "1.04";
inline constexpr char build_text[] = "Release";
inline constexpr char settings_key[] = "Software\\Vostrik\\Tessary";

// Platform handles, opaque to the portable code.
using WindowHandle = void*;
using InstanceHandle = void*;
using IconHandle = void*;
using MenuHandle = void*;

// One converted memory-status reading, laid out like the platform's 64-byte status record
// whose figures it replaces: a whole free percentage and sizes in MiB.
struct MemoryReading {
  uint32_t length;
  uint32_t free_percent;
  uint64_t total_phys_mb;
  uint64_t avail_phys_mb;
  uint64_t total_page_file_mb;
  uint64_t avail_page_file_mb;
  uint64_t total_virtual_mb;
  uint64_t avail_virtual_mb;
  uint64_t avail_extended_virtual;  // bytes, as reported; never read
};
static_assert(sizeof(MemoryReading) == 64, "MemoryReading mirrors the 64-byte status record");

inline constexpr int history_slots = 16;

struct AppState {
  WindowHandle main_window;
  InstanceHandle instance;
  Config* settings;
  IconHandle app_icon;
  MenuHandle tray_menu;
  void* bitmap_info;     // picture header and palette
  uint8_t* pixels;       // 16 x 16 picture, 4 bits a pixel
  uint8_t* mask_pixels;  // the icon's mask, all zero: every pixel opaque
  int32_t tick_count;
  int32_t stable_count;
  MemoryReading* history;  // history_slots readings, newest first
};

extern AppState app_state;

// Takes the history and the three picture blocks from the tracked allocator, zeroed.
int app_buffers_create();
// Gives them back in reverse order and clears the pointers.
int app_buffers_destroy();
