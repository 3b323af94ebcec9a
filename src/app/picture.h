// The 16 x 16, 16-colour status picture held in app_state: its header and palette, the
// history graph, the reclaim progress frame and the disabled cross.
//
// Pixel layout: 16 rows of 8 bytes, row 0 the top row; pixel (x, y) lives in byte y * 8 + x / 2,
// the even column in the high 4 bits. Each pixel is a palette index 0..15.
#pragma once

#include <cstdint>

inline constexpr int picture_size = 16;
inline constexpr int picture_bytes = 128;
inline constexpr int palette_entries = 16;

// The platform's device-independent bitmap header, field for field.
struct PictureHeader {
  uint32_t size;
  int32_t width;
  int32_t height;  // negative: rows stored top row first
  uint16_t planes;
  uint16_t bit_count;
  uint32_t compression;
  uint32_t size_image;
  int32_t x_pels_per_meter;
  int32_t y_pels_per_meter;
  uint32_t colours_used;
  uint32_t colours_important;
};
static_assert(sizeof(PictureHeader) == 40, "PictureHeader mirrors the 40-byte bitmap header");

struct PaletteEntry {
  uint8_t blue;
  uint8_t green;
  uint8_t red;
  uint8_t reserved;
};

// What app_state.bitmap_info points at (the block has room for one spare palette entry).
struct PictureInfo {
  PictureHeader header;
  PaletteEntry palette[palette_entries];
};

PictureInfo* picture_info();

// Writes the header values: 16 x -16, one plane, 4 bits, uncompressed, 16 colours.
int picture_set_header();
int picture_build_palette();
int picture_clear(int32_t index);
// Row 0 is never drawn: a pixel there keeps the colour of the last clear.
int picture_set_pixel(int32_t x, int32_t y, int32_t index);
int picture_draw_history();
int picture_draw_progress(int32_t row);
int picture_draw_disabled();

// The palette index and row at which a reading of free_percent is drawn.
int32_t picture_history_colour(uint32_t free_percent);
int32_t picture_history_row(uint32_t free_percent);

// The picture as 256 pixels 0x00RRGGBB, top row first.
int picture_to_rgb(uint32_t* out);
