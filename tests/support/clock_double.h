// Test double of the OS layer's clock: the real local time until a test sets one.
#pragma once

#include "os.h"

// Every later os_local_time reports this time (null: the real clock again).
void clock_double_set(const OsLocalTime* time);
// Makes os_local_time fail, as when the clock cannot be read.
void clock_double_fail(int fail);
