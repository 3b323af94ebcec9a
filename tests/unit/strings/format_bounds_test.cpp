// The formatter's bounds: every size from 0 up, the too-small and overrun reports in the log,
// and the fatal reports of its null pointers and of an over-long number.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "format_helper.h"
#include "format_sink.h"
#include "kelvane-core.h"

namespace {

const char overrun_report[] = "\r\n\r\nERROR: The next string overran the print buffer!\r\nLINE: ";
const char too_small_report[] =
    "\r\n\r\nERROR: The next string too small to contain anything!\r\nLINE: ";

// Runs one test with the log going to a file of its own, and reads what it received.
class LoggedFormat : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = ::testing::TempDir() + "strings-" + info->name() + ".log";
    std::remove(path_.c_str());
    ASSERT_EQ(core_init(path_.c_str(), CORE_LOG_FILE), 1);
  }
  void TearDown() override {
    core_shutdown();
    std::remove(path_.c_str());
  }
  std::string log_text() const {
    std::ifstream file(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  std::string path_;
};

TEST_F(LoggedFormat, OutputThatFitsIsNotReported) {
  char buffer[3];
  EXPECT_EQ(bounded_format(buffer, 3, "%d", 12), 2);
  EXPECT_STREQ(buffer, "12");
  EXPECT_EQ(bounded_format(buffer, 1, ""), 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(log_text(), "");
}

TEST_F(LoggedFormat, OverrunKeepsSizeLessOneAndReportsTheTemplate) {
  char buffer[3];
  EXPECT_EQ(bounded_format(buffer, 3, "%d", 123), 2);
  EXPECT_STREQ(buffer, "12");
  EXPECT_EQ(log_text(), std::string(overrun_report) + "%d");

  EXPECT_EQ(bounded_format(buffer, 1, "a"), 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(log_text(), std::string(overrun_report) + "%d" + overrun_report + "a");
}

TEST_F(LoggedFormat, OverrunOfExactlyTheSizeIsReported) {
  char buffer[4];
  EXPECT_EQ(bounded_format(buffer, 4, "abc"), 3);
  EXPECT_EQ(log_text(), "");
  EXPECT_EQ(bounded_format(buffer, 4, "ab%s", "cd"), 3);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(log_text(), std::string(overrun_report) + "ab%s");
}

TEST_F(LoggedFormat, SizeBelowOneLeavesTheBufferUntouched) {
  for (int size : {0, -1, -1000}) {
    char buffer[2] = {'x', 'y'};
    EXPECT_EQ(bounded_format(buffer, size, "%d", 5), 0);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(buffer[1], 'y');
  }
  std::string expected;
  for (int i = 0; i < 3; ++i) expected += std::string(too_small_report) + "%d";
  EXPECT_EQ(log_text(), expected);
}

// For every size up to past the full text: the start of the full text, terminated, nothing
// stored past the size, and the number of characters kept as the result.
const unsigned char dump_bytes[] = {0xDE, 0xAD, 0xBE, 0xEF};
const uint16_t wide_units[] = {'w', 'i', 'd', 'e', 0};

struct BoundedCase {
  const char* format;
  int (*run)(char* buffer, int size, const char* format);
};

const BoundedCase bounded_cases[] = {
    {"plain text", [](char* b, int n, const char* f) { return bounded_format(b, n, f); }},
    {"%6d|%-6d|", [](char* b, int n, const char* f) { return bounded_format(b, n, f, 12, -3); }},
    {"%+08.3f", [](char* b, int n, const char* f) { return bounded_format(b, n, f, -2.5); }},
    {"%#10x%5c", [](char* b, int n, const char* f) { return bounded_format(b, n, f, 255, 'q'); }},
    {"a\tbc\td\t", [](char* b, int n, const char* f) { return bounded_format(b, n, f); }},
    {"%-12s!", [](char* b, int n, const char* f) { return bounded_format(b, n, f, "left"); }},
    {"%4hex", [](char* b, int n, const char* f) { return bounded_format(b, n, f, dump_bytes); }},
    {"%12ipv4", [](char* b, int n, const char* f) { return bounded_format(b, n, f, dump_bytes); }},
    {"%'I64d", [](char* b, int n, const char* f) { return bounded_format(b, n, f, -(1LL << 50)); }},
    {"%*.*d%%", [](char* b, int n, const char* f) { return bounded_format(b, n, f, 9, 4, 7); }},
    {"%-10unicode",
     [](char* b, int n, const char* f) { return bounded_format(b, n, f, wide_units); }},
    {"%s%s",
     [](char* b, int n, const char* f) { return bounded_format(b, n, f, "NULL", nullptr); }},
};

// For every size up to past the full text: the start of the full text, terminated, nothing
// stored past the size, and the number of characters kept as the result.
TEST(FormatBounds, EverySizeKeepsAPrefixAndStoresNothingPastIt) {
  for (const BoundedCase& c : bounded_cases) {
    char full[320];
    const int full_length = c.run(full, sizeof full, c.format);
    for (int size = 1; size <= full_length + 2; ++size) {
      char buffer[340];
      std::memset(buffer, '~', sizeof buffer);
      const int result = c.run(buffer, size, c.format);
      const int kept = full_length < size ? full_length : size - 1;
      ASSERT_EQ(result, kept) << c.format << " size " << size;
      EXPECT_EQ(std::string(buffer, kept), std::string(full, kept)) << c.format << " size " << size;
      EXPECT_EQ(buffer[kept], 0) << c.format << " size " << size;
      for (int i = size; i < static_cast<int>(sizeof buffer); ++i) {
        ASSERT_EQ(buffer[i], '~') << c.format << " size " << size << " stored at " << i;
      }
    }
  }
}

TEST(FormatFatal, NullPointersAndOverLongNumbers) {
  char buffer[8];
  EXPECT_EXIT(bounded_format(nullptr, 8, nullptr), ::testing::ExitedWithCode(1),
              "Pointer is NULL\n +\\(kelvane-str/863\\)");
  EXPECT_EXIT(bounded_format(buffer, 8, nullptr), ::testing::ExitedWithCode(1),
              "Pointer is NULL\n +\\(kelvane-str/347\\)");
  EXPECT_EXIT(bounded_format(nullptr, 0, "x"), ::testing::ExitedWithCode(1),
              "Pointer is NULL\n +\\(kelvane-str/863\\)");
  EXPECT_EXIT(format_number(nullptr, 1, 0, 0, 0.0, 10, 0), ::testing::ExitedWithCode(1),
              "Pointer is NULL\n +\\(kelvane-str/80\\)");

  FormatSink sink{};
  sink.out = buffer;
  sink.end = buffer + sizeof buffer;
  EXPECT_EXIT(sink_put_field(&sink, nullptr, 0), ::testing::ExitedWithCode(1),
              "Pointer is NULL\n +\\(kelvane-str/230\\)");
  // No directive reaches the guard; 64 binary digits with separators would.
  sink.flags = format_flag::grouping;
  EXPECT_EXIT(format_number(&sink, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0.0, 2, 0),
              ::testing::ExitedWithCode(1),
              "Value exceeds buffer size \\(55 > 55\\)\n +\\(kelvane-str/204\\)");
}

TEST(FormatNumber, LongestTextsOfTheDirectivesFit) {
  FormatSink sink{};
  sink.flags = format_flag::grouping;
  EXPECT_EQ(format_number(&sink, 0xFFFFFFFF, 0, 0, 0.0, 2, 0), 1);
  EXPECT_EQ(sink.length, 42);
  sink = FormatSink{};
  EXPECT_EQ(format_number(&sink, 0, 0x80000000, 1, 0.0, 10, 0), 1);
  EXPECT_EQ(std::string(sink.text, sink.length), "9223372036854775808");
  EXPECT_EQ(sink.flags, format_flag::negative);
}

}  // namespace
