// Kelvane core: a typed binding over the registry store.
#pragma once

#include <cstdint>

#include "os.h"

// One open key. Valid only while tag holds the registry module's own tag pointer.
struct RegistryKey {
  const char* tag;
  OsRegistryKey key_handle;
};

enum : uint32_t { REGISTRY_TYPE_DWORD = 4 };

OsRegistryKey registry_root_key(int32_t root_index);
int registry_open_key(RegistryKey** out, int32_t root_index, const char* sub_key);
int registry_create_key(RegistryKey** out, int32_t root_index, const char* sub_key);
int registry_key_exists(int32_t root_index, const char* sub_key);
int registry_close_key(RegistryKey** key);
int registry_set_value(RegistryKey* key, uint32_t type_code, const char* value_name,
                       const void* data, uint32_t size);
int registry_get_value(RegistryKey* key, uint32_t type_code, const char* value_name, void* buffer,
                       uint32_t size);
int registry_set_int32(RegistryKey* key, const char* value_name, int32_t value);
int registry_get_int32(RegistryKey* key, const char* value_name, int32_t* out);
