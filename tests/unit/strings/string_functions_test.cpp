// The string functions: lengths, bounded and unbounded copies, case-blind comparisons.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kelvane-str.h"

namespace {

TEST(StrLength, CountsBytesBeforeTheTerminator) {
  EXPECT_EQ(str_length(""), 0u);
  EXPECT_EQ(str_length("abc"), 3u);
  EXPECT_EQ(str_length("ab\0cd"), 2u);
}

TEST(StrCopy, CopiesAtMostSizeLessOneAndAlwaysTerminates) {
  struct Case {
    const char* source;
    unsigned size;
    const char* expected;
    int result;
  } cases[] = {
      {"abc", 5, "abc", 1}, {"abcd", 5, "abcd", 0}, {"abcdef", 5, "abcd", 0}, {"", 5, "", 1},
      {"a", 2, "a", 0},     {"", 2, "", 1},         {"abc", 1, "", 0},        {"", 1, "", 1},
  };
  for (const Case& c : cases) {
    char buffer[16];
    std::memset(buffer, '~', sizeof buffer);
    EXPECT_EQ(str_copy(buffer, c.source, c.size), c.result) << c.source << " into " << c.size;
    EXPECT_STREQ(buffer, c.expected) << c.source << " into " << c.size;
    for (unsigned i = c.size; i < sizeof buffer; ++i) {
      ASSERT_EQ(buffer[i], '~') << c.source << " into " << c.size << " stored at " << i;
    }
  }
}

TEST(StrCopy, SizeZeroStoresNothing) {
  char buffer = '~';
  EXPECT_EQ(str_copy(&buffer, "abc", 0), 0);
  EXPECT_EQ(str_copy(&buffer, "", 0), 0);
  EXPECT_EQ(buffer, '~');
}

TEST(StrCopy, UnboundedCopyAndConcatenation) {
  char buffer[16];
  EXPECT_EQ(str_copy_unbounded(buffer, "Tess"), 1);
  EXPECT_STREQ(buffer, "Tess");
  EXPECT_EQ(str_concat(buffer, "ary"), 1);
  EXPECT_STREQ(buffer, "Tessary");
  EXPECT_EQ(str_concat(buffer, ""), 1);
  EXPECT_STREQ(buffer, "Tessary");
}

TEST(StrCompare, EqualIgnoresTheCaseOfAsciiLettersOnly) {
  struct Case {
    const char* first;
    const char* second;
    int result;
  } cases[] = {
      {"Abc", "aBC", 1}, {"abc", "abcd", 0}, {"abcd", "abc", 0},  {"[", "{", 0},
      {"@", "`", 0},     {"", "", 1},        {"\xc9", "\xe9", 0}, {"a1-Z", "A1-z", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(str_equal(c.first, c.second), c.result) << c.first << " / " << c.second;
  }
}

TEST(StrCompare, StartsWith) {
  struct Case {
    const char* string;
    const char* prefix;
    int result;
  } cases[] = {
      {"Hello", "", 1}, {"Hello", "hEL", 1},   {"He", "hello", 0},   {"", "", 1},
      {"", "a", 0},     {"Hello", "Hello", 1}, {"Hello", "Help", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(str_starts_with(c.string, c.prefix), c.result) << c.string << " / " << c.prefix;
  }
}

TEST(StrFind, FirstCaseBlindMatch) {
  struct Case {
    const char* string;
    const char* needle;
    int found_at;  // -1 when there is no match
  } cases[] = {
      {"", "", -1},      {"abc", "", 0},      {"xxABcd", "abc", 2},
      {"abab", "BA", 1}, {"abc", "abcd", -1}, {"abc", "x", -1},
  };
  for (const Case& c : cases) {
    const char* result = "not set";
    EXPECT_EQ(str_find(c.string, c.needle, &result), c.found_at >= 0 ? 1 : 0) << c.string;
    EXPECT_EQ(result, c.found_at >= 0 ? c.string + c.found_at : nullptr) << c.string;
  }
}

TEST(StrFatal, NullPointersAreReportedWithTheirLines) {
  char buffer[4];
  const char* result;
  struct Case {
    void (*call)(char* buffer, const char** result);
    const char* line;
  } cases[] = {
      {[](char*, const char**) { str_copy_unbounded(nullptr, nullptr); }, "1963"},
      {[](char* b, const char**) { str_copy_unbounded(b, nullptr); }, "1964"},
      {[](char*, const char**) { str_concat(nullptr, "a"); }, "1963"},
      {[](char* b, const char**) { str_concat(b, nullptr); }, "1964"},
      {[](char*, const char**) { str_copy(nullptr, nullptr, 4); }, "1978"},
      {[](char* b, const char**) { str_copy(b, nullptr, 4); }, "1979"},
      {[](char*, const char**) { str_equal(nullptr, nullptr); }, "2265"},
      {[](char*, const char**) { str_equal("a", nullptr); }, "2266"},
      {[](char*, const char**) { str_starts_with(nullptr, nullptr); }, "2446"},
      {[](char*, const char**) { str_starts_with("a", nullptr); }, "2447"},
      {[](char*, const char** r) { str_find(nullptr, nullptr, r); }, "2643"},
      {[](char*, const char** r) { str_find("a", nullptr, r); }, "2644"},
      {[](char*, const char**) { str_find("a", "a", nullptr); }, "2645"},
  };
  buffer[0] = 0;
  for (const Case& c : cases) {
    EXPECT_EXIT(c.call(buffer, &result), ::testing::ExitedWithCode(1),
                std::string("Pointer is NULL\n +\\(kelvane-str/") + c.line + "\\)")
        << c.line;
  }
}

}  // namespace
