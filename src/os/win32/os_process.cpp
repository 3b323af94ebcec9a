// Processes and threads on Win32: thread ids, an unnamed mutex (recursive by nature), the
// command line, the executable's path, sleeping and exiting.
#include <windows.h>

#include <cstdlib>

#include "os.h"

uint32_t os_thread_id() {
  return GetCurrentThreadId();
}

OsMutex* os_mutex_create() {
  return reinterpret_cast<OsMutex*>(CreateMutexA(NULL, FALSE, NULL));
}

int os_mutex_lock(OsMutex* mutex) {
  return WaitForSingleObject(reinterpret_cast<HANDLE>(mutex), INFINITE) == WAIT_OBJECT_0;
}

void os_mutex_unlock(OsMutex* mutex) {
  ReleaseMutex(reinterpret_cast<HANDLE>(mutex));
}

void os_mutex_destroy(OsMutex* mutex) {
  if (mutex) CloseHandle(reinterpret_cast<HANDLE>(mutex));
}

const char* os_command_line() {
  return GetCommandLineA();
}

void os_module_path(char* buffer, uint32_t size) {
  if (size == 0) return;
  buffer[0] = '\0';
  DWORD length = GetModuleFileNameA(NULL, buffer, size);
  // A cut path is not terminated on every Windows version.
  buffer[length < size ? length : size - 1] = '\0';
}

void os_sleep(uint32_t milliseconds) {
  Sleep(milliseconds);
}

void os_exit(int status) {
  std::exit(status);
}
