// Formats into a roomy buffer and keeps the text with the result, for tables of cases.
#pragma once

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstring>
#include <string>

#include "kelvane-str.h"

struct Formatted {
  const char* format;
  std::string text;  // the characters before the terminator, embedded zeros included
  int result;
};

inline Formatted formatted(const char* format, ...) {
  char buffer[320];
  std::memset(buffer, '#', sizeof buffer);
  va_list args;
  va_start(args, format);
  const int result = bounded_vformat(buffer, sizeof buffer, format, args);
  va_end(args);
  const bool terminated =
      result >= 0 && result < static_cast<int>(sizeof buffer) && buffer[result] == 0;
  return {format, terminated ? std::string(buffer, result) : std::string("<unterminated>"), result};
}

struct FormatCase {
  Formatted got;
  std::string expected;
};

inline void expect_cases(const FormatCase* cases, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const FormatCase& c = cases[i];
    EXPECT_EQ(c.got.text, c.expected) << "format \"" << c.got.format << "\" (case " << i << ")";
    EXPECT_EQ(c.got.result, static_cast<int>(c.expected.size()))
        << "format \"" << c.got.format << "\" (case " << i << ")";
  }
}

template <size_t N>
void expect_cases(const FormatCase (&cases)[N]) {
  expect_cases(cases, N);
}
