// The memory status on Linux in the shape of the Windows record; giving free heap memory back.
//
// Physical memory: the total from sysinfo, the available share from MemAvailable (the
// kernel's estimate of what can be had without swapping). The commit figures add swap to
// both. The virtual figures are the address-space limit (the 47-bit user space of x86-64 when
// unlimited) and what the process has not mapped of it.
#include <malloc.h>
#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "os.h"

namespace {

constexpr uint64_t user_address_space = uint64_t{1} << 47;

struct MeminfoFigures {
  uint64_t available;  // bytes
  uint64_t swap_total;
  uint64_t swap_free;
  int has_available;
};

MeminfoFigures read_meminfo() {
  MeminfoFigures figures{};
  FILE* file = std::fopen("/proc/meminfo", "r");
  if (file == nullptr) return figures;
  char line[256];
  while (std::fgets(line, sizeof line, file) != nullptr) {
    char name[64];
    unsigned long long kib = 0;
    if (std::sscanf(line, "%63[^:]: %llu", name, &kib) != 2) continue;
    if (std::strcmp(name, "MemAvailable") == 0) {
      figures.available = kib * 1024;
      figures.has_available = 1;
    } else if (std::strcmp(name, "SwapTotal") == 0) {
      figures.swap_total = kib * 1024;
    } else if (std::strcmp(name, "SwapFree") == 0) {
      figures.swap_free = kib * 1024;
    }
  }
  std::fclose(file);
  return figures;
}

uint64_t address_space_limit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY ||
      limit.rlim_cur > user_address_space) {
    return user_address_space;
  }
  return limit.rlim_cur;
}

// Bytes of address space the process has mapped, from the first figure of /proc/self/statm.
uint64_t mapped_bytes() {
  FILE* file = std::fopen("/proc/self/statm", "r");
  if (file == nullptr) return 0;
  unsigned long long pages = 0;
  if (std::fscanf(file, "%llu", &pages) != 1) pages = 0;
  std::fclose(file);
  return pages * static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace

int os_memory_status(OsMemoryStatus* status) {
  struct sysinfo info {};
  if (sysinfo(&info) != 0) return 0;
  uint64_t unit = info.mem_unit;
  MeminfoFigures meminfo = read_meminfo();
  status->total_phys = info.totalram * unit;
  // Without MemAvailable (old kernels) the free and buffer memory is the best estimate.
  status->avail_phys =
      meminfo.has_available ? meminfo.available : (info.freeram + info.bufferram) * unit;
  if (status->avail_phys > status->total_phys) status->avail_phys = status->total_phys;
  status->total_page_file = status->total_phys + meminfo.swap_total;
  status->avail_page_file = status->avail_phys + meminfo.swap_free;
  status->total_virtual = address_space_limit();
  uint64_t mapped = mapped_bytes();
  status->avail_virtual = status->total_virtual > mapped ? status->total_virtual - mapped : 0;
  status->avail_extended_virtual = 0;
  uint64_t free_share =
      status->total_phys ? (status->avail_phys * 100 + status->total_phys / 2) / status->total_phys
                         : 0;
  status->memory_load = static_cast<uint32_t>(100 - free_share);
  return 1;
}

void os_heap_give_back() {
  malloc_trim(0);
}
