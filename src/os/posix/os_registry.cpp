// The registry store on Linux: a tree of directories in the program's own configuration
// folder, $XDG_CONFIG_HOME/tessary/registry/<root>/ ($HOME/.config when XDG_CONFIG_HOME is not
// an absolute path).
//
// Each key is a directory; a subkey is the directory "k_<name>" inside it and a value is the
// file "v_<name>" holding the 32-bit type code followed by the value's bytes. Names compare
// without regard to the case of ASCII letters, as in the registry, so they are stored folded to
// lower case; '/', '%' and control bytes are written as %XX. A value is written to a temporary
// file that is synced and then renamed over the old one, so a crash leaves either the old or
// the new value, never part of one.
//
// An open key is the descriptor of its directory, so handles need no table and no heap. Root
// keys are constant handles whose directory is opened (and made when missing) on each use.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "os.h"

namespace {

// The registry's own error codes, which callers log and compare.
enum : long {
  kFileNotFound = 2,
  kPathNotFound = 3,
  kAccessDenied = 5,
  kInvalidParameter = 87,
  kDiskFull = 112,
  kMoreData = 234,
  kBadDatabase = 1009,
  kIoFailed = 1016,
};

constexpr uintptr_t kRootBase = 0x80000000u;
constexpr size_t kPathSize = 4096;
// Leaves room within the file-name limit of 255 for the temporary name's prefix.
constexpr size_t kEntryNameSize = 224;

const char* const root_names[] = {
    "HKEY_CURRENT_USER",  "HKEY_DYN_DATA",     "HKEY_PERFORMANCE_DATA",
    "HKEY_LOCAL_MACHINE", "HKEY_CLASSES_ROOT", "HKEY_CURRENT_CONFIG",
};
constexpr uintptr_t kRootCount = sizeof root_names / sizeof root_names[0];

long error_code(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return kFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return kAccessDenied;
    case ENAMETOOLONG:
      return kInvalidParameter;
    case ENOSPC:
    case EDQUOT:
      return kDiskFull;
    default:
      return kIoFailed;
  }
}

bool is_root(OsRegistryKey key) {
  const uintptr_t value = reinterpret_cast<uintptr_t>(key);
  return value >= kRootBase && value < kRootBase + kRootCount;
}

OsRegistryKey key_of_descriptor(int fd) {
  return reinterpret_cast<OsRegistryKey>(static_cast<uintptr_t>(fd) + 1);
}

int descriptor_of_key(OsRegistryKey key) {
  return static_cast<int>(reinterpret_cast<uintptr_t>(key) - 1);
}

// The folder of one root key; 0 when there is no home folder or the path is too long.
int root_folder(uintptr_t root, char* path) {
  const char* base = std::getenv("XDG_CONFIG_HOME");
  const char* suffix = "";
  if (base == nullptr || base[0] != '/') {
    base = std::getenv("HOME");
    suffix = "/.config";
  }
  if (base == nullptr || base[0] == '\0') return 0;
  const int length =
      std::snprintf(path, kPathSize, "%s%s/tessary/registry/%s", base, suffix, root_names[root]);
  return length > 0 && static_cast<size_t>(length) < kPathSize;
}

// Makes every missing directory of an absolute path.
long make_folders(char* path) {
  for (char* slash = std::strchr(path + 1, '/');; slash = std::strchr(slash + 1, '/')) {
    if (slash) *slash = '\0';
    const int made = mkdir(path, 0700) == 0 || errno == EEXIST;
    if (slash) *slash = '/';
    if (!made) return error_code(errno);
    if (!slash) return 0;
  }
}

long open_root(OsRegistryKey key, int create, int* fd) {
  char path[kPathSize];
  if (!root_folder(reinterpret_cast<uintptr_t>(key) - kRootBase, path)) return kPathNotFound;
  if (create) {
    const long error = make_folders(path);
    if (error != 0) return error;
  }
  *fd = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return *fd < 0 ? error_code(errno) : 0;
}

// The directory of an open key (create: make a root's folder when missing). Give it back with
// release_folder.
long key_folder(OsRegistryKey key, int create, int* fd) {
  if (is_root(key)) return open_root(key, create, fd);
  *fd = descriptor_of_key(key);
  return 0;
}

void release_folder(OsRegistryKey key, int fd) {
  if (is_root(key)) close(fd);
}

// The stored file name of a key or value name: prefix, '_', the folded and escaped name.
long entry_name(char prefix, const char* name, size_t length, char* out) {
  static const char hex[] = "0123456789ABCDEF";
  size_t used = 0;
  out[used++] = prefix;
  out[used++] = '_';
  for (size_t i = 0; i < length; i++) {
    const unsigned char c = static_cast<unsigned char>(name[i]);
    if (used + 4 > kEntryNameSize) return kInvalidParameter;
    if (c == '/' || c == '%' || c < 0x20 || c == 0x7f) {
      out[used++] = '%';
      out[used++] = hex[c >> 4];
      out[used++] = hex[c & 0xf];
    } else {
      out[used++] =
          (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    }
  }
  out[used] = '\0';
  return 0;
}

// Opens (create: makes first when missing) the subkey directory called name inside folder.
long open_subkey(int folder, const char* name, size_t length, int create, int* fd) {
  char entry[kEntryNameSize];
  const long error = entry_name('k', name, length, entry);
  if (error != 0) return error;
  *fd = openat(folder, entry, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (*fd >= 0 || !create || errno != ENOENT) return *fd >= 0 ? 0 : error_code(errno);
  if (mkdirat(folder, entry, 0700) != 0 && errno != EEXIST) return error_code(errno);
  fsync(folder);
  *fd = openat(folder, entry, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  return *fd < 0 ? error_code(errno) : 0;
}

// Walks path ('\'-separated key names; empty names are skipped) below parent.
long walk(OsRegistryKey parent, const char* path, int create, OsRegistryKey* out) {
  int folder = -1;
  long error = key_folder(parent, create, &folder);
  if (error != 0) return error;
  int current = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  error = current < 0 ? error_code(errno) : 0;
  release_folder(parent, folder);
  const char* name = path ? path : "";
  while (error == 0 && *name != '\0') {
    const char* end = std::strchr(name, '\\');
    const size_t length = end ? static_cast<size_t>(end - name) : std::strlen(name);
    if (length > 0) {
      int next = -1;
      error = open_subkey(current, name, length, create, &next);
      close(current);
      current = next;
    }
    name += end ? length + 1 : length;
  }
  if (error != 0) {
    if (current >= 0) close(current);
    return error;
  }
  *out = key_of_descriptor(current);
  return 0;
}

int read_all(int fd, void* data, size_t size) {
  char* at = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t got = read(fd, at, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return 0;
    at += got;
    size -= static_cast<size_t>(got);
  }
  return 1;
}

int write_all(int fd, const void* data, size_t size) {
  const char* at = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t put = write(fd, at, size);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return 0;
    at += put;
    size -= static_cast<size_t>(put);
  }
  return 1;
}

long query_in(int folder, const char* name, uint32_t* type, void* data, uint32_t* size) {
  char entry[kEntryNameSize];
  const long error = entry_name('v', name, std::strlen(name), entry);
  if (error != 0) return error == kInvalidParameter ? kFileNotFound : error;
  const int fd = openat(folder, entry, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return error_code(errno);
  struct stat status;
  uint32_t stored_type = 0;
  long result = 0;
  if (fstat(fd, &status) != 0 || status.st_size < 4 || status.st_size - 4 > UINT32_MAX ||
      !read_all(fd, &stored_type, sizeof stored_type)) {
    result = kBadDatabase;
  } else {
    const uint32_t stored_size = static_cast<uint32_t>(status.st_size - 4);
    if (type) *type = stored_type;
    if (data != nullptr && size != nullptr && *size < stored_size) {
      result = kMoreData;
    } else if (data != nullptr && size != nullptr && !read_all(fd, data, stored_size)) {
      result = kBadDatabase;
    }
    if (size) *size = stored_size;
  }
  close(fd);
  return result;
}

long set_in(int folder, const char* name, uint32_t type, const void* data, uint32_t size) {
  char entry[kEntryNameSize];
  long error = entry_name('v', name, std::strlen(name), entry);
  if (error != 0) return error;
  char temporary[kEntryNameSize + 24];
  std::snprintf(temporary, sizeof temporary, "t%ld_%s", static_cast<long>(getpid()), entry);
  const int fd = openat(folder, temporary, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return error_code(errno);
  const int written = write_all(fd, &type, sizeof type) && write_all(fd, data, size);
  error = written && fsync(fd) == 0 ? 0 : error_code(errno);
  close(fd);
  if (error == 0 && renameat(folder, temporary, folder, entry) != 0) error = error_code(errno);
  if (error != 0) {
    unlinkat(folder, temporary, 0);
    return error;
  }
  fsync(folder);
  return 0;
}

}  // namespace

OsRegistryKey os_registry_root(OsRegistryRoot root) {
  return reinterpret_cast<OsRegistryKey>(kRootBase + static_cast<uintptr_t>(root));
}

long os_registry_open(OsRegistryKey parent, const char* path, OsRegistryKey* out) {
  return walk(parent, path, 0, out);
}

long os_registry_create(OsRegistryKey parent, const char* path, OsRegistryKey* out) {
  return walk(parent, path, 1, out);
}

long os_registry_query(OsRegistryKey key, const char* name, uint32_t* type, void* data,
                       uint32_t* size) {
  int folder = -1;
  const long error = key_folder(key, 0, &folder);
  if (error != 0) return error;
  const long result = query_in(folder, name ? name : "", type, data, size);
  release_folder(key, folder);
  return result;
}

long os_registry_set(OsRegistryKey key, const char* name, uint32_t type, const void* data,
                     uint32_t size) {
  if (data == nullptr && size > 0) return kInvalidParameter;
  int folder = -1;
  const long error = key_folder(key, 1, &folder);
  if (error != 0) return error;
  const long result = set_in(folder, name ? name : "", type, data, size);
  release_folder(key, folder);
  return result;
}

void os_registry_close(OsRegistryKey key) {
  if (!is_root(key)) close(descriptor_of_key(key));
}
