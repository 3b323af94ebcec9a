// The status picture: header, palette, pixel layout, the history graph, the progress frame and
// the disabled cross, looked at through the 32-bit rendering where the layout does not matter.
#include "picture.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app_fixture.h"

namespace {

using PictureTest = AppFixture;

// Palette index of pixel (x, y), read straight from the 4-bit layout.
int pixel(int x, int y) {
  uint8_t byte = app_state.pixels[y * 8 + x / 2];
  return x % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

// The columns' drawn rows: for each x, the rows whose pixel is not the background.
std::vector<std::vector<int>> drawn_rows() {
  std::vector<std::vector<int>> columns(16);
  for (int x = 0; x < 16; ++x) {
    for (int y = 0; y < 16; ++y) {
      if (pixel(x, y) != 0) columns[x].push_back(y);
    }
  }
  return columns;
}

TEST_F(PictureTest, HeaderIsA16By16TopDownFourBitBitmap) {
  const uint8_t expected[40] = {40, 0, 0, 0, 16, 0, 0, 0, 0xF0, 0xFF, 0xFF, 0xFF, 1, 0,
                                4,  0, 0, 0, 0,  0, 0, 0, 0,    0,    0,    0,    0, 0,
                                0,  0, 0, 0, 16, 0, 0, 0, 16,   0,    0,    0};
  EXPECT_EQ(std::memcmp(app_state.bitmap_info, expected, sizeof expected), 0);
}

TEST_F(PictureTest, PaletteMatchesTheColourTable) {
  // blue, green, red
  const uint8_t expected[16][3] = {{0, 0, 0},     {255, 255, 255}, {0, 0, 255},   {0, 255, 0},
                                   {255, 0, 0},   {0, 255, 0},     {0, 255, 0},   {0, 255, 0},
                                   {0, 255, 63},  {0, 255, 127},   {0, 255, 255}, {0, 204, 255},
                                   {0, 153, 255}, {0, 102, 255},   {0, 50, 255},  {0, 0, 0}};
  const PaletteEntry* palette = picture_info()->palette;
  for (int i = 0; i < 16; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(palette[i].blue, expected[i][0]);
    EXPECT_EQ(palette[i].green, expected[i][1]);
    EXPECT_EQ(palette[i].red, expected[i][2]);
    EXPECT_EQ(palette[i].reserved, 0);
  }
}

TEST_F(PictureTest, PixelsPackTwoToAByteEvenColumnHigh) {
  picture_set_pixel(4, 3, 0xA);
  picture_set_pixel(5, 3, 0x6);
  picture_set_pixel(15, 15, 0x9);
  EXPECT_EQ(app_state.pixels[3 * 8 + 2], 0xA6);
  EXPECT_EQ(app_state.pixels[127], 0x09);
  picture_set_pixel(4, 3, 0x1);  // replaces only its own half
  EXPECT_EQ(app_state.pixels[3 * 8 + 2], 0x16);
}

TEST_F(PictureTest, RowZeroIsNeverDrawnAndKeepsTheClearColour) {
  picture_clear(3);
  for (int x = 0; x < 16; ++x) picture_set_pixel(x, 0, 1);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(app_state.pixels[i], 0x33);
  for (int i = 0; i < 128; ++i) ASSERT_EQ(app_state.pixels[i], 0x33) << i;
}

struct Band {
  uint32_t low, high;
  int32_t value;
};

TEST(PictureHistoryScale, RowOfEveryFreePercentage) {
  const Band rows[] = {{0, 7, 1},    {8, 14, 2},   {15, 21, 3},  {22, 28, 4},  {29, 35, 5},
                       {36, 42, 6},  {43, 49, 7},  {50, 57, 8},  {58, 64, 9},  {65, 71, 10},
                       {72, 78, 11}, {79, 85, 12}, {86, 92, 13}, {93, 99, 14}, {100, 100, 15}};
  for (const Band& band : rows) {
    for (uint32_t p = band.low; p <= band.high; ++p) {
      EXPECT_EQ(picture_history_row(p), band.value) << p << " % free";
    }
  }
}

TEST(PictureHistoryScale, ColourOfEveryFreePercentage) {
  const Band colours[] = {{0, 0, 15},   {1, 10, 14},  {11, 20, 13}, {21, 30, 12},
                          {31, 40, 11}, {41, 50, 10}, {51, 60, 9},  {61, 70, 8},
                          {71, 79, 7},  {80, 89, 6},  {90, 100, 5}};
  for (const Band& band : colours) {
    for (uint32_t p = band.low; p <= band.high; ++p) {
      EXPECT_EQ(picture_history_colour(p), band.value) << p << " % free";
    }
  }
}

TEST_F(PictureTest, FirstReadingIsOnePixelInTheRightmostColumn) {
  fill_history({50});
  picture_draw_history();
  auto columns = drawn_rows();
  EXPECT_EQ(columns[15], std::vector<int>{8});
  EXPECT_EQ(pixel(15, 8), 10);
  for (int x = 0; x < 15; ++x) EXPECT_TRUE(columns[x].empty()) << x;
}

TEST_F(PictureTest, EachColumnJoinsItsReadingToTheOlderOneInTheNewerColour) {
  // newest first: 100 % (row 15), 20 % (row 3), 57 % (row 8), 50 % (row 8), then empty slots
  fill_history({100, 20, 57, 50});
  picture_draw_history();
  auto columns = drawn_rows();
  EXPECT_EQ(columns[15], (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
  EXPECT_EQ(columns[14], (std::vector<int>{3, 4, 5, 6, 7, 8}));
  EXPECT_EQ(columns[13], std::vector<int>{8});  // 57 and 50 share row 8
  EXPECT_EQ(columns[12], std::vector<int>{8});  // the oldest reading: no older neighbour
  EXPECT_TRUE(columns[11].empty());
  EXPECT_EQ(pixel(15, 3), 5);
  EXPECT_EQ(pixel(14, 8), 13);
  EXPECT_EQ(pixel(13, 8), 9);
  EXPECT_EQ(pixel(12, 8), 10);
}

TEST_F(PictureTest, AnOlderReadingOfZeroPercentIsNotJoined) {
  fill_history({80, 0, 40});
  picture_draw_history();
  auto columns = drawn_rows();
  EXPECT_EQ(columns[15], std::vector<int>{12});
  EXPECT_EQ(pixel(15, 12), 6);
  // 0 % free is drawn in entry 15 on row 1: black like the background, but drawn and joined
  EXPECT_EQ(pixel(14, 1), 15);
  EXPECT_EQ(columns[14], (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(PictureTest, AFullHistoryDrawsTheSixteenthReadingAsASinglePixel) {
  fill_history({10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 90, 80, 70, 60, 50, 93});
  picture_draw_history();
  auto columns = drawn_rows();
  EXPECT_EQ(columns[0], std::vector<int>{14});
  EXPECT_EQ(columns[1], (std::vector<int>{8, 9, 10, 11, 12, 13, 14}));
}

TEST_F(PictureTest, ProgressFrameIsOneWhiteRowAndRowZeroIsAllBlack) {
  for (int row : {0, 1, 9, 15}) {
    picture_draw_disabled();  // something to clear away
    picture_draw_progress(row);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        ASSERT_EQ(pixel(x, y), (y == row && row != 0) ? 1 : 0) << row << ": " << x << "," << y;
      }
    }
  }
}

TEST_F(PictureTest, DisabledMarkIsARedOrangeCrossOnBlack) {
  picture_draw_progress(4);
  picture_draw_disabled();
  uint32_t rgb[256];
  picture_to_rgb(rgb);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      bool on_cross = x >= 1 && x <= 14 && (y == x || y == 15 - x);
      ASSERT_EQ(rgb[y * 16 + x], on_cross ? 0xFF3200u : 0u) << x << "," << y;
    }
  }
}

TEST_F(PictureTest, RenderingUsesThePaletteColours) {
  picture_set_pixel(0, 1, 1);
  picture_set_pixel(1, 1, 11);
  picture_set_pixel(2, 1, 4);
  uint32_t rgb[256];
  picture_to_rgb(rgb);
  EXPECT_EQ(rgb[16], 0xFFFFFFu);
  EXPECT_EQ(rgb[17], 0xFFCC00u);
  EXPECT_EQ(rgb[18], 0x0000FFu);
  EXPECT_EQ(rgb[19], 0u);
}

TEST_F(PictureTest, RenderingIntoNoBufferIsFatal) {
  EXPECT_EXIT(picture_to_rgb(nullptr), ::testing::ExitedWithCode(1), "Pointer is NULL");
}

}  // namespace
