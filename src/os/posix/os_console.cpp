// The console on Linux is the process's standard output; it has no window and no title.
#include <unistd.h>

#include "os.h"

namespace {
int standard_output = STDOUT_FILENO;
}

void* os_console_open() {
  return &standard_output;
}

void os_console_set_title(const char*) {}

void os_console_write(void* console, const char* text, uint32_t length) {
  if (!console) return;
  int file = *static_cast<int*>(console);
  while (length > 0) {
    ssize_t written = write(file, text, length);
    if (written <= 0) return;
    text += written;
    length -= static_cast<uint32_t>(written);
  }
}
