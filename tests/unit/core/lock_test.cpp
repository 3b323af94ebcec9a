#include <atomic>
#include <chrono>
#include <thread>

#include "core_state.h"
#include "core_test_support.h"

namespace {

using CoreLockTest = CoreTest;

TEST_F(CoreLockTest, IsRecursiveAndKeepsOtherThreadsOutUntilTheLastRelease) {
  core_init(path("debug.log").c_str(), CORE_LOG_FILE);
  EXPECT_EQ(core_state.lock_disabled, 0);
  EXPECT_EQ(core_lock(), 1);
  EXPECT_EQ(core_lock(), 1);
  core_unlock();
  std::atomic<bool> logged{false};
  std::thread other([&logged] {
    log_printf("other\n");
    logged = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_FALSE(logged);
  log_printf("owner\n");  // the owner may enter again while holding it
  core_unlock();
  other.join();
  EXPECT_TRUE(logged);
  core_shutdown();
  EXPECT_EQ(read_file(path("debug.log")), "owner\r\nother\r\n");
}

TEST_F(CoreLockTest, IsOffBeforeInitAndAfterShutdown) {
  core_init(path("debug.log").c_str(), 0);
  core_shutdown();
  EXPECT_EQ(core_state.lock_disabled, 1);
  EXPECT_EQ(core_lock(), 1);
  EXPECT_EQ(core_unlock(), 1);
}

TEST_F(CoreLockTest, ShutdownTurnsOnAppendingAndKeepsTheOtherBits) {
  core_init(path("debug.log").c_str(), CORE_LOG_FILE | CORE_LOG_TIMESTAMP);
  core_shutdown();
  EXPECT_EQ(core_state.core_flags, CORE_LOG_FILE | CORE_LOG_TIMESTAMP | CORE_LOG_APPEND);
}

}  // namespace
