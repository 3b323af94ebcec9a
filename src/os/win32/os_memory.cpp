// The memory status from the kernel, and the reclaim block from the C runtime heap.
#include <malloc.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "os.h"

static_assert(sizeof(MEMORYSTATUSEX) == sizeof(OsMemoryStatus),
              "OsMemoryStatus mirrors MEMORYSTATUSEX");

int os_memory_status(OsMemoryStatus* status) {
  MEMORYSTATUSEX record;
  std::memcpy(&record, status, sizeof record);
  if (!GlobalMemoryStatusEx(&record)) return 0;
  std::memcpy(status, &record, sizeof record);
  return 1;
}

void* os_reclaim_alloc(uint64_t bytes) {
  if (bytes > SIZE_MAX) return nullptr;
  return std::malloc(static_cast<size_t>(bytes));
}

void os_reclaim_free(void* block) {
  std::free(block);
}

void os_heap_give_back() {
  _heapmin();
}
