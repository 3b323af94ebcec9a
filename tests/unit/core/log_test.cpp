#include <chrono>
#include <string>
#include <thread>

#include "core_state.h"
#include "core_test_support.h"

namespace {

const uint32_t kFileOnly = CORE_LOG_FILE;

std::string banner() {
  std::string revision = KELVANE_REVISION;
  if (revision[0] == '?') return "KelvaneCore v0.50\r\n";
  return "KelvaneCore v0.50 (rev: " + revision + ")\r\n";
}

using LogTest = CoreTest;

TEST_F(LogTest, DebugStartsTheFileWithTheBanner) {
  uint32_t options = 0;
  core_parse_options(&options, "-debug");
  core_init(path("debug.log").c_str(), options);
  log_printf("%d entries\n", 2);
  core_shutdown();
  EXPECT_EQ(read_file(path("debug.log")), banner() + "2 entries\r\n");
}

TEST_F(LogTest, NothingIsWrittenWithoutAnOutputBit) {
  for (uint32_t options : {0u, CORE_LOG_INFO | CORE_LOG_APPEND | CORE_LOG_PER_THREAD,
                           CORE_LOG_EXTERNAL | CORE_LOG_INFO}) {
    core_init(path("debug.log").c_str(), options);
    log_printf("entry\n");
    log_section("name");
    log_write("text\n");
    core_shutdown();
    EXPECT_FALSE(file_exists(path("debug.log"))) << options;
  }
}

TEST_F(LogTest, SectionLinesAreSeventyNineCharacters) {
  core_init(path("debug.log").c_str(), kFileOnly);
  log_section(nullptr);
  log_section("Memory Init");
  std::string long_name(100, 'n');
  log_section(long_name.c_str());
  core_shutdown();
  EXPECT_EQ(read_file(path("debug.log")), std::string(79, '=') + "\r\n" + "====[Memory Init]" +
                                              std::string(62, '=') + "\r\n" + "====[" +
                                              std::string(74, 'n') + "\r\n");
}

TEST_F(LogTest, EntriesLongerThan4086AreFollowedByAWarning) {
  const std::string warning = "\r\n\r\n***** Last string too large for debug buffer\r\n\r\n";
  core_init(path("debug.log").c_str(), kFileOnly);
  std::string whole(4086, 'a');
  log_printf("%s", whole.c_str());
  core_shutdown();
  EXPECT_EQ(read_file(path("debug.log")), whole);

  core_init(path("debug.log").c_str(), kFileOnly);
  std::string longer(4087, 'b');
  log_printf("%s", longer.c_str());
  core_shutdown();
  EXPECT_EQ(read_file(path("debug.log")), longer + warning);
}

TEST_F(LogTest, AnOverrunEntryIsCutAfterTheFormattersReport) {
  core_init(path("debug.log").c_str(), kFileOnly);
  std::string huge(5000, 'c');
  log_printf("%s", huge.c_str());
  core_shutdown();
  std::string log = read_file(path("debug.log"));
  size_t report = log.find("ERROR: The next string overran the print buffer!");
  size_t entry = log.find(std::string(4095, 'c'));
  ASSERT_NE(report, std::string::npos);
  ASSERT_NE(entry, std::string::npos);
  EXPECT_LT(report, entry);
  EXPECT_EQ(log.find(std::string(4096, 'c')), std::string::npos);
  EXPECT_NE(log.find("***** Last string too large for debug buffer", entry), std::string::npos);
}

TEST_F(LogTest, TimestampPrecedesEachFileEntryButNotTheConsoleOne) {
  OsLocalTime now = local_time(2011, 3, 3, 14, 5, 9);
  clock_double_set(&now);
  ::testing::internal::CaptureStdout();
  core_init(path("debug.log").c_str(), CORE_LOG_FILE | CORE_LOG_CONSOLE | CORE_LOG_TIMESTAMP);
  log_printf("one\n");
  log_printf("two\n");
  core_shutdown();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "one\ntwo\n");
  EXPECT_EQ(read_file(path("debug.log")), "03/03/2011 14:05:09 one\r\n03/03/2011 14:05:09 two\r\n");
}

TEST_F(LogTest, ConsoleAloneGetsEntriesButNoBannerAndNoFile) {
  ::testing::internal::CaptureStdout();
  uint32_t options = 0;
  core_parse_options(&options, "-window");
  core_init(path("debug.log").c_str(), options);
  log_printf("seen %s\n", "here");
  core_shutdown();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "seen here\n");
  EXPECT_FALSE(file_exists(path("debug.log")));
}

TEST_F(LogTest, DatedFileChangesAtMidnightAndContinuesAnExistingOne) {
  write_file(path("debug-030311.log"), "earlier\r\n");
  OsLocalTime before = local_time(2011, 3, 2, 23, 59, 59);
  OsLocalTime after = local_time(2011, 3, 3, 0, 0, 0);
  clock_double_set(&before);
  core_init(path("debug.log").c_str(), CORE_LOG_FILE | CORE_LOG_DATED | CORE_LOG_APPEND);
  log_printf("late\n");
  clock_double_set(&after);
  log_printf("early\n");
  core_shutdown();
  EXPECT_EQ(read_file(path("debug-030211.log")), "late\r\n");
  EXPECT_EQ(read_file(path("debug-030311.log")), "earlier\r\nearly\r\n");
  EXPECT_FALSE(file_exists(path("debug.log")));
}

TEST_F(LogTest, UnreadableClockKeepsTheLastDateAndMarksTheTimestampUnknown) {
  OsLocalTime now = local_time(2011, 3, 3, 14, 5, 9);
  clock_double_set(&now);
  core_init(path("debug.log").c_str(), CORE_LOG_FILE | CORE_LOG_DATED | CORE_LOG_TIMESTAMP);
  log_printf("known\n");
  clock_double_fail(1);
  log_printf("unknown\n");
  core_shutdown();
  EXPECT_EQ(read_file(path("debug-030311.log")),
            "03/03/2011 14:05:09 known\r\n--/--/---- --:--:-- unknown\r\n");
}

TEST_F(LogTest, AppendKeepsTheFileOtherwiseTheFirstEntryEmptiesIt) {
  write_file(path("debug.log"), "old\r\n");
  core_init(path("debug.log").c_str(), kFileOnly | CORE_LOG_APPEND);
  log_printf("new\n");
  core_shutdown();
  EXPECT_EQ(read_file(path("debug.log")), "old\r\nnew\r\n");

  core_init(path("debug.log").c_str(), kFileOnly);
  EXPECT_EQ(read_file(path("debug.log")), "old\r\nnew\r\n");  // untouched until an entry
  log_printf("fresh\n");
  log_printf("more\n");
  core_shutdown();
  EXPECT_EQ(read_file(path("debug.log")), "fresh\r\nmore\r\n");
}

TEST_F(LogTest, EntriesAfterShutdownAppendToTheSameFileWithoutTheLock) {
  core_init(path("debug.log").c_str(), kFileOnly);
  log_printf("running\n");
  core_shutdown();
  EXPECT_EQ(core_state.lock, nullptr);
  EXPECT_EQ(core_state.lock_disabled, 1);
  log_printf("Successful Exit...\n");
  log_write("raw\n");
  core_shutdown();
  EXPECT_EQ(read_file(path("debug.log")), "running\r\nSuccessful Exit...\r\nraw\r\n");
}

TEST_F(LogTest, PerThreadEntriesGoToTheThreadsOwnFileAndNeverToTheConsole) {
  ::testing::internal::CaptureStdout();
  core_init(path("debug.log").c_str(),
            CORE_LOG_CONSOLE | CORE_LOG_FILE | CORE_LOG_PER_THREAD | CORE_LOG_APPEND);
  log_printf("main one\n");
  uint32_t worker_id = 0;
  std::thread worker([&worker_id] {
    worker_id = os_thread_id();
    log_printf("worker one\n");
    log_printf("worker two\n");
  });
  worker.join();
  log_printf("main two\n");
  core_shutdown();
  EXPECT_EQ(::testing::internal::GetCapturedStdout(), "main one\nmain two\n");
  EXPECT_EQ(read_file(path("debug.log")), "main one\r\nmain two\r\n");
  EXPECT_EQ(read_file(path("debug-" + std::to_string(worker_id) + ".log")),
            "worker one\r\nworker two\r\n");
}

TEST_F(LogTest, UnopenableFileIsTriedTenTimesThenReportedInABox) {
  std::string missing = path("missing/debug.log");
  core_init(missing.c_str(), kFileOnly);
  ::testing::internal::CaptureStderr();
  auto start = std::chrono::steady_clock::now();
  log_printf("hello %d\n", 1);
  auto elapsed = std::chrono::steady_clock::now() - start;
  std::string box = ::testing::internal::GetCapturedStderr();
  core_shutdown();
  EXPECT_GE(elapsed, std::chrono::milliseconds(950));  // ten waits of 100 ms
  EXPECT_EQ(box, "[message box: Internal error...]\nUnable to create log file [" + missing +
                     "] due to error [2]\n -- String [hello 1\n]\n");
}

TEST_F(LogTest, CachedWritesStillReachTheFile) {
  core_init(path("debug.log").c_str(), kFileOnly | CORE_LOG_CACHE_WRITES);
  log_printf("cached\n");
  EXPECT_EQ(read_file(path("debug.log")), "cached\r\n");
}

}  // namespace
