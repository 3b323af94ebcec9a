// The console window on Win32.
#include <windows.h>

#include "os.h"

void* os_console_open() {
  AllocConsole();
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  return output == INVALID_HANDLE_VALUE ? nullptr : output;
}

void os_console_set_title(const char* title) {
  SetConsoleTitleA(title);
}

void os_console_write(void* console, const char* text, uint32_t length) {
  DWORD written = 0;
  WriteFile(static_cast<HANDLE>(console), text, length, &written, NULL);
}
