#include <gtest/gtest.h>

#include "kelvane-core.h"

namespace {

struct FindCase {
  const char* command_line;
  const char* word;
  int found;
};

class FindOptionTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindOptionTest, MatchesOnlyDashedOrSlashedWholeWords) {
  const FindCase& c = GetParam();
  EXPECT_EQ(find_option(c.command_line, c.word), c.found) << "[" << c.command_line << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Words, FindOptionTest,
    ::testing::Values(FindCase{"-debug", "debug", 1}, FindCase{"/DEBUG", "debug", 1},
                      FindCase{"x-Debug", "debug", 1}, FindCase{"a -debug b", "debug", 1},
                      FindCase{"debug", "debug", 0}, FindCase{" debug", "debug", 0},
                      FindCase{"-debugx", "debug", 0}, FindCase{"-debugging", "debug", 0},
                      FindCase{"-nodebug", "debug", 0}, FindCase{"-debug,", "debug", 0},
                      FindCase{"-debug\t", "debug", 0}, FindCase{"\"-debug\"", "debug", 0},
                      FindCase{"", "debug", 0},
                      // A failed occurrence does not hide a later one that counts.
                      FindCase{"-debugx -debug", "debug", 1}, FindCase{"debug/debug", "debug", 1}));

struct ParseCase {
  const char* command_line;
  uint32_t options;
};

class ParseOptionsTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseOptionsTest, OrsTheBitsOfEveryWordFound) {
  const ParseCase& c = GetParam();
  uint32_t options = 0xdeadbeef;  // overwritten whatever it held
  EXPECT_EQ(core_parse_options(&options, c.command_line), 1);
  EXPECT_EQ(options, c.options) << "[" << c.command_line << "]";
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ParseOptionsTest,
    ::testing::Values(ParseCase{"", 0}, ParseCase{"-debug -window", 0x7},
                      ParseCase{"/unique", 0x4e}, ParseCase{"-perthread", 0x108},
                      ParseCase{"-cachewrites", 0x8000}, ParseCase{"-timestamp", 0x20},
                      ParseCase{"-append", 0x8}, ParseCase{"-externalprint", 0x400},
                      ParseCase{"-window -debug -append -TimeStamp", 0x2f},
                      ParseCase{"-debug -unique", 0x4e},
                      ParseCase{"-debug -perthread -unique -window -cachewrites -timestamp "
                                "-append -externalprint",
                                0x856f}));

TEST(FindOptionDeathTest, NullArgumentsAreFatal) {
  EXPECT_EXIT(find_option(nullptr, "debug"), ::testing::ExitedWithCode(1),
              "ABORT: Pointer is NULL\n       \\(kelvane-core/2226\\)");
  EXPECT_EXIT(find_option("-debug", nullptr), ::testing::ExitedWithCode(1),
              "ABORT: Pointer is NULL\n       \\(kelvane-core/2227\\)");
}

}  // namespace
