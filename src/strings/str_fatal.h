// The string layer's report of a null pointer: fatal, naming this module and a fixed line.
#pragma once

#include "kelvane-core.h"

[[noreturn]] inline void str_fatal_null_pointer(int line) {
  fatal_at("kelvane-str", line);
  fatal_error("Pointer is NULL\n");
}
