#include <string>

#include "core_test_support.h"

namespace {

// Each death test's child starts the test executable afresh, so the core is in its load state
// where a test expects that.
class FatalTest : public CoreTest {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    CoreTest::SetUp();
  }
};

TEST_F(FatalTest, ReportsMessageAndLocationInTheBoxAndExitsWithOne) {
  EXPECT_EXIT(
      {
        fatal_at("x", 5);
        fatal_error("Pointer is NULL\n");
      },
      ::testing::ExitedWithCode(1),
      "^\\[message box: Internal error...\\]\nABORT: Pointer is NULL\n       \\(x/5\\)\n\n$");
}

TEST_F(FatalTest, WithoutALocationNamesUnknownAndLineZero) {
  EXPECT_EXIT(fatal_error("bad value %d\n", 7), ::testing::ExitedWithCode(1),
              "ABORT: bad value 7\n       \\(Unknown/0\\)");
}

TEST_F(FatalTest, GoesToTheLogFileWithItsLeadingNewlines) {
  std::string log = path("debug.log");
  EXPECT_EXIT(
      {
        core_init(log.c_str(), CORE_LOG_FILE | CORE_LOG_CACHE_WRITES);
        log_printf("before\n");
        fatal_at("kelvane-str", 863);
        fatal_error("Pointer is NULL\n");
      },
      ::testing::ExitedWithCode(1), "ABORT: Pointer is NULL");
  EXPECT_EQ(read_file(log),
            "before\r\n\r\n\r\nABORT: Pointer is NULL\r\n       (kelvane-str/863)\r\n");
}

TEST_F(FatalTest, SecondInitIsFatal) {
  EXPECT_EXIT(
      {
        core_init(path("debug.log").c_str(), 0);
        core_init(path("debug.log").c_str(), 0);
      },
      ::testing::ExitedWithCode(1),
      "ABORT: Kelvanecore already initialized\n       \\(kelvane-core/975\\)");
}

TEST_F(FatalTest, PerThreadWithoutAppendIsFatal) {
  EXPECT_EXIT(core_init(path("debug.log").c_str(), CORE_LOG_FILE | CORE_LOG_PER_THREAD),
              ::testing::ExitedWithCode(1),
              "ABORT: Threaded logging requires append to be on\n       "
              "\\(kelvane-core/913\\)");
}

}  // namespace
