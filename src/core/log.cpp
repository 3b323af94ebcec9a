// Composing debug-log entries: ordinary and fatal entries, raw texts and section lines.
#include "core_state.h"
#include "kelvane-core.h"
#include "kelvane-str.h"
#include "log_internal.h"

namespace {

// Entries longer than this are followed by a warning that they were probably cut.
constexpr int kLongestWholeEntry = 4086;
constexpr int kSectionWidth = 79;

int gate_open() {
  return (core_state.core_flags & (CORE_LOG_CONSOLE | CORE_LOG_FILE | CORE_LOG_EXTERNAL)) != 0;
}

int compose_fatal(const char* format, va_list args) {
  char* buffer = core_state.message_buffer;
  const char* file = core_state.fatal_file ? core_state.fatal_file : "Unknown";
  int length = bounded_format(buffer, kMessageBufferSize, "\n\n%s", "ABORT: ");
  length += bounded_vformat(buffer + length, kMessageBufferSize - length, format, args);
  length += bounded_format(buffer + length, kMessageBufferSize - length, "       (%s/%d)\n", file,
                           core_state.fatal_line);
  return length;
}

}  // namespace

void log_vmessage(int fatal, const char* format, va_list args) {
  char* buffer = core_state.message_buffer;
  int length = fatal ? compose_fatal(format, args)
                     : bounded_vformat(buffer, kMessageBufferSize, format, args);
  log_output(buffer, fatal);
  // The box leaves out the two newlines that set the report apart in the log.
  if (fatal) os_message_box(buffer + 2, "Internal error...");
  if (length > kLongestWholeEntry) {
    log_message(0, "\n\n***** Last string too large for debug buffer\n\n");
  }
}

void log_message(int fatal, const char* format, ...) {
  va_list args;
  va_start(args, format);
  log_vmessage(fatal, format, args);
  va_end(args);
}

int log_printf(const char* format, ...) {
  if (core_state.core_flags == 0 || !gate_open()) return 1;
  core_lock();
  va_list args;
  va_start(args, format);
  log_vmessage(0, format, args);
  va_end(args);
  core_unlock();
  return 1;
}

int log_printf_nolock(const char* format, ...) {
  va_list args;
  va_start(args, format);
  log_vmessage(0, format, args);
  va_end(args);
  return 1;
}

int log_write(const char* text) {
  if (!text) return 0;
  if (core_state.core_flags == 0) return 1;
  core_lock();
  log_output(text, 0);
  core_unlock();
  return 1;
}

int log_section(const char* name) {
  if (core_state.core_flags == 0) return 1;
  core_lock();
  char* buffer = core_state.message_buffer;
  int length = name ? bounded_format(buffer, kMessageBufferSize, "====[%s]", name)
                    : bounded_format(buffer, kMessageBufferSize, "====");
  for (; length < kSectionWidth; length++) buffer[length] = '=';
  buffer[kSectionWidth] = '\n';
  buffer[kSectionWidth + 1] = '\0';
  log_output(buffer, 0);
  core_unlock();
  return 1;
}
