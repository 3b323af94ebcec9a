// The log writer: sends each entry to the console and to the log file, choosing the file's
// name (dated, per thread), opening it with retries and committing it.
#include "core_state.h"
#include "kelvane-core.h"
#include "kelvane-str.h"
#include "log_internal.h"

namespace {

constexpr int kExtensionSize = 18;  // at most 17 characters are kept
constexpr int kTimestampSize = 80;
constexpr int kReportSize = 4096;
constexpr int kOpenAttempts = 10;
constexpr uint32_t kOpenRetryMs = 100;

// When the clock cannot be read the entry is still written: the file keeps the date that was
// read last (the undated name when none was ever read) and the timestamp is this placeholder.
const char kUnknownTimestamp[] = "--/--/---- --:--:-- ";

// Appends text to the zero-terminated buffer of size bytes, cutting what does not fit. Plain
// copying, so that a long name never makes the formatter report an overrun from inside the
// writer.
void append_cut(char* buffer, int size, const char* text) {
  int used = static_cast<int>(str_length(buffer));
  if (used < size - 1) str_copy(buffer + used, text, static_cast<unsigned>(size - used));
}

// Splits name at the last '.' of its file-name part: the stem stays in name, the extension
// (without the '.') goes to extension; without a '.', the extension is "log".
void split_extension(char* name, char* extension) {
  char* file_part = name;
  for (char* at = name; *at; at++) {
    if (*at == '\\' || *at == '/') file_part = at + 1;
  }
  char* dot = nullptr;
  for (char* at = file_part; *at; at++) {
    if (*at == '.') dot = at;
  }
  if (!dot) {
    str_copy(extension, "log", kExtensionSize);
    return;
  }
  str_copy(extension, dot + 1, kExtensionSize);
  *dot = '\0';
}

// Puts tag between the stem and the extension of name.
void insert_before_extension(char* name, const char* tag) {
  char extension[kExtensionSize];
  split_extension(name, extension);
  append_cut(name, kCorePathSize, tag);
  append_cut(name, kCorePathSize, ".");
  append_cut(name, kCorePathSize, extension);
}

int is_other_thread(uint32_t thread_id) {
  return thread_id != core_state.main_thread_id;
}

void write_console(const char* entry, uint32_t length, uint32_t thread_id) {
  uint32_t flags = core_state.core_flags;
  if (!(flags & CORE_LOG_CONSOLE)) return;
  if ((flags & CORE_LOG_PER_THREAD) && is_other_thread(thread_id)) return;
  os_console_write(core_state.console, entry, length);
}

enum ClockReading { kNoTime, kLastTime, kCurrentTime };

// Reads the clock for this entry; when it fails, now holds the last good reading, if any.
ClockReading read_clock(OsLocalTime* now) {
  static OsLocalTime last_read;
  static int has_last_read = 0;
  if (os_local_time(now)) {
    last_read = *now;
    has_last_read = 1;
    return kCurrentTime;
  }
  *now = last_read;
  return has_last_read ? kLastTime : kNoTime;
}

void format_timestamp(char* buffer, const OsLocalTime& now, ClockReading reading) {
  if (reading != kCurrentTime) {
    str_copy(buffer, kUnknownTimestamp, kTimestampSize);
    return;
  }
  bounded_format(buffer, kTimestampSize, "%.2d/%.2d/%.4d %.2d:%.2d:%.2d ", now.month, now.day,
                 now.year, now.hour, now.minute, now.second);
}

void report_open_failure(const char* entry, int error) {
  char report[kReportSize];
  bounded_format(report, kReportSize,
                 "Unable to create log file [%s] due to error [%d]\n -- String [",
                 core_state.log_path, error);
  append_cut(report, kReportSize, entry);
  append_cut(report, kReportSize, "]");
  os_message_box(report, "Internal error...");
}

// Opens log_path, trying ten times 100 ms apart; 1 when it is open.
int open_log_file(const char* entry) {
  int append = (core_state.core_flags & CORE_LOG_APPEND) != 0;
  int error = 0;
  for (int attempt = 0; attempt < kOpenAttempts; attempt++) {
    core_state.log_file = os_file_open(core_state.log_path, append);
    if (core_state.log_file) return 1;
    error = os_file_errno();
    os_sleep(kOpenRetryMs);
  }
  report_open_failure(entry, error);
  return 0;
}

// Makes the file named name the open log file; 1 when it is open.
int choose_log_file(const char* name, const char* entry) {
  if (!str_equal(name, core_state.log_path)) {
    str_copy(core_state.log_path, name, kCorePathSize);
    if (core_state.log_file) os_file_close(core_state.log_file);
    core_state.log_file = 0;
  }
  if (core_state.log_file) return 1;
  return open_log_file(entry);
}

void write_file(const char* entry, uint32_t length, uint32_t thread_id, int fatal) {
  uint32_t flags = core_state.core_flags;
  OsLocalTime now;
  ClockReading reading = read_clock(&now);
  char name[kCorePathSize];
  int per_thread = (flags & CORE_LOG_PER_THREAD) && is_other_thread(thread_id);
  int dated = (flags & CORE_LOG_DATED) && reading != kNoTime;
  build_log_file_name(name, core_state.log_base_path, dated ? &now : nullptr,
                      per_thread ? &thread_id : nullptr);
  char timestamp[kTimestampSize] = "";
  if (flags & CORE_LOG_TIMESTAMP) format_timestamp(timestamp, now, reading);

  if (!choose_log_file(name, entry)) return;
  if (timestamp[0]) os_file_write(core_state.log_file, timestamp, str_length(timestamp));
  os_file_write(core_state.log_file, entry, length);
  if (fatal || !(flags & CORE_LOG_CACHE_WRITES)) os_file_commit(core_state.log_file);
}

}  // namespace

void build_log_file_name(char* buffer, const char* base_path, const OsLocalTime* date,
                         const uint32_t* thread_id) {
  char tag[40];
  str_copy(buffer, base_path, kCorePathSize);
  if (date) {
    bounded_format(tag, sizeof tag, "-%.2d%.2d%.2d", date->month, date->day, date->year % 100);
    insert_before_extension(buffer, tag);
  }
  if (thread_id) {
    bounded_format(tag, sizeof tag, "-%u", *thread_id);
    insert_before_extension(buffer, tag);
  }
}

void log_output(const char* entry, int fatal) {
  uint32_t length = str_length(entry);
  uint32_t thread_id = os_thread_id();
  write_console(entry, length, thread_id);
  if (core_state.core_flags & CORE_LOG_FILE) write_file(entry, length, thread_id, fatal);
}
