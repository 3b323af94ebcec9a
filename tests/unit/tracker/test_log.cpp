#include "test_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "kelvane-core.h"

#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace {

const char kDeathLogVariable[] = "TESSARY_TEST_DEATH_LOG";

// Named after the process and a random number: test processes of other builds may share the
// temporary folder and, in other process namespaces, the process id.
std::string temporary_file(const char* stem) {
  const std::string name = std::string(stem) + "-" + std::to_string(getpid()) + "-" +
                           std::to_string(std::random_device{}()) + ".log";
  return (std::filesystem::temp_directory_path() / name).string();
}

std::string& started_log() {
  static std::string path;
  return path;
}

// Closes and removes the log file once every test has run.
class LogCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    if (started_log().empty()) return;
    core_shutdown();
    std::error_code ignored;
    std::filesystem::remove(started_log(), ignored);
  }
};

::testing::Environment* const log_cleanup = ::testing::AddGlobalTestEnvironment(new LogCleanup);

}  // namespace

const std::string& test_log_start() {
  if (started_log().empty()) {
    started_log() = temporary_file("tessary-test");
    core_init(started_log().c_str(), CORE_LOG_FILE | CORE_LOG_INFO);
  }
  return started_log();
}

std::string test_log_death_path() {
  if (const char* inherited = std::getenv(kDeathLogVariable)) return inherited;
  const std::string path = temporary_file("tessary-death");
#ifdef _WIN32
  _putenv_s(kDeathLogVariable, path.c_str());
#else
  setenv(kDeathLogVariable, path.c_str(), 1);
#endif
  return path;
}

std::string test_log_read(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string lines;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') lines += text[i];
  }
  return lines;
}

std::string test_log_added_by(const std::function<void()>& step) {
  const std::string& path = test_log_start();
  const size_t mark = test_log_read(path).size();
  step();
  const std::string after = test_log_read(path);
  return after.substr(std::min(mark, after.size()));
}
