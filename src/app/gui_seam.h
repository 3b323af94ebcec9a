// What the portable engine asks of the GUI: the refresh timer and the tray icon. Defined by
// the Win32 glue; tests link a recording double.
#pragma once

#include <cstdint>

void refresh_timer_stop();
void refresh_timer_start(int32_t period_ms);
// Makes an icon of the current picture and hands it to the tray with the tooltip: add 1 adds
// the tray icon, any other value modifies it.
void picture_publish(int32_t add, const char* tooltip);
