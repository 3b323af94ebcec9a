// The real OS layer's memory status on this machine: only read, never acted on.
#include <gtest/gtest.h>

#include "os.h"

namespace {

TEST(OsMemory, StatusOfThisMachineIsSane) {
  OsMemoryStatus status{};
  status.length = sizeof status;
  ASSERT_EQ(os_memory_status(&status), 1);
  EXPECT_GT(status.total_phys, uint64_t{16} << 20);
  EXPECT_GT(status.avail_phys, 0u);
  EXPECT_LE(status.avail_phys, status.total_phys);
  EXPECT_LE(status.memory_load, 100u);
  EXPECT_GE(status.total_page_file, status.total_phys);
  EXPECT_LE(status.avail_page_file, status.total_page_file);
  EXPECT_GT(status.total_virtual, uint64_t{1} << 31);
  EXPECT_GT(status.avail_virtual, 0u);
  EXPECT_LE(status.avail_virtual, status.total_virtual);
}

TEST(OsMemory, SmallReclaimBlockComesAndGoes) {
  void* block = os_reclaim_alloc(4096);
  ASSERT_NE(block, nullptr);
  os_reclaim_free(block);
  os_heap_give_back();
}

}  // namespace
