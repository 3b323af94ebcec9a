// Log files through the C runtime's low-level files, in text mode ("\n" is stored as CR LF).
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "os.h"

namespace {

// 0 is the "no file" descriptor of the callers, so a file that lands on descriptor 0 is moved
// to another one.
int move_off_zero(int file) {
  if (file != 0) return file;
  int moved = _dup(file);
  int saved = errno;
  _close(file);
  errno = saved;
  return moved;
}

}  // namespace

int os_file_open(const char* path, int append) {
  int flags = _O_WRONLY | _O_CREAT | _O_TEXT | (append ? 0 : _O_TRUNC);
  int file = move_off_zero(_open(path, flags, _S_IREAD | _S_IWRITE));
  if (file < 0) return 0;
  if (_lseek(file, 0, SEEK_END) < 0) {
    int saved = errno;
    _close(file);
    errno = saved;
    return 0;
  }
  return file;
}

int os_file_write(int file, const char* data, uint32_t length) {
  return _write(file, data, length) == static_cast<int>(length);
}

int os_file_commit(int file) {
  return _commit(file) == 0;
}

void os_file_close(int file) {
  _close(file);
}

int os_file_errno() {
  return errno;
}
