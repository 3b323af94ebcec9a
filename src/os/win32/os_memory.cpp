// The memory status from the kernel, and giving free heap memory back.
#include <malloc.h>
#include <windows.h>

#include <cstdint>
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

void os_heap_give_back() {
  _heapmin();
}
