// Test double of the OS layer's message box: a modal box with nobody to press OK would hang
// the test, so its caption and text go to standard error instead.
#include <cstdio>

#include "os.h"

void os_message_box(const char* text, const char* caption) {
  std::fprintf(stderr, "[message box: %s]\n%s\n", caption, text);
  std::fflush(stderr);
}
