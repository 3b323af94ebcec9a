// A registry of its own for one test: a key below HKEY_CURRENT_USER\Software named after the
// test. On Windows it lives in the real registry and is deleted afterwards; elsewhere the
// store is kept in a temporary XDG_CONFIG_HOME that is removed afterwards. Setting
// TESSARY_KEEP_TEST_KEY=1 keeps the key (on Windows) for inspection.
#pragma once

#include <string>

struct RegistrySandbox {
  std::string key_path;     // below HKEY_CURRENT_USER, without a leading '\'
  std::string config_home;  // the temporary store's folder (not on Windows)
};

void registry_sandbox_open(RegistrySandbox* sandbox);
void registry_sandbox_close(const RegistrySandbox& sandbox);

// A key path below the sandbox key that does not exist and that cannot be created: on Windows
// the child of a volatile key, elsewhere a key whose place in the store is taken by a file.
std::string registry_sandbox_unmakeable_path(const RegistrySandbox& sandbox);
