// Double of the OS layer's memory services.
#include "memory_double.h"

#include <cstdlib>
#include <cstring>

namespace {

struct ScriptedStatus {
  OsMemoryStatus record;
  int fails;
};

struct MemoryDouble {
  std::vector<ScriptedStatus> statuses;
  size_t next_status = 0;
  int status_reads = 0;
  int failures_left = 0;
  uint8_t* lent_block = nullptr;
  uint64_t lent_size = 0;
  std::vector<uint64_t> attempts;
  uint8_t* block = nullptr;
  int block_owned = 0;
  int releases = 0;
  int give_backs = 0;
};

MemoryDouble state;

void drop_block() {
  if (state.block_owned) std::free(state.block);
  state.block = nullptr;
  state.block_owned = 0;
}

}  // namespace

void memory_double_reset() {
  drop_block();
  state = MemoryDouble{};
}

void memory_double_queue_record(const OsMemoryStatus& record) {
  state.statuses.push_back(ScriptedStatus{record, 0});
}

void memory_double_queue_status(uint64_t total_bytes, uint64_t avail_bytes) {
  OsMemoryStatus record{};
  record.total_phys = total_bytes;
  record.avail_phys = avail_bytes;
  record.total_page_file = total_bytes * 2;
  record.avail_page_file = avail_bytes + total_bytes;
  record.total_virtual = uint64_t{1} << 47;
  record.avail_virtual = (uint64_t{1} << 47) - (uint64_t{64} << 20);
  memory_double_queue_record(record);
}

void memory_double_queue_failure() {
  state.statuses.push_back(ScriptedStatus{{}, 1});
}

int memory_double_status_reads() {
  return state.status_reads;
}

void memory_double_fail_next(int count) {
  state.failures_left = count;
}

void memory_double_lend_block(uint8_t* block, uint64_t size) {
  state.lent_block = block;
  state.lent_size = size;
}

const std::vector<uint64_t>& memory_double_attempts() {
  return state.attempts;
}

uint8_t* memory_double_block() {
  return state.block;
}

int memory_double_releases() {
  return state.releases;
}

int memory_double_give_backs() {
  return state.give_backs;
}

int os_memory_status(OsMemoryStatus* status) {
  ++state.status_reads;
  if (state.statuses.empty()) return 0;
  size_t index =
      state.next_status < state.statuses.size() ? state.next_status++ : state.statuses.size() - 1;
  const ScriptedStatus& scripted = state.statuses[index];
  if (scripted.fails) return 0;
  uint32_t length = status->length;
  *status = scripted.record;
  status->length = length;
  return 1;
}

void* os_reclaim_alloc(uint64_t bytes) {
  state.attempts.push_back(bytes);
  if (state.failures_left > 0) {
    --state.failures_left;
    return nullptr;
  }
  drop_block();
  if (state.lent_block != nullptr && bytes <= state.lent_size) {
    state.block = state.lent_block;
    return state.block;
  }
  if (bytes > memory_double_block_cap) return nullptr;
  // One spare byte so that a zero-byte request still gets a distinct block.
  state.block = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(bytes) + 1));
  state.block_owned = 1;
  std::memset(state.block, memory_double_fill, static_cast<size_t>(bytes) + 1);
  return state.block;
}

void os_reclaim_free(void*) {
  ++state.releases;
}

void os_heap_give_back() {
  ++state.give_backs;
}
