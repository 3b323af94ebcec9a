// The registry store on Win32: the registry itself.
#include <windows.h>

#include "os.h"

namespace {

HKEY native(OsRegistryKey key) {
  return reinterpret_cast<HKEY>(key);
}
OsRegistryKey opaque(HKEY key) {
  return reinterpret_cast<OsRegistryKey>(key);
}

}  // namespace

OsRegistryKey os_registry_root(OsRegistryRoot root) {
  switch (root) {
    case OS_REGISTRY_DYN_DATA:
      return opaque(HKEY_DYN_DATA);
    case OS_REGISTRY_PERFORMANCE_DATA:
      return opaque(HKEY_PERFORMANCE_DATA);
    case OS_REGISTRY_LOCAL_MACHINE:
      return opaque(HKEY_LOCAL_MACHINE);
    case OS_REGISTRY_CLASSES_ROOT:
      return opaque(HKEY_CLASSES_ROOT);
    case OS_REGISTRY_CURRENT_CONFIG:
      return opaque(HKEY_CURRENT_CONFIG);
    case OS_REGISTRY_CURRENT_USER:
    default:
      return opaque(HKEY_CURRENT_USER);
  }
}

long os_registry_open(OsRegistryKey parent, const char* path, OsRegistryKey* out) {
  HKEY key = nullptr;
  const LONG result = RegOpenKeyExA(native(parent), path, 0, KEY_ALL_ACCESS, &key);
  if (result == ERROR_SUCCESS) *out = opaque(key);
  return result;
}

long os_registry_create(OsRegistryKey parent, const char* path, OsRegistryKey* out) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  const LONG result = RegCreateKeyExA(native(parent), path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      KEY_ALL_ACCESS, nullptr, &key, &disposition);
  if (result == ERROR_SUCCESS) *out = opaque(key);
  return result;
}

long os_registry_query(OsRegistryKey key, const char* name, uint32_t* type, void* data,
                       uint32_t* size) {
  DWORD stored_type = 0;
  DWORD stored_size = size ? *size : 0;
  const LONG result = RegQueryValueExA(native(key), name, nullptr, &stored_type,
                                       static_cast<BYTE*>(data), size ? &stored_size : nullptr);
  if (type) *type = stored_type;
  if (size) *size = stored_size;
  return result;
}

long os_registry_set(OsRegistryKey key, const char* name, uint32_t type, const void* data,
                     uint32_t size) {
  return RegSetValueExA(native(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

void os_registry_close(OsRegistryKey key) {
  RegCloseKey(native(key));
}
