// Recording double of the GUI seam.
#include "gui_double.h"

#include <cstring>

#include "app_state.h"
#include "gui_seam.h"
#include "kelvane-str.h"

namespace {

std::vector<GuiCall> calls;
void (*publish_hook)() = nullptr;

GuiCall& record(GuiCallKind kind, int32_t value) {
  calls.push_back(GuiCall{});
  GuiCall& call = calls.back();
  call.kind = kind;
  call.value = value;
  return call;
}

}  // namespace

void gui_double_reset() {
  calls.clear();
  publish_hook = nullptr;
}

const std::vector<GuiCall>& gui_double_calls() {
  return calls;
}

void gui_double_on_publish(void (*hook)()) {
  publish_hook = hook;
}

void refresh_timer_stop() {
  record(GuiCallKind::timer_stop, 0);
}

void refresh_timer_start(int32_t period_ms) {
  record(GuiCallKind::timer_start, period_ms);
}

void picture_publish(int32_t add, const char* tooltip) {
  GuiCall& call = record(GuiCallKind::publish, add);
  str_copy(call.tooltip, tooltip, sizeof call.tooltip);
  std::memcpy(call.pixels, app_state.pixels, sizeof call.pixels);
  if (publish_hook != nullptr) publish_hook();
}
