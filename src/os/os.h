// The thin OS layer: every service the portable modules need from the operating system.
// One implementation for Win32 (win32/), one for Linux (posix/). Portable code includes this
// header and never <windows.h>.
#pragma once

#include <cstdint>

// ---- Process and threads (os_process.cpp) ----------------------------------------------

uint32_t os_thread_id();

// An opaque recursive mutex: the owning thread may take it again; every take needs a release.
struct OsMutex;
OsMutex* os_mutex_create();
int os_mutex_lock(OsMutex* mutex);  // 1 when held, 0 when waiting failed
void os_mutex_unlock(OsMutex* mutex);
void os_mutex_destroy(OsMutex* mutex);

// The process's whole command line, or null when the platform gives none.
const char* os_command_line();

// The running executable's full path into buffer (size bytes, always terminated); the buffer
// is emptied first, so a failure leaves an empty text.
void os_module_path(char* buffer, uint32_t size);

void os_sleep(uint32_t milliseconds);

// Normal process exit with a status: exit handlers run.
[[noreturn]] void os_exit(int status);

// ---- Console (os_console.cpp) ------------------------------------------------------------

// Opens the console window (if the platform has to) and returns its output handle, or null.
void* os_console_open();
void os_console_set_title(const char* title);
void os_console_write(void* console, const char* text, uint32_t length);

// ---- Message box (os_message_box.cpp) ----------------------------------------------------

// A modal error box with one OK button and no owner window.
void os_message_box(const char* text, const char* caption);

// ---- Files (os_file.cpp) -----------------------------------------------------------------

// Opens path for writing in text mode ("\n" is stored as CR LF), creating it with read and
// write permission; append keeps the contents and writes at the end, otherwise the file is
// emptied. Returns a descriptor above 0, or 0 on failure (os_file_errno tells why).
int os_file_open(const char* path, int append);
int os_file_write(int file, const char* data, uint32_t length);  // 1 when all was written
int os_file_commit(int file);  // flushes the platform's buffers to disk
void os_file_close(int file);
int os_file_errno();

// ---- Clock (os_clock.cpp) ----------------------------------------------------------------

struct OsLocalTime {
  int year;    // four digits
  int month;   // 1..12
  int day;     // 1..31
  int hour;    // 0..23
  int minute;  // 0..59
  int second;  // 0..60
};

// The current local calendar time; 0 when the clock cannot be read or converted.
int os_local_time(OsLocalTime* out);

// ---- Memory (os_memory.cpp) --------------------------------------------------------------

// The platform's memory-status record, field for field (64 bytes).
struct OsMemoryStatus {
  uint32_t length;       // set to 64 by the caller
  uint32_t memory_load;  // percent of physical memory in use
  uint64_t total_phys;   // bytes
  uint64_t avail_phys;
  uint64_t total_page_file;
  uint64_t avail_page_file;
  uint64_t total_virtual;
  uint64_t avail_virtual;
  uint64_t avail_extended_virtual;
};
static_assert(sizeof(OsMemoryStatus) == 64, "OsMemoryStatus mirrors the 64-byte platform record");

// Fills status (zeroed by the caller, length 64) from the current memory status; 1 on success.
int os_memory_status(OsMemoryStatus* status);

// The reclaim block comes straight from the C runtime heap. A size the heap's size type cannot
// hold fails like any other allocation (null).
void* os_reclaim_alloc(uint64_t bytes);
void os_reclaim_free(void* block);

// Asks the C runtime heap to give its free memory back to the operating system.
void os_heap_give_back();

// ---- Registry store (os_registry.cpp) ----------------------------------------------------

// Keys below predefined root keys, each holding named values of a type code and bytes. On
// Win32 this is the registry itself; on Linux a persistent store of the same shape.
struct OsRegistryKeyTag;
using OsRegistryKey = OsRegistryKeyTag*;

enum OsRegistryRoot {
  OS_REGISTRY_CURRENT_USER,
  OS_REGISTRY_DYN_DATA,
  OS_REGISTRY_PERFORMANCE_DATA,
  OS_REGISTRY_LOCAL_MACHINE,
  OS_REGISTRY_CLASSES_ROOT,
  OS_REGISTRY_CURRENT_CONFIG,
};

OsRegistryKey os_registry_root(OsRegistryRoot root);

// Each returns 0 on success, otherwise the platform's error code.
long os_registry_open(OsRegistryKey parent, const char* path, OsRegistryKey* out);
long os_registry_create(OsRegistryKey parent, const char* path, OsRegistryKey* out);
long os_registry_query(OsRegistryKey key, const char* name, uint32_t* type, void* data,
                       uint32_t* size);
long os_registry_set(OsRegistryKey key, const char* name, uint32_t type, const void* data,
                     uint32_t size);
void os_registry_close(OsRegistryKey key);
