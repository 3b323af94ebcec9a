// The `f` (real, fixed notation) and `a` (16.16 fixed point) conversions.
#include <cmath>
#include <limits>

#include "format_helper.h"

namespace {

const double nan_value = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();

TEST(FormatReal, RoundingPrecisionAndFields) {
  const FormatCase cases[] = {
      {formatted("%f", 3.14159), "3.141590"},
      {formatted("%8.2f", -3.14159), "   -3.14"},
      {formatted("%08.2f", -3.14159), "-0003.14"},
      {formatted("%-8.2f|", -3.14159), "-3.14   |"},
      {formatted("%+.1f", 2.25), "+2.3"},
      {formatted("%f", 0.0), "0.000000"},
      {formatted("%f", -0.0), "0.000000"},
      {formatted("%.2f", 2.5), "2.50"},
      {formatted("%.0f", 2.5), "3"},
      {formatted("%.0f", 0.5), "1"},
      {formatted("%.0f", 0.4), "0"},
      {formatted("%5.0f", 0.4), "    0"},
      {formatted("%.0f", -2.5), "-3"},
      {formatted("%.12f", 1.0), "1.000000000"},
      {formatted("%.9f", 0.123456789), "0.123456789"},
      {formatted("%.2f", 0.999), "1.00"},
      {formatted("%.1f", 9.96), "10.0"},
      {formatted("%.3f", 0.01), "0.010"},
      {formatted("%'.2f", 1234567.5), "1,234,567.50"},
      {formatted("%'.0f", 1234567.0), "1,234,567"},
      {formatted("%'f", 0.5), "0.500000"},
  };
  expect_cases(cases);
}

TEST(FormatReal, NotANumberAndInfinities) {
  const FormatCase cases[] = {
      {formatted("%f", nan_value), "1.#QNAN0"},
      {formatted("%f", -nan_value), "1.#QNAN0"},
      {formatted("%f", std::copysign(nan_value, -1.0)), "1.#QNAN0"},
      {formatted("%10f", nan_value), "  1.#QNAN0"},
      {formatted("%.2f", nan_value), "1.#QNAN0"},
      {formatted("%f", infinity), "1.#INF00"},
      {formatted("%f", -infinity), "-1.#INF00"},
      {formatted("%.2f", infinity), "1.#INF00"},
      {formatted("%010f", -infinity), "-01.#INF00"},
  };
  expect_cases(cases);
}

TEST(FormatReal, IntegerPartsBeyondThirtyTwoBits) {
  const FormatCase cases[] = {
      {formatted("%.0f", 9223372036854775808.0), "9223372036854775808"},
      {formatted("%f", 18446744073709549568.0), "18446744073709549568.000000"},
      {formatted("%'.9f", -18446744073709549568.0), "-18,446,744,073,709,549,568.000000000"},
      // Integer parts from 2 to the power 64 on cannot be held: they print as too large.
      {formatted("%f", 18446744073709551616.0), "1.#INF00"},
      {formatted("%.0f", -1e300), "-1.#INF00"},
  };
  expect_cases(cases);
}

TEST(FormatFixedPoint, SixteenDotSixteen) {
  const FormatCase cases[] = {
      {formatted("%a", 0x18000u), "1.500000"},
      {formatted("%a", 0xFFFFu), "0.999984"},
      {formatted("%a", 0xFFFF0000u), "65535.000000"},
      {formatted("%a", 0x10001u), "1.000015"},
      {formatted("%a", 0u), "0.000000"},
      {formatted("[%.0a]", 0x8000u), "[]"},
      {formatted("%.0a", 0x18000u), "1.500000"},
      {formatted("%.10a", 0x18000u), "001.500000"},
      {formatted("%'a", 0xFFFF0000u), "65,535.000000"},
      {formatted("%+a", 0x10000u), "+1.000000"},
      {formatted("%a", 0x80000000u), "32768.000000"},
      {formatted("%12a|", 0x10000u), "    1.000000|"},
  };
  expect_cases(cases);
}

}  // namespace
