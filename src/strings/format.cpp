// The formatting pass: ordinary characters, tabs and directives into a bounded buffer.
#include "format_sink.h"
#include "kelvane-core.h"
#include "kelvane-str.h"
#include "str_fatal.h"

namespace {

constexpr int tab_stop = 4;

void walk(FormatSink* sink, const char* format, va_list* values) {
  const char* cursor = format;
  for (;;) {
    const char* run = cursor;
    while (*cursor != 0 && *cursor != '%' && *cursor != '\t') ++cursor;
    // A refused character means the buffer is full: nothing later could be stored either.
    if (cursor != run && !sink_put_text(sink, run, cursor - run)) return;
    if (*cursor == 0) return;
    if (*cursor == '\t') {
      sink_put_repeated(sink, ' ', tab_stop - sink->count % tab_stop);
      ++cursor;
    } else {
      ++cursor;
      if (!format_directive(sink, &cursor, values)) return;
    }
  }
}

// Terminates the output, cutting its last character when the buffer is full, and reports
// such an overrun with the template that caused it.
int finish(FormatSink* sink, const char* format) {
  const int overrun = sink->out == sink->end;
  if (overrun) {
    --sink->out;
    --sink->count;
  }
  sink_put(sink, 0);
  if (overrun) {
    log_write("\n\nERROR: The next string overran the print buffer!\nLINE: ");
    log_write(format);
  }
  return sink->count - 1;
}

}  // namespace

int bounded_vformat(char* buffer, int size, const char* format, va_list args) {
  if (buffer == nullptr) str_fatal_null_pointer(863);
  if (format == nullptr) str_fatal_null_pointer(347);
  FormatSink sink{};
  if (size < 1) {
    log_write("\n\nERROR: The next string too small to contain anything!\nLINE: ");
    log_write(format);
    return 0;
  }
  sink.out = buffer;
  sink.end = buffer + size;
  va_list values;
  va_copy(values, args);
  walk(&sink, format, &values);
  va_end(values);
  return finish(&sink, format);
}

int bounded_format(char* buffer, int size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = bounded_vformat(buffer, size, format, args);
  va_end(args);
  return result;
}
