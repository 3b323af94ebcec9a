// Log files on Linux, written as in a Windows text-mode file: every "\n" is stored as CR LF.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "os.h"

namespace {

int write_all(int file, const char* data, uint32_t length) {
  while (length > 0) {
    ssize_t written = write(file, data, length);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return 0;
    data += written;
    length -= static_cast<uint32_t>(written);
  }
  return 1;
}

// 0 is the "no file" descriptor of the callers, so a file that lands on descriptor 0 (standard
// input closed) is moved to another one.
int move_off_zero(int file) {
  if (file != 0) return file;
  int moved = fcntl(file, F_DUPFD, 1);
  int saved = errno;
  close(file);
  errno = saved;
  return moved;
}

}  // namespace

int os_file_open(const char* path, int append) {
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? 0 : O_TRUNC);
  int file = move_off_zero(open(path, flags, S_IRUSR | S_IWUSR));
  if (file < 0) return 0;
  if (lseek(file, 0, SEEK_END) < 0) {
    int saved = errno;
    close(file);
    errno = saved;
    return 0;
  }
  return file;
}

int os_file_write(int file, const char* data, uint32_t length) {
  char chunk[512];
  uint32_t used = 0;
  for (uint32_t i = 0; i < length; i++) {
    if (used > sizeof chunk - 2) {
      if (!write_all(file, chunk, used)) return 0;
      used = 0;
    }
    if (data[i] == '\n') chunk[used++] = '\r';
    chunk[used++] = data[i];
  }
  return write_all(file, chunk, used);
}

int os_file_commit(int file) {
  return fsync(file) == 0;
}

void os_file_close(int file) {
  close(file);
}

int os_file_errno() {
  return errno;
}
