// A typed binding over the registry store: key handles that are checked on every use, and
// 32-bit integer values stored as REG_DWORD.
#include "registry.h"

#include "kelvane-core.h"
#include "kelvane-str.h"

namespace {

// The module's source file name, also the tag of every RegistryKey it makes (compared by
// address, never by content).
const char registry_tag[] = "registry";

constexpr unsigned kParentPathSize = 320;

void require_pointer(const void* pointer, int32_t line) {
  if (pointer != nullptr) return;
  fatal_at(registry_tag, line);
  fatal_error("Pointer is NULL\n");
}

void require_key(const RegistryKey* key, int32_t line) {
  require_pointer(key, line);
  if (key->tag == registry_tag) return;
  fatal_at(registry_tag, line);
  fatal_error("Struct mismatch pointer (0x%p:%s != %s)\n", key, key->tag, registry_tag);
}

RegistryKey* new_key(OsRegistryKey handle, int32_t line) {
  RegistryKey* key =
      static_cast<RegistryKey*>(tracked_alloc(sizeof(RegistryKey), 1, registry_tag, line));
  key->tag = registry_tag;
  key->key_handle = handle;
  return key;
}

// Cuts path at its last separator ('\' or '/'); returns the separator's position, or -1.
int cut_at_last_separator(char* path) {
  for (int i = static_cast<int>(str_length(path)) - 1; i >= 0; i--) {
    if (path[i] == '\\' || path[i] == '/') {
      path[i] = '\0';
      return i;
    }
  }
  return -1;
}

// Makes sure the parent of path exists, creating the missing levels from the top down.
int create_parent(int32_t root_index, const char* path) {
  char parent[kParentPathSize];
  str_copy(parent, path, kParentPathSize);
  if (cut_at_last_separator(parent) <= 0) return 1;
  RegistryKey* parent_key = nullptr;
  if (!registry_create_key(&parent_key, root_index, parent)) return 0;
  registry_close_key(&parent_key);
  return 1;
}

}  // namespace

OsRegistryKey registry_root_key(int32_t root_index) {
  switch (root_index) {
    case 2:
      return os_registry_root(OS_REGISTRY_DYN_DATA);
    case 3:
      return os_registry_root(OS_REGISTRY_PERFORMANCE_DATA);
    case 4:
      return os_registry_root(OS_REGISTRY_LOCAL_MACHINE);
    case 5:
      return os_registry_root(OS_REGISTRY_CLASSES_ROOT);
    case 6:
      return os_registry_root(OS_REGISTRY_CURRENT_CONFIG);
    default:
      return os_registry_root(OS_REGISTRY_CURRENT_USER);
  }
}

int registry_open_key(RegistryKey** out, int32_t root_index, const char* sub_key) {
  require_pointer(out, 498);
  require_pointer(sub_key, 499);
  *out = nullptr;
  OsRegistryKey handle = nullptr;
  if (os_registry_open(registry_root_key(root_index), sub_key, &handle) != 0) return 0;
  *out = new_key(handle, 504);
  return 1;
}

int registry_create_key(RegistryKey** out, int32_t root_index, const char* sub_key) {
  require_pointer(out, 449);
  require_pointer(sub_key, 450);
  *out = nullptr;
  const char* path = sub_key[0] == '\\' ? sub_key + 1 : sub_key;
  if (registry_open_key(out, root_index, path)) return 1;
  if (!create_parent(root_index, path)) return 0;
  OsRegistryKey handle = nullptr;
  const long error = os_registry_create(registry_root_key(root_index), path, &handle);
  if (error != 0) {
    log_printf("Create failed %d:[%s]:%d\n", root_index, path, static_cast<int>(error));
    return 0;
  }
  *out = new_key(handle, 481);
  return 1;
}

int registry_key_exists(int32_t root_index, const char* sub_key) {
  RegistryKey* key = nullptr;
  if (!registry_open_key(&key, root_index, sub_key)) return 0;
  registry_close_key(&key);
  return 1;
}

int registry_close_key(RegistryKey** key) {
  require_pointer(key, 543);
  require_key(*key, 545);
  os_registry_close((*key)->key_handle);
  *key = static_cast<RegistryKey*>(tracked_free(*key, sizeof(RegistryKey), 1, registry_tag, 548));
  return 1;
}

int registry_set_value(RegistryKey* key, uint32_t type_code, const char* value_name,
                       const void* data, uint32_t size) {
  return os_registry_set(key->key_handle, value_name, type_code, data, size) == 0;
}

int registry_get_value(RegistryKey* key, uint32_t type_code, const char* value_name, void* buffer,
                       uint32_t size) {
  uint32_t stored_type = 0;
  uint32_t stored_size = size;
  if (os_registry_query(key->key_handle, value_name, &stored_type, buffer, &stored_size) != 0) {
    return 0;
  }
  return stored_type == type_code;
}

int registry_set_int32(RegistryKey* key, const char* value_name, int32_t value) {
  require_key(key, 301);
  require_pointer(value_name, 302);
  return registry_set_value(key, REGISTRY_TYPE_DWORD, value_name, &value, sizeof value);
}

int registry_get_int32(RegistryKey* key, const char* value_name, int32_t* out) {
  require_key(key, 313);
  require_pointer(value_name, 314);
  require_pointer(out, 315);
  // Read into a buffer of our own first: a value of another type must not change *out.
  int32_t stored = 0;
  if (!registry_get_value(key, REGISTRY_TYPE_DWORD, value_name, &stored, sizeof stored)) return 0;
  *out = stored;
  return 1;
}
