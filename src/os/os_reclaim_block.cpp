// The reclaim block comes straight from the C runtime heap on every platform.
#include <cstdint>
#include <cstdlib>

#include "os.h"

void* os_reclaim_alloc(uint64_t bytes) {
  if (bytes > SIZE_MAX) return nullptr;
  return std::malloc(static_cast<size_t>(bytes));
}

void os_reclaim_free(void* block) {
  std::free(block);
}
