// Recording double of the GUI seam: every timer and publish call in order, with the tooltip
// and the picture each publish showed.
#pragma once

#include <cstdint>
#include <vector>

enum class GuiCallKind { timer_stop, timer_start, publish };

struct GuiCall {
  GuiCallKind kind;
  int32_t value;  // the timer period, or the publish's add flag
  char tooltip[320];
  uint8_t pixels[128];
};

void gui_double_reset();
const std::vector<GuiCall>& gui_double_calls();
// Runs hook at the end of every publish (null: none), e.g. to look at a reclaim block between
// slices.
void gui_double_on_publish(void (*hook)());
