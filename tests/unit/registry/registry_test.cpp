#include "registry.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "kelvane-core.h"
#include "registry_sandbox.h"
#include "test_log.h"
#include "tracker.h"

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tracker_init(TRACKER_NO_LIMIT);
    registry_sandbox_open(&sandbox);
    key_path = sandbox.key_path;
  }
  void TearDown() override {
    registry_sandbox_close(sandbox);
    EXPECT_EQ(tracker_state.block_count, 0) << "a key handle was not freed";
  }

  RegistryKey* create(const std::string& path) {
    RegistryKey* key = nullptr;
    EXPECT_EQ(registry_create_key(&key, 1, path.c_str()), 1) << path;
    return key;
  }
  int exists(const std::string& path) { return registry_key_exists(1, path.c_str()); }

  RegistrySandbox sandbox;
  std::string key_path;
};

using RegistryDeathTest = RegistryTest;

TEST(RegistryRootTest, IndexSelectsTheRootKeyAndAnyOtherIndexTheCurrentUser) {
  const struct {
    int32_t index;
    OsRegistryRoot root;
  } cases[] = {
      {1, OS_REGISTRY_CURRENT_USER},     {2, OS_REGISTRY_DYN_DATA},
      {3, OS_REGISTRY_PERFORMANCE_DATA}, {4, OS_REGISTRY_LOCAL_MACHINE},
      {5, OS_REGISTRY_CLASSES_ROOT},     {6, OS_REGISTRY_CURRENT_CONFIG},
      {0, OS_REGISTRY_CURRENT_USER},     {7, OS_REGISTRY_CURRENT_USER},
      {-1, OS_REGISTRY_CURRENT_USER},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(registry_root_key(c.index), os_registry_root(c.root)) << "index " << c.index;
  }
}

TEST_F(RegistryTest, OpeningAMissingKeyFailsAndClearsTheHandle) {
  RegistryKey dummy{};
  RegistryKey* key = &dummy;
  EXPECT_EQ(registry_open_key(&key, 1, key_path.c_str()), 0);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(exists(key_path), 0);
}

TEST_F(RegistryTest, CreatingMakesTheMissingLevelsAndHandsBackOneHandle) {
  RegistryKey* key = create(key_path + "\\A\\B\\C");
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(tracker_state.block_count, 1) << "the handles of the parents were closed";
  EXPECT_EQ(exists(key_path + "\\A"), 1);
  EXPECT_EQ(exists(key_path + "\\A\\B"), 1);
  EXPECT_EQ(exists(key_path + "\\A\\B\\C"), 1);
  registry_close_key(&key);
  EXPECT_EQ(key, nullptr);

  // A second create finds the key; values written through either handle are the same.
  RegistryKey* again = create(key_path + "\\A\\B\\C");
  EXPECT_EQ(registry_set_int32(again, "Value", 9), 1);
  registry_close_key(&again);
}

TEST_F(RegistryTest, OneLeadingBackslashIsDropped) {
  RegistryKey* key = create("\\" + key_path + "\\Lead");
  registry_close_key(&key);
  EXPECT_EQ(exists(key_path + "\\Lead"), 1);
}

TEST_F(RegistryTest, SlashSeparatesOnlyWhenTheParentIsWorkedOut) {
  RegistryKey* key = create(key_path + "\\A/B");
  registry_close_key(&key);
  EXPECT_EQ(exists(key_path + "\\A"), 1);
  EXPECT_EQ(exists(key_path + "\\A/B"), 1);
  EXPECT_EQ(exists(key_path + "\\A\\B"), 0);
}

TEST_F(RegistryTest, KeyNamesIgnoreLetterCase) {
  RegistryKey* key = create(key_path + "\\Mixed Case");
  ASSERT_EQ(registry_set_int32(key, "Some Value", -7), 1);
  registry_close_key(&key);
  ASSERT_EQ(registry_open_key(&key, 1, (key_path + "\\MIXED case").c_str()), 1);
  int32_t value = 0;
  EXPECT_EQ(registry_get_int32(key, "SOME VALUE", &value), 1);
  EXPECT_EQ(value, -7);
  registry_close_key(&key);
}

TEST_F(RegistryTest, AFailedParentEndsTheCreationWithOneLineFromTheFailingLevel) {
  const std::string unmakeable = registry_sandbox_unmakeable_path(sandbox);
  RegistryKey* key = nullptr;
  const std::string log = test_log_added_by(
      [&] { EXPECT_EQ(registry_create_key(&key, 1, (unmakeable + "\\X\\Y").c_str()), 0); });
  EXPECT_EQ(key, nullptr);
  const std::string start = "Create failed 1:[" + unmakeable + "]:";
  EXPECT_EQ(log.rfind(start, 0), 0u) << log;
  EXPECT_EQ(log.find('\n'), log.size() - 1) << log;
  EXPECT_NE(std::atoi(log.c_str() + start.size()), 0) << log;
}

struct ValueCase {
  const char* name;
  uint32_t type;
  const void* data;
  uint32_t size;
  int read;        // result of registry_get_int32
  int32_t result;  // the caller's integer afterwards (preset to 1234)
};

void PrintTo(const ValueCase& value, std::ostream* out) { *out << value.name; }

const int32_t kNegative = -123456;
const unsigned char kFourBytes[4] = {1, 2, 3, 4};

class RegistryValueTest : public RegistryTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(RegistryValueTest, ReadsOnlyDwordValuesAndOtherwiseKeepsTheCallersInteger) {
  const ValueCase value = GetParam();
  RegistryKey* key = create(key_path);
  if (value.data) {
    ASSERT_EQ(registry_set_value(key, value.type, "Value", value.data, value.size), 1);
  }
  int32_t read = 1234;
  EXPECT_EQ(registry_get_int32(key, "Value", &read), value.read);
  EXPECT_EQ(read, value.result);
  registry_close_key(&key);
}

INSTANTIATE_TEST_SUITE_P(
    Stored, RegistryValueTest,
    ::testing::Values(ValueCase{"Dword", REGISTRY_TYPE_DWORD, &kNegative, 4, 1, kNegative},
                      ValueCase{"Missing", 0, nullptr, 0, 0, 1234},
                      ValueCase{"String", 1, "abc", 4, 0, 1234},
                      ValueCase{"FourByteBinary", 3, kFourBytes, 4, 0, 1234},
                      ValueCase{"LongerDword", REGISTRY_TYPE_DWORD, "12345678", 8, 0, 1234}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryTest, Int32IsStoredAsFourLittleEndianDwordBytes) {
  RegistryKey* key = create(key_path);
  ASSERT_EQ(registry_set_int32(key, "Value", 0x01020304), 1);
  unsigned char bytes[4] = {};
  EXPECT_EQ(registry_get_value(key, REGISTRY_TYPE_DWORD, "Value", bytes, 4), 1);
  EXPECT_EQ(bytes[0], 4);
  EXPECT_EQ(bytes[3], 1);
  EXPECT_EQ(registry_get_value(key, REGISTRY_TYPE_DWORD, "Value", bytes, 3), 0)
      << "a buffer too small";
  EXPECT_EQ(registry_get_value(key, 3, "Value", bytes, 4), 0) << "another type";
  registry_close_key(&key);
}

TEST_F(RegistryTest, ValuesPersistAfterEveryHandleIsClosed) {
  RegistryKey* key = create(key_path);
  registry_set_int32(key, "First", 1);
  registry_set_int32(key, "First", 11);
  registry_set_int32(key, "Second", 2);
  registry_close_key(&key);
  ASSERT_EQ(registry_open_key(&key, 1, key_path.c_str()), 1);
  int32_t first = 0;
  int32_t second = 0;
  EXPECT_EQ(registry_get_int32(key, "First", &first), 1);
  EXPECT_EQ(registry_get_int32(key, "Second", &second), 1);
  EXPECT_EQ(first, 11);
  EXPECT_EQ(second, 2);
  registry_close_key(&key);
}

struct MisuseCase {
  const char* name;
  std::function<void(RegistryKey* valid)> call;
  const char* report;
};

void PrintTo(const MisuseCase& misuse, std::ostream* out) {
  *out << misuse.name;
}

class RegistryMisuseDeathTest : public RegistryTest,
                                public ::testing::WithParamInterface<MisuseCase> {};

TEST_P(RegistryMisuseDeathTest, IsFatalAtItsLine) {
  RegistryKey* valid = create(key_path);
  EXPECT_EXIT(GetParam().call(valid), ::testing::ExitedWithCode(1), GetParam().report);
  registry_close_key(&valid);
}

// A record like the module's own, whose tag is an equal text at another address.
RegistryKey* impostor() {
  static const char look_alike[] = "registry";
  static RegistryKey record{look_alike, nullptr};
  return &record;
}

const MisuseCase misuse_cases[] = {
    {"SetNullKey", [](RegistryKey*) { registry_set_int32(nullptr, "v", 1); },
     "ABORT: Pointer is NULL\n       \\(registry/301\\)"},
    {"SetForeignKey", [](RegistryKey*) { registry_set_int32(impostor(), "v", 1); },
     "Struct mismatch pointer \\(0x\\w+:registry != registry\\)\n       \\(registry/301\\)"},
    {"SetNullName", [](RegistryKey* key) { registry_set_int32(key, nullptr, 1); },
     "Pointer is NULL\n       \\(registry/302\\)"},
    {"GetNullKey",
     [](RegistryKey*) {
       int32_t v;
       registry_get_int32(nullptr, "v", &v);
     },
     "Pointer is NULL\n       \\(registry/313\\)"},
    {"GetForeignKey",
     [](RegistryKey*) {
       int32_t v;
       registry_get_int32(impostor(), "v", &v);
     },
     "Struct mismatch pointer \\(0x\\w+:registry != registry\\)\n       \\(registry/313\\)"},
    {"GetNullName",
     [](RegistryKey* key) {
       int32_t v;
       registry_get_int32(key, nullptr, &v);
     },
     "Pointer is NULL\n       \\(registry/314\\)"},
    {"GetNullOut", [](RegistryKey* key) { registry_get_int32(key, "v", nullptr); },
     "Pointer is NULL\n       \\(registry/315\\)"},
    {"CreateNullOut", [](RegistryKey*) { registry_create_key(nullptr, 1, "x"); },
     "Pointer is NULL\n       \\(registry/449\\)"},
    {"CreateNullPath",
     [](RegistryKey*) {
       RegistryKey* key;
       registry_create_key(&key, 1, nullptr);
     },
     "Pointer is NULL\n       \\(registry/450\\)"},
    {"OpenNullOut", [](RegistryKey*) { registry_open_key(nullptr, 1, "x"); },
     "Pointer is NULL\n       \\(registry/498\\)"},
    {"OpenNullPath",
     [](RegistryKey*) {
       RegistryKey* key;
       registry_open_key(&key, 1, nullptr);
     },
     "Pointer is NULL\n       \\(registry/499\\)"},
    {"CloseNullAddress", [](RegistryKey*) { registry_close_key(nullptr); },
     "Pointer is NULL\n       \\(registry/543\\)"},
    {"CloseTwice",
     [](RegistryKey* key) {
       registry_close_key(&key);
       registry_close_key(&key);
     },
     "Pointer is NULL\n       \\(registry/545\\)"},
    {"CloseForeignKey",
     [](RegistryKey*) {
       RegistryKey* key = impostor();
       registry_close_key(&key);
     },
     "Struct mismatch pointer \\(0x\\w+:registry != registry\\)\n       \\(registry/545\\)"},
};

INSTANTIATE_TEST_SUITE_P(Misuse, RegistryMisuseDeathTest, ::testing::ValuesIn(misuse_cases),
                         [](const auto& info) { return std::string(info.param.name); });

#ifndef _WIN32

struct StoreFolderCase {
  const char* name;
  const char* xdg_config_home;  // null: unset; relative paths are ignored
  const char* folder;           // below the sandbox folder
};

class RegistryStoreFolderTest : public RegistryTest,
                                public ::testing::WithParamInterface<StoreFolderCase> {};

TEST_P(RegistryStoreFolderTest, LivesInTheProgramsOwnConfigurationFolder) {
  const StoreFolderCase place = GetParam();
  const std::string saved_home = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", sandbox.config_home.c_str(), 1);
  if (place.xdg_config_home) {
    setenv("XDG_CONFIG_HOME",
           place.xdg_config_home[0] == '/' ? (sandbox.config_home + place.xdg_config_home).c_str()
                                           : place.xdg_config_home,
           1);
  } else {
    unsetenv("XDG_CONFIG_HOME");
  }
  RegistryKey* key = create(key_path);
  registry_close_key(&key);
  setenv("HOME", saved_home.c_str(), 1);
  EXPECT_TRUE(std::filesystem::is_directory(sandbox.config_home + place.folder +
                                            "/tessary/registry/HKEY_CURRENT_USER/k_software"));
}

INSTANTIATE_TEST_SUITE_P(Environment, RegistryStoreFolderTest,
                         ::testing::Values(StoreFolderCase{"XdgConfigHome", "/xdg", "/xdg"},
                                           StoreFolderCase{"Unset", nullptr, "/.config"},
                                           StoreFolderCase{"Relative", "relative/path",
                                                           "/.config"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryTest, StoreLeavesNoTemporaryFilesAndEscapesNamesInFileNames) {
  RegistryKey* key = create(key_path + "\\50% a/b");
  registry_set_int32(key, "x/y", 5);
  registry_set_int32(key, "x/y", 6);
  registry_close_key(&key);
  std::string test_key = key_path.substr(key_path.find('\\') + 1);
  for (char& c : test_key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  int files = 0;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(sandbox.config_home + "/tessary")) {
    const std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.rfind("k_", 0) == 0 || name.rfind("v_", 0) == 0 || name == "registry" ||
                name == "HKEY_CURRENT_USER")
        << name;
    files += entry.is_regular_file();
  }
  EXPECT_EQ(files, 1);
  EXPECT_TRUE(std::filesystem::is_regular_file(sandbox.config_home +
                                               "/tessary/registry/HKEY_CURRENT_USER/k_software/k_" +
                                               test_key + "/k_50%25 a%2Fb/v_x%2Fy"));
}

#endif

}  // namespace
