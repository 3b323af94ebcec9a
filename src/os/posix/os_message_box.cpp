// Linux has no message box: the caption and the text go to standard error.
#include <cstdio>

#include "os.h"

void os_message_box(const char* text, const char* caption) {
  std::fprintf(stderr, "[message box: %s]\n%s\n", caption, text);
  std::fflush(stderr);
}
