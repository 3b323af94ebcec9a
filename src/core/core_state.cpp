// The one CoreState of the process. Everything is zero at load except lock_disabled: locking
// stays off until core_init creates the mutex.
#include "core_state.h"

CoreState core_state = {0, 1, nullptr, 0, nullptr, {}, {}, 0, nullptr, 0, {}};

const char kCoreSourceFile[] = "kelvane-core";
