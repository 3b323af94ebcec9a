// Processes and threads on Linux: thread ids, a recursive mutex, the command line, the
// executable's path, sleeping and exiting.
#include <fcntl.h>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <ctime>

#include "os.h"

struct OsMutex {
  pthread_mutex_t mutex;
  std::atomic<int> in_use;
};

namespace {

// Mutexes live in static slots so that creating one takes nothing from the heap; the core
// needs only one at a time.
constexpr int kMutexSlots = 4;
OsMutex mutex_slots[kMutexSlots];

constexpr int kCommandLineSize = 32768;

// /proc/self/cmdline holds the arguments separated by zero bytes; they are joined with spaces.
void read_command_line(char* buffer, int size) {
  buffer[0] = '\0';
  int file = open("/proc/self/cmdline", O_RDONLY);
  if (file < 0) return;
  int length = 0;
  while (length < size - 1) {
    ssize_t got = read(file, buffer + length, size - 1 - length);
    if (got <= 0) break;
    length += static_cast<int>(got);
  }
  close(file);
  while (length > 0 && buffer[length - 1] == '\0') length--;
  for (int i = 0; i < length; i++) {
    if (buffer[i] == '\0') buffer[i] = ' ';
  }
  buffer[length] = '\0';
}

}  // namespace

uint32_t os_thread_id() {
  return static_cast<uint32_t>(syscall(SYS_gettid));
}

OsMutex* os_mutex_create() {
  for (OsMutex& slot : mutex_slots) {
    int expected = 0;
    if (!slot.in_use.compare_exchange_strong(expected, 1)) continue;
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    int failed = pthread_mutex_init(&slot.mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    if (failed) {
      slot.in_use = 0;
      return nullptr;
    }
    return &slot;
  }
  return nullptr;
}

int os_mutex_lock(OsMutex* mutex) {
  if (!mutex) return 0;
  return pthread_mutex_lock(&mutex->mutex) == 0;
}

void os_mutex_unlock(OsMutex* mutex) {
  if (mutex) pthread_mutex_unlock(&mutex->mutex);
}

void os_mutex_destroy(OsMutex* mutex) {
  if (!mutex) return;
  pthread_mutex_destroy(&mutex->mutex);
  mutex->in_use = 0;
}

const char* os_command_line() {
  static char command_line[kCommandLineSize];
  static const bool read_once = (read_command_line(command_line, kCommandLineSize), true);
  (void)read_once;
  return command_line;
}

void os_module_path(char* buffer, uint32_t size) {
  if (size == 0) return;
  buffer[0] = '\0';
  ssize_t length = readlink("/proc/self/exe", buffer, size - 1);
  buffer[length > 0 ? length : 0] = '\0';
}

void os_sleep(uint32_t milliseconds) {
  timespec remaining = {static_cast<time_t>(milliseconds / 1000),
                        static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&remaining, &remaining) != 0) {
  }
}

void os_exit(int status) {
  std::exit(status);
}
