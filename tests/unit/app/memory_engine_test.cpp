// The memory engine end to end over the memory and GUI doubles: readings, the refresh, the
// tick's checks and the reclaim's steps, checked through the log, the seam calls and the block.
#include "memory_engine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app_fixture.h"
#include "gui_double.h"
#include "memory_double.h"

namespace {

using EngineTest = AppFixture;

std::vector<std::string> lines_containing(const std::vector<std::string>& lines, const char* part) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.find(part) != std::string::npos) found.push_back(line);
  }
  return found;
}

std::vector<GuiCallKind> call_kinds() {
  std::vector<GuiCallKind> kinds;
  for (const GuiCall& call : gui_double_calls()) kinds.push_back(call.kind);
  return kinds;
}

TEST_F(EngineTest, SampleConvertsBytesToRoundedMebibytesAndAWholePercentage) {
  OsMemoryStatus record{};
  record.memory_load = 77;
  record.total_phys = 8192 * mib + 524287;  // rounds down
  record.avail_phys = 100 * mib + 524288;   // a half rounds up
  record.total_page_file = 3 * mib - 1;
  record.avail_page_file = 524287;
  record.total_virtual = uint64_t{1} << 47;
  record.avail_virtual = 12345 * mib;
  record.avail_extended_virtual = 4242;
  memory_double_queue_record(record);
  MemoryReading reading;
  std::memset(&reading, 0xFF, sizeof reading);
  memory_sample(&reading);
  EXPECT_EQ(reading.length, 64u);
  EXPECT_EQ(reading.free_percent, 1u);  // 1.23 % of the bytes, not of the rounded MiB
  EXPECT_EQ(reading.total_phys_mb, 8192u);
  EXPECT_EQ(reading.avail_phys_mb, 101u);
  EXPECT_EQ(reading.total_page_file_mb, 3u);
  EXPECT_EQ(reading.avail_page_file_mb, 0u);
  EXPECT_EQ(reading.total_virtual_mb, 134217728u);
  EXPECT_EQ(reading.avail_virtual_mb, 12345u);
  EXPECT_EQ(reading.avail_extended_virtual, 4242u);
}

TEST_F(EngineTest, SampleOfAFailedStatusCallIsEmpty) {
  memory_double_queue_failure();
  MemoryReading reading;
  std::memset(&reading, 0xFF, sizeof reading);
  memory_sample(&reading);
  MemoryReading empty{};
  empty.length = 64;
  EXPECT_EQ(std::memcmp(&reading, &empty, sizeof reading), 0);
}

TEST_F(EngineTest, SampleIntoNoReadingIsFatal) {
  EXPECT_EXIT(memory_sample(nullptr), ::testing::ExitedWithCode(1), "Pointer is NULL");
}

TEST_F(EngineTest, RefreshPushesTheReadingDrawsLogsAndPublishes) {
  fill_history({90, 80, 70, 60, 50, 40, 30, 20, 10, 1, 2, 3, 4, 5, 6, 7});
  memory_double_queue_status(1000 * mib, 400 * mib);
  EXPECT_EQ(memory_refresh(), 1);
  EXPECT_EQ(app_state.history[0].free_percent, 40u);
  EXPECT_EQ(app_state.history[0].avail_phys_mb, 400u);
  EXPECT_EQ(app_state.history[1].free_percent, 90u);
  EXPECT_EQ(app_state.history[15].free_percent, 6u);  // the oldest, 7, is gone
  EXPECT_EQ(log_lines(), std::vector<std::string>{" 40% -- 400/1000m"});
  ASSERT_EQ(gui_double_calls().size(), 1u);
  const GuiCall& publish = gui_double_calls()[0];
  EXPECT_EQ(publish.kind, GuiCallKind::publish);
  EXPECT_EQ(publish.value, 0);
  EXPECT_STREQ(publish.tooltip, "Free: 400M (40%)");
  EXPECT_EQ(std::memcmp(publish.pixels, app_state.pixels, 128), 0);
  // the graph of the new history: 40 % on row 6 joined to 90 % on row 13, in entry 11
  EXPECT_EQ(publish.pixels[6 * 8 + 7] & 0x0F, 11);
  EXPECT_EQ(publish.pixels[13 * 8 + 7] & 0x0F, 11);
}

TEST_F(EngineTest, RefreshBelowTheMinimumRecordsOnlyTheReadingAfterTheReclaim) {
  memory_double_queue_status(100 * mib, 3 * mib);   // the reading: 3 % < 5 %
  memory_double_queue_status(100 * mib, 3 * mib);   // the reclaim's own status
  memory_double_queue_status(100 * mib, 40 * mib);  // the reading after it
  memory_refresh();
  EXPECT_EQ(app_state.history[0].free_percent, 40u);
  EXPECT_EQ(app_state.history[1].total_phys_mb, 0u);
  EXPECT_EQ(memory_double_status_reads(), 3);
  const std::vector<std::string> expected = {"AutoReclaim (3 < 5)", "Reclaim   5% (8192k)",
                                             " 40% -- 40/100m"};
  EXPECT_EQ(log_lines(), expected);
  EXPECT_STREQ(gui_double_calls().back().tooltip, "Free: 40M (40%)");
}

TEST_F(EngineTest, RefreshAtTheMinimumDoesNotReclaim) {
  memory_double_queue_status(100 * mib, 5 * mib);
  memory_refresh();
  EXPECT_EQ(log_lines(), std::vector<std::string>{"  5% -- 5/100m"});
  EXPECT_TRUE(memory_double_attempts().empty());
}

TEST_F(EngineTest, RefreshOfAFailedStatusCallDecidesNothing) {
  memory_double_queue_failure();
  memory_refresh();
  EXPECT_EQ(log_lines(), std::vector<std::string>{"  0% -- 0/0m"});
  EXPECT_TRUE(memory_double_attempts().empty());
  EXPECT_STREQ(gui_double_calls().back().tooltip, "Free: 0M (0%)");
}

TEST_F(EngineTest, DisabledTickDoesNothing) {
  cfg.disabled = 1;
  memory_double_queue_status(100 * mib, 1 * mib);
  EXPECT_EQ(memory_tick(), 0);
  EXPECT_EQ(memory_double_status_reads(), 0);
  EXPECT_TRUE(gui_double_calls().empty());
  EXPECT_EQ(app_state.tick_count, 0);
  EXPECT_TRUE(log_lines().empty());
}

TEST_F(EngineTest, DefaultRatesCheckAfter47And479StableTicks) {
  memory_double_queue_status(1000 * mib, 800 * mib);
  memory_refresh();  // the reading taken when the window is created
  for (int i = 0; i < 480; ++i) ASSERT_EQ(memory_tick(), 1);
  std::vector<std::string> expected;
  for (int tick = 47; tick <= 479; tick += 48) {
    if (tick == 479) expected.push_back("AgroCheck: [479] (80 < 70)");
    expected.push_back("AutoCheck: [" + std::to_string(tick) + "] (80 < 20)");
  }
  EXPECT_EQ(lines_containing(log_lines(), "Check"), expected);
  EXPECT_EQ(app_state.tick_count, 480);
  EXPECT_EQ(app_state.stable_count, 480);
  EXPECT_TRUE(memory_double_attempts().empty());
}

TEST_F(EngineTest, AnUnstableTickRestartsTheCount) {
  cfg.auto_reclaim_rate = 2 * cfg.refresh_rate;  // period 2
  memory_double_queue_status(1000 * mib, 800 * mib);
  memory_refresh();
  const uint64_t avail_mb[] = {800, 820, 600, 600, 600};  // 20 MiB is stable, 220 MiB is not
  const int32_t stable[] = {1, 2, 0, 1, 2};
  for (int i = 0; i < 5; ++i) {
    memory_double_queue_status(1000 * mib, avail_mb[i] * mib);
    memory_tick();
    EXPECT_EQ(app_state.stable_count, stable[i]) << i;
  }
  const std::vector<std::string> expected = {"AutoCheck: [1] (80 < 20)",
                                             "AutoCheck: [4] (60 < 20)"};
  EXPECT_EQ(lines_containing(log_lines(), "Check"), expected);
}

TEST_F(EngineTest, BothChecksDueTopUpFromTheSameReading) {
  cfg.aggressive_rate = cfg.refresh_rate;    // period 1
  cfg.auto_reclaim_rate = cfg.refresh_rate;  // period 1
  memory_double_queue_status(100 * mib, 10 * mib);
  memory_refresh();
  memory_tick();
  const std::vector<std::string> expected = {" 10% -- 10/100m",          " 10% -- 10/100m",
                                             "AgroCheck: [1] (10 < 70)", "Reclaim  60% (71680k)",
                                             "AutoCheck: [1] (10 < 20)", "Reclaim  10% (20480k)"};
  EXPECT_EQ(log_lines(), expected);
  EXPECT_EQ(memory_double_status_reads(), 4);  // two readings, one status per reclaim
}

TEST_F(EngineTest, PeriodicCheckPassesAFractionalPercent) {
  cfg.refresh_rate = 60000;
  cfg.auto_reclaim_rate = 60000;
  cfg.aggressive_rate = 0;
  memory_double_queue_status(800 * mib, 150 * mib);  // 18.75 % free, shown as 19
  memory_refresh();
  memory_tick();
  const std::vector<std::string> expected = {"AutoCheck: [1] (19 < 20)", "Reclaim   1% (163840k)"};
  std::vector<std::string> lines = log_lines();
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()), expected);
  EXPECT_EQ(memory_double_attempts(), std::vector<uint64_t>{160 * mib});
}

TEST_F(EngineTest, AggressiveRateBelowTheRefreshPeriodChecksEveryTick) {
  cfg.aggressive_rate = 500;
  memory_double_queue_status(1000 * mib, 800 * mib);
  memory_refresh();
  memory_double_queue_status(1000 * mib, 200 * mib);  // unstable, still checked
  memory_tick();
  memory_tick();
  const std::vector<std::string> expected = {"AgroCheck: [1] (20 < 70)",
                                             "AgroCheck: [2] (20 < 70)"};
  EXPECT_EQ(lines_containing(log_lines(), "AgroCheck"), expected);
}

// What a publish hook saw of the reclaim block: the length of its zeroed prefix.
std::vector<int64_t> zeroed_at_publish;
int64_t reclaim_block_bytes = 0;

void note_zeroed_prefix() {
  const uint8_t* block = memory_double_block();
  if (block == nullptr) {
    zeroed_at_publish.push_back(-1);
    return;
  }
  int64_t zeroed = 0;
  while (zeroed < reclaim_block_bytes && block[zeroed] == 0) ++zeroed;
  zeroed_at_publish.push_back(zeroed);
}

TEST_F(EngineTest, ReclaimStepsInOrderWithAProgressFrameBeforeEachSlice) {
  cfg.refresh_rate = 5000;
  memory_double_queue_status(1000, 37);  // 5 % of 1000 bytes on top of 37: 87 bytes
  reclaim_block_bytes = 87;
  zeroed_at_publish.clear();
  gui_double_on_publish(note_zeroed_prefix);
  EXPECT_EQ(memory_reclaim(5), 1);

  std::vector<GuiCallKind> expected_kinds = {GuiCallKind::timer_stop};
  expected_kinds.insert(expected_kinds.end(), 17, GuiCallKind::publish);
  expected_kinds.push_back(GuiCallKind::timer_start);
  EXPECT_EQ(call_kinds(), expected_kinds);
  const std::vector<GuiCall>& calls = gui_double_calls();
  EXPECT_EQ(calls.back().value, 5000);
  for (int j = 1; j <= 17; ++j) {
    SCOPED_TRACE(j);
    EXPECT_EQ(calls[j].value, 0);
    EXPECT_STREQ(calls[j].tooltip, "Freeing Memory...");
    int white_row = j - 2;  // the blank icon first, then the frames for rows 0..15
    for (int y = 0; y < 16; ++y) {
      uint8_t row_byte = (y == white_row && y != 0) ? 0x11 : 0x00;
      for (int b = 0; b < 8; ++b) ASSERT_EQ(calls[j].pixels[y * 8 + b], row_byte) << y;
    }
  }
  // slice 5: at each frame's publish, the slices before it are zero and no more
  std::vector<int64_t> expected_zeroed = {-1};
  for (int i = 0; i < 16; ++i) expected_zeroed.push_back(i * 5);
  EXPECT_EQ(zeroed_at_publish, expected_zeroed);

  const uint8_t* block = memory_double_block();
  for (int i = 0; i < 80; ++i) ASSERT_EQ(block[i], 0) << i;
  for (int i = 80; i < 87; ++i) EXPECT_EQ(block[i], memory_double_fill) << i;  // 87 mod 16
  EXPECT_EQ(memory_double_releases(), 1);
  EXPECT_EQ(memory_double_give_backs(), 1);
  EXPECT_EQ(log_lines(), std::vector<std::string>{"Reclaim   5% (0k)"});
}

TEST_F(EngineTest, FailedAllocationsBackOffByOneMebibyte) {
  memory_double_queue_status(100 * mib, 10 * mib);  // 5 %: 15 MiB
  memory_double_fail_next(3);
  memory_reclaim(5);
  const std::vector<uint64_t> attempts = {15 * mib, 14 * mib, 13 * mib, 12 * mib};
  EXPECT_EQ(memory_double_attempts(), attempts);
  const std::vector<std::string> expected = {"Reclaim   5% (15360k)", "Reclaim   5% (14336k)",
                                             "Reclaim   5% (13312k)", "Reclaim   5% (12288k)"};
  EXPECT_EQ(log_lines(), expected);
  EXPECT_EQ(memory_double_releases(), 1);
  EXPECT_EQ(gui_double_calls().size(), 19u);
}

TEST_F(EngineTest, NoAttemptAfterTheFirstIsBelowOneMebibyte) {
  struct Case {
    uint64_t avail;  // with 0 % of nothing: the amount is the available memory
    std::vector<uint64_t> attempts;
    std::vector<std::string> log;
  };
  const Case cases[] = {
      {mib / 2, {mib / 2}, {"Reclaim   0% (512k)", "Total memory reclaim failure"}},
      {5 * mib / 2,
       {5 * mib / 2, 3 * mib / 2},
       {"Reclaim   0% (2560k)", "Reclaim   0% (1536k)", "Total memory reclaim failure"}},
      {2 * mib,
       {2 * mib, mib},
       {"Reclaim   0% (2048k)", "Reclaim   0% (1024k)", "Total memory reclaim failure"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.avail);
    TearDown();
    SetUp();
    memory_double_queue_status(0, c.avail);
    memory_double_fail_next(1000);
    memory_reclaim(0);
    EXPECT_EQ(memory_double_attempts(), c.attempts);
    EXPECT_EQ(log_lines(), c.log);
    const std::vector<GuiCallKind> kinds = {GuiCallKind::timer_stop, GuiCallKind::publish,
                                            GuiCallKind::timer_start};
    EXPECT_EQ(call_kinds(), kinds);
    EXPECT_EQ(memory_double_releases(), 0);
    EXPECT_EQ(memory_double_give_backs(), 1);
  }
}

}  // namespace
