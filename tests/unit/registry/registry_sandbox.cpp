#include "registry_sandbox.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// "Software\TessaryTest-<suite>-<test>", with every character that is not a letter or a digit
// turned into '-', so that the parent and a death test's child agree on it.
std::string test_key_path() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string("TessaryTest-") + test->test_suite_name() + "-" + test->name();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
  }
  return "Software\\" + name;
}

#ifdef _WIN32

void delete_key(const std::string& path) {
  RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
}

#else

std::string lower_case(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

#endif

}  // namespace

void registry_sandbox_open(RegistrySandbox* sandbox) {
  sandbox->key_path = test_key_path();
#ifdef _WIN32
  delete_key(sandbox->key_path);
#else
  if (const char* inherited = std::getenv("XDG_CONFIG_HOME")) {
    // A death test's child (fork) runs in its parent's sandbox.
    if (std::string(inherited).find("tessary-registry-test-") != std::string::npos) {
      sandbox->config_home = inherited;
      return;
    }
  }
  std::string folder =
      (std::filesystem::temp_directory_path() / "tessary-registry-test-XXXXXX").string();
  ASSERT_NE(mkdtemp(&folder[0]), nullptr);
  sandbox->config_home = folder;
  setenv("XDG_CONFIG_HOME", sandbox->config_home.c_str(), 1);
#endif
}

void registry_sandbox_close(const RegistrySandbox& sandbox) {
  const char* keep = std::getenv("TESSARY_KEEP_TEST_KEY");
  if (keep != nullptr && std::string(keep) == "1") return;
#ifdef _WIN32
  delete_key(sandbox.key_path);
#else
  unsetenv("XDG_CONFIG_HOME");
  std::filesystem::remove_all(sandbox.config_home);
#endif
}

std::string registry_sandbox_unmakeable_path(const RegistrySandbox& sandbox) {
#ifdef _WIN32
  const std::string blocked = sandbox.key_path + "\\Volatile";
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, blocked.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  return blocked + "\\Child";
#else
  // The store keeps key "Name" as the folder "k_name" inside its parent's folder.
  std::filesystem::path folder =
      std::filesystem::path(sandbox.config_home) / "tessary" / "registry" / "HKEY_CURRENT_USER";
  folder /= "k_software";
  folder /= "k_" + lower_case(sandbox.key_path.substr(sandbox.key_path.find('\\') + 1));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "k_blocked") << "not a key";
  return sandbox.key_path + "\\Blocked";
#endif
}
