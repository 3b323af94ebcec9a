// Drawing the status picture into app_state's buffers.
#include "picture.h"

#include <cstring>

#include "app_state.h"
#include "kelvane-core.h"

namespace {

constexpr int32_t background = 0;
constexpr int32_t progress_white = 1;
constexpr int32_t disabled_mark = 14;
constexpr int bytes_per_row = picture_size / 2;

void set_palette(int index, uint8_t blue, uint8_t green, uint8_t red) {
  picture_info()->palette[index] = PaletteEntry{blue, green, red, 0};
}

// Sets every pixel of column x from row first to row last to index.
void draw_run(int32_t x, int32_t first, int32_t last, int32_t index) {
  if (first > last) {
    int32_t swap = first;
    first = last;
    last = swap;
  }
  for (int32_t y = first; y <= last; ++y) picture_set_pixel(x, y, index);
}

}  // namespace

PictureInfo* picture_info() {
  return static_cast<PictureInfo*>(app_state.bitmap_info);
}

int picture_set_header() {
  PictureHeader& header = picture_info()->header;
  header = PictureHeader{};
  header.size = sizeof(PictureHeader);
  header.width = picture_size;
  header.height = -picture_size;
  header.planes = 1;
  header.bit_count = 4;
  header.colours_used = palette_entries;
  header.colours_important = palette_entries;
  return 1;
}

int picture_build_palette() {
  set_palette(0, 0, 0, 0);
  set_palette(1, 255, 255, 255);
  set_palette(2, 0, 0, 255);
  set_palette(3, 0, 255, 0);
  set_palette(4, 255, 0, 0);
  set_palette(5, 0, 255, 0);
  set_palette(6, 0, 255, 0);
  // Green rising to yellow, then yellow falling to red; entry 10 is written by both ramps and
  // the second wins. Entry 15 stays black from the zeroed block.
  for (int i = 0; i < 4; ++i) {
    set_palette(7 + i, 0, 255, static_cast<uint8_t>(i * 0.25 * 255));
  }
  for (int i = 0; i < 5; ++i) {
    set_palette(10 + i, 0, static_cast<uint8_t>((1 - i / 5.0) * 255), 255);
  }
  return 1;
}

int picture_clear(int32_t index) {
  std::memset(app_state.pixels, (index & 0x0F) * 17, picture_bytes);
  return 1;
}

int picture_set_pixel(int32_t x, int32_t y, int32_t index) {
  if (y == 0) return 1;
  uint8_t& byte = app_state.pixels[y * bytes_per_row + x / 2];
  uint8_t nibble = static_cast<uint8_t>(index & 0x0F);
  byte = (x % 2 == 0) ? static_cast<uint8_t>((byte & 0x0F) | (nibble << 4))
                      : static_cast<uint8_t>((byte & 0xF0) | nibble);
  return 1;
}

int32_t picture_history_colour(uint32_t free_percent) {
  double p = free_percent;
  return 5 - static_cast<int32_t>((1 - p / 100) * -10);
}

int32_t picture_history_row(uint32_t free_percent) {
  double p = free_percent;
  return 1 - static_cast<int32_t>((p / 100) * -14);
}

int picture_draw_history() {
  picture_clear(background);
  const MemoryReading* history = app_state.history;
  for (int k = 0; k < history_slots; ++k) {
    if (history[k].total_phys_mb == 0) break;
    int32_t x = picture_size - 1 - k;
    int32_t colour = picture_history_colour(history[k].free_percent);
    int32_t row = picture_history_row(history[k].free_percent);
    // Join the point to the next older reading's point; an older reading of 0 % is not joined.
    bool joined = k + 1 < history_slots && history[k + 1].free_percent != 0;
    int32_t older_row = joined ? picture_history_row(history[k + 1].free_percent) : row;
    draw_run(x, row, older_row, colour);
  }
  return 1;
}

int picture_draw_progress(int32_t row) {
  picture_clear(background);
  for (int32_t x = 0; x < picture_size; ++x) picture_set_pixel(x, row, progress_white);
  return 1;
}

int picture_draw_disabled() {
  picture_clear(background);
  for (int32_t c = 1; c <= 14; ++c) {
    picture_set_pixel(c, c, disabled_mark);
    picture_set_pixel(c, 15 - c, disabled_mark);
  }
  return 1;
}

int picture_to_rgb(uint32_t* out) {
  if (out == nullptr) {
    fatal_at("winmain", 1342);
    fatal_error("Pointer is NULL\n");
  }
  const PaletteEntry* palette = picture_info()->palette;
  for (int y = 0; y < picture_size; ++y) {
    for (int x = 0; x < picture_size; ++x) {
      uint8_t byte = app_state.pixels[y * bytes_per_row + x / 2];
      int index = (x % 2 == 0) ? byte >> 4 : byte & 0x0F;
      const PaletteEntry& entry = palette[index];
      out[y * picture_size + x] =
          (uint32_t{entry.red} << 16) | (uint32_t{entry.green} << 8) | entry.blue;
    }
  }
  return 1;
}
