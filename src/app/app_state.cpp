// The application's state record and the life of its buffers on the tracked heap.
#include "app_state.h"

#include "kelvane-core.h"
#include "picture.h"

AppState app_state;

namespace {

const char winmain_source[] = "winmain";
constexpr int32_t block_flags = 1;

constexpr int32_t history_bytes = history_slots * static_cast<int32_t>(sizeof(MemoryReading));
constexpr int32_t bitmap_info_bytes = 108;  // 40-byte header and room for 17 palette entries

}  // namespace

int app_buffers_create() {
  app_state.history =
      static_cast<MemoryReading*>(tracked_alloc(history_bytes, block_flags, winmain_source, 412));
  app_state.bitmap_info = tracked_alloc(bitmap_info_bytes, block_flags, winmain_source, 415);
  app_state.pixels =
      static_cast<uint8_t*>(tracked_alloc(picture_bytes, block_flags, winmain_source, 418));
  app_state.mask_pixels =
      static_cast<uint8_t*>(tracked_alloc(picture_bytes, block_flags, winmain_source, 421));
  return 1;
}

int app_buffers_destroy() {
  app_state.mask_pixels = static_cast<uint8_t*>(
      tracked_free(app_state.mask_pixels, picture_bytes, block_flags, winmain_source, 468));
  app_state.pixels = static_cast<uint8_t*>(
      tracked_free(app_state.pixels, picture_bytes, block_flags, winmain_source, 469));
  app_state.bitmap_info =
      tracked_free(app_state.bitmap_info, bitmap_info_bytes, block_flags, winmain_source, 470);
  app_state.history = static_cast<MemoryReading*>(
      tracked_free(app_state.history, history_bytes, block_flags, winmain_source, 471));
  return 1;
}
