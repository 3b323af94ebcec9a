// The core lock: one process-wide recursive mutex that serialises composing and writing log
// entries and the allocator's bookkeeping. While locking is off every operation passes.
#include "core_state.h"
#include "kelvane-core.h"

namespace {

constexpr int32_t kLockingOff = 1;
constexpr int32_t kLockingOn = 0;

// Changes lock_disabled only while holding the mutex, so that no thread sees locking turn
// off between its take and its release.
int set_locking(int32_t disabled) {
  if (core_state.lock_disabled == disabled) return 1;
  if (!os_mutex_lock(core_state.lock)) return 0;
  core_state.lock_disabled = disabled;
  os_mutex_unlock(core_state.lock);
  return 1;
}

}  // namespace

int core_lock() {
  if (core_state.lock_disabled == kLockingOff) return 1;
  return os_mutex_lock(core_state.lock);
}

int core_unlock() {
  if (core_state.lock_disabled != kLockingOff) os_mutex_unlock(core_state.lock);
  return 1;
}

int core_lock_create() {
  core_state.lock = os_mutex_create();
  set_locking(kLockingOn);
  return 1;
}

int core_lock_destroy() {
  set_locking(kLockingOff);
  os_mutex_destroy(core_state.lock);
  core_state.lock = nullptr;
  return 1;
}
