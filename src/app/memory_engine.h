// The memory engine: readings, the 16-slot history, the automatic checks and the reclaim.
// Everything runs on the GUI thread and works on app_state.
#pragma once

#include "app_state.h"

// Fills reading from the platform's memory status: the free share as a whole percentage and
// the six sizes in MiB, both rounded halves up. A failed status call leaves the reading zero
// except its length; such an empty reading never triggers a reclaim.
int memory_sample(MemoryReading* reading);

// One reading (after a minimum reclaim when free memory is below the minimum boundary) into the
// history; redraws the graph, logs the reading and publishes the picture with its tooltip.
int memory_refresh();

// One refresh-timer tick: the refresh, the stability count and the aggressive and periodic
// checks. Returns 0 without doing anything while disabled, so the tick is left to the default
// handling; otherwise 1.
int memory_tick();

// Claims percent of total physical memory on top of the available memory in one block, zeroes
// it in sixteen slices with a progress frame before each, and releases it. Backs off by 1 MiB
// while the allocation fails. Returns 1 in every case.
int memory_reclaim(double percent);
