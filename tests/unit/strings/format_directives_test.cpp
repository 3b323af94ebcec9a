// The formatter's directives: integers, flags and their order, strings, dumps and fallbacks.
#include <cstdint>
#include <limits>

#include "format_helper.h"

namespace {

TEST(FormatIntegers, FieldsSignsAndPrecision) {
  const FormatCase cases[] = {
      {formatted("%d", 12), "12"},
      {formatted("%d", -42), "-42"},
      {formatted("%i", 7), "7"},
      {formatted("%05d", -42), "-0042"},
      {formatted("%5d", -42), "  -42"},
      {formatted("%-5d|", 42), "42   |"},
      {formatted("%-05d|", 42), "42   |"},
      {formatted("%+d", 42), "+42"},
      {formatted("%+d", -42), "-42"},
      {formatted("%+05d", 42), "+0042"},
      {formatted("%.3d", 7), "007"},
      {formatted("%5.3d", 7), "  007"},
      {formatted("%06.3d", 7), "000007"},
      {formatted("%-6.3d|", 7), "007   |"},
      {formatted("%.2d", -5), "-05"},
      {formatted("%.0d", 5), "5"},
      {formatted("[%.0d]", 0), "[]"},
      {formatted("[%5.0d]", 0), "[]"},
      {formatted("[%5.d]", 0), "[]"},
      {formatted("%d", std::numeric_limits<int32_t>::min()), "-2147483648"},
      {formatted("%u", 4294967295u), "4294967295"},
      {formatted("%+u", 5u), "5"},
      {formatted("%U", 5u), "5"},
  };
  expect_cases(cases);
}

TEST(FormatIntegers, BasesGroupingAndAlternateForm) {
  const FormatCase cases[] = {
      {formatted("%x", 255u), "ff"},
      {formatted("%X", 255u), "FF"},
      {formatted("%#x", 255u), "0xff"},
      {formatted("%#X", 255u), "0xFF"},
      {formatted("%05x", 255u), "000ff"},
      {formatted("%+x", 255u), "ff"},
      {formatted("%#8x", 255u), "0x      ff"},
      {formatted("%#.0x", 0u), "0x"},
      {formatted("%o", 8u), "10"},
      {formatted("%#o", 8u), "010"},
      {formatted("%#o", 0u), "00"},
      {formatted("%+O", 8u), "10"},
      {formatted("%b", 5u), "101"},
      {formatted("%'b", 15u), "1,111"},
      {formatted("%'b", 0xFFFFFFFFu), "11,111,111,111,111,111,111,111,111,111,111"},
      {formatted("%'d", 1234567), "1,234,567"},
      {formatted("%'d", 123), "123"},
      {formatted("%'d", -1234), "-1,234"},
      {formatted("%'x", 0x123456u), "123,456"},
      {formatted("%'08d", 1234), "0001,234"},
  };
  expect_cases(cases);
}

TEST(FormatIntegers, PointersPrintAtLeastEightUpperCaseDigits) {
  const FormatCase cases[] = {
      {formatted("%p", reinterpret_cast<void*>(255)), "000000FF"},
      {formatted("0x%p", reinterpret_cast<void*>(255)), "0x000000FF"},
      {formatted("%.4p", reinterpret_cast<void*>(255)), "000000FF"},
      {formatted("%.0p", static_cast<void*>(nullptr)), "00000000"},
      {formatted("%#p", reinterpret_cast<void*>(0xabc)), "0x00000ABC"},
      {formatted("%+p", reinterpret_cast<void*>(1)), "00000001"},
      {formatted("%10p", reinterpret_cast<void*>(1)), "  00000001"},
      {formatted("%p", reinterpret_cast<void*>(uintptr_t{0x123456789AB})), "123456789AB"},
      {formatted("%p", reinterpret_cast<void*>(UINTPTR_MAX)), "FFFFFFFFFFFFFFFF"},
  };
  expect_cases(cases);
}

TEST(FormatIntegers, SixtyFourBitWords) {
  const long long most_negative = std::numeric_limits<long long>::min();
  const FormatCase cases[] = {
      {formatted("%I64d", -1LL), "-1"},
      {formatted("%I64d", most_negative), "-9223372036854775808"},
      {formatted("%I64d", 1000000000000LL), "1000000000000"},
      {formatted("%'I64d", 1000000000000LL), "1,000,000,000,000"},
      {formatted("%+I64d", 5LL), "+5"},
      {formatted("%I64x", 255LL), "FF"},
      {formatted("%I64x", -1LL), "FFFFFFFFFFFFFFFF"},
      {formatted("%I64u", -1LL), "18446744073709551615"},
      {formatted("%I64u", most_negative), "9223372036854775808"},
      {formatted("%ll", 5LL), "5"},
      {formatted("%lld", 5LL), "5d"},
      {formatted("%ll", -(1LL << 40)), "-1099511627776"},
      {formatted("%l", 5), "5"},
      {formatted("%ld", 5), "5d"},
  };
  expect_cases(cases);
}

TEST(FormatWidthAndPrecision, StarTakesItsOwnValueFirst) {
  const FormatCase cases[] = {
      {formatted("%*d", 5, 42), "   42"}, {formatted("%-*d|", 4, 1), "1   |"},
      {formatted("%*d", -3, 42), "42"},   {formatted("%.*d", 3, 7), "007"},
      {formatted("%.*d", -1, 0), "0"},    {formatted("%*.*d", 5, 3, 7), "  007"},
      {formatted("%*e%d", 9, 7), "e7"},   {formatted("%.*s", 2, "abc"), "ab"},
  };
  expect_cases(cases);
}

TEST(FormatWidthAndPrecision, HugeWidthsAndPrecisionsOnlyFillTheBuffer) {
  for (const char* format : {"%999999999999999999d", "%.999999999999999999d", "%*d", "%.*d"}) {
    const Formatted got = formatted(format, std::numeric_limits<int32_t>::max(), 1);
    EXPECT_EQ(got.result, 319) << format;
    EXPECT_EQ(got.text.find_first_not_of(got.text[0]), std::string::npos) << format;
  }
}

TEST(FormatFlags, CountOnlyInTheirFixedOrder) {
  const FormatCase cases[] = {
      {formatted("%-+5d|", 3), "+3   |"},       {formatted("%+-5d%d", 3), "-5d3"},
      {formatted("%0-5d%d", 3), "-5d3"},        {formatted("%'-d%d", 3), "-d3"},
      {formatted("%-#x%d", 3), "#x3"},          {formatted("%0+d%d", 3), "+d3"},
      {formatted("%'+d%d", 3), "+d3"},          {formatted("%+'d", 1234), "+1,234"},
      {formatted("%#-6x|", 255u), "0xff    |"}, {formatted("%#-+'08d", 1234), "+1,234  "},
  };
  expect_cases(cases);
}

TEST(FormatFallbacks, UnknownWordsPrintThemselvesAndTakeNoValue) {
  const FormatCase cases[] = {
      {formatted("%e%d", 7), "e7"},           {formatted("%g%n%D%F%A%d", 7), "gnDFA7"},
      {formatted("% d%d", 7), " d7"},         {formatted("%5%%d", 7), "%7"},
      {formatted("%%%d", 7), "%7"},           {formatted("%-08.3%"), "%"},
      {formatted("%hd%d", 7), "hd7"},         {formatted("%Hx%d", 7), "Hx7"},
      {formatted("%hEx%d", 7), "hEx7"},       {formatted("%I64X%d", 7), "I64X7"},
      {formatted("%I32d%d", 7), "I32d7"},     {formatted("%ipv%d", 7, 8), "7pv8"},
      {formatted("%unic%d", 7u, 8), "7nic8"}, {formatted("%Unicod", 7u), "7nicod"},
  };
  expect_cases(cases);
}

TEST(FormatFallbacks, FormatCutInsideADirectiveStopsAtItsEnd) {
  const FormatCase cases[] = {
      {formatted("abc%"), "abc"}, {formatted("a%5"), "a"},      {formatted("a%-"), "a"},
      {formatted("a%#'0"), "a"},  {formatted("a%.3"), "a"},     {formatted("a%.*", 3), "a"},
      {formatted("a%I6"), "aI6"}, {formatted("a%I64"), "aI64"}, {formatted("a%h"), "ah"},
      {formatted("a%he"), "ahe"}, {formatted("a%l", 5), "a5"},  {formatted("a%i", 5), "a5"},
  };
  expect_cases(cases);
}

TEST(FormatCharacters, LowByteAsOneCharacter) {
  const FormatCase cases[] = {
      {formatted("%c", 65), "A"},       {formatted("%c", 0x141), "A"},
      {formatted("%3c", 65), "  A"},    {formatted("%03c", 65), "  A"},
      {formatted("%-3c|", 65), "A  |"}, {formatted("%+c", 65), "A"},
      {formatted("%C", 65), "C"},
  };
  expect_cases(cases);
}

TEST(FormatCharacters, ZeroByteIsStoredAndCounted) {
  const Formatted got = formatted("a%cb", 0);
  EXPECT_EQ(got.result, 3);
  EXPECT_EQ(got.text, std::string("a\0b", 3));
}

TEST(FormatStrings, NarrowStrings) {
  const char* null_string = nullptr;
  const FormatCase cases[] = {
      {formatted("%s", null_string), "NULL"},
      {formatted("%10s", null_string), "NULL"},
      {formatted("%.2s", null_string), "NULL"},
      {formatted("%s", "abc"), "abc"},
      {formatted("%S", "abc"), "ABC"},
      {formatted("%S", "a1-z\xe9"), "A1-Z\xe9"},
      {formatted("%.2s", "abc"), "ab"},
      {formatted("[%.0s]", "abc"), "[]"},
      {formatted("%-4s|", "ab"), "ab  |"},
      {formatted("%4s", "ab"), "  ab"},
      {formatted("%04s", "ab"), "  ab"},
      {formatted("%+s", "ab"), "ab"},
      {formatted("%s", ""), ""},
      {formatted("%s", "a\tb"), "a\tb"},
      {formatted("%s",
                 "ab\x7f"
                 "cd"),
       "ab"},
      {formatted("%#s",
                 "ab\x7f"
                 "cd"),
       "NONASCII"},
      {formatted("%#10s", "ab\x7f"), "NONASCII"},
      {formatted("%#.1s", "ab\x7f"), "NONASCII"},
      {formatted("%#s", "abc"), "abc"},
      {formatted("%s", "\xc8\xc9"), "\xc8\xc9"},
      {formatted("%#s", "\xc8\xc9"), "\xc8\xc9"},
  };
  expect_cases(cases);
}

TEST(FormatStrings, SixteenBitStringsPrintTheirLowBytes) {
  const uint16_t with_zero_low_byte[] = {'a', 'b', 0x0100, 'c', 0};
  const uint16_t abc[] = {'a', 'b', 'c', 0};
  const uint16_t high_bytes[] = {0x4142, 0xFF61, 0};
  const uint16_t with_del[] = {'a', 0x017F, 'b', 0};
  const uint16_t* null_units = nullptr;
  const FormatCase cases[] = {
      {formatted("%unicode", with_zero_low_byte), "ab"},
      {formatted("%Unicode", abc), "ABC"},
      {formatted("%.2unicode", abc), "ab"},
      {formatted("%5unicode|", abc), "  abc|"},
      {formatted("%-5unicode|", abc), "abc  |"},
      {formatted("%unicode", high_bytes), "Ba"},
      {formatted("%unicode", with_del), "a"},
      {formatted("%#unicode", with_del), "NONASCII"},
      {formatted("%unicode", null_units), "NULL"},
  };
  expect_cases(cases);
}

TEST(FormatDumps, HexDumpsAndAddresses) {
  const unsigned char bytes[] = {0x01, 0xAB, 0x7F};
  const unsigned char* null_bytes = nullptr;
  const unsigned char local[] = {10, 0, 0, 255};
  const unsigned char private_net[] = {192, 168, 0, 1};
  const unsigned char mixed[] = {100, 99, 9, 0};
  const FormatCase cases[] = {
      {formatted("%2hex", bytes), "01ab"},
      {formatted("%2HEX", bytes), "01AB"},
      {formatted("%2hEX", bytes), "01ab"},
      {formatted("%2Hex", bytes), "01AB"},
      {formatted("%3hex", bytes), "01ab7f"},
      {formatted("%*hex", 1, bytes), "01"},
      {formatted("%-01.5hex", bytes + 1), "ab"},
      {formatted("[%hex]", bytes), "[]"},
      {formatted("[%*hex]", -2, bytes), "[]"},
      {formatted("%2hex", null_bytes), "NULL"},
      {formatted("%ipv4", local), "10.0.0.255"},
      {formatted("%ipv4", mixed), "100.99.9.0"},
      {formatted("%.4ipv4", private_net), "192."},
      {formatted("%13ipv4|", private_net), "  192.168.0.1|"},
      {formatted("%-13ipv4|", private_net), "192.168.0.1  |"},
      {formatted("%013ipv4", private_net), "  192.168.0.1"},
      {formatted("%ipv4", null_bytes), "NULL"},
  };
  expect_cases(cases);
}

TEST(FormatTabs, ExpandToStopsCountedFromTheStartOfTheOutput) {
  const FormatCase cases[] = {
      {formatted("a\tb"), "a   b"},      {formatted("abcd\tx"), "abcd    x"},
      {formatted("\tx"), "    x"},       {formatted("ab\t\t|"), "ab      |"},
      {formatted("%d\tx", 12), "12  x"}, {formatted("a\nb\tc"), "a\nb c"},
  };
  expect_cases(cases);
}

}  // namespace
