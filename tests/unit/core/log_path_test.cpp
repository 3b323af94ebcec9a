#include <gtest/gtest.h>

#include <string>

#include "log_internal.h"

namespace {

struct PathCase {
  const char* exe_path;
  const char* name;
  const char* log_path;
};

class BuildLogPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(BuildLogPathTest, PlacesTheNameAsTheRulesSay) {
  const PathCase& c = GetParam();
  char buffer[260];
  build_log_path(buffer, c.exe_path, c.name);
  EXPECT_STREQ(buffer, c.log_path);
}

INSTANTIATE_TEST_SUITE_P(
    Names, BuildLogPathTest,
    ::testing::Values(PathCase{"C:\\app\\tessary.exe", "debug.log", "C:\\app\\debug.log"},
                      PathCase{"C:\\app\\tessary.exe", "my.txt", "C:\\app\\my.txt"},
                      PathCase{"C:\\app\\tessary.exe", "x", "C:\\app\\debug.log"},
                      PathCase{"C:\\app\\tessary.exe", "", "C:\\app\\debug.log"},
                      PathCase{"C:\\app\\tessary.exe", "D:\\logs\\a.log", "D:\\logs\\a.log"},
                      PathCase{"C:\\app\\tessary.exe", "d:a.log", "d:a.log"},
                      PathCase{"C:\\app\\tessary.exe", "\\logs\\a.log", "\\logs\\a.log"},
                      PathCase{"C:\\app\\tessary.exe", "/tmp/a.log", "/tmp/a.log"},
                      PathCase{"C:\\app/bin/tessary.exe", "a.log", "C:\\app/bin/a.log"},
                      PathCase{"/usr/bin/tessary", "a.log", "/usr/bin/a.log"},
                      // Long-path and network forms, letter case ignored.
                      PathCase{"\\\\?\\C:\\app\\tessary.exe", "debug.log", "C:\\app\\debug.log"},
                      PathCase{"\\\\?\\UNC\\server\\share\\tessary.exe", "debug.log",
                               "\\\\server\\share\\debug.log"},
                      PathCase{"\\\\?\\unc\\server\\share\\tessary.exe", "debug.log",
                               "\\\\server\\share\\debug.log"},
                      // No executable path, or one without a directory: the name alone.
                      PathCase{"", "mine.log", "mine.log"}, PathCase{"", "", "debug.log"},
                      PathCase{"tessary.exe", "mine.log", "mine.log"}));

TEST(BuildLogPathTest, CutsAtTwoHundredFiftyNineCharacters) {
  std::string directory = "C:\\" + std::string(250, 'd') + "\\";
  char buffer[260];
  build_log_path(buffer, (directory + "tessary.exe").c_str(), "debug.log");
  EXPECT_EQ(std::string(buffer), (directory + "debug.log").substr(0, 259));

  std::string name = "C:\\" + std::string(300, 'n');
  build_log_path(buffer, "C:\\app\\tessary.exe", name.c_str());
  EXPECT_EQ(std::string(buffer), name.substr(0, 259));
}

struct NameCase {
  const char* base_path;
  bool dated;
  bool per_thread;
  const char* file_name;
};

class BuildLogFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(BuildLogFileNameTest, AddsDateAndThreadBeforeTheExtension) {
  const NameCase& c = GetParam();
  const OsLocalTime march_3_2011 = {2011, 3, 3, 14, 5, 9};
  const uint32_t thread_id = 1234;
  char buffer[260];
  build_log_file_name(buffer, c.base_path, c.dated ? &march_3_2011 : nullptr,
                      c.per_thread ? &thread_id : nullptr);
  EXPECT_STREQ(buffer, c.file_name);
}

INSTANTIATE_TEST_SUITE_P(
    Suffixes, BuildLogFileNameTest,
    ::testing::Values(NameCase{"C:\\app\\debug.log", false, false, "C:\\app\\debug.log"},
                      NameCase{"C:\\app\\debug.log", true, false, "C:\\app\\debug-030311.log"},
                      NameCase{"C:\\app\\debug.log", false, true, "C:\\app\\debug-1234.log"},
                      NameCase{"C:\\app\\debug.log", true, true, "C:\\app\\debug-030311-1234.log"},
                      NameCase{"C:\\app\\my.old.txt", true, false, "C:\\app\\my.old-030311.txt"},
                      // A '.' in a directory name is not an extension.
                      NameCase{"C:\\my.dir\\debug", true, false, "C:\\my.dir\\debug-030311.log"},
                      NameCase{"/tmp/my.dir/debug", false, true, "/tmp/my.dir/debug-1234.log"},
                      // At most 17 characters of the extension are kept.
                      NameCase{"C:\\a.abcdefghijklmnopqrstu", true, false,
                               "C:\\a-030311.abcdefghijklmnopq"}));

TEST(BuildLogFileNameTest, CutsEverySuffixAtTheBuffer) {
  std::string base = "C:\\" + std::string(250, 'd') + ".log";
  const OsLocalTime date = {2011, 3, 3, 0, 0, 0};
  const uint32_t thread_id = 99;
  char buffer[260];
  build_log_file_name(buffer, base.c_str(), &date, &thread_id);
  EXPECT_EQ(std::string(buffer),
            ("C:\\" + std::string(250, 'd') + "-030311-99.log").substr(0, 259));
}

}  // namespace
