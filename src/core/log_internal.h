// Internal steps of the debug log: composing entries, writing them, and the pure path and
// name rules behind them.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "os.h"

// Composes one entry in the message buffer and writes it. A fatal entry carries the "ABORT: "
// prefix and the recorded location, and is also shown in a message box. The caller holds the
// core lock.
void log_message(int fatal, const char* format, ...);
void log_vmessage(int fatal, const char* format, va_list args);

// The writer: sends one entry to the console and the log file as core_flags ask. The caller
// holds the core lock (or locking is off).
void log_output(const char* entry, int fatal);

// Log path of core_init: name used as given when it starts with a drive ("c:") or a slash or
// backslash, otherwise put in the directory of exe_path (long-path and network prefixes
// removed); names shorter than two characters become "debug.log". buffer holds 260 bytes.
void build_log_path(char* buffer, const char* exe_path, const char* name);

// The log file name for one entry, from base_path: with date, "-MMDDYY" is added before the
// extension; with thread_id, "-<id>" after that. Null leaves a suffix out. buffer holds 260
// bytes.
void build_log_file_name(char* buffer, const char* base_path, const OsLocalTime* date,
                         const uint32_t* thread_id);
