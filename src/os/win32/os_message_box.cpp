// The modal error box on Win32.
#include <windows.h>

#include "os.h"

void os_message_box(const char* text, const char* caption) {
  MessageBoxA(NULL, text, caption, MB_ICONERROR);
}
